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
    const std::size_t length = static_cast<std::size_t>(grid.Length());
    const std::size_t height = static_cast<std::size_t>(grid.Height());
    const std::size_t layerCells = width * length;
    const std::size_t xStride = grid.Index(1, 0, 0);
    const std::size_t yStride = grid.Index(0, 1, 0);
    const std::size_t columnBytes = TileColumnBytes(height);
    BlockCode* const cells = grid.Data() + grid.Index(1, 1, 1);
    const std::uint8_t* const ids = schematic.blocks.get();
    std::vector<std::uint8_t> tile(columnBytes * kTileColumns);
    for (std::size_t x0 = 0; x0 < width; x0 += kTileColumns) {
        const std::size_t columns = std::min(kTileColumns, width - x0);
        for (std::size_t y = 0; y < length; ++y) {
            const std::size_t at = y * width + x0;
            ReadTileFromLayers(tile.data(), columns, height, [&](std::size_t h) { return ids + h * layerCells + at; });
            BlockCode* firstColumn = cells + x0 * xStride + y * yStride;
            for (std::size_t c = 0; c < columns; ++c)
                FillColumn(tile.data() + c * columnBytes, height, codes, firstColumn + c * xStride);
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
