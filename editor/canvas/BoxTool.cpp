#include "editor/canvas/BoxTool.h"

#include <algorithm>
#include <optional>

#include "editor/canvas/CanvasOverlay.h"
#include "editor/model/Edit.h"
#include "editor/model/Selection.h"

namespace stackmason {
namespace {

using Kind = CanvasEvent::Kind;

std::string SizeText(int width, int length, int height) {
    return std::to_string(width) + " x " + std::to_string(length) + " x " + std::to_string(height);
}

// The pointer's cell in the coordinates of the plane shown, (x, y) in TopView and (y, h) in
// FrontView, kept on the building so that a drag beyond its edge stretches the box to it.
struct PlaneCell {
    int a = 0;
    int b = 0;
    bool inside = false;
};

PlaneCell PointerCell(const Editor& editor) {
    const CellPosition cell = editor.cursorCell;
    const Building& grid = editor.grid;
    if (editor.InTopView()) {
        const bool inside = cell.column >= 1 && cell.column <= grid.Width() && cell.row >= 1 && cell.row <= grid.Length();
        return {std::clamp(cell.column, 1, std::max(1, grid.Width())), std::clamp(cell.row, 1, std::max(1, grid.Length())),
                inside};
    }
    const int h = grid.Height() - cell.row;
    const bool inside = cell.column >= 1 && cell.column <= grid.Length() && h >= 1 && h <= grid.Height();
    return {std::clamp(cell.column, 1, std::max(1, grid.Length())), std::clamp(h, 1, std::max(1, grid.Height())), inside};
}

void PlaceFloatingCopy(Editor& editor) {
    const std::optional<CellBox> placement = FloatingPlacement(editor);
    if (!placement)
        return;
    ApplyEdit(editor, edit::WriteBox{placement->x0, placement->y0, placement->h0, *editor.floatingCopy, true});
}

void HandleFloatingCopy(Editor& editor, const CanvasEvent& event) {
    if (event.kind == Kind::LeftPress)
        PlaceFloatingCopy(editor);
    else if (event.kind == Kind::RightPress)
        editor.floatingCopy.reset();
}

void HandleMarking(Editor& editor, const CanvasEvent& event) {
    const PlaneCell cell = PointerCell(editor);
    if (event.kind == Kind::LeftPress && cell.inside) {
        StartBox(editor, cell.a, cell.b);
        editor.markingBox = true;
    } else if (event.kind == Kind::Move && event.left && editor.markingBox) {
        StretchBox(editor, cell.a, cell.b);
    } else if (!event.left) {
        editor.markingBox = false;
    }
}

}  // namespace

bool BoxToolTakesMouse(const Editor& editor) { return editor.floatingCopy.has_value() || editor.boxMode; }

void HandleBoxToolEvent(Editor& editor, const CanvasEvent& event) {
    if (editor.floatingCopy)
        HandleFloatingCopy(editor, event);
    else if (editor.boxMode)
        HandleMarking(editor, event);
}

std::string BoxReadout(const Editor& editor) {
    std::string text = editor.boxMode ? "  Box mode" : "";
    if (const std::optional<CellBox> box = SelectedBox(editor))
        text += "  Box: " + SizeText(box->Width(), box->Length(), box->Height());
    if (const std::optional<BlockClip>& copy = editor.floatingCopy)
        text += "  Paste: " + SizeText(copy->Width(), copy->Length(), copy->Height());
    return text;
}

}  // namespace stackmason
