#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace stackmason {

// Block ids the game renamed after 1.13, for reading files of any release with the names of
// one. A file says which release wrote it by its data version.

// One rename: from the release of this data version on, the block `before` is `after`.
struct BlockRename {
    std::int64_t dataVersion;
    std::string_view before;
    std::string_view after;
};

// Every rename from 1.13 to the newest release known here, oldest first.
std::span<const BlockRename> BlockRenames();

// The data version of the newest release whose names the table knows.
std::int64_t NewestKnownDataVersion();

// A release of the game from 1.13 on, by its name ("1.20.1") and data version.
struct GameRelease {
    std::string_view name;
    std::int64_t dataVersion;
};

// Every release the names are known for, oldest first.
std::span<const GameRelease> GameReleases();

// The release files are written for unless the user chooses another: 1.20.1, whose names
// every later release still reads as they stand and whose files every later game upgrades.
const GameRelease& DefaultGameRelease();

// The release of this name; nothing for a name the table does not have.
const GameRelease* FindGameRelease(std::string_view name);

// The block id (with its namespace) of a 1.13 block as the release of `dataVersion` names it.
std::string BlockIdAtRelease(std::string_view blockId13, std::int64_t dataVersion);

// A 1.13 block state with its block id as that release names it.
std::string StateAtRelease(std::string_view state13, std::int64_t dataVersion);

// The block id (with its namespace) as the newest release names it, for a file written with
// the names of `dataVersion`. A data version before 1.13's is read as 1.13's.
std::string BlockIdAtNewest(std::string_view blockId, std::int64_t dataVersion);

}  // namespace stackmason
