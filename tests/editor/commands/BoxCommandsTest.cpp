#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CommandTestEditor.h"
#include "editor/canvas/CanvasInput.h"
#include "editor/commands/BoxCommands.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/History.h"
#include "editor/model/Selection.h"
#include "editor/model/Views.h"

namespace stackmason {
namespace {

using testing::CommandTestEditor;
using testing::SameCells;
using Kind = CanvasEvent::Kind;

int Draw(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

// A box of cells worked out here from its corners, without the editor's box type.
struct Box {
    int x0, y0, h0, x1, y1, h1;
    int Width() const { return x1 - x0 + 1; }
    int Length() const { return y1 - y0 + 1; }
    int Height() const { return h1 - h0 + 1; }
    bool Holds(int x, int y, int h) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1 && h >= h0 && h <= h1; }
};

// The test's own copy of a box's cells: a list of (i, j, k) -> code with its sizes, turned and
// mirrored by moving each cell to where it lands rather than by looking up where it came from.
struct ModelClip {
    int width = 0, length = 0, height = 0;
    std::vector<BlockCode> codes;  // k, then j, then i, slowest first

    BlockCode& At(int i, int j, int k) { return codes[static_cast<std::size_t>((k * length + j) * width + i)]; }
    BlockCode At(int i, int j, int k) const {
        return codes[static_cast<std::size_t>((k * length + j) * width + i)];
    }
    friend bool operator==(const ModelClip&, const ModelClip&) = default;
};

ModelClip Blank(int width, int length, int height) {
    return {width, length, height, std::vector<BlockCode>(static_cast<std::size_t>(width * length * height), -999)};
}

ModelClip CellsOf(const Building& grid, const Box& box) {
    ModelClip clip = Blank(box.Width(), box.Length(), box.Height());
    for (int k = 0; k < clip.height; ++k)
        for (int j = 0; j < clip.length; ++j)
            for (int i = 0; i < clip.width; ++i)
                clip.At(i, j, k) = grid.At(box.x0 + i, box.y0 + j, box.h0 + k);
    return clip;
}

ModelClip FromEditor(const BlockClip& clip) {
    ModelClip model = Blank(clip.Width(), clip.Length(), clip.Height());
    for (int k = 0; k < model.height; ++k)
        for (int j = 0; j < model.length; ++j)
            for (int i = 0; i < model.width; ++i)
                model.At(i, j, k) = clip.At(i, j, k);
    return model;
}

// A quarter turn clockwise as TopView shows it, x to the right and y down: what points east
// (+x) then points south (+y), what points south then points west. The new width is the old
// length.
ModelClip TurnedRight(const ModelClip& clip) {
    ModelClip turned = Blank(clip.length, clip.width, clip.height);
    for (int k = 0; k < clip.height; ++k)
        for (int j = 0; j < clip.length; ++j)
            for (int i = 0; i < clip.width; ++i)
                turned.At(clip.length - 1 - j, i, k) = clip.At(i, j, k);
    return turned;
}

ModelClip Reflected(const ModelClip& clip, bool alongX) {
    ModelClip mirrored = Blank(clip.width, clip.length, clip.height);
    for (int k = 0; k < clip.height; ++k)
        for (int j = 0; j < clip.length; ++j)
            for (int i = 0; i < clip.width; ++i)
                mirrored.At(alongX ? clip.width - 1 - i : i, alongX ? j : clip.length - 1 - j, k) = clip.At(i, j, k);
    return mirrored;
}

// The model's placement: every non-air cell of the clip written at corner + (i, j, k), as far as
// it lands on the building's cells 1..X, 1..Y, 1..H.
void PlaceInModel(Building& model, const ModelClip& clip, int x, int y, int h) {
    for (int k = 0; k < clip.height; ++k)
        for (int j = 0; j < clip.length; ++j)
            for (int i = 0; i < clip.width; ++i) {
                const int cx = x + i, cy = y + j, ch = h + k;
                if (clip.At(i, j, k) == 0 || cx < 1 || cy < 1 || ch < 1 || cx > model.Width() ||
                    cy > model.Length() || ch > model.Height())
                    continue;
                model.At(cx, cy, ch) = clip.At(i, j, k);
            }
}

// The change from `before` to the editor's cells is one undo step, or none when no cell changed,
// and one undo gives every cell back. `changed` tells which it was.
::testing::AssertionResult IsOneStepTakenBack(Editor& e, const Building& before, bool& changed) {
    changed = !SameCells(e.grid, before);
    if (e.history.UndoCount() != (changed ? 1u : 0u))
        return ::testing::AssertionFailure() << e.history.UndoCount() << " steps for " << (changed ? "a" : "no")
                                             << " change";
    if (changed && !e.history.Undo(e))
        return ::testing::AssertionFailure() << "the step could not be undone";
    return SameCells(e.grid, before);
}

// A building of the given sizes, every cell (the ground and index-0 planes too) a random code of
// 0..5, about half of them air.
struct RandomBuilding : CommandTestEditor {
    RandomBuilding(std::mt19937& random, int width, int length, int height) : CommandTestEditor(width, length, height) {
        Building& grid = editor.grid;
        for (int h = 0; h <= grid.Height(); ++h)
            for (int y = 0; y <= grid.Length(); ++y)
                for (int x = 0; x <= grid.Width(); ++x)
                    grid.At(x, y, h) = std::max(0, Draw(random, -4, 5));
        RefreshFrontPlane(editor);
        editor.history.Clear();
    }
};

struct Sizes {
    int width, length, height;
};

Sizes RandomSizes(std::mt19937& random) { return {Draw(random, 1, 14), Draw(random, 1, 14), Draw(random, 1, 14)}; }

Box RandomBox(std::mt19937& random, const Building& grid) {
    const int xa = Draw(random, 1, grid.Width()), xb = Draw(random, 1, grid.Width());
    const int ya = Draw(random, 1, grid.Length()), yb = Draw(random, 1, grid.Length());
    const int ha = Draw(random, 1, grid.Height()), hb = Draw(random, 1, grid.Height());
    return {std::min(xa, xb), std::min(ya, yb), std::min(ha, hb), std::max(xa, xb), std::max(ya, yb), std::max(ha, hb)};
}

// The box as a closed selection, marked in either view: in TopView a rectangle of x, y through
// the layers, in FrontView one of y, h through the slices; the corners in a random order.
void Select(Editor& editor, const Box& box, bool markedInTopView, bool swapCorners) {
    BoxSelection s;
    s.open = false;
    if (markedInTopView) {
        s.view = ViewMode::TopView;
        s.anchorPlane = swapCorners ? box.h1 : box.h0;
        s.farPlane = swapCorners ? box.h0 : box.h1;
        s.a0 = box.x0, s.b0 = box.y1, s.a1 = box.x1, s.b1 = box.y0;
    } else {
        s.view = ViewMode::FrontView;
        s.anchorPlane = swapCorners ? box.x1 : box.x0;
        s.farPlane = swapCorners ? box.x0 : box.x1;
        s.a0 = box.y1, s.b0 = box.h0, s.a1 = box.y0, s.b1 = box.h1;
    }
    if (swapCorners) {
        std::swap(s.a0, s.a1);
        std::swap(s.b0, s.b1);
    }
    editor.selection = s;
}

// Events the canvas reports for a click at a cell: the press, then the release.
void ClickTopViewCell(Editor& editor, int x, int y) {
    HandleCanvasEvent(editor, {Kind::LeftPress, (x - 1) * 32 + 10, (y - 1) * 32 + 10, true});
    HandleCanvasEvent(editor, {Kind::Other, (x - 1) * 32 + 10, (y - 1) * 32 + 10});
}
// FrontView canvas cell: column c from 1 is the building's y, row r from 0 the layer H - r.
void ClickFrontViewCell(Editor& editor, int column, int row) {
    HandleCanvasEvent(editor, {Kind::LeftPress, (column - 1) * 32 + 10, row * 32 + 10, true});
    HandleCanvasEvent(editor, {Kind::Other, (column - 1) * 32 + 10, row * 32 + 10});
}

void ShowView(Editor& editor, bool topView, int plane) {
    if (topView != editor.InTopView())
        ToggleView(editor);
    editor.layerSpin.SetValue(plane);
    ASSERT_EQ(editor.CurrentLayer(), plane);
    // As a view switch leaves it: the working plane holds the slice shown.
    if (!topView)
        RefreshFrontPlane(editor);
}

// In FrontView the working plane shows the slice shown: picture row p is layer H + 1 - p.
bool PlaneShowsSlice(const Editor& editor) {
    if (editor.InTopView())
        return true;
    const Building& grid = editor.grid;
    for (int p = 1; p <= grid.Height(); ++p)
        for (int y = 1; y <= grid.Length(); ++y)
            if (editor.frontPlane.At(y, p) != grid.At(editor.CurrentLayer(), y, grid.Height() + 1 - p))
                return false;
    return true;
}

// Copy, then a floating copy placed where the box was, in the view it is shown in: the click
// changes no cell and leaves no step behind. TopView puts the lowest layer on the layer shown
// with the corner at the pointer; FrontView puts the first slice on the slice shown with its
// top front corner at the pointer.
TEST(BoxCommands, CopyThenPlaceAtTheSamePlaceChangesNothing) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const Sizes s = RandomSizes(random);
        RandomBuilding t(random, s.width, s.length, s.height);
        Editor& e = t.editor;
        const Box box = RandomBox(random, e.grid);
        Select(e, box, random() % 2 == 0, random() % 2 == 0);
        const Building before = e.grid;
        CopyBox(e);
        ASSERT_EQ(FromEditor(e.clipboard), CellsOf(before, box)) << "seed " << seed;
        FloatClipboard(e);
        ASSERT_TRUE(e.floatingCopy.has_value());
        const bool topView = random() % 2 == 0;
        if (topView) {
            ShowView(e, true, box.h0);
            ClickTopViewCell(e, box.x0, box.y0);
        } else {
            ShowView(e, false, box.x0);
            ClickFrontViewCell(e, box.y0, e.grid.Height() - box.h1);
        }
        ASSERT_TRUE(SameCells(e.grid, before)) << "seed " << seed << (topView ? " TopView" : " FrontView");
        EXPECT_EQ(e.history.UndoCount(), 0u) << "seed " << seed;
        // The copy goes on floating: it can be placed again.
        EXPECT_TRUE(e.floatingCopy.has_value());
    }
}

