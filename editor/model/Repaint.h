#pragma once

#include "editor/model/CellPosition.h"

namespace stackmason {

struct Editor;

// The repaint an operation asks for once it has changed the editor. The operations of the
// model only record it; the canvas side carries it out (ShowRequestedRepaint), so that the
// model runs and is tested without a painter or a window.
enum class RepaintKind {
    None,
    // The one cell (a, b) of the current plane, as DrawCell paints it.
    Cell,
    // The short repaint after a fill in TopView: the current layer's cells and the label.
    LayerCells,
    // A full repaint of the current view.
    Canvas,
    // A new building's first paint: air in every cell, then the label.
    EmptyTopView,
};

struct RepaintRequest {
    RepaintKind kind = RepaintKind::None;
    // With RepaintKind::Cell, the cells (a, b) of the current plane to draw one after the other:
    // one event of the pen draws at most eight (both buttons held, each cell with its three
    // mirror images).
    static constexpr int kMaxCells = 8;
    CellPosition cells[kMaxCells] = {};
    int cellCount = 0;
    // The canvas size or the scroller changed: they are laid out before the paint.
    bool layout = false;

    bool IsEmpty() const { return kind == RepaintKind::None && !layout; }
};

// The repaint of one cell (a, b) of the current plane.
RepaintRequest CellRepaint(int a, int b);

// Adds a request to those the running operation has made so far: the layout once asked for
// stays asked for, and a later paint of the whole canvas replaces an earlier paint; one cell
// after a whole paint adds nothing, and cells beyond those a request holds become a paint of the
// whole canvas.
RepaintRequest Merged(RepaintRequest earlier, RepaintRequest later);

// Records the request in the editor and marks the running action as having changed it.
void RequestRepaint(Editor& editor, RepaintRequest request) noexcept;

// The requests of the common cases.
inline constexpr RepaintRequest kFullRepaint{RepaintKind::Canvas, {}, 0, false};
inline constexpr RepaintRequest kLayoutAndFullRepaint{RepaintKind::Canvas, {}, 0, true};

}  // namespace stackmason
