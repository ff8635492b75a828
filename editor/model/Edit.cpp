#include "editor/model/Edit.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>

#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"

namespace stackmason {
namespace {

// Every write is checked before the first one, so that a bad one changes nothing.
void CheckWrites(const Building& grid, const edit::CellWrite* begin, const edit::CellWrite* end) {
    for (const edit::CellWrite* write = begin; write != end; ++write)
        if (!grid.Contains(write->x, write->y, write->h) || !Building::Fits(write->code))
            throw std::out_of_range("cell or block code outside the building");
}

void WriteCells(Editor& editor, const edit::CellWrite* begin, const edit::CellWrite* end) {
    CheckWrites(editor.grid, begin, end);
    MarkEditorChanged(editor);
    Building& grid = editor.grid;
    const int height = grid.Height();
    // FrontView shows the working plane, which follows the slice drawn on.
    const bool mirror = !editor.InTopView() && editor.frontPlane.HasExtents(grid.Length(), height);
    for (const edit::CellWrite* write = begin; write != end; ++write) {
        grid.SetCell(write->x, write->y, write->h, write->code);
        if (mirror && write->x == editor.CurrentLayer() && write->h >= 1)
            editor.frontPlane.At(write->y, height - write->h + 1) = write->code;
    }
}

void Apply(Editor& editor, edit::SetCells&& edit) {
    WriteCells(editor, edit.writes.data(), edit.writes.data() + edit.writes.size());
}

void Apply(Editor& editor, edit::SetCell&& edit) { WriteCells(editor, &edit.write, &edit.write + 1); }

void Apply(Editor& editor, edit::SetPlane&& edit) {
    // All memory is taken before the first cell changes.
    if (!edit.topView)
        FitFrontPlane(editor);
    MarkEditorChanged(editor);
    Building& grid = editor.grid;
    const auto rowOf = [&](int r) {
        return edit.cells.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(edit.columns);
    };
    for (int r = 0; r < edit.rows; ++r) {
        const BlockCode* cells = rowOf(r);
        if (edit.topView) {
            StoredCode* row = grid.Row(r + 1, edit.plane) + 1;
            for (int c = 0; c < edit.columns; ++c)
                row[c] = static_cast<StoredCode>(cells[c]);
        } else {
            for (int c = 0; c < edit.columns; ++c)
                grid.SetCell(edit.plane, c + 1, grid.Height() - r, cells[c]);
        }
    }
    if (edit.topView)
        return;
    for (int c = 0; c < edit.columns; ++c)
        for (int r = 0; r < edit.rows; ++r)
            editor.frontPlane.At(c + 1, r + 1) = rowOf(r)[c];
}

void Apply(Editor& editor, edit::MergeLayer&& edit) {
    MarkEditorChanged(editor);
    editor.grid.MergeLayer(edit.from, edit.to);
}

void Apply(Editor& editor, edit::MergeSlice&& edit) {
    MarkEditorChanged(editor);
    editor.grid.MergeSlice(edit.from, edit.to);
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
}

void Apply(Editor& editor, edit::StampWorkingPlane&& edit) {
    MarkEditorChanged(editor);
    const FrontPlane& plane = editor.frontPlane;
    Building& grid = editor.grid;
    const int length = std::min(grid.Length(), plane.Length());
    const int height = grid.Height();
    for (int p = std::min(height, plane.Height()); p >= 1; --p)
        for (int y = 1; y <= length; ++y)
            if (const BlockCode code = plane.At(y, p); code != 0)
                grid.SetCell(edit.x, y, height + 1 - p, code);
}

void Apply(Editor& editor, edit::ClearLayer&& edit) {
    MarkEditorChanged(editor);
    editor.grid.ClearLayer(edit.h);
}

void Apply(Editor& editor, edit::ClearSlice&& edit) {
    MarkEditorChanged(editor);
    editor.grid.ClearSlice(edit.x);
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
}

void Apply(Editor& editor, edit::InsertLayer&& edit) {
    Building restacked = editor.grid.WithLayerInserted(edit.after);
    MarkEditorChanged(editor);
    editor.grid = std::move(restacked);
}

void Apply(Editor& editor, edit::RemoveLayer&& edit) {
    Building restacked = editor.grid.WithLayerRemoved(edit.layer);
    MarkEditorChanged(editor);
    editor.grid = std::move(restacked);
}

void Apply(Editor& editor, edit::SwapAxes&& edit) {
    MarkEditorChanged(editor);
    editor.grid.Transpose();
    editor.frontPlane = std::move(edit.plane);
    editor.grid.ClearLayer(0);
}

void Apply(Editor& editor, edit::TurnLayers&&) {
    auto workspace = editor.grid.LayerWorkspace();
    MarkEditorChanged(editor);
    editor.grid.TurnLayers(workspace);
}

void Apply(Editor& editor, edit::ReplaceBuilding&& edit) {
    MarkEditorChanged(editor);
    editor.grid = std::move(edit.grid);
    editor.frontPlane = std::move(edit.frontPlane);
}

}  // namespace

void ApplyEdit(Editor& editor, Edit edit) {
    std::visit([&editor](auto&& change) { Apply(editor, std::move(change)); }, std::move(edit));
}

}  // namespace stackmason
