#pragma once

#include "editor/canvas/CanvasEvent.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Turns one canvas event into edits: draw, delete, pick, downward runs, the line tool and the
// random brush, and keeps the window title as a readout of the cell under the pointer (one
// event late).
void HandleCanvasEvent(Editor& editor, const CanvasEvent& event);

// Sets the window title to the readout: the cell under the pointer and the stroke's length as
// the last canvas event left them, the mirror mode while mirrored drawing is on, and what the
// box tools hold.
void ShowTitleReadout(Editor& editor);

}  // namespace stackmason
