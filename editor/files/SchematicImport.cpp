#include <utility>

#include "editor/files/BlockIdMapping.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"

namespace stackmason {

StagedBuilding StageSchematic(Building&& grid) {
    FrontPlane frontPlane(grid.Length(), grid.Height());
    return StagedBuilding{std::move(grid), std::move(frontPlane)};
}

bool ImportSchematic(Editor& editor, const std::string& path) {
    // One step of the history, as a load is.
    const StepScope step(editor);
    SchematicReadResult read = ReadSchematicFile(path, ImportedCodesOf(editor.selector));
    if (!read.grid) {
        editor.dialogs.ShowError(read.problem);
        return false;
    }
    StagedBuilding building = StageSchematic(std::move(*read.grid));
    PutBuildingInPlace(editor, std::move(building));
    return true;
}

}  // namespace stackmason
