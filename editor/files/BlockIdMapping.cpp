#include "editor/files/BlockIdMapping.h"

#include <algorithm>
#include <initializer_list>

namespace stackmason {
namespace {

// The first code of the row of variants a block id has, for the ids whose variants are a
// run of codes in a pack: wool's sixteen colours.
constexpr BlockCode kFirstWoolCode = 13;
constexpr BlockCode kLastWoolCode = 28;

std::uint8_t DataFromRow(BlockCode code, BlockCode first, std::initializer_list<std::uint8_t> values) {
    const BlockCode offset = code - first;
    if (offset < 0 || offset >= static_cast<BlockCode>(values.size()))
        return 0;
    return values.begin()[offset];
}

}  // namespace

std::uint8_t BlockDataValue(std::int32_t blockId, BlockCode code) {
    switch (blockId) {
    case 5:  // planks
        return DataFromRow(code, 78, {0, 1, 2, 3});
    case 17:  // logs
        return DataFromRow(code, 72, {2, 3, 0, 1});
    case 35:  // wool
        return code >= kFirstWoolCode && code <= kLastWoolCode ? static_cast<std::uint8_t>(code - kFirstWoolCode) : 0;
    case 24:  // sandstone
        return DataFromRow(code, 58, {1, 0, 2});
    case 98:  // stone bricks
        return DataFromRow(code, 65, {0, 3, 1, 2});
    case 155:  // quartz
        return DataFromRow(code, 53, {1, 2, 0});
    case 50:  // torch, standing
        return 6;
    case 80:  // snow block
        return 7;
    case 18:  // leaves that never decay
        return 8;
    default:
        return 0;
    }
}

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
