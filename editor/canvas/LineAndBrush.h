#pragma once

#include <random>

#include "editor/model/Editor.h"

namespace stackmason {

// Sets the selected block into the cells of the straight line from (x0, y0) to (x1, y1) on
// the current layer (Bresenham, one error term), and into their mirror images while mirrored
// drawing is on, then repaints. Both ends lie in the grid.
void DrawLine(Editor& editor, int x0, int y0, int x1, int y1);

// Stamps 10 x 10 columns of the selected block, 4 to bz cells tall with bz drawn at random,
// standing on the ground at (x, y)..(x + 9, y + 9), and the same stamp mirrored while mirrored
// drawing is on, then repaints; does nothing when the brush does not fit the building.
void PlaceRandomBrush(Editor& editor, int x, int y);

// Uniform over minimum..maximum inclusive; maximum when minimum > maximum.
int RandomInt(std::mt19937& generator, int minimum, int maximum);

}  // namespace stackmason
