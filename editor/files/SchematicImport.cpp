#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "editor/files/BlockIdMapping.h"
#include "editor/files/ColumnTiles.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"

namespace stackmason {
namespace {

// Sets the cells of one column, all layers, from the tile's ids of it. The table is held in
// a local, since the cell stores could alias it.
void FillColumn(const std::uint8_t* ids, std::size_t height, const std::array<BlockCode, 256>& codeOf,
                BlockCode* column) {
    const std::array<BlockCode, 256> codes = codeOf;
    for (std::size_t h = 0; h < height; ++h)
        column[h] = codes[ids[h]];
}

void FillGrid(BlockGrid& grid, const Schematic& schematic, const std::array<BlockCode, 256>& codes) {
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::size_t height = static_cast<std::size_t>(grid.Height());
    const std::size_t layerCells = width * static_cast<std::size_t>(grid.Length());
    const std::size_t columnBytes = TileColumnBytes(height);
    const std::uint8_t* const ids = schematic.blocks.get();
    std::vector<std::uint8_t> tile(columnBytes * kTileColumns);
    ForEachColumnTile(grid, [&](const ColumnTile& t) {
        const std::size_t at = t.LayerOffset(width);
        ReadTileFromLayers(tile.data(), t.columns, height, [&](std::size_t h) { return ids + h * layerCells + at; });
        for (std::size_t c = 0; c < t.columns; ++c)
            FillColumn(tile.data() + c * columnBytes, height, codes, grid.Data() + t.firstCell + c * t.columnStride);
    });
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
