#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace stackmason {

// Minecraft's block states (the names blocks have had since 1.13, such as
// "minecraft:oak_log[axis=y]") for texture pack entries.

// The game version the names are those of: Minecraft 1.13.2. Files that carry the names say
// so, so that a newer game upgrades the few names it renamed since (the 1.13 "stone_slab" is
// the later "smooth_stone_slab").
inline constexpr std::int32_t kBlockStateDataVersion = 1631;

// One row of the table: a block as a pack entry names it, the block id and data value that
// block had before 1.13, and its block state. Properties stand in alphabetical key order.
// A row whose data value is kNameOnly gives another name to a block that has its own row.
inline constexpr std::int32_t kNameOnly = -1;
struct BlockStateRow {
    std::string_view name;
    std::int32_t legacyId;
    std::int32_t legacyData;
    std::string_view state;
};

// The table, in BlockStateTable.cpp.
std::span<const BlockStateRow> BlockStateTable();

// The block name of a pack entry, as the table's rows name blocks: the entry's item text (or
// file name) without a "t." prefix, a ".png" and the trailing "_" and digits of its block id.
// "t.glass_020" gives "glass".
std::string BlockNameOfEntry(std::string_view itemText);

// The block state of a pack entry: the row of its block name where the table has one;
// otherwise that of its block id's plain form (the row with the id and the data value 0);
// nothing where neither is in the table.
std::optional<std::string_view> BlockStateOfEntry(std::string_view itemText, std::int32_t blockId);

// The block id of a block state, its properties dropped: "minecraft:oak_log[axis=y]" gives
// "minecraft:oak_log". A name without a namespace is in "minecraft:".
std::string BlockIdOfState(std::string_view state);

// Whether the block id is one of the airs (air, cave air, void air).
bool IsAirBlockId(std::string_view blockId);

}  // namespace stackmason
