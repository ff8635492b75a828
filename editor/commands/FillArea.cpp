#include "editor/commands/FillArea.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "editor/model/BuildingOperations.h"

namespace stackmason {
namespace {

// The current plane as the canvas shows it: column c, row r from the top left, both 0-based.
struct Picture {
    int columns = 0;
    int rows = 0;
    std::vector<BlockCode> cells;

    BlockCode& At(int c, int r) { return cells[static_cast<std::size_t>(r) * columns + c]; }
};

// In TopView column x - 1, row y - 1 shows (x, y, layer): the picture's row r is the part
// x >= 1 of the building's row (r + 1, layer). In FrontView column y - 1, row r shows
// (slice, y, H - r).
Picture ReadPicture(const Editor& editor) {
    const Building& grid = editor.grid;
    const int plane = editor.CurrentLayer();
    Picture picture;
    picture.columns = editor.InTopView() ? grid.Width() : grid.Length();
    picture.rows = editor.InTopView() ? grid.Length() : grid.Height();
    picture.cells.resize(static_cast<std::size_t>(picture.columns) * picture.rows);
    for (int r = 0; r < picture.rows; ++r) {
        BlockCode* cells = &picture.At(0, r);
        if (editor.InTopView())
            std::copy_n(grid.Row(r + 1, plane) + 1, picture.columns, cells);
        else
            for (int c = 0; c < picture.columns; ++c)
                cells[c] = grid.Cell(plane, c + 1, grid.Height() - r);
    }
    return picture;
}

void WritePicture(Editor& editor, Picture& picture) {
    Building& grid = editor.grid;
    const int plane = editor.CurrentLayer();
    for (int r = 0; r < picture.rows; ++r) {
        const BlockCode* cells = &picture.At(0, r);
        if (editor.InTopView()) {
            StoredCode* row = grid.Row(r + 1, plane) + 1;
            for (int c = 0; c < picture.columns; ++c)
                row[c] = static_cast<StoredCode>(cells[c]);
        } else {
            for (int c = 0; c < picture.columns; ++c)
                grid.SetCell(plane, c + 1, grid.Height() - r, cells[c]);
        }
    }
}

// The picture cell the pointer stood on; in TopView the pointer cell is (x, y), in FrontView
// (y, row) with the row counted from 0 at the top.
std::optional<std::pair<int, int>> StartCell(const Editor& editor, const Picture& picture) {
    const int c = editor.cursorCell.column - 1;
    const int r = editor.InTopView() ? editor.cursorCell.row - 1 : editor.cursorCell.row;
    if (c < 0 || c >= picture.columns || r < 0 || r >= picture.rows)
        return std::nullopt;
    return std::pair{c, r};
}

// Scanline flood with its own stack, so even a 512 x 512 plane of one code needs no deep
// recursion. A filled cell no longer holds `from`, which marks it as visited.
void Flood(Picture& picture, int startColumn, int startRow, BlockCode from, BlockCode to) {
    std::vector<std::pair<int, int>> pending{{startColumn, startRow}};
    while (!pending.empty()) {
        const auto [seedColumn, r] = pending.back();
        pending.pop_back();
        if (picture.At(seedColumn, r) != from)
            continue;
        int left = seedColumn;
        while (left > 0 && picture.At(left - 1, r) == from)
            --left;
        int right = seedColumn;
        while (right + 1 < picture.columns && picture.At(right + 1, r) == from)
            ++right;
        for (int c = left; c <= right; ++c)
            picture.At(c, r) = to;
        for (const int neighbourRow : {r - 1, r + 1}) {
            if (neighbourRow < 0 || neighbourRow >= picture.rows)
                continue;
            // One seed per run of `from` cells along the neighbouring row.
            bool inRun = false;
            for (int c = left; c <= right; ++c) {
                const bool matches = picture.At(c, neighbourRow) == from;
                if (matches && !inRun)
                    pending.emplace_back(c, neighbourRow);
                inRun = matches;
            }
        }
    }
}

void CopyIntoFrontPlane(Editor& editor, Picture& picture) {
    for (int c = 0; c < picture.columns; ++c)
        for (int r = 0; r < picture.rows; ++r)
            editor.frontPlane.At(c + 1, r + 1) = picture.At(c, r);
}

}  // namespace

void FillArea(Editor& editor) {
    const BlockCode selected = editor.SelectedBlock();
    // With no selector item chosen there is no block to fill with.
    if (selected < 0)
        return;
    const int plane = editor.CurrentLayer();
    if (plane < 1 || plane > (editor.InTopView() ? editor.grid.Height() : editor.grid.Width()))
        return;
    Picture picture = ReadPicture(editor);
    const auto start = StartCell(editor, picture);
    if (!start)
        return;
    const BlockCode from = picture.At(start->first, start->second);
    if (from != selected)
        Flood(picture, start->first, start->second, from, selected);
    // All memory is taken before the first cell changes.
    if (!editor.InTopView())
        FitFrontPlane(editor);
    WritePicture(editor, picture);
    if (editor.InTopView()) {
        editor.painter.PaintLayerCells();
        return;
    }
    CopyIntoFrontPlane(editor, picture);
    editor.painter.RedrawCanvas();
}

}  // namespace stackmason
