#include <random>

#include <gtest/gtest.h>

#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

using testing::EditorFixture;

void MakeBuilding(Editor& editor, int width, int length, int height) {
    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);
    NewBuilding(editor);
    ShowRequestedRepaint(editor);
}

// A pack of air and stone, with stone selected for drawing.
void SelectStoneOfATwoItemPack(Editor& editor) {
    editor.selector.Add("Air", Image(32, 32));
    editor.selector.Add("stone", Image(32, 32));
    editor.selector.Select(1);
}

// One pen stroke of one cell, press to release.
void StrokeCell(Editor& editor, int x, int y) {
    CanvasEvent event;
    event.kind = CanvasEvent::Kind::LeftPress;
    event.left = true;
    event.x = (x - 1) * 32 + 5;
    event.y = (y - 1) * 32 + 5;
    HandleCanvasEvent(editor, event);
    event.kind = CanvasEvent::Kind::Other;
    event.left = false;
    HandleCanvasEvent(editor, event);
}

// Over its budget the history drops its oldest steps; a step larger than the whole budget is
// still taken, alone; the steps kept still undo to the building as it was.
TEST(History, KeepsTheNewestStepsWithinItsBudget) {
    EditorFixture f;
    Editor& e = f.editor;
    SelectStoneOfATwoItemPack(e);
    MakeBuilding(e, 20, 20, 8);
    e.history.Clear();
    StrokeCell(e, 1, 1);
    const std::size_t strokeBytes = e.history.Bytes();
    ASSERT_EQ(e.history.UndoCount(), 1u);
    e.history = History(strokeBytes * 3 + strokeBytes / 2);
    for (int x = 1; x <= 10; ++x)
        StrokeCell(e, x, 2);
    EXPECT_EQ(e.history.UndoCount(), 3u);
    EXPECT_LE(e.history.Bytes(), strokeBytes * 3 + strokeBytes / 2);
    while (e.history.Undo(e)) {
    }
    for (int x = 1; x <= 10; ++x)
        EXPECT_EQ(e.grid.At(x, 2, 1), x <= 7 ? 1 : 0) << x;

    // The building a New replaces is larger than the whole budget even packed, since its codes
    // are too many and too mixed to pack: the step is kept alone.
    std::mt19937 noise(5);
    for (int h = 1; h <= 8; ++h)
        for (int y = 3; y <= 20; ++y)
            for (int x = 1; x <= 20; ++x)
                e.grid.SetCell(x, y, h, std::uniform_int_distribution<int>(1, 1000)(noise));
    const Building drawn = e.grid;
    NewBuilding(e);
    EXPECT_EQ(e.history.UndoCount(), 1u);
    EXPECT_EQ(e.history.RedoCount(), 0u);
    EXPECT_GT(e.history.Bytes(), strokeBytes * 4);
    EXPECT_TRUE(e.history.Undo(e));
    EXPECT_EQ(e.grid, drawn);
    EXPECT_FALSE(e.history.CanUndo());
}

// A replaced building is kept packed: a mostly-air one costs the history a small part of its
// cells, and undo and redo give back every cell of both buildings.
TEST(History, KeepsAReplacedBuildingPacked) {
    EditorFixture f;
    Editor& e = f.editor;
    SelectStoneOfATwoItemPack(e);
    MakeBuilding(e, 120, 90, 40);
    for (int x = 1; x <= 120; ++x)
        StrokeCell(e, x, 7);
    const Building drawn = e.grid;
    e.widthSpin.SetValue(60);
    NewBuilding(e);
    const Building fresh = e.grid;
    const std::size_t cellBytes = drawn.CellCount() * sizeof(StoredCode);
    EXPECT_LT(e.history.Bytes(), cellBytes / 10);
    ASSERT_TRUE(e.history.Undo(e));
    EXPECT_EQ(e.grid, drawn);
    ASSERT_TRUE(e.history.Redo(e));
    EXPECT_EQ(e.grid, fresh);
    ASSERT_TRUE(e.history.Undo(e));
    EXPECT_EQ(e.grid, drawn);
    EXPECT_LT(e.history.Bytes(), cellBytes / 10);
}

TEST(SpinModel, KeepsItsValueInsideItsRange) {
    SpinModel spin(1, 256, 8);
    spin.SetRange(1, 18);
    EXPECT_EQ(spin.Value(), 8);
    spin.SetValue(40);
    EXPECT_EQ(spin.Value(), 18);
    spin.SetValue(-3);
    EXPECT_EQ(spin.Value(), 1);
    spin.SetText("12");
    EXPECT_EQ(spin.Value(), 12);
    for (const char* rejected : {"19", "0", "", "1x", "-4", "99999999999"}) {
        spin.SetText(rejected);
        EXPECT_EQ(spin.Value(), 12) << rejected;
        EXPECT_EQ(spin.Text(), rejected);
    }
    spin.SetRange(1, 5);
    EXPECT_EQ(spin.Value(), 5);
    EXPECT_EQ(spin.Text(), "5");
}

