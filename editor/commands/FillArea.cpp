#include "editor/commands/FillArea.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "editor/model/History.h"
#include "editor/model/Repaint.h"

namespace stackmason {
namespace {

BlockCode& At(edit::SetPlane& picture, int c, int r) {
    return picture.cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(picture.columns) +
                         static_cast<std::size_t>(c)];
}

// The current plane as the canvas shows it: column c, row r from the top left, both 0-based.
// In TopView column x - 1, row y - 1 shows (x, y, layer): the picture's row r is the part
// x >= 1 of the building's row (r + 1, layer). In FrontView column y - 1, row r shows
// (slice, y, H - r).
edit::SetPlane ReadPicture(const Building& grid, bool topView, int plane) {
    edit::SetPlane picture;
    picture.topView = topView;
    picture.plane = plane;
    picture.columns = topView ? grid.Width() : grid.Length();
    picture.rows = topView ? grid.Length() : grid.Height();
    picture.cells.resize(static_cast<std::size_t>(picture.columns) * static_cast<std::size_t>(picture.rows));
    for (int r = 0; r < picture.rows; ++r) {
        BlockCode* cells = &At(picture, 0, r);
        if (topView)
            std::copy_n(grid.Row(r + 1, plane) + 1, picture.columns, cells);
        else
            for (int c = 0; c < picture.columns; ++c)
                cells[c] = grid.Cell(plane, c + 1, grid.Height() - r);
    }
    return picture;
}

// The picture cell the pointer stood on; in TopView the pointer cell is (x, y), in FrontView
// (y, row) with the row counted from 0 at the top.
std::optional<std::pair<int, int>> StartCell(const edit::SetPlane& picture, CellPosition pointer) {
    const int c = pointer.column - 1;
    const int r = picture.topView ? pointer.row - 1 : pointer.row;
    if (c < 0 || c >= picture.columns || r < 0 || r >= picture.rows)
        return std::nullopt;
    return std::pair{c, r};
}

// Scanline flood with its own stack, so even a 512 x 512 plane of one code needs no deep
// recursion. A filled cell no longer holds `from`, which marks it as visited.
void Flood(edit::SetPlane& picture, int startColumn, int startRow, BlockCode from, BlockCode to) {
    std::vector<std::pair<int, int>> pending{{startColumn, startRow}};
    while (!pending.empty()) {
        const auto [seedColumn, r] = pending.back();
        pending.pop_back();
        if (At(picture, seedColumn, r) != from)
            continue;
        int left = seedColumn;
        while (left > 0 && At(picture, left - 1, r) == from)
            --left;
        int right = seedColumn;
        while (right + 1 < picture.columns && At(picture, right + 1, r) == from)
            ++right;
        for (int c = left; c <= right; ++c)
            At(picture, c, r) = to;
        for (const int neighbourRow : {r - 1, r + 1}) {
            if (neighbourRow < 0 || neighbourRow >= picture.rows)
                continue;
            // One seed per run of `from` cells along the neighbouring row.
            bool inRun = false;
            for (int c = left; c <= right; ++c) {
                const bool matches = At(picture, c, neighbourRow) == from;
                if (matches && !inRun)
                    pending.emplace_back(c, neighbourRow);
                inRun = matches;
            }
        }
    }
}

}  // namespace

std::optional<edit::SetPlane> FillEdit(const Building& grid, bool topView, int plane, CellPosition pointer,
                                       BlockCode selected) {
    // With no selector item chosen there is no block to fill with.
    if (selected < 0)
        return std::nullopt;
    if (plane < 1 || plane > (topView ? grid.Height() : grid.Width()))
        return std::nullopt;
    edit::SetPlane picture = ReadPicture(grid, topView, plane);
    const auto start = StartCell(picture, pointer);
    if (!start)
        return std::nullopt;
    const BlockCode from = At(picture, start->first, start->second);
    if (from != selected)
        Flood(picture, start->first, start->second, from, selected);
    return picture;
}

void FillArea(Editor& editor) {
    const StepScope step(editor);
    auto fill =
        FillEdit(editor.grid, editor.InTopView(), editor.CurrentLayer(), editor.cursorCell, editor.SelectedBlock());
    if (!fill)
        return;
    ApplyEdit(editor, std::move(*fill));
}

}  // namespace stackmason
