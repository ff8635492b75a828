#include <gtest/gtest.h>

#include "CommandTestEditor.h"
#include "editor/commands/LayerCommands.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "tests/editor/support/AllocationFaults.h"

namespace stackmason {
namespace {

using testing::RunShown;

using testing::AllocationLimit;
using testing::CommandTestEditor;
using testing::DrawInFrontView;
using testing::Layer;
using testing::SameCells;
using testing::Slice;
using testing::WorkingCells;

// Every cell of the grid, index-0 planes and ground included, gets a code of its own (in
// buildings of up to 32 layers: a cell holds 16 bits).
void FillDistinct(Building& grid) {
    for (int x = 0; x <= grid.Width(); ++x)
        for (int y = 0; y <= grid.Length(); ++y)
            for (int h = 0; h <= grid.Height(); ++h)
                grid.At(x, y, h) = (1000 * h + 10 * x + y + 1) % 32000;  // within a cell's 16 bits
}

std::vector<BlockCode> EmptyLayer(const Building& grid) {
    return std::vector<BlockCode>(static_cast<std::size_t>(grid.Width() + 1) * (grid.Length() + 1), 0);
}

TEST(CopyPasteLayer, TopViewPastesAdditivelyWhatThePlaneHoldsAtPasteTime) {
    CommandTestEditor t(6, 5, 7);
    Editor& e = t.editor;
    Building& g = e.grid;
    g.At(2, 2, 0) = 5;  // ground under the building must stay out of every paste

    Building before = g;
    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(g, before)) << "nothing copied yet";
    EXPECT_EQ(t.painter.redraws, 0);

    g.At(1, 1, 2) = 1;
    g.At(3, 2, 2) = 2;
    e.layerSpin.SetValue(2);
    CopyLayer(e);
    EXPECT_EQ(e.copiedLayer, 2);
    EXPECT_EQ(t.painter.redraws, 0);

    g.At(6, 5, 2) = 3;  // drawn after the copy: part of the paste
    g.At(1, 1, 5) = 4;  // overwritten by the copied block
    g.At(2, 2, 5) = 5;  // copied plane has air here: stays
    Building expected = g;
    expected.At(1, 1, 5) = 1;
    expected.At(3, 2, 5) = 2;
    expected.At(6, 5, 5) = 3;
    e.layerSpin.SetValue(5);
    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(g, expected));
    EXPECT_EQ(t.painter.redraws, 1);

    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(g, expected)) << "a second paste adds nothing";

    e.layerSpin.SetValue(6);
    RunShown(e, PasteLayer);
    EXPECT_EQ(Layer(g, 6), Layer(g, 2)) << "one copy pastes any number of times";

    e.layerSpin.SetValue(2);
    before = g;
    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(g, before)) << "a plane pasted onto itself";
}

TEST(CopyPasteLayer, SkipsAPlaneThatNoLongerExists) {
    CommandTestEditor t(9, 3, 4);
    Editor& e = t.editor;
    e.grid.At(2, 2, 4) = 3;
    e.layerSpin.SetValue(4);
    CopyLayer(e);
    RunShown(e, RemoveLayer);
    ASSERT_EQ(e.grid.Height(), 3);
    t.painter.Reset();
    Building before = e.grid;
    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(t.painter.redraws, 0);

    ShowFrontView(e);
    e.layerSpin.SetValue(9);
    CopyLayer(e);  // slice 9: no such layer in TopView
    RunShown(e, ShowTopView);
    t.painter.Reset();
    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(t.painter.redraws, 0);
    EXPECT_TRUE(t.dialogs.errors.empty());
}

