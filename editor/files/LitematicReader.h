#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Building.h"
#include "editor/files/SpongeReader.h"

namespace stackmason {

struct LitematicReadResult {
    // The building enclosing every region, each cell the code of its block state.
    std::optional<Building> grid;
    // Set when the file is refused: the text for the user, naming what is wrong.
    std::string problem;
    // How many cells of the building each state of the palette handed to `codesFor` has,
    // where they were counted.
    std::vector<std::uint64_t> cellsOfIndex;
};

// Reads a Litematica schematic of version 4 to 7, plain or compressed, whose tags may stand
// in any order and among any others. Each region lies at its Position; a negative Size
// component means the region runs from Position + Size + 1 to Position on that axis. The
// building is the box enclosing every region, its column the file's x, its row the file's z
// and its layer the file's y, moved to start at 1; it must fit a building (512 wide and
// long, 256 high). Cells outside every region are air; where regions overlap, the later
// region's blocks that are not air win. The states of all regions' palettes, air first and
// each once, are handed to `codesFor` with the file's MinecraftDataVersion and the pack it
// names. Each region's BlockStates must be exactly as long as its size and palette need and
// name only entries of its palette. Throws std::bad_alloc when the memory for the cells
// cannot be had.
LitematicReadResult ReadLitematicFile(const std::string& path, const StateCodesFor& codesFor);

}  // namespace stackmason
