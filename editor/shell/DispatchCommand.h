#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// Runs the command with the given id as one user action, inside its error boundary: a
// command that fails shows one "Error" box and throws nothing. An unknown id does nothing.
void DispatchCommand(Editor& editor, int commandId);

}  // namespace stackmason
