#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// Runs the command with the given id; an unknown id does nothing.
void DispatchCommand(Editor& editor, int commandId);

}  // namespace stackmason
