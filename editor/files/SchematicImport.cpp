#include <algorithm>
#include <array>

#include "editor/files/BlockIdMapping.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"

namespace stackmason {
namespace {

// The grid keeps a column's layers together, the file a layer's rows: a group of layers at
// a time fills whole cache lines of the grid.
constexpr int kLayerGroup = 16;

void FillGrid(BlockGrid& grid, const Schematic& schematic, const std::array<BlockCode, 256>& codes) {
    const std::size_t layerCells = static_cast<std::size_t>(grid.Width()) * static_cast<std::size_t>(grid.Length());
    for (int first = 1; first <= grid.Height(); first += kLayerGroup) {
        const int count = std::min(kLayerGroup, grid.Height() - first + 1);
        const std::uint8_t* ids = schematic.blocks.get() + static_cast<std::size_t>(first - 1) * layerCells;
        for (int x = 1; x <= grid.Width(); ++x) {
            for (int y = 1; y <= grid.Length(); ++y) {
                BlockCode* cells = grid.Data() + grid.Index(x, y, first);
                const std::size_t at = static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(grid.Width()) +
                                       static_cast<std::size_t>(x - 1);
                for (int g = 0; g < count; ++g)
                    cells[g] = codes[ids[static_cast<std::size_t>(g) * layerCells + at]];
            }
        }
    }
}

}  // namespace

bool PlaceSchematic(Editor& editor, const Schematic& schematic) {
    if (!AllocateBuilding(editor, schematic.width, schematic.length, schematic.height)) {
        editor.dialogs.ShowError("Not enough memory for a building of " + std::to_string(schematic.width) + " x " +
                                 std::to_string(schematic.length) + " x " + std::to_string(schematic.height) +
                                 " cells. The building is unchanged.");
        return false;
    }
    FillGrid(editor.grid, schematic, ImportedCodesOf(editor.selector));
    return true;
}

bool ImportSchematic(Editor& editor, const std::string& path) {
    const SchematicReadResult read = ReadSchematicFile(path);
    if (!read.schematic) {
        editor.dialogs.ShowError(read.problem);
        return false;
    }
    return PlaceSchematic(editor, *read.schematic);
}

}  // namespace stackmason
