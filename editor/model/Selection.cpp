#include "editor/model/Selection.h"

namespace stackmason {

CellBox WholeBuilding(const Building& grid) { return {1, 1, 1, grid.Width(), grid.Length(), grid.Height()}; }

namespace {

int FarPlane(const Editor& editor, const BoxSelection& selection) {
    return selection.open && selection.view == editor.viewMode ? editor.CurrentLayer() : selection.farPlane;
}

}  // namespace

std::optional<CellBox> SelectedBox(const Editor& editor) {
    if (!editor.selection)
        return std::nullopt;
    const BoxSelection& s = *editor.selection;
    const int far = FarPlane(editor, s);
    const CellBox box = s.view == ViewMode::TopView ? CellBox::Spanning(s.a0, s.b0, s.anchorPlane, s.a1, s.b1, far)
                                                    : CellBox::Spanning(s.anchorPlane, s.a0, s.b0, far, s.a1, s.b1);
    if (box.Intersected(WholeBuilding(editor.grid)) != box)
        return std::nullopt;
    return box;
}

void StartBox(Editor& editor, int a, int b) {
    const int plane = editor.CurrentLayer();
    editor.selection = BoxSelection{editor.viewMode, plane, plane, true, a, b, a, b};
}

void StretchBox(Editor& editor, int a, int b) {
    if (!editor.selection)
        return;
    editor.selection->a1 = a;
    editor.selection->b1 = b;
}

void CloseBox(Editor& editor) {
    if (!editor.selection)
        return;
    editor.selection->farPlane = FarPlane(editor, *editor.selection);
    editor.selection->open = false;
}

}  // namespace stackmason
