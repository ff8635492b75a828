#include "editor/model/Edit.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>

#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/model/UserAction.h"

namespace stackmason {
namespace {

using history::CellSwap;

// Every write is checked before the first one, so that a bad one changes nothing.
void CheckWrites(const Building& grid, const edit::CellWrite* begin, const edit::CellWrite* end) {
    for (const edit::CellWrite* write = begin; write != end; ++write)
        if (!grid.Contains(write->x, write->y, write->h) || !Building::Fits(write->code))
            throw std::out_of_range("cell or block code outside the building");
}

std::uint32_t IndexOf(const Building& grid, int x, int y, int h) {
    return static_cast<std::uint32_t>(grid.Index(x, y, h));
}

// Writes the codes into their cells one after the other and records the codes they replace;
// a write that changes nothing is not recorded. `code(i)` and `index(i)` give write i.
template <typename IndexOfWrite, typename CodeOfWrite>
void WriteRecorded(Editor& editor, std::size_t count, IndexOfWrite index, CodeOfWrite code) {
    editor.history.Prepare(editor, count);
    MarkEditorChanged(editor);
    StoredCode* cells = editor.grid.Layer(0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t at = index(i);
        const StoredCode replaced = cells[at];
        const StoredCode written = code(i);
        if (replaced == written)
            continue;
        cells[at] = written;
        editor.history.AddCell(at, replaced);
    }
}

void WriteSwaps(Editor& editor, const std::vector<CellSwap>& writes) {
    WriteRecorded(
        editor, writes.size(), [&](std::size_t i) { return writes[i].index; },
        [&](std::size_t i) { return writes[i].code; });
}

void WriteCells(Editor& editor, const edit::CellWrite* begin, const edit::CellWrite* end) {
    CheckWrites(editor.grid, begin, end);
    const Building& grid = editor.grid;
    WriteRecorded(
        editor, static_cast<std::size_t>(end - begin),
        [&](std::size_t i) { return IndexOf(grid, begin[i].x, begin[i].y, begin[i].h); },
        [&](std::size_t i) { return static_cast<StoredCode>(begin[i].code); });
    const int height = grid.Height();
    // FrontView shows the working plane, which follows the slice drawn on.
    if (editor.InTopView() || !editor.frontPlane.HasExtents(grid.Length(), height))
        return;
    for (const edit::CellWrite* write = begin; write != end; ++write)
        if (write->x == editor.CurrentLayer() && write->h >= 1)
            editor.frontPlane.At(write->y, height - write->h + 1) = write->code;
}

// The writes that change a cell, worked out before any changes.
class ChangedCells {
public:
    explicit ChangedCells(const Building& grid) : grid_(grid) {}
    void Write(int x, int y, int h, BlockCode code) {
        if (grid_.Cell(x, y, h) != code)
            writes_.push_back({IndexOf(grid_, x, y, h), static_cast<StoredCode>(code)});
    }
    const std::vector<CellSwap>& Writes() const { return writes_; }
    // Room for as many writes, so that a whole plane's are not copied as the list grows.
    void Reserve(std::size_t count) { writes_.reserve(count); }

private:
    const Building& grid_;
    std::vector<CellSwap> writes_;
};

void Apply(Editor& editor, edit::SetCells&& edit) {
    WriteCells(editor, edit.writes.data(), edit.writes.data() + edit.writes.size());
}

void Apply(Editor& editor, edit::SetCell&& edit) { WriteCells(editor, &edit.write, &edit.write + 1); }

void Apply(Editor& editor, edit::SetPlane&& edit) {
    // All memory is taken before the first cell changes.
    if (!edit.topView)
        FitFrontPlane(editor);
    const Building& grid = editor.grid;
    const auto rowOf = [&](int r) {
        return edit.cells.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(edit.columns);
    };
    ChangedCells changed(grid);
    changed.Reserve(edit.cells.size());
    for (int r = 0; r < edit.rows; ++r)
        for (int c = 0; c < edit.columns; ++c) {
            if (edit.topView)
                changed.Write(c + 1, r + 1, edit.plane, rowOf(r)[c]);
            else
                changed.Write(edit.plane, c + 1, grid.Height() - r, rowOf(r)[c]);
        }
    WriteSwaps(editor, changed.Writes());
    if (edit.topView)
        return;
    for (int c = 0; c < edit.columns; ++c)
        for (int r = 0; r < edit.rows; ++r)
            editor.frontPlane.At(c + 1, r + 1) = rowOf(r)[c];
}

void Apply(Editor& editor, edit::MergeLayer&& edit) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    if (edit.from != edit.to)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x)
                if (const BlockCode code = grid.Cell(x, y, edit.from); code != 0)
                    changed.Write(x, y, edit.to, code);
    WriteSwaps(editor, changed.Writes());
}

void Apply(Editor& editor, edit::MergeSlice&& edit) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    if (edit.from != edit.to)
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                if (const BlockCode code = grid.Cell(edit.from, y, h); code != 0)
                    changed.Write(edit.to, y, h, code);
    WriteSwaps(editor, changed.Writes());
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
}

