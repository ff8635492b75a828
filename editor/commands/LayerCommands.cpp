#include "editor/commands/LayerCommands.h"

#include <algorithm>
#include <utility>

#include "common/Constants.h"
#include "editor/model/BuildingOperations.h"

namespace stackmason {
namespace {

// Planes of the current view: layers 1..H in TopView, slices 1..X in FrontView.
int PlaneCount(const Editor& editor) { return editor.InTopView() ? editor.gridHeight : editor.gridWidth; }

bool PlaneExists(const Editor& editor, int plane) { return plane >= 1 && plane <= PlaneCount(editor); }

// Every non-air cell of plane `from` written into plane `to`, in the sense of the current view.
void MergePlane(Editor& editor, int from, int to) {
    BlockGrid& grid = editor.grid;
    if (editor.InTopView()) {
        for (int x = 1; x <= editor.gridWidth; ++x)
            for (int y = 1; y <= editor.gridLength; ++y)
                if (const BlockCode code = grid.At(x, y, from); code != 0)
                    grid.At(x, y, to) = code;
        return;
    }
    for (int y = 1; y <= editor.gridLength; ++y)
        for (int h = 1; h <= editor.gridHeight; ++h)
            if (const BlockCode code = grid.At(from, y, h); code != 0)
                grid.At(to, y, h) = code;
}

// The working plane stamped onto slice x: its non-air cells overwrite the slice's.
void StampFrontPlane(Editor& editor, int x) {
    const FrontPlane& plane = editor.frontPlane;
    const int length = std::min(editor.gridLength, plane.Length());
    const int height = editor.gridHeight;
    for (int p = std::min(height, plane.Height()); p >= 1; --p)
        for (int y = 1; y <= length; ++y)
            if (const BlockCode code = plane.At(y, p); code != 0)
                editor.grid.At(x, y, height + 1 - p) = code;
}

// A grid of the old width and length with `height` layers, each column (x, y) written by
// copyColumn(old column, new column, whether the column belongs to the building). Throws
// std::bad_alloc when the memory cannot be had; the old grid is untouched either way.
template <typename ColumnCopy>
BlockGrid Restacked(const BlockGrid& old, int height, ColumnCopy copyColumn) {
    BlockGrid grid(old.Width(), old.Length(), height);
    for (int x = 0; x <= old.Width(); ++x)
        for (int y = 0; y <= old.Length(); ++y)
            copyColumn(old.Data() + old.Index(x, y, 0), grid.Data() + grid.Index(x, y, 0), x >= 1 && y >= 1);
    return grid;
}

// Makes the restacked grid the building's, with its height shown and the layer field's range
// and value following it.
void TakeNewHeight(Editor& editor, BlockGrid&& grid, int currentLayer) {
    editor.grid = std::move(grid);
    editor.gridHeight = editor.grid.Height();
    editor.layerSpin.SetRange(1, editor.gridHeight);
    editor.layerSpin.SetValue(currentLayer);
    editor.heightSpin.SetValue(editor.gridHeight);
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
    const int height = editor.gridHeight;
    // A taller building could not be loaded again: the height field takes at most 256.
    if (!editor.InTopView() || !PlaneExists(editor, current) || height >= kMaxGridHeight)
        return;
    auto grid = Restacked(editor.grid, height + 1, [&](const BlockCode* from, BlockCode* to, bool inBuilding) {
        if (!inBuilding) {
            std::copy_n(from, height + 1, to);
            return;
        }
        std::copy_n(from, current + 1, to);
        std::copy_n(from + current + 1, height - current, to + current + 2);
    });
    TakeNewHeight(editor, std::move(grid), current + 1);
}

void RemoveLayer(Editor& editor) {
    const int current = editor.CurrentLayer();
    const int height = editor.gridHeight;
    // The grid and the canvas need at least one layer.
    if (!editor.InTopView() || !PlaneExists(editor, current) || height <= 1)
        return;
    auto grid = Restacked(editor.grid, height - 1, [&](const BlockCode* from, BlockCode* to, bool inBuilding) {
        if (!inBuilding) {
            std::copy_n(from, height, to);
            return;
        }
        std::copy_n(from, current, to);
        std::copy_n(from + current + 1, height - current, to + current);
    });
    TakeNewHeight(editor, std::move(grid), current);
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
    BlockGrid& grid = editor.grid;
    if (editor.InTopView()) {
        for (int x = 0; x <= editor.gridWidth; ++x)
            for (int y = 0; y <= editor.gridLength; ++y)
                grid.At(x, y, current) = 0;
    } else {
        for (int y = 0; y <= editor.gridLength; ++y)
            for (int h = 0; h <= editor.gridHeight; ++h)
                grid.At(current, y, h) = 0;
        RefreshFrontPlane(editor);
    }
    editor.painter.RedrawCanvas();
}

}  // namespace stackmason