TEST(CopyPasteLayer, FrontViewPastesSlicesAndRefreshesTheWorkingPlane) {
    CommandTestEditor t(4, 3, 5);
    Editor& e = t.editor;
    e.grid.At(1, 2, 3) = 2;
    e.grid.At(1, 3, 5) = 1;
    e.grid.At(1, 2, 0) = 4;  // ground of slice 1: not part of the plane
    e.grid.At(3, 1, 1) = 5;  // already on the target slice, copied plane has air there
    ShowFrontView(e);
    CopyLayer(e);
    e.layerSpin.SetValue(3);  // a wheel step: the working plane still holds slice 1
    t.painter.Reset();

    Building expected = e.grid;
    expected.At(3, 2, 3) = 2;
    expected.At(3, 3, 5) = 1;
    RunShown(e, PasteLayer);
    EXPECT_TRUE(SameCells(e.grid, expected));
    EXPECT_EQ(t.painter.redraws, 1);
    // Slice 3 seen from the front: picture row p shows layer 6 - p.
    std::vector<BlockCode> slice3(3 * 5, 0);
    slice3[(5 - 3) * 3 + 1] = 2;
    slice3[(5 - 5) * 3 + 2] = 1;
    slice3[(5 - 1) * 3 + 0] = 5;
    EXPECT_EQ(WorkingCells(e.frontPlane), slice3);
}

TEST(InsertRemoveLayer, MoveTheLayersAboveAndKeepEverythingElse) {
    CommandTestEditor t(4, 3, 5);
    Editor& e = t.editor;
    FillDistinct(e.grid);
    const Building old = e.grid;
    const std::vector<BlockCode> plane = WorkingCells(e.frontPlane);

    e.layerSpin.SetValue(3);
    RunShown(e, InsertLayer);
    ASSERT_EQ(e.grid.Height(), 6);
    ASSERT_EQ(e.grid.Height(), 6);
    EXPECT_EQ(e.heightSpin.Value(), 6);
    EXPECT_EQ(e.layerSpin.Maximum(), 6);
    EXPECT_EQ(e.CurrentLayer(), 4);
    EXPECT_EQ(t.painter.redraws, 1);
    for (int h = 0; h <= 3; ++h)
        EXPECT_EQ(Layer(e.grid, h), Layer(old, h)) << "layer " << h;
    // Only the building's cells move up; the index-0 rows stay where they were and the grown
    // top is air there.
    for (int y = 0; y <= 3; ++y)
        for (int x = 0; x <= 4; ++x) {
            const bool inBuilding = x >= 1 && y >= 1;
            EXPECT_EQ(e.grid.At(x, y, 4), inBuilding ? 0 : old.At(x, y, 4));
            EXPECT_EQ(e.grid.At(x, y, 5), old.At(x, y, inBuilding ? 4 : 5));
            EXPECT_EQ(e.grid.At(x, y, 6), inBuilding ? old.At(x, y, 5) : 0);
        }
    EXPECT_EQ(WorkingCells(e.frontPlane), plane) << "the working plane waits for the next FrontView";

    e.layerSpin.SetValue(6);
    const Building six = e.grid;
    RunShown(e, InsertLayer);
    ASSERT_EQ(e.grid.Height(), 7);
    EXPECT_EQ(e.CurrentLayer(), 7);
    EXPECT_EQ(Layer(e.grid, 7), EmptyLayer(old));
    for (int h = 0; h <= 6; ++h)
        EXPECT_EQ(Layer(e.grid, h), Layer(six, h)) << "layer " << h;

    ShowFrontView(e);
    EXPECT_TRUE(e.frontPlane.HasExtents(3, 7));
    EXPECT_EQ(e.frontPlane.At(1, 1), e.grid.At(1, 1, 7));
    EXPECT_EQ(e.frontPlane.At(2, 7), e.grid.At(1, 2, 1));
    ShowTopView(e);

    e.grid = old;
    e.layerSpin.SetRange(1, 5);
    e.layerSpin.SetValue(3);
    t.painter.Reset();
    RunShown(e, RemoveLayer);
    ASSERT_EQ(e.grid.Height(), 4);
    ASSERT_EQ(e.grid.Height(), 4);
    EXPECT_EQ(e.heightSpin.Value(), 4);
    EXPECT_EQ(e.CurrentLayer(), 3);
    EXPECT_EQ(t.painter.redraws, 1);
    for (int h = 0; h <= 2; ++h)
        EXPECT_EQ(Layer(e.grid, h), Layer(old, h)) << "layer " << h;
    for (int y = 0; y <= 3; ++y)
        for (int x = 0; x <= 4; ++x) {
            const bool inBuilding = x >= 1 && y >= 1;
            EXPECT_EQ(e.grid.At(x, y, 3), old.At(x, y, inBuilding ? 4 : 3));
            EXPECT_EQ(e.grid.At(x, y, 4), old.At(x, y, inBuilding ? 5 : 4));
        }

    e.layerSpin.SetValue(4);
    const Building four = e.grid;
    RunShown(e, RemoveLayer);
    ASSERT_EQ(e.grid.Height(), 3);
    EXPECT_EQ(e.CurrentLayer(), 3) << "the new top layer";
    for (int h = 0; h <= 3; ++h)
        EXPECT_EQ(Layer(e.grid, h), Layer(four, h)) << "layer " << h;
}

