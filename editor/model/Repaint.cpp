#include "editor/model/Repaint.h"

#include "editor/model/Editor.h"
#include "editor/model/UserAction.h"

namespace stackmason {
namespace {

bool IsWhole(RepaintKind kind) { return kind != RepaintKind::None && kind != RepaintKind::Cell; }

RepaintRequest WithCellsOf(RepaintRequest merged, const RepaintRequest& later) {
    if (merged.kind != RepaintKind::Cell) {
        merged.kind = RepaintKind::Cell;
        merged.cellCount = 0;
    }
    for (int i = 0; i < later.cellCount; ++i) {
        if (merged.cellCount == RepaintRequest::kMaxCells) {
            merged.kind = RepaintKind::Canvas;
            merged.cellCount = 0;
            return merged;
        }
        merged.cells[merged.cellCount++] = later.cells[i];
    }
    return merged;
}

}  // namespace

RepaintRequest CellRepaint(int a, int b) {
    RepaintRequest request;
    request.kind = RepaintKind::Cell;
    request.cells[0] = {a, b};
    request.cellCount = 1;
    return request;
}

RepaintRequest Merged(RepaintRequest earlier, RepaintRequest later) {
    RepaintRequest merged = earlier;
    merged.layout = earlier.layout || later.layout;
    if (later.kind == RepaintKind::None)
        return merged;
    if (later.kind == RepaintKind::Cell)
        return IsWhole(earlier.kind) ? merged : WithCellsOf(merged, later);
    merged.kind = later.kind;
    merged.cellCount = 0;
    return merged;
}

void RequestRepaint(Editor& editor, RepaintRequest request) noexcept {
    MarkEditorChanged(editor);
    editor.repaint = Merged(editor.repaint, request);
}

}  // namespace stackmason
