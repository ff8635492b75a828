#include "editor/model/Repaint.h"

#include "editor/model/Editor.h"
#include "editor/model/UserAction.h"

namespace stackmason {

RepaintRequest Merged(RepaintRequest earlier, RepaintRequest later) {
    RepaintRequest merged = earlier;
    merged.layout = earlier.layout || later.layout;
    const bool laterIsCell = later.kind == RepaintKind::Cell;
    const bool earlierIsWhole = earlier.kind != RepaintKind::None && earlier.kind != RepaintKind::Cell;
    if (later.kind != RepaintKind::None && !(laterIsCell && earlierIsWhole)) {
        merged.kind = later.kind;
        merged.a = later.a;
        merged.b = later.b;
    }
    return merged;
}

void RequestRepaint(Editor& editor, RepaintRequest request) noexcept {
    MarkEditorChanged(editor);
    editor.repaint = Merged(editor.repaint, request);
}

}  // namespace stackmason
