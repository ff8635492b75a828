#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "editor/files/BlockIdMapping.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"

namespace stackmason {
namespace {

// Sets the building's cells from the ids, which lie in the building's own order: its rows,
// layer by layer. The table is held in a local, since the cell stores could alias it.
void FillGrid(Building& grid, const Schematic& schematic, const std::array<BlockCode, 256>& codeOf) {
    std::array<StoredCode, 256> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = static_cast<StoredCode>(codeOf[i]);
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::uint8_t* ids = schematic.blocks.get();
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y, ids += width) {
            StoredCode* cells = grid.Row(y, h) + 1;
            for (std::size_t x = 0; x < width; ++x)
                cells[x] = codes[ids[x]];
        }
}

}  // namespace

StagedBuilding StageSchematic(const Schematic& schematic, const std::array<BlockCode, 256>& codes) {
    StagedBuilding building = StageBuilding(schematic.width, schematic.length, schematic.height);
    FillGrid(building.grid, schematic, codes);
    return building;
}

void PlaceSchematic(Editor& editor, const Schematic& schematic) {
    StagedBuilding building = StageSchematic(schematic, ImportedCodesOf(editor.selector));
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