TEST(InsertRemoveLayer, RefuseWhereTheyDoNotApply) {
    CommandTestEditor t(3, 3, 1);
    Editor& e = t.editor;
    FillDistinct(e.grid);
    Building before = e.grid;
    RunShown(e, RemoveLayer);
    EXPECT_TRUE(SameCells(e.grid, before)) << "the last layer stays";
    EXPECT_EQ(e.grid.Height(), 1);
    EXPECT_EQ(t.painter.redraws, 0);

    RunShown(e, InsertLayer);
    ASSERT_EQ(e.grid.Height(), 2);
    RunShown(e, ShowFrontView);
    before = e.grid;
    t.painter.Reset();
    RunShown(e, InsertLayer);
    RunShown(e, RemoveLayer);
    EXPECT_TRUE(SameCells(e.grid, before)) << "FrontView";
    EXPECT_EQ(e.grid.Height(), 2);
    EXPECT_EQ(e.heightSpin.Value(), 2);
    EXPECT_EQ(t.painter.redraws, 0);

    CommandTestEditor tall(2, 2, 255);
    tall.editor.layerSpin.SetValue(255);
    RunShown(tall.editor, InsertLayer);
    ASSERT_EQ(tall.editor.grid.Height(), 256);
    RunShown(tall.editor, InsertLayer);
    EXPECT_EQ(tall.editor.grid.Height(), 256) << "a building the height field could not load again";
    EXPECT_EQ(tall.editor.grid.Height(), 256);
    EXPECT_EQ(tall.editor.heightSpin.Value(), 256);
    EXPECT_EQ(tall.painter.redraws, 1);
    EXPECT_TRUE(t.dialogs.errors.empty());
    EXPECT_TRUE(tall.dialogs.errors.empty());
}

TEST(InsertRemoveLayer, KeepTheBuildingWhenMemoryRunsOut) {
    CommandTestEditor t(40, 40, 40);
    Editor& e = t.editor;
    FillDistinct(e.grid);
    const Building before = e.grid;
    e.layerSpin.SetValue(20);
    {
        AllocationLimit limit(100000);
        RunUserAction(e, "insert a layer", [&] { InsertLayer(e); });
        RunUserAction(e, "remove the layer", [&] { RemoveLayer(e); });
    }
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(e.grid.Height(), 40);
    EXPECT_EQ(e.heightSpin.Value(), 40);
    EXPECT_EQ(e.CurrentLayer(), 20);
    EXPECT_EQ(t.painter.redraws, 0);
    ASSERT_EQ(t.dialogs.errors.size(), 2u);
    EXPECT_EQ(t.dialogs.errors[0], "Could not insert a layer: not enough memory. Nothing was changed.");
    EXPECT_EQ(t.dialogs.errors[1], "Could not remove the layer: not enough memory. Nothing was changed.");
}

