#include "preview/scene/BlockTemplates.h"

#include <algorithm>
#include <cstdint>

#include "common/BlockNames.h"
#include "common/TexturePackArchive.h"

namespace orbitscope {
namespace {

// The picture as a texture of the first picture's size (naturalSize) would show it, clipped
// to that square, then shrunk to textureSize by the nearest pixel when T had to stay below
// the first picture's height. One ratio for every entry keeps the faces of a pack alike and
// shows each picture whole, as the editor's 32 x 32 images do.
stackmason::Image FitToTexture(const stackmason::Image& picture, int naturalSize, int textureSize) {
    if (naturalSize <= 0 || textureSize <= 0)
        return {};
    const auto fitted = [&](int side) {
        const std::int64_t kept = std::min(side, naturalSize);
        return static_cast<int>((kept * textureSize + naturalSize - 1) / naturalSize);
    };
    stackmason::Image result(fitted(picture.Width()), fitted(picture.Height()));
    for (int y = 0; y < result.Height(); ++y) {
        const auto sy = static_cast<int>(std::int64_t{y} * naturalSize / textureSize);
        for (int x = 0; x < result.Width(); ++x)
            result.SetPixel(x, y, picture.Pixel(static_cast<int>(std::int64_t{x} * naturalSize / textureSize), sy));
    }
    return result;
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

// Only once T is known, since the first entry may be one of them.
void MarkMissingPictures(BlockTemplates& templates) {
    for (BlockTemplate& entry : templates.templates)
        entry.textured = entry.textured || entry.missing;
    if (templates.leftOut > 0)
        templates.missingPicture = stackmason::MissingPicture(templates.textureSize);
}

}  // namespace

BlockTemplates LoadBlockTemplates(const std::string& packPath, int initialTextureSize, int maxTextureSize,
                                  const std::function<bool()>& stop) {
    BlockTemplates result;
    result.textureSize = initialTextureSize;
    int naturalSize = initialTextureSize;  // T as the first picture alone would set it
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
        if (stop && stop())
            continue;
        stackmason::EntryPicture read = pack->ReadEntryPicture(index);
        entry.missing = read.leftOut;
        std::optional<stackmason::Image>& picture = read.image;
        if (!picture || picture->IsEmpty())
            continue;
        if (index == 0) {
            naturalSize = picture->Height();
            result.textureSize = std::min(naturalSize, maxTextureSize);
        }
        entry.textured = true;
        entry.picture = FitToTexture(*picture, naturalSize, result.textureSize);
    }
    result.leftOut = pack->LeftOutCount();
    MarkMissingPictures(result);
    return result;
}

}  // namespace orbitscope
