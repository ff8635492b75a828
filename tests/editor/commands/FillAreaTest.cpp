#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "CommandTestEditor.h"
#include "editor/commands/FillArea.h"
#include "editor/commands/LayerCommands.h"
#include "editor/model/Views.h"

namespace stackmason {
namespace {

using testing::RunShown;

using testing::CommandTestEditor;
using testing::Layer;
using testing::SameCells;
using testing::Slice;
using testing::WorkingCells;

// Layer pictures as text, one string per row y, one character per column x: '.' is air,
// a digit is that block code.
void DrawLayer(Building& grid, int h, const std::vector<std::string>& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.At(static_cast<int>(c) + 1, static_cast<int>(r) + 1, h) =
                rows[r][c] == '.' ? 0 : rows[r][c] - '0';
}

std::vector<std::string> LayerText(const Building& grid, int h) {
    std::vector<std::string> rows;
    for (int y = 1; y <= grid.Length(); ++y) {
        std::string row;
        for (int x = 1; x <= grid.Width(); ++x)
            row += grid.At(x, y, h) == 0 ? '.' : static_cast<char>('0' + grid.At(x, y, h));
        rows.push_back(row);
    }
    return rows;
}

void FillAt(Editor& editor, int column, int row, int block) {
    editor.cursorCell = {column, row};
    editor.selector.Select(block);
    RunShown(editor, FillArea);
}

TEST(FillArea, TopViewFillsTheConnectedAreaOfTheStartCode) {
    CommandTestEditor t(5, 4, 3);
    Editor& e = t.editor;
    e.grid.At(2, 2, 0) = 3;
    e.grid.At(1, 1, 2) = 4;
    Building expected = e.grid;
    for (int x = 1; x <= 5; ++x)
        for (int y = 1; y <= 4; ++y)
            expected.At(x, y, 1) = 2;
    FillAt(e, 3, 2, 2);
    EXPECT_TRUE(SameCells(e.grid, expected)) << "the whole empty layer, nothing beside it";
    EXPECT_EQ(t.painter.layerPaints, 1);
    EXPECT_EQ(t.painter.redraws, 0);

    FillAt(e, 5, 4, 2);
    EXPECT_TRUE(SameCells(e.grid, expected)) << "the same block again";

    t.painter.Reset();
    for (const CellPosition outside : {CellPosition{0, 1}, CellPosition{6, 1}, CellPosition{1, 0}, CellPosition{1, 5}}) {
        FillAt(e, outside.column, outside.row, 3);
        EXPECT_TRUE(SameCells(e.grid, expected)) << outside.column << "/" << outside.row;
    }
    EXPECT_EQ(t.painter.layerPaints + t.painter.redraws, 0);

    e.selector.Clear();
    e.cursorCell = {1, 1};
    RunShown(e, FillArea);
    EXPECT_TRUE(SameCells(e.grid, expected)) << "no block selected";
}

TEST(FillArea, TopViewStopsAtOtherCodesAndAtCorners) {
    CommandTestEditor t(7, 6, 2);
    Editor& e = t.editor;
    DrawLayer(e.grid, 2, {".......",
                          ".11111.",
                          ".1...1.",
                          ".1...13",
                          ".11111.",
                          "......."});
    e.layerSpin.SetValue(2);
    FillAt(e, 4, 3, 2);
    EXPECT_EQ(LayerText(e.grid, 2), (std::vector<std::string>{".......", ".11111.", ".12221.", ".122213",
                                                              ".11111.", "......."}));
    FillAt(e, 1, 1, 4);
    EXPECT_EQ(LayerText(e.grid, 2), (std::vector<std::string>{"4444444", "4111114", "4122214", "4122213",
                                                              "4111114", "4444444"}));
    FillAt(e, 2, 2, 5);
    EXPECT_EQ(LayerText(e.grid, 2), (std::vector<std::string>{"4444444", "4555554", "4522254", "4522253",
                                                              "4555554", "4444444"}));
    EXPECT_EQ(Layer(e.grid, 1), Layer(Building(7, 6, 2), 1));

    CommandTestEditor corners(4, 4, 1);
    DrawLayer(corners.editor.grid, 1, {"..11", "..11", "11..", "11.."});
    FillAt(corners.editor, 1, 1, 2);
    EXPECT_EQ(LayerText(corners.editor.grid, 1), (std::vector<std::string>{"2211", "2211", "11..", "11.."}));
}

TEST(FillArea, FrontViewFillsTheSliceAboveAWallAndRewritesTheWorkingPlane) {
    CommandTestEditor t(5, 6, 4);
    Editor& e = t.editor;
    for (int y = 1; y <= 6; ++y)
        for (int h = 1; h <= (y == 4 ? 1 : 2); ++h)
            e.grid.At(2, y, h) = 1;
    e.grid.At(1, 3, 4) = 5;  // slice 1, above: the working plane shows it until the fill
    ShowFrontView(e);
    e.layerSpin.SetValue(2);  // wheel step: no refresh
    ASSERT_EQ(e.frontPlane.At(3, 1), 5);
    t.painter.Reset();

    Building expected = e.grid;
    for (int y = 1; y <= 6; ++y)
        for (int h = (y == 4 ? 2 : 3); h <= 4; ++h)
            expected.At(2, y, h) = 3;
    FillAt(e, 3, 0, 3);  // top row of the picture
    EXPECT_TRUE(SameCells(e.grid, expected)) << "ground of slice 2 and the other slices untouched";
    EXPECT_EQ(t.painter.redraws, 1);
    EXPECT_EQ(t.painter.layerPaints, 0);
    std::vector<BlockCode> picture;
    for (int p = 1; p <= 4; ++p)
        for (int y = 1; y <= 6; ++y)
            picture.push_back(e.grid.At(2, y, 5 - p));
    EXPECT_EQ(WorkingCells(e.frontPlane), picture);

    t.painter.Reset();
    FillAt(e, 3, 4, 2);  // the ground strip below the lowest row
    FillAt(e, 7, 1, 2);
    EXPECT_TRUE(SameCells(e.grid, expected));
    EXPECT_EQ(t.painter.redraws, 0);

    RunShown(e, DuplicateLayer);
    EXPECT_EQ(e.CurrentLayer(), 3);
    EXPECT_EQ(Slice(e.grid, 3), Slice(e.grid, 2));
}

TEST(FillArea, FloodsTheLargestLayerAndLongCorridorsWithoutRecursion) {
    CommandTestEditor t(512, 512, 1);
    Editor& e = t.editor;
    FillAt(e, 200, 300, 1);
    int filled = 0;
    for (int x = 1; x <= 512; ++x)
        for (int y = 1; y <= 512; ++y)
            filled += e.grid.At(x, y, 1) == 1 ? 1 : 0;
    EXPECT_EQ(filled, 512 * 512);

    // A corridor winding through every row: walls on the even rows, open at alternate ends.
    e.grid.Clear();
    int air = 0;
    for (int y = 1; y <= 512; ++y)
        for (int x = 1; x <= 512; ++x) {
            const bool gap = (y % 4 == 2 && x == 512) || (y % 4 == 0 && x == 1);
            e.grid.At(x, y, 1) = (y % 2 == 0 && !gap) ? 1 : 0;
            air += e.grid.At(x, y, 1) == 0 ? 1 : 0;
        }
    FillAt(e, 1, 1, 2);
    int reached = 0;
    for (int x = 1; x <= 512; ++x)
        for (int y = 1; y <= 512; ++y)
            reached += e.grid.At(x, y, 1) == 2 ? 1 : 0;
    EXPECT_EQ(reached, air);
    EXPECT_EQ(e.grid.At(1, 511, 1), 2) << "the far end of the corridor";
}

}  // namespace
}  // namespace stackmason