TEST(DuplicateLayer, TopViewMergesIntoTheLayerAbove) {
    CommandTestEditor t(3, 3, 4);
    Editor& e = t.editor;
    e.grid.At(1, 1, 2) = 1;
    e.grid.At(2, 3, 2) = 2;
    e.grid.At(1, 1, 3) = 3;
    e.grid.At(3, 3, 3) = 4;  // layer 2 has air here
    e.grid.At(3, 2, 4) = 5;
    Building expected = e.grid;
    expected.At(1, 1, 3) = 1;
    expected.At(2, 3, 3) = 2;
    e.layerSpin.SetValue(2);
    RunShown(e, DuplicateLayer);
    EXPECT_TRUE(SameCells(e.grid, expected));
    EXPECT_EQ(e.CurrentLayer(), 3);
    EXPECT_EQ(t.painter.redraws, 1);

    e.layerSpin.SetValue(4);
    RunShown(e, DuplicateLayer);
    EXPECT_TRUE(SameCells(e.grid, expected)) << "top layer";
    EXPECT_EQ(e.CurrentLayer(), 4);
    EXPECT_EQ(t.painter.redraws, 1);
}

TEST(DuplicateLayer, FrontViewExtrudesTheWorkingPlane) {
    CommandTestEditor t(8, 4, 3);
    Editor& e = t.editor;
    ShowFrontView(e);
    DrawInFrontView(e, 1, 1, 2);
    DrawInFrontView(e, 2, 2, 3);
    DrawInFrontView(e, 4, 3, 1);
    e.grid.At(3, 3, 2) = 5;  // on slice 3 beforehand, under air of the drawing: stays
    t.painter.Reset();
    for (int i = 0; i < 3; ++i)
        RunShown(e, DuplicateLayer);
    EXPECT_EQ(e.CurrentLayer(), 4);
    EXPECT_EQ(t.painter.redraws, 3);
    EXPECT_EQ(Slice(e.grid, 2), Slice(e.grid, 1));
    EXPECT_EQ(Slice(e.grid, 4), Slice(e.grid, 1));
    std::vector<BlockCode> slice3 = Slice(e.grid, 1);
    slice3[2 * 5 + 3] = 5;
    EXPECT_EQ(Slice(e.grid, 3), slice3);
    EXPECT_EQ(e.grid.At(1, 1, 3), 2);
    EXPECT_EQ(e.grid.At(4, 4, 1), 1);
    for (int x = 5; x <= 8; ++x)
        EXPECT_EQ(Slice(e.grid, x), Slice(Building(8, 4, 3), x)) << "slice " << x;

    // A wheel step does not refresh the working plane: slice 1's drawing goes onto slice 7.
    e.grid.At(6, 2, 3) = 4;
    e.layerSpin.SetValue(6);
    RunShown(e, DuplicateLayer);
    EXPECT_EQ(e.CurrentLayer(), 7);
    EXPECT_EQ(Slice(e.grid, 7), Slice(e.grid, 1));

    e.layerSpin.SetValue(8);
    const Building before = e.grid;
    t.painter.Reset();
    RunShown(e, DuplicateLayer);
    EXPECT_TRUE(SameCells(e.grid, before)) << "last slice";
    EXPECT_EQ(e.CurrentLayer(), 8);
    EXPECT_EQ(t.painter.redraws, 0);
}

TEST(ClearLayer, EmptiesThePlaneOfTheView) {
    CommandTestEditor t(4, 3, 5);
    Editor& e = t.editor;
    FillDistinct(e.grid);
    Building expected = e.grid;
    for (int x = 0; x <= 4; ++x)
        for (int y = 0; y <= 3; ++y)
            expected.At(x, y, 2) = 0;
    e.layerSpin.SetValue(2);
    RunShown(e, ClearLayer);
    EXPECT_TRUE(SameCells(e.grid, expected));
    EXPECT_EQ(t.painter.redraws, 1);

    ShowFrontView(e);
    e.layerSpin.SetValue(3);  // the working plane still holds slice 1
    for (int y = 0; y <= 3; ++y)
        for (int h = 0; h <= 5; ++h)
            expected.At(3, y, h) = 0;
    t.painter.Reset();
    RunShown(e, ClearLayer);
    EXPECT_TRUE(SameCells(e.grid, expected)) << "the slice's ground included";
    EXPECT_EQ(WorkingCells(e.frontPlane), std::vector<BlockCode>(3 * 5, 0));
    EXPECT_EQ(t.painter.redraws, 1);
}

}  // namespace
}  // namespace stackmason
