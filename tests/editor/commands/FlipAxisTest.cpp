#include <gtest/gtest.h>

#include "editor/canvas/CanvasRepaint.h"
#include "CommandTestEditor.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "tests/editor/support/AllocationFaults.h"

namespace stackmason {
namespace {

using testing::RunShown;

using testing::AllocationLimit;
using testing::CommandTestEditor;
using testing::DrawInFrontView;
using testing::SameCells;
using testing::WorkingCells;

// Every building cell gets a code of its own; ground and index-0 planes stay air.
void FillDistinct(Building& grid) {
    for (int x = 1; x <= grid.Width(); ++x)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int h = 1; h <= grid.Height(); ++h)
                grid.At(x, y, h) = 1000 * h + 10 * x + y;
}

TEST(FlipAxis, SwapsWidthAndLengthAndEndsInTopViewOnLayerOne) {
    CommandTestEditor t(10, 4, 3);
    Editor& e = t.editor;
    e.grid.At(7, 2, 3) = 4;
    e.grid.At(1, 4, 1) = 700;  // codes beyond the pack's keep their value
    e.grid.At(7, 2, 0) = 2;    // ground: gone after the flip
    e.copiedLayer = 3;
    e.layerSpin.SetValue(2);
    FlipAxis(e);
    ShowRequestedRepaint(e);

    Building expected(4, 10, 3);
    expected.At(2, 7, 3) = 4;
    expected.At(4, 1, 1) = 700;
    EXPECT_TRUE(SameCells(e.grid, expected));
    EXPECT_EQ(e.grid.Width(), 4);
    EXPECT_EQ(e.grid.Length(), 10);
    EXPECT_EQ(e.grid.Height(), 3);
    EXPECT_EQ(e.widthSpin.Value(), 4);
    EXPECT_EQ(e.lengthSpin.Value(), 10);
    EXPECT_EQ(e.heightSpin.Value(), 3);
    EXPECT_TRUE(e.frontPlane.HasExtents(10, 3));
    EXPECT_EQ(WorkingCells(e.frontPlane), std::vector<BlockCode>(10 * 3, 0));
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.layerSpin.Maximum(), 3);
    EXPECT_EQ(e.topViewLayer, 0);
    EXPECT_EQ(e.frontViewLayer, 1);
    EXPECT_EQ(ViewToggleLabel(e), "FrontView");
    EXPECT_EQ(e.canvasWidth, 4 * 32 + 5);
    EXPECT_EQ(e.canvasHeight, 10 * 32 + 5);
    EXPECT_EQ(t.painter.canvasWidth, 4 * 32 + 5);
    EXPECT_EQ(t.painter.canvasHeight, 10 * 32 + 5);
    EXPECT_EQ(t.painter.redraws, 1);
    EXPECT_EQ(e.copiedLayer, 3);
    EXPECT_TRUE(t.dialogs.errors.empty());
}

TEST(FlipAxis, TwiceRestoresTheBuildingAndSquareLayersMirrorAboutTheDiagonal) {
    CommandTestEditor t(6, 9, 4);
    Editor& e = t.editor;
    FillDistinct(e.grid);
    Building original = e.grid;
    e.grid.At(3, 3, 0) = 5;
    FlipAxis(e);
    ShowRequestedRepaint(e);
    FlipAxis(e);
    ShowRequestedRepaint(e);
    EXPECT_TRUE(SameCells(e.grid, original)) << "ground air afterwards";
    EXPECT_EQ(e.widthSpin.Value(), 6);
    EXPECT_EQ(e.lengthSpin.Value(), 9);

    CommandTestEditor square(5, 5, 2);
    FillDistinct(square.editor.grid);
    original = square.editor.grid;
    FlipAxis(square.editor);
    ShowRequestedRepaint(square.editor);
    for (int x = 1; x <= 5; ++x)
        for (int y = 1; y <= 5; ++y)
            for (int h = 1; h <= 2; ++h)
                EXPECT_EQ(square.editor.grid.At(x, y, h), original.At(y, x, h)) << x << "/" << y << "/" << h;
}

TEST(FlipAxis, FromFrontViewTurnsAnExtrudedWallIntoASideWall) {
    CommandTestEditor t(5, 3, 2);
    Editor& e = t.editor;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    DrawInFrontView(e, 2, 1, 1);  // y = 2, top layer
    DrawInFrontView(e, 3, 2, 2);  // y = 3, layer 1
    RunShown(e, DuplicateLayer);
    RunShown(e, DuplicateLayer);
    ASSERT_EQ(e.CurrentLayer(), 3);
    t.painter.Reset();
    FlipAxis(e);
    ShowRequestedRepaint(e);

    Building expected(3, 5, 2);
    for (int y = 1; y <= 3; ++y) {
        expected.At(2, y, 2) = 1;
        expected.At(3, y, 1) = 2;
    }
    EXPECT_TRUE(SameCells(e.grid, expected)) << "slice 1's drawing lies in the plane y = 1, its extrusion along y";
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.frontViewLayer, 1);
    EXPECT_EQ(ViewToggleLabel(e), "FrontView");
    EXPECT_TRUE(e.frontPlane.HasExtents(5, 2));
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.CurrentLayer(), 1) << "the next FrontView shows slice 1";
}

TEST(FlipAxis, KeepsTheOldBuildingWhenMemoryRunsOut) {
    CommandTestEditor t(40, 30, 20);
    Editor& e = t.editor;
    FillDistinct(e.grid);
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    e.layerSpin.SetValue(7);
    const Building before = e.grid;
    const std::vector<BlockCode> plane = WorkingCells(e.frontPlane);
    t.painter.Reset();
    {
        AllocationLimit limit(200);
        RunUserAction(e, "swap the axes", [&] { FlipAxis(e); });
    }
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(e.grid.Width(), 40);
    EXPECT_EQ(e.grid.Length(), 30);
    EXPECT_EQ(e.widthSpin.Value(), 40);
    EXPECT_EQ(e.lengthSpin.Value(), 30);
    EXPECT_EQ(WorkingCells(e.frontPlane), plane);
    // The memory is taken before the switch to TopView, so even the view stays.
    EXPECT_FALSE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 7);
    EXPECT_EQ(t.painter.redraws + t.painter.resizes, 0);
    ASSERT_EQ(t.dialogs.errors.size(), 1u);
    EXPECT_EQ(t.dialogs.errors[0], "Could not swap the axes: not enough memory. Nothing was changed.");
}

}  // namespace
}  // namespace stackmason
