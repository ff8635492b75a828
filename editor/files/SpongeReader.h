#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace stackmason {

// What the import needs from a Sponge schematic file (".schem"): the sizes, the palette and
// the cells' palette indexes as varints, x fastest, then z (the building's y), then y (its
// layer), as in the building's own order.
struct SpongeSchematic {
    int width = 0;
    int length = 0;
    int height = 0;
    // The block state of each palette index; an index the palette lacks has none and no cell
    // names it.
    std::vector<std::optional<std::string>> palette;
    std::unique_ptr<std::uint8_t[]> blockData;
    std::size_t blockDataBytes = 0;

    std::size_t CellCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(length) * static_cast<std::size_t>(height);
    }
};

struct SpongeReadResult {
    std::optional<SpongeSchematic> schematic;
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
// tags than one of it could have is refused.
SpongeReadResult ReadSpongeFile(const std::string& path);

// Decodes one varint at `at`, moving it on; false when it runs past `end` or over five bytes.
bool ReadVarint(const std::uint8_t*& at, const std::uint8_t* end, std::uint32_t& value);

}  // namespace stackmason
