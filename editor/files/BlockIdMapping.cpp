#include "editor/files/BlockIdMapping.h"

#include <algorithm>

namespace stackmason {

ExportedBlocks ExportedBlocksOf(const SelectorModel& selector) {
    ExportedBlocks blocks;
    const int count = selector.Count();
    blocks.ids.assign(static_cast<std::size_t>(std::max(count, 1)), 0);
    blocks.dataValues.assign(blocks.ids.size(), 0);
    for (BlockCode code = 1; code < count; ++code) {
        const std::int32_t id = selector.Data(code);
        blocks.ids[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(id & 0xFF);
        blocks.dataValues[static_cast<std::size_t>(code)] = BlockDataValue(id, code);
    }
    return blocks;
}

std::array<BlockCode, 256> ImportedCodesOf(const SelectorModel& selector) {
    std::array<BlockCode, 256> codes{};
    const int count = selector.Count();
    if (count <= 1)
        return codes;
    const BlockCode unknown = count > 2 ? 2 : 1;
    codes.fill(unknown);
    codes[0] = 0;
    // From the last entry down, so that the first entry with an id is the one that stays.
    for (BlockCode code = count - 1; code >= 1; --code) {
        const std::int32_t id = selector.Data(code);
        if (id >= 0 && id <= 255)
            codes[static_cast<std::size_t>(id)] = code;
    }
    return codes;
}

}  // namespace stackmason
