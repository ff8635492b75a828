#include <gtest/gtest.h>

#include "CommandTestEditor.h"
#include "editor/commands/RotateLayers.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "tests/editor/support/AllocationFaults.h"

namespace stackmason {
namespace {

using testing::RunShown;

using testing::AllocationLimit;
using testing::CommandTestEditor;
using testing::Layer;
using testing::SameCells;

TEST(RotateLayers, TurnsEveryLayerClockwiseAboutTheCentreCell) {
    CommandTestEditor t(5, 5, 3);
    Editor& e = t.editor;
    Building& g = e.grid;
    g.At(2, 2, 1) = 1;  // up and left of the centre
    g.At(3, 2, 1) = 2;  // just above it
    g.At(3, 3, 1) = 3;  // the centre
    g.At(1, 1, 3) = 4;  // outer ring corner
    g.At(5, 3, 3) = 5;
    g.At(2, 5, 2) = 9000;  // far beyond the colour table
    g.At(4, 4, 0) = 2;     // ground: not a layer of the building
    e.layerSpin.SetValue(2);

    Building expected(5, 5, 3);
    expected.At(4, 2, 1) = 1;
    expected.At(4, 3, 1) = 2;
    expected.At(3, 3, 1) = 3;
    expected.At(5, 1, 3) = 4;
    expected.At(3, 5, 3) = 5;
    expected.At(1, 2, 2) = 9000;
    expected.At(4, 4, 0) = 2;
    RunShown(e, RotateLayers);
    EXPECT_TRUE(SameCells(g, expected));
    EXPECT_EQ(t.painter.redraws, 1);
    EXPECT_EQ(e.CurrentLayer(), 2);

    // Every code 0..5 and above, in every cell of an odd square: four turns give it back.
    for (int x = 1; x <= 5; ++x)
        for (int y = 1; y <= 5; ++y)
            for (int h = 1; h <= 3; ++h)
                g.At(x, y, h) = (x * 3 + y * 7 + h) % 9 == 8 ? 300 + x : (x * 3 + y * 7 + h) % 9 % 6;
    const Building original = g;
    for (int turn = 1; turn <= 3; ++turn) {
        RunShown(e, RotateLayers);
        EXPECT_FALSE(SameCells(g, original)) << "turn " << turn;
    }
    RunShown(e, RotateLayers);
    EXPECT_TRUE(SameCells(g, original));
}

TEST(RotateLayers, LosesWhatTurnsOutOfAnOblongLayer) {
    CommandTestEditor t(6, 4, 17);  // more layers than one pass takes
    Editor& e = t.editor;
    Building& g = e.grid;
    for (int h = 1; h <= 17; ++h)
        for (int x = 1; x <= 6; ++x)
            for (int y = 1; y <= 4; ++y)
                g.At(x, y, h) = x == 1 || x == 6 ? 2 : 1;
    RunShown(e, RotateLayers);
    // Centre (4, 3): columns 1 and 6 turn out of the layer, and columns 1 and 2 receive nothing.
    for (int h = 1; h <= 17; ++h)
        for (int x = 1; x <= 6; ++x)
            for (int y = 1; y <= 4; ++y)
                EXPECT_EQ(g.At(x, y, h), x <= 2 ? 0 : 1) << x << "/" << y << "/" << h;
    EXPECT_EQ(Layer(g, 0), Layer(Building(6, 4, 17), 0));
}

TEST(RotateLayers, DoesNothingInFrontViewOrWithoutMemory) {
    CommandTestEditor t(30, 30, 20);
    Editor& e = t.editor;
    e.grid.At(1, 2, 3) = 4;
    const Building before = e.grid;
    RunShown(e, ShowFrontView);
    t.painter.Reset();
    RunShown(e, RotateLayers);
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(t.painter.redraws, 0);

    ShowTopView(e);
    t.painter.Reset();
    {
        // Below the one layer of work memory the turn takes (31 x 31 cells of 2 bytes).
        AllocationLimit limit(1000);
        RunUserAction(e, "turn the layers", [&] { RotateLayers(e); });
    }
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(t.painter.redraws, 0);
    ASSERT_EQ(t.dialogs.errors.size(), 1u);
    EXPECT_EQ(t.dialogs.errors[0], "Could not turn the layers: not enough memory. Nothing was changed.");
}

}  // namespace
}  // namespace stackmason
