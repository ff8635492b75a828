#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/BlockDataValues.h"
#include "common/Building.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

// Between block codes (positions in the loaded texture pack) and the Minecraft block ids and
// data values of schematic files (BlockDataValue, common/BlockDataValues.h). The ids are the
// selector items' data.

// What each code of the pack is exported as: the low byte of its id and its data value.
// Air, codes outside the pack and entries without a block picture export as 0, 0.
struct ExportedBlocks {
    std::vector<std::uint8_t> ids;
    std::vector<std::uint8_t> dataValues;

    std::uint8_t IdOf(BlockCode code) const { return InPack(code) ? ids[static_cast<std::size_t>(code)] : 0; }
    std::uint8_t DataValueOf(BlockCode code) const {
        return InPack(code) ? dataValues[static_cast<std::size_t>(code)] : 0;
    }
    bool InPack(BlockCode code) const { return code >= 0 && static_cast<std::size_t>(code) < ids.size(); }
};
ExportedBlocks ExportedBlocksOf(const SelectorModel& selector);

// The code every stored id byte becomes on import: the first pack entry (from 1 up) with that
// id; otherwise air for 0 and code 2 for any other byte (the pack's first block where code 2 is
// none). Entries without a block picture never take part. A pack without blocks maps
// everything to air.
std::array<BlockCode, 256> ImportedCodesOf(const SelectorModel& selector);

// The code a block that no entry of the pack stands for becomes: code 2 where it is a block,
// otherwise the first block of the pack; air in a pack without blocks.
BlockCode CodeForUnknownIds(const SelectorModel& selector);

}  // namespace stackmason
