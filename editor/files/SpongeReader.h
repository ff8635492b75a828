#pragma once

#include <cstdint>
#include <array>
#include <functional>
#include <memory>
#include <vector>
#include <optional>
#include <string>

#include "common/Building.h"
#include "editor/files/SchematicReader.h"

namespace stackmason {

// The code a block state of the palette becomes in the cells.
using StateCodes = std::function<BlockCode(const std::string& state)>;

// The palette's states by index; an index the file gives no state has none.
using PaletteStates = std::vector<std::optional<std::string>>;

// What a schematic says of itself besides its blocks.
struct SchematicFacts {
    // The game release whose names its states use; files of version 1 have none.
    std::optional<std::int64_t> dataVersion;
    // The pack a file written by this editor names in its "Metadata" (kPackNameTag).
    std::string packName;
};

// The tag of "Metadata" in which this editor names the pack a file was written with.
inline constexpr const char* kPackNameTag = "StackmasonPack";

// How the palette's states become codes, and whether the cells of each state are counted
// (only a report of states that did not come in as they are needs the counts).
struct PaletteChoice {
    StateCodes codeOf;
    bool countCells = false;
};

// Chooses the palette's codes once the palette and what the file says of itself before its
// block data are known (all of the file, where the data comes first).
using StateCodesFor = std::function<PaletteChoice(const SchematicFacts& facts, const PaletteStates& palette)>;

struct SpongeReadResult {
    // The schematic's sizes and cells, each palette index turned into the code of its state.
    std::optional<Building> grid;
    // Set when the file is refused: the text for the user, naming what is wrong.
    std::string problem;
    // How many cells each palette index has, where they were counted.
    std::vector<std::uint64_t> cellsOfIndex;
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
SpongeReadResult ReadSpongeFile(const std::string& path, const StateCodesFor& codesFor);
// The same, each state's code given by the same function whatever the file says of itself.
SpongeReadResult ReadSpongeFile(const std::string& path, const StateCodes& codeOf);

// Makes a receiver for each block data the file holds; the result names the one whose cells
// are the file's.
using CellRowsMaker = std::function<std::unique_ptr<CellRows>()>;

struct SpongeStreamResult {
    // The receiver the file's cells went to, with their sizes, when the file is taken.
    CellRows* rows = nullptr;
    std::optional<std::array<int, 3>> sizes;
    std::string problem;
    // How many cells each palette index has.
    std::vector<std::uint64_t> cellsOfIndex;
};

// Reads the file as ReadSpongeFile does, handing the cells of each block data to a receiver
// `makeRows` gives. The receivers are kept by `kept` until the caller is done with them.
SpongeStreamResult StreamSpongeFile(const std::string& path, const StateCodesFor& codesFor,
                                    const CellRowsMaker& makeRows, std::vector<std::unique_ptr<CellRows>>& kept);

// Decodes one varint at `at`, moving it on; false when it runs past `end` or over five bytes.
bool ReadVarint(const std::uint8_t*& at, const std::uint8_t* end, std::uint32_t& value);

}  // namespace stackmason
