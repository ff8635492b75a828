#pragma once

#include <string>
#include <string_view>

#include "editor/model/EditorPorts.h"

namespace stackmason {

// The user action that runs now, as its error boundary (UserAction.h) reports it should it fail.
struct RunningAction {
    // What it does, in words that follow "Could not ": "load a building". A view of the
    // text its boundary was given, which outlives the action.
    std::string_view what;
    // The same said more exactly, once the action knows more: "load House.txt".
    std::string exactly;
    // Set from the action's first change of the editor on; until then a failure has left
    // everything as it was.
    bool changedEditor = false;

    std::string_view Text() const { return exactly.empty() ? what : std::string_view(exactly); }
};

// The canvas painter as the editor's operations reach it. A repaint always follows a change
// of the editor, so each one marks the running action as having changed it: a failure from
// then on is not reported as changing nothing.
class ActionPainter {
public:
    ActionPainter(CanvasPainter& painter, RunningAction& action) : painter_(painter), action_(action) {}

    void ResizeCanvas(int width, int height) {
        Changing();
        painter_.ResizeCanvas(width, height);
    }
    void PaintEmptyTopView() {
        Changing();
        painter_.PaintEmptyTopView();
    }
    void RedrawCanvas() {
        Changing();
        painter_.RedrawCanvas();
    }
    void DrawCell(int a, int b) {
        Changing();
        painter_.DrawCell(a, b);
    }
    void PaintLayerCells() {
        Changing();
        painter_.PaintLayerCells();
    }
    // Changes no cell: what it shows follows from the editor's state.
    void ShowOverlay() { painter_.ShowOverlay(); }

private:
    void Changing() { action_.changedEditor = true; }

    CanvasPainter& painter_;
    RunningAction& action_;
};

}  // namespace stackmason
