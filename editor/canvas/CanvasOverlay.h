#pragma once

#include <optional>

#include "editor/model/CellBox.h"
#include "editor/model/Editor.h"

namespace stackmason {

// A rectangle of canvas cells, columns and rows counted from 0 as the tiles lie.
struct CanvasCells {
    int column = 0;
    int row = 0;
    int columns = 0;
    int rows = 0;
    bool Empty() const { return columns <= 0 || rows <= 0; }
    bool Contains(int c, int r) const { return c >= column && c < column + columns && r >= row && r < row + rows; }
    friend bool operator==(const CanvasCells&, const CanvasCells&) = default;
};

// What the canvas shows over the cells: the outline of the selected box where it crosses the
// plane shown, and the floating copy's picture (its bottom layer in TopView, its first slice
// in FrontView) at the pointer.
struct CanvasOverlay {
    CanvasCells box;
    CanvasCells floating;
    bool Empty() const { return box.Empty() && floating.Empty(); }
    friend bool operator==(const CanvasOverlay&, const CanvasOverlay&) = default;
};

CanvasOverlay OverlayFor(const Editor& editor);

// The code the floating copy's picture shows at canvas cell (column, row), which lies in the
// overlay's floating rectangle.
BlockCode FloatingCodeAt(const Editor& editor, const CanvasOverlay& overlay, int column, int row);

// Where the floating copy goes for the cell under the pointer: its corner cell (0, 0, 0) and
// its extent. TopView puts its lowest layer on the layer shown with its corner at the pointer;
// FrontView puts its first slice on the slice shown with its top front corner at the pointer.
// None while the pointer is off the building or nothing floats.
std::optional<CellBox> FloatingPlacement(const Editor& editor);

}  // namespace stackmason
