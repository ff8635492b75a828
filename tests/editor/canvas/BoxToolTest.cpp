#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>

#include "editor/canvas/BoxTool.h"
#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasOverlay.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/commands/BoxCommands.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Selection.h"
#include "editor/shell/CommandIds.h"
#include "editor/shell/DispatchCommand.h"
#include "tests/editor/commands/CommandTestEditor.h"
#include "tests/editor/support/FakePorts.h"
#include "tests/support/TempFolder.h"

namespace stackmason {
namespace {

using Kind = CanvasEvent::Kind;

// An editor whose canvas events and keys go in as the window hands them over: each inside
// its action's boundary, keys through the command dispatch.
struct BoxFixture : testing::CommandTestEditor {
    explicit BoxFixture(int width = 12, int length = 9, int height = 8) : CommandTestEditor(width, length, height) {
        editor.selector.Select(2);
        ShowRequestedRepaint(editor);
        editor.history.Clear();
    }
    void Send(Kind kind, int x, int y, bool left = false, bool right = false, bool ctrl = false) {
        RunShownAction(editor, "draw on the canvas", [&] {
            HandleCanvasEvent(editor, CanvasEvent{kind, x, y, left, right, false, false, ctrl});
        });
    }
    // Pixels of canvas cell (column, row), both from 0 as the tiles lie.
    static int Pixel(int cell) { return cell * 32 + 12; }
    // A left drag from one canvas cell to another, released at the end.
    void Drag(int c0, int r0, int c1, int r1) {
        Send(Kind::LeftPress, Pixel(c0), Pixel(r0), true);
        Send(Kind::Move, (Pixel(c0) + Pixel(c1)) / 2, (Pixel(r0) + Pixel(r1)) / 2, true);
        Send(Kind::Move, Pixel(c1), Pixel(r1), true);
        Send(Kind::Other, Pixel(c1), Pixel(r1));
    }
    void Key(int command) { DispatchCommand(editor, command); }
    void ShowLayer(int layer) {
        editor.layerSpin.SetValue(layer);
        ASSERT_EQ(editor.CurrentLayer(), layer);
    }
    std::optional<CellBox> Box() const { return SelectedBox(editor); }
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// TopView: a drag on layer 2 marks a rectangle of it; while the box is open its far layer is the
// layer shown, above or below the one it was marked on; B closes it where it is. The title
// reads the box mode and the box's size.
TEST(BoxTool, ATopViewBoxRunsToTheLayerShownUntilBClosesIt) {
    BoxFixture f;
    f.ShowLayer(2);
    f.Key(kSelectBox);
    EXPECT_TRUE(f.editor.boxMode);
    EXPECT_EQ(f.window.title.find("  Box:"), std::string::npos);
    EXPECT_TRUE(EndsWith(f.window.title, "  Box mode")) << f.window.title;
    f.Drag(5, 3, 2, 1);  // cells (6, 4) to (3, 2)
    ASSERT_TRUE(f.Box());
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 2, 6, 4, 2}));
    // The marking drew nothing.
    for (int x = 1; x <= 12; ++x)
        for (int y = 1; y <= 9; ++y)
            ASSERT_EQ(f.editor.grid.At(x, y, 2), 0);
    f.ShowLayer(5);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 2, 6, 4, 5}));
    f.ShowLayer(1);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 1, 6, 4, 2}));
    f.ShowLayer(4);
    f.Send(Kind::Move, BoxFixture::Pixel(0), BoxFixture::Pixel(0));
    f.Send(Kind::Move, BoxFixture::Pixel(0), BoxFixture::Pixel(0));
    EXPECT_TRUE(EndsWith(f.window.title, "  Box mode  Box: 4 x 3 x 3")) << f.window.title;
    f.Key(kSelectBox);
    EXPECT_FALSE(f.editor.boxMode);
    EXPECT_TRUE(EndsWith(f.window.title, "  Box: 4 x 3 x 3")) << f.window.title;
    EXPECT_EQ(f.window.title.find("Box mode"), std::string::npos) << f.window.title;
    f.ShowLayer(7);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 2, 6, 4, 4}));
    // Back in box mode the closed box stays until a new one is marked.
    f.Key(kSelectBox);
    f.ShowLayer(8);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 2, 6, 4, 4}));
    f.Drag(0, 0, 0, 0);
    EXPECT_EQ(*f.Box(), (CellBox{1, 1, 8, 1, 1, 8}));
    EXPECT_EQ(f.editor.history.UndoCount(), 0u);
}

