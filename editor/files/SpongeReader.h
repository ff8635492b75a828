#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/Building.h"

namespace stackmason {

// The code a block state of the palette becomes in the cells.
using StateCodes = std::function<BlockCode(const std::string& state)>;

struct SpongeReadResult {
    // The schematic's sizes and cells, each palette index turned into the code of its state.
    std::optional<Building> grid;
    // Set when the file is refused: the text for the user, naming what is wrong.
    std::string problem;
};

// Reads a Sponge schematic of version 1, 2 or 3, plain or gzip- or zlib-compressed, whose
// tags may stand in any order and among any others: Width, Height and Length, and the
// Palette and BlockData at the root (versions 1 and 2) or Palette and Data in the "Blocks"
// compound (version 3), which may itself lie in a root compound's "Schematic". Sizes must
// fit a building (1 to 512 wide and long, 1 to 256 high), the data must hold exactly one
// palette index of the palette for each cell. The work is bounded as for the schematic
// import: nothing is allocated beyond what the largest building needs, and a file of more
// tags than one of it could have is refused. The cells are the palette indexes (varints, x
// fastest, then z for the building's y, then y for its layer) decoded, checked and turned
// into codes in one pass. Throws std::bad_alloc when the memory for the cells cannot be had.
SpongeReadResult ReadSpongeFile(const std::string& path, const StateCodes& codeOf);

// Decodes one varint at `at`, moving it on; false when it runs past `end` or over five bytes.
bool ReadVarint(const std::uint8_t*& at, const std::uint8_t* end, std::uint32_t& value);

}  // namespace stackmason