TEST(NewBuilding, MakesAnEmptyBuildingInTopViewOnLayerOne) {
    EditorFixture f;
    Editor& e = f.editor;
    e.selector.Add("Air", Image(32, 32));
    e.selector.Add("stone", Image(32, 32));
    e.lastDrawnCell = {3, 4};
    e.copiedLayer = 2;
    NewBuilding(e);
    ShowRequestedRepaint(e);

    EXPECT_EQ(e.grid.Width(), 29);
    EXPECT_EQ(e.grid.Length(), 20);
    EXPECT_EQ(e.grid.Height(), 18);
    EXPECT_EQ(e.grid.CellCount(), 30u * 21 * 19);
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.layerSpin.Maximum(), 18);
    EXPECT_EQ(e.SelectedBlock(), 1);
    EXPECT_EQ(e.canvasWidth, 933);
    EXPECT_EQ(e.canvasHeight, 645);
    EXPECT_EQ(ViewToggleLabel(e), "FrontView");
    EXPECT_EQ(e.topViewLayer, 0);
    EXPECT_EQ(e.frontViewLayer, 1);
    // The scroller sits under the toolbar, as wide as the window.
    EXPECT_EQ(f.window.scroller.y, 90);
    EXPECT_EQ(f.window.scroller.width, 939);
    EXPECT_EQ(f.window.scroller.height, 651);
    // Tool state survives a new building.
    EXPECT_EQ(e.lastDrawnCell, (CellPosition{3, 4}));
    EXPECT_EQ(e.copiedLayer, 2);

    // Every cell is air again, the ground included, and the sizes follow the fields.
    e.grid.At(5, 5, 0) = 3;
    e.grid.At(29, 20, 18) = 3;
    MakeBuilding(e, 1, 1, 1);
    EXPECT_EQ(e.grid.CellCount(), 8u);
    EXPECT_EQ(e.canvasWidth, 37);
    EXPECT_EQ(e.canvasHeight, 37);
    for (std::size_t i = 0; i < e.grid.CellCount(); ++i)
        EXPECT_EQ(e.grid.Layer(0)[i], 0);
}

TEST(NewBuilding, WithOnlyAirInThePackSelectsAir) {
    EditorFixture f;
    f.editor.selector.Add("Air", Image(32, 32));
    NewBuilding(f.editor);
    ShowRequestedRepaint(f.editor);
    EXPECT_EQ(f.editor.SelectedBlock(), 0);
}

TEST(Views, EachViewKeepsItsOwnLayer) {
    EditorFixture f;
    Editor& e = f.editor;
    NewBuilding(e);
    ShowRequestedRepaint(e);
    e.layerSpin.SetValue(5);
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.layerSpin.Maximum(), 29);
    EXPECT_EQ(e.canvasWidth, 645);
    EXPECT_EQ(e.canvasHeight, 581);
    EXPECT_EQ(ViewToggleLabel(e), "TopView");
    e.layerSpin.SetValue(3);
    ShowTopView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.CurrentLayer(), 5);
    EXPECT_EQ(ViewToggleLabel(e), "FrontView");
    ToggleView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.CurrentLayer(), 3);
    ToggleView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.CurrentLayer(), 5);

    // The common ending of a load: TopView on layer 1 (the stored layer 0 is clamped).
    ShowReplacedBuilding(e);
    ShowRequestedRepaint(e);
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.frontViewLayer, 1);
}

TEST(Views, WorkingPlaneFollowsTheSliceAndTheHeight) {
    EditorFixture f;
    Editor& e = f.editor;
    MakeBuilding(e, 4, 3, 5);
    e.grid.At(2, 3, 5) = 7;  // top row, third column of slice 2
    e.grid.At(2, 1, 1) = 8;  // bottom row
    e.grid.At(1, 1, 1) = 9;  // another slice
    e.frontViewLayer = 2;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.frontPlane.At(3, 1), 7);
    EXPECT_EQ(e.frontPlane.At(1, 5), 8);
    EXPECT_EQ(e.frontPlane.At(1, 4), 0);

    // A taller building (as after inserting a layer in TopView) gets a taller plane.
    ShowTopView(e);
    ShowRequestedRepaint(e);
    Building taller(4, 3, 6);
    taller.At(2, 3, 6) = 4;
    e.grid = taller;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    EXPECT_TRUE(e.frontPlane.HasExtents(3, 6));
    EXPECT_EQ(e.frontPlane.At(3, 1), 4);

    // Toggling twice changes no cell.
    const Building before = e.grid;
    ToggleView(e);
    ShowRequestedRepaint(e);
    ToggleView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(e.grid, before);
}

}  // namespace
}  // namespace stackmason
