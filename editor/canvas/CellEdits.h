#pragma once

#include "editor/model/Edit.h"

namespace stackmason {

// The cell edits of the canvas tools, worked out from the building without changing it.

// Alt + left button: the selected code into the cell at `layer` and down the column through the
// cells below it that hold air or code 1, and into the first cell under them (the ground when
// there is no other).
edit::SetColumn DrawDownwardEdit(const Building& grid, int x, int y, int layer, BlockCode code);

// Alt + right button: air into the cell at `layer`, the run of cells below it that hold the same
// code, and the first cell under the run.
edit::SetColumn DeleteDownwardEdit(const Building& grid, int x, int y, int layer);

// The cells of the straight line from (x0, y0) to (x1, y1) on `layer` (Bresenham, one error
// term) that lie on the building, set to `code`.
edit::SetCells LineEdit(const Building& grid, int x0, int y0, int x1, int y1, int layer, BlockCode code);

// The non-air cells of the brush, layer k of it standing on layer k - 1 of the building with
// its corner at (x, y).
edit::SetCells BrushEdit(const Building& brush, int x, int y);

}  // namespace stackmason
