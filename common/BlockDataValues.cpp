#include "common/BlockDataValues.h"

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
    case 95:  // stained glass: white, red, blue
        return DataFromRow(code, 103, {0, 14, 11});
    case 50:  // torch, standing
        return 6;
    case 80:  // snow block
        return 7;
    case 18:  // oak leaves, with bit 3 (check for decay) set
        return 8;
    default:
        return 0;
    }
}

}  // namespace stackmason
