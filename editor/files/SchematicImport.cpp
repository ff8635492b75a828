#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "editor/files/BlockIdMapping.h"
#include "editor/files/ColumnTiles.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"

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

StagedBuilding StageSchematic(const Schematic& schematic, const std::array<BlockCode, 256>& codes) {
    StagedBuilding building = StageBuilding(schematic.width, schematic.length, schematic.height);
    FillGrid(building.grid, schematic, codes);
    return building;
}

void PlaceSchematic(Editor& editor, const Schematic& schematic) {
    StagedBuilding building = StageSchematic(schematic, ImportedCodesOf(editor.selector));
    MarkEditorChanged(editor);
    PutBuildingInPlace(editor, std::move(building));
}

bool ImportSchematic(Editor& editor, const std::string& path) {
    const SchematicReadResult read = ReadSchematicFile(path);
    if (!read.schematic) {
        editor.dialogs.ShowError(read.problem);
        return false;
    }
    PlaceSchematic(editor, *read.schematic);
    return true;
}

}  // namespace stackmason