// Cut takes the box into the clipboard and clears exactly it, as one step; undo gives every
// cell back, redo clears exactly the box again. Delete clears the same cells without touching
// the clipboard.
TEST(BoxCommands, CutAndDeleteClearExactlyTheBoxAsOneStep) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const Sizes s = RandomSizes(random);
        RandomBuilding t(random, s.width, s.length, s.height);
        Editor& e = t.editor;
        const Box box = RandomBox(random, e.grid);
        Select(e, box, random() % 2 == 0, random() % 2 == 0);
        const Building before = e.grid;
        Building cleared = before;
        for (int x = box.x0; x <= box.x1; ++x)
            for (int y = box.y0; y <= box.y1; ++y)
                for (int h = box.h0; h <= box.h1; ++h)
                    cleared.At(x, y, h) = 0;
        const bool boxHeldBlocks = !SameCells(cleared, before);
        const std::size_t stepsAfter = boxHeldBlocks ? 1 : 0;

        const bool cut = random() % 2 == 0;
        if (random() % 2 == 0)
            ShowView(e, false, Draw(random, 1, e.grid.Width()));
        const BlockClip earlierClipboard(1, 1, 1);
        e.clipboard = earlierClipboard;
        if (cut)
            CutBox(e);
        else
            DeleteBox(e);
        ASSERT_TRUE(SameCells(e.grid, cleared)) << "seed " << seed << (cut ? " cut" : " delete");
        EXPECT_TRUE(PlaneShowsSlice(e)) << "seed " << seed;
        if (cut)
            EXPECT_EQ(FromEditor(e.clipboard), CellsOf(before, box)) << "seed " << seed;
        else
            EXPECT_EQ(e.clipboard, earlierClipboard) << "seed " << seed;
        ASSERT_EQ(e.history.UndoCount(), stepsAfter) << "seed " << seed;
        if (!boxHeldBlocks)
            continue;
        ASSERT_TRUE(e.history.Undo(e));
        ASSERT_TRUE(SameCells(e.grid, before)) << "seed " << seed;
        EXPECT_TRUE(PlaneShowsSlice(e)) << "seed " << seed;
        ASSERT_TRUE(e.history.Redo(e));
        ASSERT_TRUE(SameCells(e.grid, cleared)) << "seed " << seed;
        EXPECT_TRUE(PlaneShowsSlice(e)) << "seed " << seed;
        // The selection outlives the cut: the box can be filled again by a paste.
        EXPECT_TRUE(HasSelectedBox(e));
    }
}