// FrontView: a drag marks a rectangle of the slice (columns are y, rows the layers from the
// top); the box runs through the slices to the one shown; Tab closes it and TopView outlines it
// on the layers it crosses.
TEST(BoxTool, AFrontViewBoxRunsToTheSliceShownUntilTabClosesIt) {
    BoxFixture f;  // 12 x 9 x 8
    f.Key(kToggleView);
    ASSERT_FALSE(f.editor.InTopView());
    f.ShowLayer(3);
    f.Key(kSelectBox);
    f.Drag(1, 1, 4, 3);  // y 2..5, h 8 - 1 = 7 down to 8 - 3 = 5
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 5, 3, 5, 7}));
    f.ShowLayer(6);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 5, 6, 5, 7}));
    EXPECT_EQ(OverlayFor(f.editor).box, (CanvasCells{1, 1, 4, 3}));
    f.Key(kToggleView);
    ASSERT_TRUE(f.editor.InTopView());
    EXPECT_TRUE(f.editor.boxMode);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 5, 6, 5, 7}));
    f.ShowLayer(6);
    EXPECT_EQ(OverlayFor(f.editor).box, (CanvasCells{2, 1, 4, 4}));
    f.ShowLayer(8);
    EXPECT_TRUE(OverlayFor(f.editor).box.Empty());
    // Back in FrontView the closed box no longer follows the slice shown.
    f.Key(kToggleView);
    f.ShowLayer(10);
    EXPECT_EQ(*f.Box(), (CellBox{3, 2, 5, 6, 5, 7}));
    EXPECT_TRUE(OverlayFor(f.editor).box.Empty());
}

// A view switch that is not Tab closes an open box as Tab does: an undo that brings back
// TopView keeps the slices the FrontView box ran through, and so does FlipAxis, which shows
// TopView first.
TEST(BoxTool, AnUndoOrFlipThatSwitchesTheViewClosesTheBoxWhereItWas) {
    for (const int command : {kUndo, kFlipAxis}) {
        BoxFixture f;  // 12 x 9 x 8
        f.Send(Kind::LeftPress, BoxFixture::Pixel(8), BoxFixture::Pixel(8), true);
        f.Send(Kind::Other, BoxFixture::Pixel(8), BoxFixture::Pixel(8));
        ASSERT_EQ(f.editor.grid.At(9, 9, 1), 2);
        f.Key(kToggleView);
        f.ShowLayer(2);
        f.Key(kSelectBox);
        f.Drag(1, 1, 2, 2);
        f.ShowLayer(5);
        ASSERT_EQ(*f.Box(), (CellBox{2, 2, 6, 5, 3, 7}));
        f.Key(command);
        ASSERT_TRUE(f.editor.InTopView()) << command;
        ASSERT_TRUE(f.editor.selection);
        EXPECT_FALSE(f.editor.selection->open) << command;
        EXPECT_EQ(f.editor.selection->farPlane, 5) << command;
        if (command == kUndo) {
            EXPECT_EQ(f.editor.grid.At(9, 9, 1), 0);
            EXPECT_EQ(*f.Box(), (CellBox{2, 2, 6, 5, 3, 7}));
            // Back in FrontView the closed box stays where it was.
            f.Key(kToggleView);
            f.ShowLayer(8);
            EXPECT_EQ(*f.Box(), (CellBox{2, 2, 6, 5, 3, 7}));
        }
    }
}

// A drag that leaves the building stretches the box to its edge; a press off the building
// starts no box.
TEST(BoxTool, ADragBeyondTheEdgeStopsAtItAndAPressOffTheBuildingMarksNothing) {
    BoxFixture f(6, 5, 4);
    f.Key(kSelectBox);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(2), BoxFixture::Pixel(2), true);
    f.Send(Kind::Move, 20 * 32, -40, true);
    f.Send(Kind::Other, 20 * 32, -40);
    EXPECT_EQ(*f.Box(), (CellBox{3, 1, 1, 6, 3, 1}));
    f.Key(kDropBox);
    f.Key(kSelectBox);
    f.Send(Kind::LeftPress, 6 * 32 + 2, BoxFixture::Pixel(1), true);  // the margin right of the grid
    f.Send(Kind::Move, BoxFixture::Pixel(1), BoxFixture::Pixel(1), true);
    f.Send(Kind::Other, BoxFixture::Pixel(1), BoxFixture::Pixel(1));
    EXPECT_FALSE(f.Box());

    f.Key(kToggleView);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(1), BoxFixture::Pixel(1), true);
    f.Send(Kind::Move, -50, 40 * 32, true);
    f.Send(Kind::Other, -50, 40 * 32);
    EXPECT_EQ(*f.Box(), (CellBox{1, 1, 1, 1, 2, 3}));
}

