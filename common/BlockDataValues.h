#pragma once

#include <cstdint>

#include "common/Building.h"

namespace stackmason {

// The data value a block gets in a schematic file. Some Minecraft blocks tell their variants
// (wood kinds, wool colours, cut stone) apart by it, and which variant a pack entry is
// follows from where the pack keeps it: the default packs are laid out for this table.
std::uint8_t BlockDataValue(std::int32_t blockId, BlockCode code);

}  // namespace stackmason
