#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// Swaps the x and y axes of the whole building: every layer is mirrored about its diagonal,
// width and length trade places, the layers keep their order and the ground becomes air. Ends
// in TopView on layer 1. The cells are moved in place; when even the little memory the swap
// needs besides cannot be had, it throws std::bad_alloc before anything changes, the view
// included.
void FlipAxis(Editor& editor);

}  // namespace stackmason