// Ctrl+A selects the whole building, closed, even in the middle of marking one.
TEST(BoxTool, CtrlASelectsTheWholeBuildingClosed) {
    BoxFixture f;
    f.Key(kSelectBox);
    f.ShowLayer(3);
    f.Drag(1, 1, 2, 2);
    f.Key(kSelectAll);
    EXPECT_EQ(*f.Box(), (CellBox{1, 1, 1, 12, 9, 8}));
    EXPECT_TRUE(EndsWith(f.window.title, "  Box: 12 x 9 x 8")) << f.window.title;
    f.ShowLayer(5);
    EXPECT_EQ(*f.Box(), (CellBox{1, 1, 1, 12, 9, 8}));
    f.Key(kToggleView);
    f.ShowLayer(2);
    EXPECT_EQ(*f.Box(), (CellBox{1, 1, 1, 12, 9, 8}));
    EXPECT_EQ(OverlayFor(f.editor).box, (CanvasCells{0, 0, 9, 8}));
}

// Escape drops a floating copy first and keeps the box; the next drops the box and leaves the
// box mode. The title follows at once.
TEST(BoxTool, EscapeDropsTheFloatingCopyFirstThenTheBox) {
    BoxFixture f;
    f.Key(kSelectBox);
    f.Drag(0, 0, 1, 2);
    f.Key(kCopyBox);
    f.Key(kPasteBox);
    ASSERT_TRUE(f.editor.floatingCopy);
    EXPECT_TRUE(EndsWith(f.window.title, "  Box mode  Box: 2 x 3 x 1  Paste: 2 x 3 x 1")) << f.window.title;
    f.Key(kDropBox);
    EXPECT_FALSE(f.editor.floatingCopy);
    EXPECT_TRUE(f.Box());
    EXPECT_TRUE(f.editor.boxMode);
    EXPECT_TRUE(EndsWith(f.window.title, "  Box mode  Box: 2 x 3 x 1")) << f.window.title;
    f.Key(kDropBox);
    EXPECT_FALSE(f.Box());
    EXPECT_FALSE(f.editor.boxMode);
    EXPECT_EQ(f.window.title.find("Box"), std::string::npos) << f.window.title;
    // The clipboard outlives the selection.
    f.Key(kPasteBox);
    EXPECT_TRUE(f.editor.floatingCopy);
}

// The clipboard survives New and a load; a box left partly outside the smaller building counts
// as none, so copy, cut, delete and stack do nothing with it, and the new building's cells stay.
TEST(BoxTool, TheClipboardSurvivesNewAndLoadAndABoxOutsideTheBuildingIsNone) {
    test::TempFolder folder("stackmason-boxtool");
    const std::string path = folder.File("small.txt");
    BoxFixture f(5, 4, 3);
    f.editor.grid.At(2, 2, 2) = 4;
    ASSERT_TRUE(WriteBuildingToFile(f.editor, path));

    f.editor.widthSpin.SetValue(12);
    f.editor.lengthSpin.SetValue(9);
    f.editor.heightSpin.SetValue(8);
    NewBuilding(f.editor);
    f.editor.grid.At(7, 8, 6) = 3;
    f.Key(kSelectAll);
    f.Key(kCopyBox);
    const BlockClip copied = f.editor.clipboard;
    ASSERT_EQ(copied.Width(), 12);
    ASSERT_EQ(copied.At(6, 7, 5), 3);

    NewBuilding(f.editor);
    EXPECT_EQ(f.editor.clipboard, copied);
    EXPECT_TRUE(f.Box());  // the same sizes: the box still fits

    LoadBuildingFile(f.editor, FileChoice{path, kTextFilter});
    ASSERT_EQ(f.editor.grid.Width(), 5);
    ASSERT_EQ(f.editor.grid.At(2, 2, 2), 4);
    EXPECT_EQ(f.editor.clipboard, copied);
    EXPECT_FALSE(f.Box());
    EXPECT_FALSE(HasSelectedBox(f.editor));
    EXPECT_TRUE(OverlayFor(f.editor).box.Empty());
    f.editor.history.Clear();
    f.dialogs.stackAnswer = StackRequest{2, StackDirection::Up};
    f.Key(kDeleteBox);
    f.Key(kCutBox);
    f.Key(kStackBox);
    f.Key(kCopyBox);
    EXPECT_EQ(f.editor.grid.At(2, 2, 2), 4);
    EXPECT_EQ(f.editor.clipboard, copied);
    EXPECT_EQ(f.dialogs.stackQuestions, 0);
    EXPECT_EQ(f.editor.history.UndoCount(), 0u);
    // The copy from the larger building floats and is placed clipped to the smaller one.
    f.Key(kPasteBox);
    f.ShowLayer(1);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(0), BoxFixture::Pixel(0), true);
    f.Send(Kind::Other, BoxFixture::Pixel(0), BoxFixture::Pixel(0));
    EXPECT_EQ(f.editor.grid.At(2, 2, 2), 4);  // air in the copy keeps the cell
    EXPECT_EQ(f.editor.history.UndoCount(), 0u);
}

