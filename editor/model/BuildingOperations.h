#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// Replaces the building with an empty one of the size shown in the size fields and shows it
// in TopView on layer 1. When the grid cannot be allocated, the old building, its sizes and
// the size fields stay and an "Error" box says so; the result is then false.
bool NewBuilding(Editor& editor);

// Sets every cell of x 0..X, y 0..Y, h 0..H to air, the index-0 planes included.
void ClearGrid(Editor& editor, int width, int length, int height);

// Copies the slice x = current layer into the working plane, first giving the plane the
// extents of the current sizes if it has other ones.
void RefreshFrontPlane(Editor& editor);

// Allocates an empty grid and working plane of the given sizes and makes them the building's,
// the sizes included. Returns false, leaving everything as it was, when memory runs out.
bool AllocateBuilding(Editor& editor, int width, int length, int height);

}  // namespace stackmason
