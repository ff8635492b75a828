#pragma once

#include <optional>

#include "editor/model/Edit.h"
#include "editor/model/Editor.h"

namespace stackmason {

// The bucket tool: the cell under the pointer and every cell of the current plane connected
// to it through left, right, upper and lower neighbours of the same code take the selected
// block. The ground strip of FrontView is never part of the plane.
void FillArea(Editor& editor);

// The fill's edit: the current plane (layer `plane` in TopView, slice `plane` in FrontView) as
// it is after the fill from the cell under the pointer. None when there is nothing to fill: no
// block selected, no such plane, or the pointer off the plane.
std::optional<edit::SetPlane> FillEdit(const Building& grid, bool topView, int plane, CellPosition pointer,
                                       BlockCode selected);

}  // namespace stackmason