// The floating copy's keys: four quarter turns either way, or one each way, give the copy
// back; one clockwise turn and each mirror match the model's own formulas.
TEST(BoxCommands, TurnsAndMirrorsOfTheFloatingCopyMatchTheModel) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const Sizes s = RandomSizes(random);
        RandomBuilding t(random, s.width, s.length, s.height);
        Editor& e = t.editor;
        const Box box = RandomBox(random, e.grid);
        Select(e, box, true, false);
        CopyBox(e);
        const ModelClip original = CellsOf(e.grid, box);
        auto floating = [&] { return FromEditor(*e.floatingCopy); };

        FloatClipboard(e);
        for (int i = 0; i < 4; ++i)
            TurnFloatingClockwise(e);
        EXPECT_EQ(floating(), original) << "seed " << seed << ": E four times";
        for (int i = 0; i < 4; ++i)
            TurnFloatingAnticlockwise(e);
        EXPECT_EQ(floating(), original) << "seed " << seed << ": Q four times";
        TurnFloatingClockwise(e);
        TurnFloatingAnticlockwise(e);
        EXPECT_EQ(floating(), original) << "seed " << seed << ": E then Q";

        TurnFloatingClockwise(e);
        const ModelClip right = TurnedRight(original);
        ASSERT_EQ(floating(), right) << "seed " << seed << ": E";
        TurnFloatingAnticlockwise(e);
        TurnFloatingAnticlockwise(e);
        EXPECT_EQ(floating(), TurnedRight(TurnedRight(right))) << "seed " << seed << ": E Q Q";
        FloatClipboard(e);
        MirrorFloatingLeftRight(e);
        EXPECT_EQ(floating(), Reflected(original, true)) << "seed " << seed << ": X";
        MirrorFloatingFrontBack(e);
        EXPECT_EQ(floating(), Reflected(Reflected(original, true), false)) << "seed " << seed << ": X Y";
        // A left-right then front-back mirror is a half turn.
        EXPECT_EQ(floating(), TurnedRight(TurnedRight(original))) << "seed " << seed;
        // The clipboard itself keeps the copy as it was taken.
        EXPECT_EQ(FromEditor(e.clipboard), original) << "seed " << seed;
    }
}

