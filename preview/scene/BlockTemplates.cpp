#include "preview/scene/BlockTemplates.h"

#include <algorithm>
#include <cstdint>

#include "common/BlockNames.h"
#include "common/TexturePackArchive.h"

namespace orbitscope {
namespace {

stackmason::Image ClipToTexture(const stackmason::Image& picture, int textureSize) {
    if (picture.Width() <= textureSize && picture.Height() <= textureSize)
        return picture;
    return stackmason::CutRect(picture, 0, 0, std::min(picture.Width(), textureSize),
                               std::min(picture.Height(), textureSize));
}

// Every entry gets a T x T texture, and its picture is kept that large until the textures are
// made; whatever the pack's first picture says, all of them together stay within this.
constexpr std::int64_t kTextureBudgetBytes = 256ll << 20;

int LargestSideWithinBudget(int entries) {
    const std::int64_t perEntry = kTextureBudgetBytes / (std::int64_t{4} * std::max(entries, 1));
    int side = 1;
    while (std::int64_t{side + 1} * (side + 1) <= perEntry)
        ++side;
    return side;
}

}  // namespace

BlockTemplates LoadBlockTemplates(const std::string& packPath, int initialTextureSize, int maxTextureSize) {
    BlockTemplates result;
    result.textureSize = initialTextureSize;
    auto pack = stackmason::TexturePackArchive::Open(packPath);
    if (!pack)
        return result;
    const int count = pack->EntryCount();
    maxTextureSize = std::min(maxTextureSize, LargestSideWithinBudget(count));
    result.templates.resize(static_cast<std::size_t>(std::max(count, 0)));
    for (int index = 0; index < count; ++index) {
        BlockTemplate& entry = result.templates[static_cast<std::size_t>(index)];
        entry.entryName = pack->Entry(index).name;
        entry.blended = stackmason::IsBlendedEntryName(entry.entryName);
        std::optional<stackmason::Image> picture = pack->ReadEntryImage(index);
        if (!picture || picture->IsEmpty())
            continue;
        if (index == 0)
            result.textureSize = std::min(picture->Height(), maxTextureSize);
        entry.textured = true;
        entry.picture = ClipToTexture(*picture, result.textureSize);
    }
    return result;
}

}  // namespace orbitscope
