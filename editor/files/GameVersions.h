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

// The block id (with its namespace) as the newest release names it, for a file written with
// the names of `dataVersion`. A data version before 1.13's is read as 1.13's.
std::string BlockIdAtNewest(std::string_view blockId, std::int64_t dataVersion);

}  // namespace stackmason
