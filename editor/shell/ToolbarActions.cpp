#include "editor/shell/ToolbarActions.h"

#include "editor/files/BuildingFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {

void StartEditor(Editor& editor) {
    RunUserAction(editor, "load the texture pack", [&] { LoadTexturePack(editor); });
    RunUserAction(editor, "make the first building", [&] { NewBuilding(editor); });
}

void PressLoadButton(Editor& editor) {
    RunUserAction(editor, "load a building", [&] { LoadBuilding(editor); });
}

void PressSaveButton(Editor& editor) {
    RunUserAction(editor, "save the building", [&] { SaveBuilding(editor, false); });
}

void PressNewButton(Editor& editor) {
    RunUserAction(editor, "make a new building", [&] { NewBuilding(editor); });
}

void PressInfoButton(Editor& editor) {
    RunUserAction(editor, "show the help window", [&] { editor.dialogs.ShowInfoWindow(); });
}

}  // namespace stackmason
