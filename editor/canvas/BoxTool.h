#pragma once

#include <string>

#include "editor/canvas/CanvasEvent.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Whether the canvas's mouse marks a box or places a floating copy now, instead of drawing.
bool BoxToolTakesMouse(const Editor& editor);

// One canvas event for the box tools, the cell under the pointer already worked out for it.
// A floating copy: a left press places it (air in it leaves the cells as they are), a right
// press drops it. The box mode: a left press on the building starts a box, a drag stretches
// it, the release ends the marking.
void HandleBoxToolEvent(Editor& editor, const CanvasEvent& event);

// The title's account of the box tools: the selected box's size and the floating copy's,
// e.g. "  Box: 3 x 3 x 2"; empty without either.
std::string BoxReadout(const Editor& editor);

}  // namespace stackmason
