#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/Building.h"

namespace stackmason {

// The largest building has this many cells, so no schematic we take holds more ids.
inline constexpr std::uint64_t kMaxSchematicCells = 512ull * 512ull * 256ull;

// The code each stored block id byte becomes in the cells.
using ImportedCodes = std::array<BlockCode, 256>;

struct SchematicReadResult {
    // The schematic's sizes and cells, each id already turned into its code.
    std::optional<Building> grid;
    // Set when the file is refused: the text for the user, naming what is wrong.
    std::string problem;
};

// Reads a schematic file as Minecraft tools write it: NBT, plain or gzip- or zlib-compressed,
// whose root compound holds Width, Height, Length and a Blocks byte array of Width x Length
// x Height bytes, in any order and among any other tags. Sizes must fit a building (1 to 512
// wide and long, 1 to 256 high). Nothing is allocated on the word of a length field beyond
// what the largest building needs. Where the sizes come before the Blocks array, as every
// tool writes them, the ids go straight into the cells as they are read; otherwise the array
// is held until the sizes are known. Throws std::bad_alloc when the memory for the cells
// cannot be had.
SchematicReadResult ReadSchematicFile(const std::string& path, const ImportedCodes& codes);

}  // namespace stackmason