void Apply(Editor& editor, edit::StampWorkingPlane&& edit) {
    const FrontPlane& plane = editor.frontPlane;
    const Building& grid = editor.grid;
    const int length = std::min(grid.Length(), plane.Length());
    const int height = grid.Height();
    ChangedCells changed(grid);
    for (int p = std::min(height, plane.Height()); p >= 1; --p)
        for (int y = 1; y <= length; ++y)
            if (const BlockCode code = plane.At(y, p); code != 0)
                changed.Write(edit.x, y, height + 1 - p, code);
    WriteSwaps(editor, changed.Writes());
}

void Apply(Editor& editor, edit::ClearLayer&& edit) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    for (int y = 0; y <= grid.Length(); ++y)
        for (int x = 0; x <= grid.Width(); ++x)
            changed.Write(x, y, edit.h, 0);
    WriteSwaps(editor, changed.Writes());
}

void Apply(Editor& editor, edit::ClearSlice&& edit) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    for (int h = 0; h <= grid.Height(); ++h)
        for (int y = 0; y <= grid.Length(); ++y)
            changed.Write(edit.x, y, h, 0);
    WriteSwaps(editor, changed.Writes());
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
}

void Apply(Editor& editor, edit::InsertLayer&& edit) {
    Building restacked = editor.grid.WithLayerInserted(edit.after);
    editor.history.Prepare(editor);
    MarkEditorChanged(editor);
    editor.grid = std::move(restacked);
    editor.history.Record(history::LayerInserted{edit.after});
}

// What removing the layer loses: its cells and the top layer's index-0 row and column.
history::LayerRemoved RemovedLayerOf(const Building& grid, int layer) {
    history::LayerRemoved removed{layer, {}, {}};
    const std::size_t width = grid.RowCells() - 1;
    for (int y = 1; y <= grid.Length(); ++y) {
        const StoredCode* row = grid.Row(y, layer) + 1;
        if (removed.cells.empty() && std::all_of(row, row + width, [](StoredCode code) { return code == 0; }))
            continue;
        if (removed.cells.empty())
            removed.cells.resize(width * static_cast<std::size_t>(grid.Length()));
        std::copy_n(row, width, removed.cells.data() + static_cast<std::size_t>(y - 1) * width);
    }
    const int top = grid.Height();
    removed.topEdge.assign(grid.Row(0, top), grid.Row(0, top) + grid.RowCells());
    for (int y = 1; y <= grid.Length(); ++y)
        removed.topEdge.push_back(grid.Row(y, top)[0]);
    return removed;
}

void Apply(Editor& editor, edit::RemoveLayer&& edit) {
    history::LayerRemoved removed = RemovedLayerOf(editor.grid, edit.layer);
    Building restacked = editor.grid.WithLayerRemoved(edit.layer);
    editor.history.Prepare(editor);
    MarkEditorChanged(editor);
    editor.grid = std::move(restacked);
    editor.history.Record(std::move(removed));
}

void Apply(Editor& editor, edit::SwapAxes&& edit) {
    history::AxesSwapped swapped;
    const StoredCode* ground = editor.grid.Layer(0);
    for (std::size_t i = 0; i < editor.grid.LayerCells(); ++i)
        if (ground[i] != 0)
            swapped.ground.push_back({static_cast<std::uint32_t>(i), ground[i]});
    editor.history.Prepare(editor);
    MarkEditorChanged(editor);
    editor.grid.Transpose();
    editor.frontPlane = std::move(edit.plane);
    editor.grid.ClearLayer(0);
    editor.history.Record(std::move(swapped));
}

void Apply(Editor& editor, edit::TurnLayers&&) {
    auto workspace = editor.grid.LayerWorkspace();
    history::LayersTurned turned;
    const Building& grid = editor.grid;
    bool anyLost = false;
    grid.ForEachCellTurnedOut([&](int x, int y, int h) { anyLost = anyLost || grid.Cell(x, y, h) != 0; });
    if (anyLost)
        grid.ForEachCellTurnedOut(
            [&](int x, int y, int h) { turned.lost.push_back(static_cast<StoredCode>(grid.Cell(x, y, h))); });
    editor.history.Prepare(editor);
    MarkEditorChanged(editor);
    editor.grid.TurnLayers(workspace);
    editor.history.Record(std::move(turned));
}

void Apply(Editor& editor, edit::ReplaceBuilding&& edit) {
    editor.history.Prepare(editor);
    MarkEditorChanged(editor);
    std::swap(editor.grid, edit.grid);
    editor.frontPlane = std::move(edit.frontPlane);
    editor.history.Record(history::BuildingSwapped{std::move(edit.grid)});
}

void Apply(Editor& editor, edit::ReplacePack&& edit) {
    editor.history.Prepare(editor);
    MarkEditorChanged(editor);
    editor.texturePackName.swap(edit.name);
    // The items are swapped before the selector's listener hears of it; should the listener
    // fail, the swap is still recorded.
    const auto record = [&] {
        editor.history.Record(history::PackSwapped{std::move(edit.name), std::move(edit.selector)});
    };
    try {
        editor.selector.TakeItemsOf(edit.selector);
    } catch (...) {
        record();
        throw;
    }
    record();
}

}  // namespace

void ApplyEdit(Editor& editor, Edit edit) {
    std::visit([&editor](auto&& change) { Apply(editor, std::move(change)); }, std::move(edit));
}

}  // namespace stackmason
