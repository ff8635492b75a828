#pragma once

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
    int a = 0;
    int b = 0;
    // The canvas size or the scroller changed: they are laid out before the paint.
    bool layout = false;

    bool IsEmpty() const { return kind == RepaintKind::None && !layout; }
};

// Adds a request to those the running operation has made so far: the layout once asked for
// stays asked for, and a later paint of the whole canvas replaces an earlier paint; one cell
// after a whole paint adds nothing.
RepaintRequest Merged(RepaintRequest earlier, RepaintRequest later);

// Records the request in the editor and marks the running action as having changed it.
void RequestRepaint(Editor& editor, RepaintRequest request) noexcept;

// The requests of the common cases.
inline constexpr RepaintRequest kFullRepaint{RepaintKind::Canvas, 0, 0, false};
inline constexpr RepaintRequest kLayoutAndFullRepaint{RepaintKind::Canvas, 0, 0, true};

}  // namespace stackmason
