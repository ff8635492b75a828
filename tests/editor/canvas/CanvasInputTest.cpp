#include <gtest/gtest.h>

#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/canvas/LineAndBrush.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason {
namespace {

using Kind = CanvasEvent::Kind;

struct InputFixture {
    explicit InputFixture(int width = 29, int length = 20, int height = 18) {
        for (int i = 0; i <= 210; ++i)
            editor.selector.Add("block", Image(32, 32));
        editor.widthSpin.SetValue(width);
        editor.lengthSpin.SetValue(length);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
        ShowRequestedRepaint(editor);
        painter.Reset();
        editor.random.seed(5);
    }
    // The centre of a 1-based TopView cell, or of a FrontView column and 0-based row.
    static int Centre(int cell) { return (cell - 1) * 32 + 16; }
    void Send(Kind kind, int x, int y, bool left = false, bool right = false, bool shift = false, bool alt = false,
              bool ctrl = false) {
        // As the window hands it over: inside the action's boundary, with the repaint it asks for.
        RunShownAction(editor, "draw on the canvas",
                       [&] { HandleCanvasEvent(editor, CanvasEvent{kind, x, y, left, right, shift, alt, ctrl}); });
    }
    void LeftAt(int cx, int cy, bool shift = false, bool alt = false, bool ctrl = false) {
        Send(Kind::LeftPress, Centre(cx), Centre(cy), true, false, shift, alt, ctrl);
    }
    void RightAt(int cx, int cy, bool alt = false) { Send(Kind::RightPress, Centre(cx), Centre(cy), false, true, false, alt); }
    BlockCode At(int x, int y, int h) const { return editor.grid.At(x, y, h); }

    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

TEST(CanvasInput, TopViewDrawDeletePickAndTheOneEventLateTitle) {
    InputFixture f;
    f.editor.selector.Select(3);
    f.editor.layerSpin.SetValue(2);
    f.LeftAt(3, 7);
    EXPECT_EQ(f.At(3, 7, 2), 3);
    ASSERT_EQ(f.painter.cells.size(), 1u);
    EXPECT_EQ(f.painter.cells[0], (CellPosition{3, 7}));
    EXPECT_EQ(f.window.title, "Stack Mason  0/0");  // the previous event's values

    f.Send(Kind::Move, InputFixture::Centre(6), InputFixture::Centre(7));
    EXPECT_EQ(f.editor.lengthText, "  Length: 4");
    f.Send(Kind::Move, InputFixture::Centre(3), InputFixture::Centre(9));
    EXPECT_EQ(f.window.title, "Stack Mason  6/7  Length: 4");
    EXPECT_EQ(f.editor.lengthText, "  Length: 3");
    EXPECT_EQ(f.painter.cells.size(), 1u);  // plain moves edit nothing

    // Drag: every move with the button held draws; the margin and outside do nothing.
    f.Send(Kind::Move, InputFixture::Centre(4), InputFixture::Centre(4), true);
    EXPECT_EQ(f.At(4, 4, 2), 3);
    f.Send(Kind::LeftPress, 29 * 32 + 2, 40, true);
    f.Send(Kind::Move, -5, 40, true);  // column 0
    f.Send(Kind::Move, 40, -20000, true);
    f.Send(Kind::Move, 40, 20 * 32 + 3, true);
    EXPECT_EQ(f.painter.cells.size(), 2u);
    EXPECT_EQ(f.At(0, 2, 2), 0);

    // Both buttons held: drawn then deleted.
    f.Send(Kind::Move, InputFixture::Centre(8), InputFixture::Centre(8), true, true);
    EXPECT_EQ(f.At(8, 8, 2), 0);
    EXPECT_EQ(f.painter.cells.size(), 4u);

    // Pick an air cell: "Air" becomes the selection and nothing is repainted.
    f.LeftAt(9, 9, false, false, true);
    EXPECT_EQ(f.editor.SelectedBlock(), 0);
    EXPECT_EQ(f.painter.cells.size(), 4u);
    f.LeftAt(3, 7, false, false, true);
    EXPECT_EQ(f.editor.SelectedBlock(), 3);
    f.RightAt(3, 7);
    EXPECT_EQ(f.At(3, 7, 2), 0);
    EXPECT_GT(f.window.focusCount, 10);
}

TEST(CanvasInput, DownwardRunsWriteAndClearDownToTheGround) {
    InputFixture f;
    Editor& e = f.editor;
    e.selector.Select(3);
    // Air below block 7: both become 3.
    e.layerSpin.SetValue(2);
    e.grid.At(1, 1, 1) = 7;
    f.LeftAt(1, 1, false, true);
    EXPECT_EQ(f.At(1, 1, 2), 3);
    EXPECT_EQ(f.At(1, 1, 1), 3);
    // Air down to layer 1: layers 4..1 and the ground.
    e.layerSpin.SetValue(4);
    f.LeftAt(2, 1, false, true);
    for (int h = 0; h <= 4; ++h)
        EXPECT_EQ(f.At(2, 1, h), 3) << h;
    // Code 1 passes, code 5 below stops and is written; code 2 at the layer itself is replaced alone.
    e.grid.At(3, 1, 4) = 1;
    e.grid.At(3, 1, 3) = 5;
    f.LeftAt(3, 1, false, true);
    EXPECT_EQ(f.At(3, 1, 3), 3);
    EXPECT_EQ(f.At(3, 1, 2), 0);
    e.grid.At(4, 1, 4) = 2;
    f.LeftAt(4, 1, false, true);
    EXPECT_EQ(f.At(4, 1, 4), 3);
    EXPECT_EQ(f.At(4, 1, 3), 0);
    EXPECT_EQ(e.lastDrawnCell, (CellPosition{4, 1}));

    // Delete at 5 on air, air at 4, a block at 3: 5, 4 and the block go.
    e.layerSpin.SetValue(5);
    e.grid.At(5, 1, 3) = 9;
    e.grid.At(5, 1, 2) = 9;
    f.RightAt(5, 1, true);
    EXPECT_EQ(f.At(5, 1, 3), 0);
    EXPECT_EQ(f.At(5, 1, 2), 9);
    // A run reaching layer 1 clears the ground too.
    e.layerSpin.SetValue(2);
    e.grid.At(6, 1, 2) = 4;
    e.grid.At(6, 1, 1) = 4;
    e.grid.At(6, 1, 0) = 8;
    f.RightAt(6, 1, true);
    EXPECT_EQ(f.At(6, 1, 0), 0);
    // Each run repainted its one cell only.
    EXPECT_EQ(f.painter.redraws, 0);
}

TEST(CanvasInput, LineToolArmsDrawsAndDisarms) {
    InputFixture f;
    Editor& e = f.editor;
    e.selector.Select(4);
    f.LeftAt(2, 2, true);
    EXPECT_TRUE(e.lineArmed);
    EXPECT_EQ(f.At(2, 2, 1), 0);
    e.layerSpin.SetValue(3);  // the line lands on the layer current at the second press
    f.LeftAt(6, 4, true);
    EXPECT_FALSE(e.lineArmed);
    EXPECT_EQ(f.painter.redraws, 1);
    const std::vector<std::pair<int, int>> cells = {{2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}};
    int count = 0;
    for (int x = 1; x <= 29; ++x)
        for (int y = 1; y <= 20; ++y)
            count += f.At(x, y, 3) == 4;
    EXPECT_EQ(count, 5);
    for (auto [x, y] : cells)
        EXPECT_EQ(f.At(x, y, 3), 4) << x << "," << y;

    // A double click with Shift: first point, then a one-cell line.
    f.LeftAt(10, 10, true);
    f.LeftAt(10, 10, true);
    EXPECT_EQ(f.At(10, 10, 3), 4);
    EXPECT_FALSE(e.lineArmed);

    // A line armed on a larger building and finished on a smaller one writes only the cells
    // that lie on the smaller one.
    f.LeftAt(28, 19, true);
    e.widthSpin.SetValue(6);
    e.lengthSpin.SetValue(5);
    NewBuilding(e);
    e.selector.Select(4);
    f.LeftAt(2, 2, true);
    EXPECT_FALSE(e.lineArmed);
    EXPECT_EQ(f.At(2, 2, 1), 4);
    EXPECT_EQ(f.At(6, 5, 1), 4);  // the last cell on the way that lies inside
    e.widthSpin.SetValue(29);
    e.lengthSpin.SetValue(20);
    NewBuilding(e);
    e.selector.Select(4);
    e.layerSpin.SetValue(3);

    // Lines of slope 1 and -1, a column, and x-major runs.
    DrawLine(e, 1, 1, 4, 4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(f.At(i, i, 3), 4);
    DrawLine(e, 20, 1, 17, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.At(20 - i, 1 + i, 3), 4);
    DrawLine(e, 25, 15, 25, 20);
    for (int y = 15; y <= 20; ++y)
        EXPECT_EQ(f.At(25, y, 3), 4);
}

// A line armed on a larger building and finished after a new, smaller one was made: only
// the part of the line that lies on the building is drawn.
TEST(CanvasInput, LineArmedBeforeANewBuildingStaysOnTheBuilding) {
    InputFixture f(29, 20, 4);
    Editor& e = f.editor;
    e.selector.Select(4);
    f.LeftAt(29, 1, true);
    ASSERT_TRUE(e.lineArmed);
    e.widthSpin.SetValue(5);
    e.lengthSpin.SetValue(5);
    NewBuilding(e);
    e.selector.Select(4);
    f.LeftAt(1, 5, true);
    EXPECT_FALSE(e.lineArmed);
    int count = 0;
    for (int x = 0; x <= 5; ++x)
        for (int y = 0; y <= 5; ++y)
            count += f.At(x, y, 1) == 4;
    // Of the line from (29, 1) to (1, 5) the cells with x 1..5 lie on the building.
    EXPECT_GE(count, 5);
    EXPECT_EQ(f.At(1, 5, 1), 4);
    EXPECT_EQ(f.At(0, 5, 1), 0);
}

TEST(CanvasInput, FrontViewWritesPlaneAndGridTogether) {
    InputFixture f(6, 5, 4);
    Editor& e = f.editor;
    e.selector.Select(2);
    e.frontViewLayer = 3;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    f.painter.cells.clear();
    // Row 0 is the top layer h = H.
    f.Send(Kind::LeftPress, 40, 5, true);
    EXPECT_EQ(f.At(3, 2, 4), 2);
    EXPECT_EQ(e.frontPlane.At(2, 1), 2);
    EXPECT_EQ(f.painter.cells.back(), (CellPosition{2, 1}));
    EXPECT_EQ(e.lastDrawnCell, (CellPosition{2, 0}));
    // Less than a cell left of or above the canvas still maps to column 1 / row 0.
    f.Send(Kind::Move, -10, -10, true);
    EXPECT_EQ(f.At(3, 1, 4), 2);
    // The ground strip is never inside.
    f.Send(Kind::Move, 40, 4 * 32 + 2, true);
    EXPECT_EQ(f.At(3, 2, 0), 0);
    // Shift and Alt draw as plain presses; Ctrl picks, also while dragging.
    f.Send(Kind::LeftPress, 70, 100, true, false, true, true);
    EXPECT_EQ(f.At(3, 3, 1), 2);
    f.Send(Kind::Move, 40, 40, true, false, false, false, true);
    EXPECT_EQ(e.SelectedBlock(), 0);
    f.Send(Kind::RightPress, 70, 100, false, true);
    EXPECT_EQ(f.At(3, 3, 1), 0);
    EXPECT_EQ(e.frontPlane.At(3, 4), 0);
}

TEST(RandomBrush, FitsOnlyWhereItCanAndStandsOnTheGround) {
    InputFixture f;
    Editor& e = f.editor;
    e.selector.Select(200);
    e.randomBrushActive = true;
    // Too far right, too high up: nothing changes and the brush stays on.
    f.LeftAt(29 - 8, 1);
    e.layerSpin.SetValue(14);
    f.LeftAt(1, 1);
    EXPECT_TRUE(e.randomBrushActive);
    EXPECT_EQ(f.painter.redraws, 0);
    for (std::size_t i = 0; i < e.grid.CellCount(); ++i)
        ASSERT_EQ(e.grid.Layer(0)[i], 0);

    e.layerSpin.SetValue(1);
    int placed = 0, refused = 0;
    for (int run = 0; run < 300; ++run) {
        e.grid.Clear();
        const int redraws = f.painter.redraws;
        e.random.seed(static_cast<unsigned>(run));
        f.LeftAt(3, 4);
        if (f.painter.redraws == redraws) {
            ++refused;
            continue;
        }
        ++placed;
        const int depth = e.brushCells.Height();
        EXPECT_GE(depth, 4);
        EXPECT_LE(depth, 16);  // L + bz + 1 <= H
        for (int x = 1; x <= 29; ++x)
            for (int y = 1; y <= 20; ++y) {
                int top = 0;
                while (top <= 18 && f.At(x, y, top) == 200)
                    ++top;
                const bool inBrush = x >= 3 && x <= 12 && y >= 4 && y <= 13;
                if (inBrush) {
                    EXPECT_GE(top, 4);
                    EXPECT_LE(top, depth);
                } else {
                    EXPECT_EQ(top, 0);
                }
                for (int h = top; h <= 18; ++h)
                    ASSERT_EQ(f.At(x, y, h), 0);
            }
    }
    EXPECT_GT(placed, 200);
    EXPECT_GT(refused, 0);  // depths 17 and 18 do not fit

    // A right press switches the brush off and deletes nothing.
    e.grid.At(5, 5, 1) = 7;
    f.RightAt(5, 5);
    EXPECT_FALSE(e.randomBrushActive);
    EXPECT_EQ(f.At(5, 5, 1), 7);

    std::mt19937 generator(1);
    std::vector<int> seen(4, 0);
    for (int i = 0; i < 4000; ++i)
        ++seen[static_cast<std::size_t>(RandomInt(generator, 4, 7) - 4)];
    for (int count : seen)
        EXPECT_GT(count, 850);
    EXPECT_EQ(RandomInt(generator, 9, 3), 3);
}

}  // namespace
}  // namespace stackmason
