#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

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

// Where a reader puts the cells it decodes: Start once the sizes are known (again for a later
// array, whose cells replace the earlier ones), then each row (y, h) in turn, layer after
// layer, to be filled with X codes.
class CellRows {
public:
    virtual ~CellRows() = default;
    virtual void Start(int width, int length, int height) = 0;
    virtual StoredCode* Row(int y, int h) = 0;
};

// The cells made into a building of their own, as the editor holds them.
class BuildingRows final : public CellRows {
public:
    void Start(int width, int length, int height) override { grid.emplace(width, length, height); }
    StoredCode* Row(int y, int h) override { return grid->Row(y, h) + 1; }

    std::optional<Building> grid;
};

struct SchematicStreamResult {
    // The sizes of the cells handed over, when the file is taken.
    std::optional<std::array<int, 3>> sizes;
    // Set when the file is refused: the text for the user, naming what is wrong.
    std::string problem;
    // How many times the cells were started: more than once where the file holds several
    // Blocks arrays, of which the last one counts.
    int starts = 0;
};

// Reads the file as ReadSchematicFile does, handing its cells to `rows` as they are decoded
// instead of into a building. The cells handed over are the file's only when the result
// has sizes.
SchematicStreamResult StreamSchematicFile(const std::string& path, const ImportedCodes& codes, CellRows& rows);

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
