#include "editor/commands/LayerCommands.h"

#include <utility>

#include "common/Constants.h"
#include "editor/model/Edit.h"
#include "editor/model/History.h"

namespace stackmason {
namespace {

// Planes of the current view: layers 1..H in TopView, slices 1..X in FrontView.
int PlaneCount(const Editor& editor) { return editor.InTopView() ? editor.grid.Height() : editor.grid.Width(); }

bool PlaneExists(const Editor& editor, int plane) { return plane >= 1 && plane <= PlaneCount(editor); }

// Every non-air cell of plane `from` written into plane `to`, in the sense of the current view.
Edit MergePlaneEdit(const Editor& editor, int from, int to) {
    if (editor.InTopView())
        return edit::MergeLayer{from, to};
    return edit::MergeSlice{from, to};
}

// Applies the restacking edit, then shows the new height, the layer field's range and value
// following it.
void Restack(Editor& editor, Edit edit, int currentLayer) {
    ApplyEdit(editor, std::move(edit));
    editor.layerSpin.SetRange(1, editor.grid.Height());
    editor.layerSpin.SetValue(currentLayer);
    editor.heightSpin.SetValue(editor.grid.Height());
}

}  // namespace

void CopyLayer(Editor& editor) { editor.copiedLayer = editor.CurrentLayer(); }

void PasteLayer(Editor& editor) {
    const StepScope step(editor);
    const int target = editor.CurrentLayer();
    // The remembered plane may be gone: copied in the other view, or before the building
    // became smaller. Reading it would leave the grid.
    if (!PlaneExists(editor, editor.copiedLayer) || !PlaneExists(editor, target))
        return;
    ApplyEdit(editor, MergePlaneEdit(editor, editor.copiedLayer, target));
}

void InsertLayer(Editor& editor) {
    const StepScope step(editor);
    const int current = editor.CurrentLayer();
    const int height = editor.grid.Height();
    // A taller building could not be loaded again: the height field takes at most 256.
    if (!editor.InTopView() || !PlaneExists(editor, current) || height >= kMaxGridHeight)
        return;
    Restack(editor, edit::InsertLayer{current, {}, {}}, current + 1);
}

void RemoveLayer(Editor& editor) {
    const StepScope step(editor);
    const int current = editor.CurrentLayer();
    const int height = editor.grid.Height();
    // The grid and the canvas need at least one layer.
    if (!editor.InTopView() || !PlaneExists(editor, current) || height <= 1)
        return;
    Restack(editor, edit::RemoveLayer{current}, current);
}

void DuplicateLayer(Editor& editor) {
    const StepScope step(editor);
    const int current = editor.CurrentLayer();
    if (!PlaneExists(editor, current) || current >= PlaneCount(editor))
        return;
    if (editor.InTopView())
        ApplyEdit(editor, edit::MergeLayer{current, current + 1});
    else
        ApplyEdit(editor, edit::StampWorkingPlane{current + 1});
    editor.layerSpin.SetValue(current + 1);
}

void ClearLayer(Editor& editor) {
    const StepScope step(editor);
    const int current = editor.CurrentLayer();
    if (!PlaneExists(editor, current))
        return;
    if (editor.InTopView())
        ApplyEdit(editor, edit::ClearLayer{current});
    else
        ApplyEdit(editor, edit::ClearSlice{current});
}

}  // namespace stackmason