// A copy turned and mirrored at random, placed at a random pointer cell in either view, writes
// exactly the model's cells: its non-air cells, clipped to the building, air leaving cells as
// they are. One step, which one undo takes back whole.
TEST(BoxCommands, PlacingATurnedCopyWritesExactlyTheModelsCells) {
    int placementsThatChanged = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const Sizes s = RandomSizes(random);
        RandomBuilding t(random, s.width, s.length, s.height);
        Editor& e = t.editor;
        const Box box = RandomBox(random, e.grid);
        Select(e, box, random() % 2 == 0, random() % 2 == 0);
        CopyBox(e);
        FloatClipboard(e);
        ModelClip clip = CellsOf(e.grid, box);
        const int moves = Draw(random, 0, 5);
        for (int m = 0; m < moves; ++m)
            switch (Draw(random, 0, 3)) {
            case 0:
                TurnFloatingClockwise(e);
                clip = TurnedRight(clip);
                break;
            case 1:
                TurnFloatingAnticlockwise(e);
                clip = TurnedRight(TurnedRight(TurnedRight(clip)));
                break;
            case 2:
                MirrorFloatingLeftRight(e);
                clip = Reflected(clip, true);
                break;
            default:
                MirrorFloatingFrontBack(e);
                clip = Reflected(clip, false);
            }
        const Building before = e.grid;
        Building expected = before;
        const bool topView = random() % 2 == 0;
        if (topView) {
            const int layer = Draw(random, 1, e.grid.Height());
            const int x = Draw(random, 1, e.grid.Width()), y = Draw(random, 1, e.grid.Length());
            ShowView(e, true, layer);
            ClickTopViewCell(e, x, y);
            PlaceInModel(expected, clip, x, y, layer);
        } else {
            const int slice = Draw(random, 1, e.grid.Width());
            const int column = Draw(random, 1, e.grid.Length()), row = Draw(random, 0, e.grid.Height() - 1);
            ShowView(e, false, slice);
            ClickFrontViewCell(e, column, row);
            const int top = e.grid.Height() - row;
            PlaceInModel(expected, clip, slice, column, top - clip.height + 1);
        }
        ASSERT_TRUE(SameCells(e.grid, expected)) << "seed " << seed << (topView ? " TopView" : " FrontView");
        EXPECT_TRUE(PlaneShowsSlice(e)) << "seed " << seed;
        bool changed = false;
        ASSERT_TRUE(IsOneStepTakenBack(e, before, changed)) << "seed " << seed;
        placementsThatChanged += changed ? 1 : 0;
    }
    EXPECT_GT(placementsThatChanged, 150);
}

// The copy placed with the pointer off the building writes nothing; a right press drops it
// without writing.
TEST(BoxCommands, APressOffTheBuildingPlacesNothingAndARightPressDrops) {
    CommandTestEditor t(6, 5, 4);
    Editor& e = t.editor;
    e.history.Clear();
    e.grid.At(2, 2, 1) = 3;
    Select(e, {1, 1, 1, 3, 3, 2}, true, false);
    CopyBox(e);
    FloatClipboard(e);
    const Building before = e.grid;
    // The canvas margin beyond the last column, and beyond the last row.
    ClickTopViewCell(e, 7, 1);
    ClickTopViewCell(e, 1, 6);
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_TRUE(e.floatingCopy.has_value());
    HandleCanvasEvent(e, {Kind::RightPress, 4 * 32 + 10, 3 * 32 + 10, false, true});
    HandleCanvasEvent(e, {Kind::Other, 4 * 32 + 10, 3 * 32 + 10});
    EXPECT_FALSE(e.floatingCopy.has_value());
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(e.history.UndoCount(), 0u);
}

