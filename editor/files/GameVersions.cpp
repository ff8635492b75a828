// The renames were taken from the game's block lists of each release: a block id that a
// release no longer has, and the id that took its place. 1.14 also gave the old name
// "stone_slab" to a new block (the plain stone slab), which is why names are compared as of
// the newest release and not as of 1.13: a 1.13 "stone_slab" is a smooth stone slab, a
// "stone_slab" of 1.14 or later is not.
#include "editor/files/GameVersions.h"

#include <iterator>

namespace stackmason {
namespace {

constexpr std::int64_t k1_14 = 1952;
constexpr std::int64_t k1_17 = 2724;
constexpr std::int64_t k1_20_3 = 3698;
constexpr std::int64_t k1_21_9 = 4554;
// 26.1.2, the newest release the table was checked against.
constexpr std::int64_t kNewest = 4790;

constexpr GameRelease kReleases[] = {
    {"1.13", 1519},    {"1.13.1", 1628},  {"1.13.2", 1631},  {"1.14", 1952},    {"1.14.1", 1957},
    {"1.14.2", 1963},  {"1.14.3", 1968},  {"1.14.4", 1976},  {"1.15", 2225},    {"1.15.1", 2227},
    {"1.15.2", 2230},  {"1.16", 2566},    {"1.16.1", 2567},  {"1.16.2", 2578},  {"1.16.3", 2580},
    {"1.16.4", 2584},  {"1.16.5", 2586},  {"1.17", 2724},    {"1.17.1", 2730},  {"1.18", 2860},
    {"1.18.1", 2865},  {"1.18.2", 2975},  {"1.19", 3105},    {"1.19.1", 3117},  {"1.19.2", 3120},
    {"1.19.3", 3218},  {"1.19.4", 3337},  {"1.20", 3463},    {"1.20.1", 3465},  {"1.20.2", 3578},
    {"1.20.3", 3698},  {"1.20.4", 3700},  {"1.20.5", 3837},  {"1.20.6", 3839},  {"1.21", 3953},
    {"1.21.1", 3955},  {"1.21.2", 4080},  {"1.21.3", 4082},  {"1.21.4", 4189},  {"1.21.5", 4325},
    {"1.21.6", 4435},  {"1.21.7", 4438},  {"1.21.8", 4440},  {"1.21.9", 4554},  {"1.21.10", 4556},
    {"1.21.11", 4671}, {"26.1", 4786},    {"26.1.1", 4788},  {"26.1.2", 4790},
};
constexpr std::size_t kDefaultRelease = 28;
static_assert(kReleases[kDefaultRelease].dataVersion == 3465);
static_assert(kReleases[std::size(kReleases) - 1].dataVersion == kNewest);

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

std::span<const GameRelease> GameReleases() { return kReleases; }

const GameRelease& DefaultGameRelease() { return kReleases[kDefaultRelease]; }

const GameRelease* FindGameRelease(std::string_view name) {
    for (const GameRelease& release : kReleases)
        if (release.name == name)
            return &release;
    return nullptr;
}

std::string BlockIdAtRelease(std::string_view blockId13, std::int64_t dataVersion) {
    std::string id(blockId13);
    for (const BlockRename& rename : kRenames)
        if (rename.dataVersion <= dataVersion && id == rename.before)
            id = rename.after;
    return id;
}

std::string StateAtRelease(std::string_view state13, std::int64_t dataVersion) {
    const std::size_t bracket = state13.find('[');
    const std::string_view id = state13.substr(0, bracket);
    std::string state = BlockIdAtRelease(id, dataVersion);
    if (bracket != std::string_view::npos)
        state += state13.substr(bracket);
    return state;
}

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
