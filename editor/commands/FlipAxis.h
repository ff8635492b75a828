#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// Swaps the x and y axes of the whole building: every layer is mirrored about its diagonal,
// width and length trade places, the layers keep their order and the ground becomes air. Ends
// in TopView on layer 1. When the swapped building does not fit in memory, the old one stays
// as it was and an "Error" box says so.
void FlipAxis(Editor& editor);

}  // namespace stackmason
