#include "editor/shell/ShellActions.h"

namespace stackmason {

void RunLoadButton(Editor&) {}
void RunSaveButton(Editor&) {}
void RunDuplicateLayer(Editor&) {}
void ShowInfoWindowOver(QWidget&) {}

}  // namespace stackmason
