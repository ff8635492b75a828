#include "editor/shell/ShellActions.h"

namespace stackmason {

void RunLoadButton(Editor&) {}
void RunSaveButton(Editor&) {}
void RunDuplicateLayer(Editor&) {}

}  // namespace stackmason
