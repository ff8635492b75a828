#include "editor/canvas/CanvasRepaint.h"

#include <algorithm>
#include <utility>

namespace stackmason {

void ShowRequestedRepaint(Editor& editor) {
    const RepaintRequest request = std::exchange(editor.repaint, RepaintRequest{});
    if (request.layout) {
        editor.painter.ResizeCanvas(editor.canvasWidth, editor.canvasHeight);
        const int width = editor.window.ClientWidth();
        const int height = std::max(0, editor.window.ClientHeight() - kToolbarHeight);
        editor.window.PlaceCanvasScroller(0, kToolbarHeight, width, height, editor.canvasWidth, editor.canvasHeight);
    }
    switch (request.kind) {
    case RepaintKind::None: break;
    case RepaintKind::Cell:
        for (int i = 0; i < request.cellCount; ++i)
            editor.painter.DrawCell(request.cells[i].column, request.cells[i].row);
        break;
    case RepaintKind::LayerCells: editor.painter.PaintLayerCells(); break;
    case RepaintKind::Canvas: editor.painter.RedrawCanvas(); break;
    case RepaintKind::EmptyTopView: editor.painter.PaintEmptyTopView(); break;
    }
    editor.painter.ShowOverlay();
}

void ShowRemainingRepaint(Editor& editor) noexcept {
    try {
        ShowRequestedRepaint(editor);
    } catch (...) {
        // The next repaint shows the editor as it is.
    }
}

}  // namespace stackmason
