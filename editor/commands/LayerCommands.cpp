#include "editor/commands/LayerCommands.h"

#include <algorithm>
#include <utility>

#include "common/Constants.h"
#include "editor/model/BuildingOperations.h"

namespace stackmason {
namespace {

// Planes of the current view: layers 1..H in TopView, slices 1..X in FrontView.
int PlaneCount(const Editor& editor) { return editor.InTopView() ? editor.grid.Height() : editor.grid.Width(); }

bool PlaneExists(const Editor& editor, int plane) { return plane >= 1 && plane <= PlaneCount(editor); }

// Every non-air cell of plane `from` written into plane `to`, in the sense of the current view.
void MergePlane(Editor& editor, int from, int to) {
    if (editor.InTopView())
        editor.grid.MergeLayer(from, to);
    else
        editor.grid.MergeSlice(from, to);
}

// The working plane stamped onto slice x: its non-air cells overwrite the slice's.
void StampFrontPlane(Editor& editor, int x) {
    const FrontPlane& plane = editor.frontPlane;
    const int length = std::min(editor.grid.Length(), plane.Length());
    const int height = editor.grid.Height();
    for (int p = std::min(height, plane.Height()); p >= 1; --p)
        for (int y = 1; y <= length; ++y)
            if (const BlockCode code = plane.At(y, p); code != 0)
                editor.grid.SetCell(x, y, height + 1 - p, code);
}

// Makes the restacked grid the building's, with its height shown and the layer field's range
// and value following it.
void TakeNewHeight(Editor& editor, Building&& grid, int currentLayer) {
    editor.grid = std::move(grid);
    editor.layerSpin.SetRange(1, editor.grid.Height());
    editor.layerSpin.SetValue(currentLayer);
    editor.heightSpin.SetValue(editor.grid.Height());
    editor.painter.RedrawCanvas();
}

}  // namespace

void CopyLayer(Editor& editor) { editor.copiedLayer = editor.CurrentLayer(); }

void PasteLayer(Editor& editor) {
    const int target = editor.CurrentLayer();
    // The remembered plane may be gone: copied in the other view, or before the building
    // became smaller. Reading it would leave the grid.
    if (!PlaneExists(editor, editor.copiedLayer) || !PlaneExists(editor, target))
        return;
    MergePlane(editor, editor.copiedLayer, target);
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
    editor.painter.RedrawCanvas();
}

void InsertLayer(Editor& editor) {
    const int current = editor.CurrentLayer();
    const int height = editor.grid.Height();
    // A taller building could not be loaded again: the height field takes at most 256.
    if (!editor.InTopView() || !PlaneExists(editor, current) || height >= kMaxGridHeight)
        return;
    TakeNewHeight(editor, editor.grid.WithLayerInserted(current), current + 1);
}

void RemoveLayer(Editor& editor) {
    const int current = editor.CurrentLayer();
    const int height = editor.grid.Height();
    // The grid and the canvas need at least one layer.
    if (!editor.InTopView() || !PlaneExists(editor, current) || height <= 1)
        return;
    TakeNewHeight(editor, editor.grid.WithLayerRemoved(current), current);
}

void DuplicateLayer(Editor& editor) {
    const int current = editor.CurrentLayer();
    if (!PlaneExists(editor, current) || current >= PlaneCount(editor))
        return;
    if (editor.InTopView())
        MergePlane(editor, current, current + 1);
    else
        StampFrontPlane(editor, current + 1);
    editor.layerSpin.SetValue(current + 1);
    editor.painter.RedrawCanvas();
}

void ClearLayer(Editor& editor) {
    const int current = editor.CurrentLayer();
    if (!PlaneExists(editor, current))
        return;
    if (editor.InTopView()) {
        editor.grid.ClearLayer(current);
    } else {
        editor.grid.ClearSlice(current);
        RefreshFrontPlane(editor);
    }
    editor.painter.RedrawCanvas();
}

}  // namespace stackmason