// Over random boxes, every plane of both views: the outline lies on exactly the planes the box
// crosses, where the canvas shows its cells; the floating copy's picture lies at the pointer and
// shows the copy's bottom layer (TopView) or first slice (FrontView).
TEST(BoxTool, TheOverlayOutlinesTheBoxOnThePlanesItCrossesAndPicturesTheCopy) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const int width = draw(1, 14), length = draw(1, 14), height = draw(1, 14);
        BoxFixture f(width, length, height);
        Building& grid = f.editor.grid;
        for (int x = 1; x <= width; ++x)
            for (int y = 1; y <= length; ++y)
                for (int h = 1; h <= height; ++h)
                    grid.At(x, y, h) = std::max(0, draw(-3, 5));
        const int xa = draw(1, width), xb = draw(1, width), ya = draw(1, length), yb = draw(1, length);
        const int ha = draw(1, height), hb = draw(1, height);
        const int x0 = std::min(xa, xb), x1 = std::max(xa, xb), y0 = std::min(ya, yb), y1 = std::max(ya, yb);
        const int h0 = std::min(ha, hb), h1 = std::max(ha, hb);
        // Marked by the mouse on layer ha from (xa, ya) to (xb, yb), closed on layer hb.
        f.ShowLayer(ha);
        f.Key(kSelectBox);
        f.Drag(xa - 1, ya - 1, xb - 1, yb - 1);
        f.ShowLayer(hb);
        f.Key(kSelectBox);
        ASSERT_EQ(*f.Box(), (CellBox{x0, y0, h0, x1, y1, h1})) << "seed " << seed;

        for (int h = 1; h <= height; ++h) {
            f.ShowLayer(h);
            const CanvasCells expected =
                h >= h0 && h <= h1 ? CanvasCells{x0 - 1, y0 - 1, x1 - x0 + 1, y1 - y0 + 1} : CanvasCells{};
            ASSERT_EQ(OverlayFor(f.editor).box, expected) << "seed " << seed << " layer " << h;
        }
        f.Key(kCopyBox);
        f.Key(kPasteBox);
        const int cx = draw(1, width), cy = draw(1, length), layer = draw(1, height);
        f.ShowLayer(layer);
        f.Send(Kind::Move, BoxFixture::Pixel(cx - 1), BoxFixture::Pixel(cy - 1));
        const CanvasOverlay top = OverlayFor(f.editor);
        ASSERT_EQ(top.floating, (CanvasCells{cx - 1, cy - 1, x1 - x0 + 1, y1 - y0 + 1})) << "seed " << seed;
        for (int c = 0; c <= x1 - x0; ++c)
            for (int r = 0; r <= y1 - y0; ++r)
                ASSERT_EQ(FloatingCodeAt(f.editor, top, cx - 1 + c, cy - 1 + r), grid.At(x0 + c, y0 + r, h0))
                    << "seed " << seed;

        f.Key(kToggleView);
        for (int x = 1; x <= width; ++x) {
            f.ShowLayer(x);
            const CanvasCells expected =
                x >= x0 && x <= x1 ? CanvasCells{y0 - 1, height - h1, y1 - y0 + 1, h1 - h0 + 1} : CanvasCells{};
            ASSERT_EQ(OverlayFor(f.editor).box, expected) << "seed " << seed << " slice " << x;
        }
        const int column = draw(1, length), row = draw(0, height - 1);
        f.Send(Kind::Move, BoxFixture::Pixel(column - 1), BoxFixture::Pixel(row));
        const CanvasOverlay front = OverlayFor(f.editor);
        ASSERT_EQ(front.floating, (CanvasCells{column - 1, row, y1 - y0 + 1, h1 - h0 + 1})) << "seed " << seed;
        for (int c = 0; c <= y1 - y0; ++c)
            for (int r = 0; r <= h1 - h0; ++r)
                ASSERT_EQ(FloatingCodeAt(f.editor, front, column - 1 + c, row + r), grid.At(x0, y0 + c, h1 - r))
                    << "seed " << seed;
        // Off the building nothing floats on the canvas.
        f.Send(Kind::Move, -40, -40);
        EXPECT_TRUE(OverlayFor(f.editor).floating.Empty()) << "seed " << seed;
    }
}

