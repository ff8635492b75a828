#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <stdexcept>

#include "editor/canvas/CellEdits.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Edit.h"
#include "editor/model/Views.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason {
namespace {

Building RandomBuilding(std::mt19937& random, int width, int length, int height) {
    Building grid(width, length, height);
    std::uniform_int_distribution<int> code(0, 4);
    for (int h = 0; h <= height; ++h)
        for (int y = 0; y <= length; ++y)
            for (int x = 0; x <= width; ++x)
                grid.SetCell(x, y, h, code(random));
    return grid;
}

// Lines of every direction, from starts on and off the building: each step moves to one of the
// eight neighbours, the line covers max(|dx|, |dy|) + 1 cells from start to end, and only the
// cells on the building are written.
TEST(CellEditsTest, LinesAreConnectedAndStayOnTheBuilding) {
    std::mt19937 random(11);
    const Building grid(12, 9, 3);
    std::uniform_int_distribution<int> coordinate(-3, 15);
    for (int round = 0; round < 2000; ++round) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        const edit::SetCells line = LineEdit(grid, x0, y0, x1, y1, 2, 7);
        const bool allInside = x0 >= 1 && x0 <= 12 && x1 >= 1 && x1 <= 12 && y0 >= 1 && y0 <= 9 && y1 >= 1 && y1 <= 9;
        if (allInside) {
            ASSERT_EQ(line.writes.size(), static_cast<std::size_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1));
            EXPECT_EQ(line.writes.front(), (edit::CellWrite{x0, y0, 2, 7}));
            EXPECT_EQ(line.writes.back(), (edit::CellWrite{x1, y1, 2, 7}));
        }
        for (std::size_t i = 0; i < line.writes.size(); ++i) {
            const edit::CellWrite& write = line.writes[i];
            ASSERT_TRUE(write.x >= 1 && write.x <= 12 && write.y >= 1 && write.y <= 9);
            ASSERT_EQ(write.h, 2);
            ASSERT_EQ(write.code, 7);
            if (allInside && i > 0) {
                EXPECT_LE(std::abs(write.x - line.writes[i - 1].x), 1);
                EXPECT_LE(std::abs(write.y - line.writes[i - 1].y), 1);
            }
        }
    }
}

// The downward runs on many random columns: the edit names the cells from the pressed one down
// to and including the first that ends the run, and nothing is changed by working it out.
TEST(CellEditsTest, DownwardRunsEndAtTheFirstCellOutsideTheRun) {
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        const Building grid = RandomBuilding(random, 3, 3, 9);
        const Building before = grid;
        const int layer = 1 + round % 9;
        const edit::SetColumn draw = DrawDownwardEdit(grid, 2, 2, layer, 9);
        const edit::SetColumn erase = DeleteDownwardEdit(grid, 2, 2, layer);
        EXPECT_EQ(grid, before);
        for (const edit::SetColumn* run : {&draw, &erase}) {
            EXPECT_EQ(run->top, layer);
            EXPECT_LE(run->bottom, layer);
            EXPECT_GE(run->bottom, 0);
            EXPECT_EQ(run->x, 2);
            EXPECT_EQ(run->y, 2);
        }
        EXPECT_EQ(draw.code, 9);
        EXPECT_EQ(erase.code, 0);
        const int drawBottom = draw.bottom;
        for (int h = layer; h > drawBottom; --h)
            EXPECT_LT(grid.Cell(2, 2, h), 2);
        EXPECT_TRUE(drawBottom == 0 || grid.Cell(2, 2, drawBottom) >= 2);
        const int eraseBottom = erase.bottom;
        for (int h = layer; h > eraseBottom; --h)
            EXPECT_EQ(grid.Cell(2, 2, h), grid.Cell(2, 2, layer));
        EXPECT_TRUE(eraseBottom == 0 || grid.Cell(2, 2, eraseBottom) != grid.Cell(2, 2, layer));
    }
}

struct EditFixture {
    EditFixture() {
        editor.widthSpin.SetValue(6);
        editor.lengthSpin.SetValue(5);
        editor.heightSpin.SetValue(4);
        NewBuilding(editor);
        editor.action = RunningAction{};
    }
    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// A cell edit with one bad write changes nothing, not even the first cells, and does not count
// as having changed the editor.
TEST(ApplyEditTest, CellEditWithABadWriteChangesNothing) {
    EditFixture f;
    const Building before = f.editor.grid;
    f.painter.Reset();
    for (const edit::CellWrite bad : {edit::CellWrite{7, 1, 1, 3}, edit::CellWrite{1, 1, 5, 3},
                                      edit::CellWrite{1, 1, -1, 3}, edit::CellWrite{1, 1, 1, 40000}}) {
        edit::SetCells cells{{{1, 1, 1, 5}, {2, 2, 2, 6}, bad}};
        EXPECT_THROW(ApplyEdit(f.editor, std::move(cells)), std::out_of_range);
        EXPECT_EQ(f.editor.grid, before);
        EXPECT_FALSE(f.editor.action.changedEditor);
    }
    ApplyEdit(f.editor, edit::SetCells{{{1, 1, 1, 5}, {1, 1, 1, 6}, {6, 5, 0, -47}}});
    EXPECT_EQ(f.editor.grid.At(1, 1, 1), 6);
    EXPECT_EQ(f.editor.grid.At(6, 5, 0), -47);
    EXPECT_TRUE(f.editor.action.changedEditor);
    // Applying never repaints: the repaint is the operation's own step.
    EXPECT_EQ(f.painter.redraws + f.painter.cellDraws + f.painter.layerPaints + f.painter.resizes, 0);
}

// In FrontView the working plane shows the slice drawn on: cell writes there go into it too.
TEST(ApplyEditTest, FrontViewCellWritesReachTheWorkingPlane) {
    EditFixture f;
    f.editor.layerSpin.SetValue(1);
    ShowFrontView(f.editor);
    f.editor.layerSpin.SetValue(3);
    RefreshFrontPlane(f.editor);
    ApplyEdit(f.editor, edit::SetCells{{{3, 2, 4, 8}, {3, 5, 1, 9}, {2, 2, 4, 7}}});
    EXPECT_EQ(f.editor.frontPlane.At(2, 1), 8);
    EXPECT_EQ(f.editor.frontPlane.At(5, 4), 9);
    EXPECT_EQ(f.editor.grid.At(2, 2, 4), 7);
    for (int y = 1; y <= 5; ++y)
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(f.editor.frontPlane.At(y, p), f.editor.grid.At(3, y, 5 - p)) << y << "," << p;
}

}  // namespace
}  // namespace stackmason
