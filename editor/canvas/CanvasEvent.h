#pragma once

namespace stackmason {

// One event the canvas reports: its kind, the pointer in canvas pixels (negative or beyond
// the canvas while a button is held), the buttons and the modifier keys held.
struct CanvasEvent {
    enum class Kind { LeftPress, RightPress, Move, Other };
    Kind kind = Kind::Other;
    int x = 0;
    int y = 0;
    bool left = false;
    bool right = false;
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

}  // namespace stackmason