// A copy placed in FrontView leaves the working plane showing the slice, and one undo takes the
// placement back, the plane as it was included (the wheel does not refresh it: it still holds
// slice 1, as Ctrl+D would stamp it).
TEST(BoxTool, APlacementInFrontViewKeepsTheWorkingPlaneWithTheSlice) {
    BoxFixture f(6, 5, 4);
    f.editor.grid.At(1, 1, 1) = 3;
    f.editor.grid.At(1, 2, 2) = 5;
    f.editor.selection = BoxSelection{ViewMode::TopView, 1, 2, false, 1, 1, 1, 2};
    f.Key(kCopyBox);
    f.Key(kPasteBox);
    f.Key(kToggleView);
    f.ShowLayer(4);
    const FrontPlane planeBefore = f.editor.frontPlane;
    ASSERT_EQ(planeBefore.At(1, 4), 3);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(2), BoxFixture::Pixel(0), true);  // y 3, top at h 4
    f.Send(Kind::Other, BoxFixture::Pixel(2), BoxFixture::Pixel(0));
    EXPECT_EQ(f.editor.grid.At(4, 3, 3), 3);
    EXPECT_EQ(f.editor.grid.At(4, 4, 4), 5);
    auto planeMatchesSlice = [&] {
        for (int p = 1; p <= 4; ++p)
            for (int y = 1; y <= 5; ++y)
                if (f.editor.frontPlane.At(y, p) != f.editor.grid.At(4, y, 5 - p))
                    return false;
        return true;
    };
    EXPECT_TRUE(planeMatchesSlice());
    f.Key(kUndo);
    EXPECT_EQ(f.editor.grid.At(4, 3, 3), 0);
    EXPECT_EQ(f.editor.grid.At(4, 4, 4), 0);
    for (int p = 1; p <= 4; ++p)
        for (int y = 1; y <= 5; ++y)
            EXPECT_EQ(f.editor.frontPlane.At(y, p), planeBefore.At(y, p)) << y << ", " << p;
}

// Outside the box mode, and with nothing floating, the mouse draws as it always did: a left
// press draws, a right press deletes, Ctrl + left picks; in the box mode it draws nothing.
TEST(BoxTool, OutsideTheBoxModeTheMouseDrawsAsBefore) {
    BoxFixture f;
    f.ShowLayer(3);
    f.Key(kSelectBox);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(4), BoxFixture::Pixel(4), true);
    f.Send(Kind::Other, BoxFixture::Pixel(4), BoxFixture::Pixel(4));
    EXPECT_EQ(f.editor.grid.At(5, 5, 3), 0);
    f.Key(kSelectBox);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(4), BoxFixture::Pixel(4), true);
    f.Send(Kind::Other, BoxFixture::Pixel(4), BoxFixture::Pixel(4));
    EXPECT_EQ(f.editor.grid.At(5, 5, 3), 2);
    f.editor.grid.At(7, 2, 3) = 4;
    f.Send(Kind::LeftPress, BoxFixture::Pixel(6), BoxFixture::Pixel(1), true, false, true);
    f.Send(Kind::Other, BoxFixture::Pixel(6), BoxFixture::Pixel(1));
    EXPECT_EQ(f.editor.SelectedBlock(), 4);
    f.Send(Kind::RightPress, BoxFixture::Pixel(4), BoxFixture::Pixel(4), false, true);
    f.Send(Kind::Other, BoxFixture::Pixel(4), BoxFixture::Pixel(4));
    EXPECT_EQ(f.editor.grid.At(5, 5, 3), 0);
    // A box still selected does not stop the pen either.
    f.Key(kSelectAll);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(0), BoxFixture::Pixel(0), true);
    f.Send(Kind::Other, BoxFixture::Pixel(0), BoxFixture::Pixel(0));
    EXPECT_EQ(f.editor.grid.At(1, 1, 3), 4);
    f.Key(kToggleView);
    f.ShowLayer(2);
    f.Send(Kind::LeftPress, BoxFixture::Pixel(1), BoxFixture::Pixel(0), true);
    f.Send(Kind::Other, BoxFixture::Pixel(1), BoxFixture::Pixel(0));
    EXPECT_EQ(f.editor.grid.At(2, 2, 8), 4);
}

}  // namespace
}  // namespace stackmason
