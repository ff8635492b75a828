#include "editor/commands/BoxCommands.h"

#include <string>
#include <utility>

#include "editor/model/Edit.h"
#include "editor/model/History.h"
#include "editor/model/Selection.h"

namespace stackmason {
namespace {


template <typename Transform>
void TransformFloating(Editor& editor, Transform transform) {
    if (!editor.floatingCopy)
        return;
    editor.floatingCopy = transform(*editor.floatingCopy);
}

CellBox Shifted(const CellBox& box, int dx, int dy, int dh) {
    return {box.x0 + dx, box.y0 + dy, box.h0 + dh, box.x1 + dx, box.y1 + dy, box.h1 + dh};
}

// The shift from one copy to the next: the box's own size along the direction.
CellBox NextCopy(const CellBox& box, StackDirection direction, int n) {
    switch (direction) {
    case StackDirection::East: return Shifted(box, n * box.Width(), 0, 0);
    case StackDirection::West: return Shifted(box, -n * box.Width(), 0, 0);
    case StackDirection::South: return Shifted(box, 0, n * box.Length(), 0);
    case StackDirection::North: return Shifted(box, 0, -n * box.Length(), 0);
    case StackDirection::Up: return Shifted(box, 0, 0, n * box.Height());
    case StackDirection::Down: return Shifted(box, 0, 0, -n * box.Height());
    }
    return box;
}

std::string CopiesWord(int count) { return count == 1 ? "copy" : "copies"; }

}  // namespace

bool HasSelectedBox(const Editor& editor) { return SelectedBox(editor).has_value(); }
bool HasClipboard(const Editor& editor) { return !editor.clipboard.Empty(); }

void ToggleBoxMode(Editor& editor) {
    if (editor.boxMode)
        CloseBox(editor);
    else
        editor.floatingCopy.reset();
    editor.boxMode = !editor.boxMode;
    editor.markingBox = false;
}

void SelectWholeBuilding(Editor& editor) {
    const CellBox all = WholeBuilding(editor.grid);
    editor.selection = BoxSelection{ViewMode::TopView, all.h0, all.h1, false, all.x0, all.y0, all.x1, all.y1};
    editor.markingBox = false;
}

void DropBoxOrCopy(Editor& editor) {
    if (editor.floatingCopy) {
        editor.floatingCopy.reset();
    } else {
        editor.selection.reset();
        editor.boxMode = false;
        editor.markingBox = false;
    }
}

void CopyBox(Editor& editor) {
    if (const std::optional<CellBox> box = SelectedBox(editor))
        editor.clipboard = ClipOfBox(editor.grid, *box);
}

void CutBox(Editor& editor) {
    const std::optional<CellBox> box = SelectedBox(editor);
    if (!box)
        return;
    const StepScope step(editor);
    editor.clipboard = ClipOfBox(editor.grid, *box);
    ApplyEdit(editor, edit::FillBox{*box, 0});
}

void DeleteBox(Editor& editor) {
    const std::optional<CellBox> box = SelectedBox(editor);
    if (!box)
        return;
    const StepScope step(editor);
    ApplyEdit(editor, edit::FillBox{*box, 0});
}

void FloatClipboard(Editor& editor) {
    if (editor.clipboard.Empty())
        return;
    editor.floatingCopy = editor.clipboard;
}

void TurnFloatingClockwise(Editor& editor) { TransformFloating(editor, TurnedClockwise); }
void TurnFloatingAnticlockwise(Editor& editor) { TransformFloating(editor, TurnedAnticlockwise); }
void MirrorFloatingLeftRight(Editor& editor) { TransformFloating(editor, MirroredLeftRight); }
void MirrorFloatingFrontBack(Editor& editor) { TransformFloating(editor, MirroredFrontBack); }

int StackCopies(Editor& editor, const CellBox& box, const StackRequest& request) {
    const StepScope step(editor);
    const BlockClip clip = ClipOfBox(editor.grid, box);
    const CellBox inside = WholeBuilding(editor.grid);
    int fitted = 0;
    for (int n = 1; n <= request.count; ++n) {
        const CellBox copy = NextCopy(box, request.direction, n);
        const CellBox part = copy.Intersected(inside);
        if (part.Empty())
            break;
        if (part == copy)
            ++fitted;
        ApplyEdit(editor, edit::WriteBox{copy.x0, copy.y0, copy.h0, clip, true});
    }
    return fitted;
}

void StackBox(Editor& editor) {
    const std::optional<CellBox> box = SelectedBox(editor);
    if (!box)
        return;
    const std::optional<StackRequest> request = editor.dialogs.AskStack();
    if (!request || request->count < 1)
        return;
    const int fitted = StackCopies(editor, *box, *request);
    if (fitted < request->count)
        editor.dialogs.ShowInfo(std::to_string(fitted) + " of " + std::to_string(request->count) + " " +
                                CopiesWord(request->count) +
                                " fitted inside the building; the building's edge cut off the rest.");
}

}  // namespace stackmason