struct Direction {
    StackDirection direction;
    int dx, dy, dh;
    const char* name;
};

constexpr Direction kDirections[] = {
    {StackDirection::East, 1, 0, 0, "east"},   {StackDirection::West, -1, 0, 0, "west"},
    {StackDirection::South, 0, 1, 0, "south"}, {StackDirection::North, 0, -1, 0, "north"},
    {StackDirection::Up, 0, 0, 1, "up"},       {StackDirection::Down, 0, 0, -1, "down"},
};

// Stacking N copies in each direction equals the model: copy n lies n box sizes away, its
// non-air cells merged in as far as they land on the building. The user is told how many whole
// copies fitted when some did not; the whole stack is one step that one undo takes back.
TEST(BoxCommands, StackingPutsTheModelsCopiesAndCountsTheWholeOnes) {
    int cutOff = 0, allFitted = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const Sizes s = RandomSizes(random);
        RandomBuilding t(random, s.width, s.length, s.height);
        Editor& e = t.editor;
        const Box box = RandomBox(random, e.grid);
        Select(e, box, random() % 2 == 0, random() % 2 == 0);
        const Direction& d = kDirections[seed % 6];
        const int count = Draw(random, 1, 6);
        t.dialogs.stackAnswer = StackRequest{count, d.direction};
        if (random() % 2 == 0)
            ShowView(e, false, Draw(random, 1, e.grid.Width()));

        const Building before = e.grid;
        const ModelClip clip = CellsOf(before, box);
        Building expected = before;
        int whole = 0;
        for (int n = 1; n <= count; ++n) {
            const int x = box.x0 + n * d.dx * box.Width();
            const int y = box.y0 + n * d.dy * box.Length();
            const int h = box.h0 + n * d.dh * box.Height();
            PlaceInModel(expected, clip, x, y, h);
            if (x >= 1 && y >= 1 && h >= 1 && x + box.Width() - 1 <= s.width && y + box.Length() - 1 <= s.length &&
                h + box.Height() - 1 <= s.height)
                ++whole;
        }
        StackBox(e);
        ASSERT_EQ(t.dialogs.stackQuestions, 1);
        ASSERT_TRUE(SameCells(e.grid, expected)) << "seed " << seed << " " << count << " " << d.name;
        EXPECT_TRUE(PlaneShowsSlice(e)) << "seed " << seed;
        if (whole < count) {
            ++cutOff;
            ASSERT_EQ(t.dialogs.infos.size(), 1u) << "seed " << seed;
            EXPECT_EQ(t.dialogs.infos[0], std::to_string(whole) + " of " + std::to_string(count) +
                                              (count == 1 ? " copy" : " copies") +
                                              " fitted inside the building; the building's edge cut off the rest.");
        } else {
            ++allFitted;
            EXPECT_TRUE(t.dialogs.infos.empty()) << "seed " << seed;
        }
        bool changed = false;
        ASSERT_TRUE(IsOneStepTakenBack(e, before, changed)) << "seed " << seed;
    }
    EXPECT_GT(cutOff, 30);
    EXPECT_GT(allFitted, 30);
}

// Without a box, or when the builder cancels, stacking asks nothing or changes nothing.
TEST(BoxCommands, StackingWithoutABoxOrCancelledChangesNothing) {
    CommandTestEditor t(5, 5, 5);
    Editor& e = t.editor;
    e.history.Clear();
    e.grid.At(1, 1, 1) = 2;
    t.dialogs.stackAnswer = StackRequest{2, StackDirection::East};
    StackBox(e);
    EXPECT_EQ(t.dialogs.stackQuestions, 0);
    Select(e, {1, 1, 1, 1, 1, 1}, true, false);
    t.dialogs.stackAnswer.reset();
    StackBox(e);
    EXPECT_EQ(t.dialogs.stackQuestions, 1);
    EXPECT_EQ(e.grid.At(2, 1, 1), 0);
    EXPECT_EQ(e.history.UndoCount(), 0u);
    EXPECT_TRUE(t.dialogs.infos.empty());
}

}  // namespace
}  // namespace stackmason
