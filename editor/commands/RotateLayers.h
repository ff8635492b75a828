#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// TopView only: turns every layer by 90 degrees clockwise as the canvas shows it, about the
// cell (X div 2 + 1, Y div 2 + 1). The sizes stay; blocks turned out of the layer are lost and
// cells that receive nothing become air. Every block keeps its exact code. In FrontView the
// command does nothing. When its small work buffer cannot be had, it throws std::bad_alloc
// before any cell moves.
void RotateLayers(Editor& editor);

}  // namespace stackmason
