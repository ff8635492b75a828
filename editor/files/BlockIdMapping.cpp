#include "editor/files/BlockIdMapping.h"

#include <algorithm>
#include <optional>

namespace stackmason {
namespace {

// The block id a code stands for in schematic files, or nothing for air, for a code outside
// the pack and for an entry that holds no block picture: those are never named in a file.
std::optional<std::int32_t> SchematicIdOf(const SelectorModel& selector, BlockCode code) {
    if (code <= 0 || !selector.IsBlockPicture(code))
        return std::nullopt;
    return selector.Data(code);
}

}  // namespace

BlockCode CodeForUnknownIds(const SelectorModel& selector) {
    constexpr BlockCode kUsual = 2;
    if (SchematicIdOf(selector, kUsual))
        return kUsual;
    for (BlockCode code = 1; code < selector.Count(); ++code)
        if (SchematicIdOf(selector, code))
            return code;
    return 0;
}

ExportedBlocks ExportedBlocksOf(const SelectorModel& selector) {
    ExportedBlocks blocks;
    const int count = selector.Count();
    blocks.ids.assign(static_cast<std::size_t>(std::max(count, 1)), 0);
    blocks.dataValues.assign(blocks.ids.size(), 0);
    for (BlockCode code = 1; code < count; ++code) {
        const std::optional<std::int32_t> id = SchematicIdOf(selector, code);
        if (!id)
            continue;
        blocks.ids[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(*id & 0xFF);
        blocks.dataValues[static_cast<std::size_t>(code)] = BlockDataValue(*id, code);
    }
    return blocks;
}

std::array<BlockCode, 256> ImportedCodesOf(const SelectorModel& selector) {
    std::array<BlockCode, 256> codes{};
    codes.fill(CodeForUnknownIds(selector));
    codes[0] = 0;
    // From the last entry down, so that the first entry with an id is the one that stays.
    for (BlockCode code = selector.Count() - 1; code >= 1; --code) {
        const std::optional<std::int32_t> id = SchematicIdOf(selector, code);
        if (id && *id >= 0 && *id <= 255)
            codes[static_cast<std::size_t>(*id)] = code;
    }
    return codes;
}

}  // namespace stackmason
