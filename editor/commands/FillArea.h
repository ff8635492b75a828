#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// The bucket tool: the cell under the pointer and every cell of the current plane connected
// to it through left, right, upper and lower neighbours of the same code take the selected
// block. The ground strip of FrontView is never part of the plane.
void FillArea(Editor& editor);

}  // namespace stackmason
