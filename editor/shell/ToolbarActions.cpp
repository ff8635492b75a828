#include "editor/shell/ToolbarActions.h"

#include "editor/canvas/CanvasRepaint.h"
#include "editor/files/BuildingFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {

void StartEditor(Editor& editor) {
    RunShownAction(editor, "load the texture pack", [&] { LoadTexturePack(editor); });
    RunShownAction(editor, "make the first building", [&] { NewBuilding(editor); });
    // The first building is where the history starts: there is nothing before it.
    editor.history.Clear();
}

void PressLoadButton(Editor& editor) {
    RunShownAction(editor, "load a building", [&] { LoadBuilding(editor); });
}

void PressSaveButton(Editor& editor) {
    RunShownAction(editor, "save the building", [&] { SaveBuilding(editor, false); });
}

void PressNewButton(Editor& editor) {
    RunShownAction(editor, "make a new building", [&] { NewBuilding(editor); });
}

void PressInfoButton(Editor& editor) {
    RunShownAction(editor, "show the help window", [&] { editor.dialogs.ShowInfoWindow(); });
}

}  // namespace stackmason
