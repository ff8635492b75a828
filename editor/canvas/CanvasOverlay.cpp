#include "editor/canvas/CanvasOverlay.h"

#include "editor/model/Selection.h"

namespace stackmason {
namespace {

bool PointerOnBuilding(const Editor& editor) {
    const CellPosition cell = editor.cursorCell;
    const Building& grid = editor.grid;
    if (editor.InTopView())
        return cell.column >= 1 && cell.column <= grid.Width() && cell.row >= 1 && cell.row <= grid.Length();
    return cell.column >= 1 && cell.column <= grid.Length() && cell.row >= 0 && cell.row < grid.Height();
}

// The box's cells on the plane shown, as the canvas lays them out.
CanvasCells CellsShown(const Editor& editor, const CellBox& box) {
    const int plane = editor.CurrentLayer();
    if (editor.InTopView()) {
        if (plane < box.h0 || plane > box.h1)
            return {};
        return {box.x0 - 1, box.y0 - 1, box.Width(), box.Length()};
    }
    if (plane < box.x0 || plane > box.x1)
        return {};
    return {box.y0 - 1, editor.grid.Height() - box.h1, box.Length(), box.Height()};
}

}  // namespace

std::optional<CellBox> FloatingPlacement(const Editor& editor) {
    if (!editor.floatingCopy || !PointerOnBuilding(editor))
        return std::nullopt;
    const BlockClip& clip = *editor.floatingCopy;
    const CellPosition cell = editor.cursorCell;
    const int plane = editor.CurrentLayer();
    if (editor.InTopView())
        return CellBox{cell.column, cell.row, plane, cell.column + clip.Width() - 1, cell.row + clip.Length() - 1,
                       plane + clip.Height() - 1};
    const int top = editor.grid.Height() - cell.row;
    return CellBox{plane, cell.column, top - clip.Height() + 1, plane + clip.Width() - 1,
                   cell.column + clip.Length() - 1, top};
}

CanvasOverlay OverlayFor(const Editor& editor) {
    CanvasOverlay overlay;
    if (const std::optional<CellBox> box = SelectedBox(editor))
        overlay.box = CellsShown(editor, *box);
    if (const std::optional<CellBox> placement = FloatingPlacement(editor))
        overlay.floating = CellsShown(editor, *placement);
    return overlay;
}

BlockCode FloatingCodeAt(const Editor& editor, const CanvasOverlay& overlay, int column, int row) {
    if (!editor.floatingCopy || !overlay.floating.Contains(column, row))
        return 0;
    const BlockClip& clip = *editor.floatingCopy;
    const int c = column - overlay.floating.column;
    const int r = row - overlay.floating.row;
    if (editor.InTopView())
        return clip.At(c, r, 0);
    return clip.At(0, c, clip.Height() - 1 - r);
}

}  // namespace stackmason
