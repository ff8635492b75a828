#pragma once

#include "editor/model/CellBox.h"

namespace stackmason {

struct Editor;

// The part of the building the material list counts and its replace works on.
enum class MaterialScope {
    Building,
    // The current layer in TopView, the current slice in FrontView.
    CurrentPlane,
};

// The cells a scope covers: x 1..X, y 1..Y, h 1..H of the building (its ground and index-0
// planes never), or of the current plane alone; empty when the current plane is not one of
// the building's.
CellBox ScopeCells(const Editor& editor, MaterialScope scope);

}  // namespace stackmason
