// The renames were taken from the game's block lists of each release: a block id that a
// release no longer has, and the id that took its place. 1.14 also gave the old name
// "stone_slab" to a new block (the plain stone slab), which is why names are compared as of
// the newest release and not as of 1.13: a 1.13 "stone_slab" is a smooth stone slab, a
// "stone_slab" of 1.14 or later is not.
#include "editor/files/GameVersions.h"

namespace stackmason {
namespace {

constexpr std::int64_t k1_14 = 1952;
constexpr std::int64_t k1_17 = 2724;
constexpr std::int64_t k1_20_3 = 3698;
constexpr std::int64_t k1_21_9 = 4554;
// 26.1, the newest release the table was checked against.
constexpr std::int64_t kNewest = 4786;

constexpr BlockRename kRenames[] = {
    {k1_14, "minecraft:sign", "minecraft:oak_sign"},
    {k1_14, "minecraft:wall_sign", "minecraft:oak_wall_sign"},
    {k1_14, "minecraft:stone_slab", "minecraft:smooth_stone_slab"},
    {k1_17, "minecraft:grass_path", "minecraft:dirt_path"},
    {k1_20_3, "minecraft:grass", "minecraft:short_grass"},
    {k1_21_9, "minecraft:chain", "minecraft:iron_chain"},
};

}  // namespace

std::span<const BlockRename> BlockRenames() { return kRenames; }

std::int64_t NewestKnownDataVersion() { return kNewest; }

std::string BlockIdAtNewest(std::string_view blockId, std::int64_t dataVersion) {
    std::string id(blockId);
    // Each rename applies once, in order, so that a name given up and later reused (the 1.14
    // "stone_slab") is not renamed again.
    for (const BlockRename& rename : kRenames)
        if (rename.dataVersion > dataVersion && id == rename.before)
            id = rename.after;
    return id;
}

}  // namespace stackmason