namespace stackmason {
namespace {

using testing::RunShown;

// The fill's edit worked out on many random planes of both views: working it out changes
// nothing; the cells it changes held the start's code and now hold the selected one; they are
// connected to the start through each other; and no cell of the start's code is left beside them.
TEST(FillEdit, FillsExactlyTheConnectedAreaOfTheStartCode) {
    std::mt19937 random(17);
    std::uniform_int_distribution<int> code(0, 2);
    for (int round = 0; round < 300; ++round) {
        Building grid(7, 6, 5);
        for (int h = 0; h <= 5; ++h)
            for (int y = 0; y <= 6; ++y)
                for (int x = 0; x <= 7; ++x)
                    grid.SetCell(x, y, h, code(random));
        const Building before = grid;
        const bool topView = round % 2 == 0;
        const int plane = 1 + round % 5;
        const int columns = topView ? 7 : 6;
        const int rows = topView ? 6 : 5;
        const CellPosition pointer{1 + round % columns, (topView ? 1 : 0) + (round / 3) % rows};
        const BlockCode selected = code(random);
        const auto fill = FillEdit(grid, topView, plane, pointer, selected);
        ASSERT_TRUE(fill.has_value());
        ASSERT_EQ(grid, before);
        ASSERT_EQ(fill->columns, columns);
        ASSERT_EQ(fill->rows, rows);
        const auto old = [&](int c, int r) {
            return topView ? grid.At(c + 1, r + 1, plane) : grid.At(plane, c + 1, grid.Height() - r);
        };
        const auto now = [&](int c, int r) { return fill->cells[static_cast<std::size_t>(r * columns + c)]; };
        const int startC = pointer.column - 1;
        const int startR = topView ? pointer.row - 1 : pointer.row;
        const BlockCode from = old(startC, startR);
        if (from == selected) {
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c)
                    ASSERT_EQ(now(c, r), old(c, r));
            continue;
        }
        // The filled cells, reached from the start through filled cells only.
        std::vector<bool> reached(static_cast<std::size_t>(columns * rows), false);
        std::vector<std::pair<int, int>> pending{{startC, startR}};
        int reachedCount = 0;
        while (!pending.empty()) {
            const auto [c, r] = pending.back();
            pending.pop_back();
            if (c < 0 || c >= columns || r < 0 || r >= rows || reached[static_cast<std::size_t>(r * columns + c)])
                continue;
            if (old(c, r) != from || now(c, r) != selected)
                continue;
            reached[static_cast<std::size_t>(r * columns + c)] = true;
            ++reachedCount;
            pending.insert(pending.end(), {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}});
        }
        int changed = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                if (now(c, r) != old(c, r)) {
                    ++changed;
                    ASSERT_TRUE(reached[static_cast<std::size_t>(r * columns + c)]) << c << "," << r;
                }
                if (!reached[static_cast<std::size_t>(r * columns + c)] || old(c, r) != from)
                    continue;
                for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int nc = c + dc, nr = r + dr;
                    if (nc < 0 || nc >= columns || nr < 0 || nr >= rows)
                        continue;
                    ASSERT_FALSE(now(nc, nr) == from) << "left unfilled beside the area: " << nc << "," << nr;
                }
            }
        EXPECT_EQ(changed, reachedCount);
    }
}

}  // namespace
}  // namespace stackmason
