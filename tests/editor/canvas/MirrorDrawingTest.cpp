#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/canvas/LineAndBrush.h"
#include "editor/canvas/Mirroring.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason {
namespace {

using Kind = CanvasEvent::Kind;

constexpr MirrorMode kModes[] = {MirrorMode::Off, MirrorMode::LeftRight, MirrorMode::FrontBack, MirrorMode::Both};

// A code no tool of these tests draws: a cell that still holds it was not written.
constexpr BlockCode kUnwritten = 300;

struct Write {
    int x = 0;
    int y = 0;
    int h = 0;
    BlockCode code = 0;
};

// The building as the test expects it, cell by cell, with the mirror images worked out here
// from the coordinates alone.
class CellModel {
public:
    explicit CellModel(const Building& grid)
        : width_(grid.Width()), length_(grid.Length()), height_(grid.Height()) {
        cells_.resize(static_cast<std::size_t>((width_ + 1) * (length_ + 1) * (height_ + 1)));
        for (int x = 0; x <= width_; ++x)
            for (int y = 0; y <= length_; ++y)
                for (int h = 0; h <= height_; ++h)
                    At(x, y, h) = grid.At(x, y, h);
    }
    BlockCode& At(int x, int y, int h) {
        return cells_[static_cast<std::size_t>((x * (length_ + 1) + y) * (height_ + 1) + h)];
    }

    // The writes of one tool, then each written cell reflected under the mode.
    void WriteMirrored(const std::vector<Write>& writes, MirrorMode mode) {
        for (const Write& w : writes)
            At(w.x, w.y, w.h) = w.code;
        const bool leftRight = mode == MirrorMode::LeftRight || mode == MirrorMode::Both;
        const bool frontBack = mode == MirrorMode::FrontBack || mode == MirrorMode::Both;
        for (const Write& w : writes) {
            const int mx = width_ + 1 - w.x, my = length_ + 1 - w.y;
            if (leftRight)
                At(mx, w.y, w.h) = w.code;
            if (frontBack)
                At(w.x, my, w.h) = w.code;
            if (leftRight && frontBack)
                At(mx, my, w.h) = w.code;
        }
    }

    // The downward draw, by its rule: down through codes 0 and 1, the first other cell included.
    std::vector<Write> DownwardDraw(int x, int y, int layer, BlockCode code) {
        int count = 0;
        for (int h = layer; h >= 1 && At(x, y, h) < 2; --h)
            ++count;
        return Column(x, y, layer, layer - count, code);
    }
    // The downward delete: the run of the code at the layer, and the first cell under it.
    std::vector<Write> DownwardDelete(int x, int y, int layer) {
        const BlockCode run = At(x, y, layer);
        int count = 0;
        for (int h = layer; h >= 1 && At(x, y, h) == run; --h)
            ++count;
        return Column(x, y, layer, layer - count, 0);
    }

    void ExpectEquals(const Building& grid, const std::string& context) {
        for (int x = 0; x <= width_; ++x)
            for (int y = 0; y <= length_; ++y)
                for (int h = 0; h <= height_; ++h)
                    ASSERT_EQ(grid.At(x, y, h), At(x, y, h)) << context << " at " << x << "," << y << "," << h;
    }

private:
    static std::vector<Write> Column(int x, int y, int top, int bottom, BlockCode code) {
        std::vector<Write> writes;
        for (int h = top; h >= bottom; --h)
            writes.push_back({x, y, h, code});
        return writes;
    }

    int width_, length_, height_;
    std::vector<BlockCode> cells_;
};

struct MirrorFixture {
    MirrorFixture(int width, int length, int height) {
        for (Editor* e : {&editor, &plain}) {
            for (int i = 0; i <= 20; ++i)
                e->selector.Add("block", Image(32, 32));
            e->widthSpin.SetValue(width);
            e->lengthSpin.SetValue(length);
            e->heightSpin.SetValue(height);
            NewBuilding(*e);
            ShowRequestedRepaint(*e);
        }
        painter.Reset();
    }

    // The centre of a 1-based TopView cell, or of a FrontView column and 0-based row.
    static int Centre(int cell) { return (cell - 1) * 32 + 16; }
    static int RowCentre(int row) { return row * 32 + 16; }
    void Send(CanvasEvent event) {
        RunShownAction(editor, "draw on the canvas", [&] { HandleCanvasEvent(editor, event); });
    }
    void Release() { Send(CanvasEvent{Kind::Other, 0, 0}); }

    // The cells a line or a brush writes with mirroring off: made on a building of the same
    // size in which every cell holds a code no tool draws, so that every write shows.
    template <typename Tool>
    std::vector<Write> WritesWithoutMirror(Tool&& tool) {
        plain.layerSpin.SetValue(editor.CurrentLayer());
        plain.selector.Select(editor.SelectedBlock());
        plain.random = editor.random;
        Building& grid = plain.grid;
        for (std::size_t i = 0; i < grid.CellCount(); ++i)
            grid.Layer(0)[i] = kUnwritten;
        tool(plain);
        std::vector<Write> writes;
        for (int x = 0; x <= grid.Width(); ++x)
            for (int y = 0; y <= grid.Length(); ++y)
                for (int h = 0; h <= grid.Height(); ++h)
                    if (grid.At(x, y, h) != kUnwritten)
                        writes.push_back({x, y, h, grid.At(x, y, h)});
        return writes;
    }

    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
    testing::CountingPainter plainPainter;
    testing::FakeWindow plainWindow;
    Editor plain{plainPainter, plainWindow, dialogs};
};

void FillAtRandom(Building& grid, std::mt19937& random) {
    std::uniform_int_distribution<int> code(0, 9);
    for (int x = 1; x <= grid.Width(); ++x)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int h = 0; h <= grid.Height(); ++h) {
                const int c = code(random);
                grid.At(x, y, h) = c < 5 ? 0 : c - 4;  // half air, codes 1 and 2 among the rest
            }
}

int Uniform(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

// Draws random TopView strokes: pen drags with either or both buttons, downward runs, lines
// and brush stamps. After each event the building must equal the model; after each stroke one
// undo must give back the building before it, and a redo the one after it.
void RunTopViewStrokes(MirrorFixture& f, CellModel& model, std::mt19937& random, int strokes) {
    Editor& e = f.editor;
    const int width = e.grid.Width(), length = e.grid.Length();
    for (int stroke = 0; stroke < strokes; ++stroke) {
        e.layerSpin.SetValue(Uniform(random, 1, e.grid.Height()));
        e.selector.Select(Uniform(random, 1, 9));
        const int layer = e.CurrentLayer();
        const BlockCode code = e.SelectedBlock();
        const Building before = e.grid;
        const std::size_t stepsBefore = e.history.UndoCount();
        const int kind = Uniform(random, 0, 3);
        const std::string context = "stroke " + std::to_string(stroke) + " kind " + std::to_string(kind);
        auto cell = [&] { return std::pair{Uniform(random, 1, width), Uniform(random, 1, length)}; };

        if (kind == 0 || kind == 1) {
            // A drag of the pen (kind 0) or of the downward runs (kind 1, Alt held).
            const bool alt = kind == 1;
            const int left = Uniform(random, 0, 1);
            const int moves = Uniform(random, 0, 4);
            for (int event = 0; event <= moves; ++event) {
                const auto [x, y] = cell();
                CanvasEvent ev{event == 0 ? (left ? Kind::LeftPress : Kind::RightPress) : Kind::Move,
                               MirrorFixture::Centre(x), MirrorFixture::Centre(y)};
                ev.alt = alt;
                ev.left = event == 0 ? left == 1 : left == 1 || Uniform(random, 0, 2) == 0;
                ev.right = event == 0 ? left == 0 : left == 0 || Uniform(random, 0, 2) == 0;
                if (ev.left)
                    model.WriteMirrored(alt ? model.DownwardDraw(x, y, layer, code)
                                            : std::vector<Write>{{x, y, layer, code}},
                                        e.mirrorMode);
                if (ev.right)
                    model.WriteMirrored(alt ? model.DownwardDelete(x, y, layer)
                                            : std::vector<Write>{{x, y, layer, 0}},
                                        e.mirrorMode);
                f.Send(ev);
                model.ExpectEquals(e.grid, context + " event " + std::to_string(event));
            }
        } else if (kind == 2) {
            // A line: Shift + press arms it (nothing is drawn), the next one draws it.
            const auto [x0, y0] = cell();
            const auto [x1, y1] = cell();
            f.Send({Kind::LeftPress, MirrorFixture::Centre(x0), MirrorFixture::Centre(y0), true, false, true});
            f.Release();
            model.ExpectEquals(e.grid, context + " armed");
            // The ends are captured as copies: clang does not let a lambda capture a structured
            // binding.
            const auto line = [&, x0 = x0, y0 = y0, x1 = x1, y1 = y1](Editor& p) { DrawLine(p, x0, y0, x1, y1); };
            model.WriteMirrored(f.WritesWithoutMirror(line), e.mirrorMode);
            f.Send({Kind::LeftPress, MirrorFixture::Centre(x1), MirrorFixture::Centre(y1), true, false, true});
            model.ExpectEquals(e.grid, context + " drawn");
        } else {
            // A brush stamp, often near the corner where it fits; then a right press switches it
            // off and writes nothing.
            e.layerSpin.SetValue(Uniform(random, 1, 3));
            const int x = Uniform(random, 1, std::max(1, width - 8)), y = Uniform(random, 1, std::max(1, length - 8));
            e.randomBrushActive = true;
            model.WriteMirrored(f.WritesWithoutMirror([&](Editor& p) { PlaceRandomBrush(p, x, y); }), e.mirrorMode);
            f.Send({Kind::LeftPress, MirrorFixture::Centre(x), MirrorFixture::Centre(y), true});
            model.ExpectEquals(e.grid, context + " stamped");
            f.Release();
            const auto [rx, ry] = cell();
            f.Send({Kind::RightPress, MirrorFixture::Centre(rx), MirrorFixture::Centre(ry), false, true});
            EXPECT_FALSE(e.randomBrushActive);
            model.ExpectEquals(e.grid, context + " switched off");
        }
        f.Release();

        const Building after = e.grid;
        if (e.history.UndoCount() == stepsBefore)
            continue;  // the stroke changed nothing
        ASSERT_EQ(e.history.UndoCount(), stepsBefore + 1) << context;
        ASSERT_TRUE(e.history.Undo(e));
        CellModel(before).ExpectEquals(e.grid, context + " undone");
        ASSERT_TRUE(e.history.Redo(e));
        CellModel(after).ExpectEquals(e.grid, context + " redone");
        e.layerSpin.SetValue(layer);
    }
}

// FrontView strokes on random slices: the pen in any button mix, Shift and Alt drawing as
// plain presses; the working plane must show the slice as the model has it.
void RunFrontViewStrokes(MirrorFixture& f, CellModel& model, std::mt19937& random, int strokes) {
    Editor& e = f.editor;
    const int length = e.grid.Length(), height = e.grid.Height();
    for (int stroke = 0; stroke < strokes; ++stroke) {
        e.layerSpin.SetValue(Uniform(random, 1, e.grid.Width()));
        RefreshFrontPlane(e);
        e.selector.Select(Uniform(random, 1, 9));
        const int slice = e.CurrentLayer();
        const BlockCode code = e.SelectedBlock();
        const Building before = e.grid;
        const std::size_t stepsBefore = e.history.UndoCount();
        const std::string context = "front stroke " + std::to_string(stroke);
        const int left = Uniform(random, 0, 1);
        const int moves = Uniform(random, 0, 4);
        for (int event = 0; event <= moves; ++event) {
            const int column = Uniform(random, 1, length), row = Uniform(random, 0, height - 1);
            CanvasEvent ev{event == 0 ? (left ? Kind::LeftPress : Kind::RightPress) : Kind::Move,
                           MirrorFixture::Centre(column), MirrorFixture::RowCentre(row)};
            ev.shift = Uniform(random, 0, 3) == 0;
            ev.alt = Uniform(random, 0, 3) == 0;
            ev.left = event == 0 ? left == 1 : left == 1 || Uniform(random, 0, 2) == 0;
            ev.right = event == 0 ? left == 0 : left == 0 || Uniform(random, 0, 2) == 0;
            if (ev.left)
                model.WriteMirrored({{slice, column, height - row, code}}, e.mirrorMode);
            if (ev.right)
                model.WriteMirrored({{slice, column, height - row, 0}}, e.mirrorMode);
            f.Send(ev);
            model.ExpectEquals(e.grid, context + " event " + std::to_string(event));
            for (int y = 1; y <= length; ++y)
                for (int p = 1; p <= height; ++p)
                    ASSERT_EQ(e.frontPlane.At(y, p), model.At(slice, y, height - p + 1)) << context;
        }
        f.Release();
        const Building after = e.grid;
        if (e.history.UndoCount() == stepsBefore)
            continue;
        ASSERT_EQ(e.history.UndoCount(), stepsBefore + 1) << context;
        ASSERT_TRUE(e.history.Undo(e));
        CellModel(before).ExpectEquals(e.grid, context + " undone");
        ASSERT_TRUE(e.history.Redo(e));
        CellModel(after).ExpectEquals(e.grid, context + " redone");
    }
}

struct Size {
    int width, length, height;
};
// Odd and even widths and lengths; wide and long enough for the brush on some of them.
constexpr Size kSizes[] = {{10, 10, 9}, {11, 13, 12}, {12, 11, 8}, {13, 12, 10}, {7, 6, 5}, {1, 2, 3}};

// Random strokes in every size and mode on a random building, in one view; each stroke is
// checked against the model and taken back in one step.
template <typename RunStrokes>
void CheckStrokesInEverySizeAndMode(std::uint32_t seed, bool frontView, RunStrokes runStrokes) {
    std::mt19937 random(seed);
    for (const Size& size : kSizes)
        for (MirrorMode mode : kModes) {
            SCOPED_TRACE("size " + std::to_string(size.width) + "x" + std::to_string(size.length) + " mode " +
                         std::string(MirrorModeName(mode)));
            MirrorFixture f(size.width, size.length, size.height);
            FillAtRandom(f.editor.grid, random);
            if (frontView) {
                ShowFrontView(f.editor);
                ShowRequestedRepaint(f.editor);
            }
            f.editor.history.Clear();
            f.editor.random.seed(random());
            f.editor.mirrorMode = mode;
            CellModel model(f.editor.grid);
            runStrokes(f, model, random, 40);
            if (::testing::Test::HasFatalFailure())
                return;
        }
}

TEST(MirrorDrawing, TopViewStrokeEqualsTheStrokePlusItsReflectionAndUndoesInOneStep) {
    CheckStrokesInEverySizeAndMode(20240611, false, RunTopViewStrokes);
}

TEST(MirrorDrawing, FrontViewStrokeEqualsTheStrokePlusItsReflectionAndUndoesInOneStep) {
    CheckStrokesInEverySizeAndMode(77031, true, RunFrontViewStrokes);
}

// The images of one column, each once: a column on a centre line is its own image.
TEST(MirrorDrawing, ImagesOfAColumnLeaveOutTheColumnItselfAndRepeats) {
    auto images = [](MirrorMode mode, int width, int length, int x, int y) {
        const ColumnImages found = MirrorImagesOf(mode, width, length, x, y);
        return std::vector<MirrorColumn>(found.columns.begin(), found.columns.begin() + found.count);
    };
    using V = std::vector<MirrorColumn>;
    EXPECT_EQ(images(MirrorMode::Off, 10, 8, 2, 3), V{});
    EXPECT_EQ(images(MirrorMode::LeftRight, 10, 8, 2, 3), (V{{9, 3}}));
    EXPECT_EQ(images(MirrorMode::FrontBack, 10, 8, 2, 3), (V{{2, 6}}));
    EXPECT_EQ(images(MirrorMode::Both, 10, 8, 2, 3), (V{{9, 3}, {2, 6}, {9, 6}}));
    // Width 9: column 5 is the centre.
    EXPECT_EQ(images(MirrorMode::LeftRight, 9, 8, 5, 3), V{});
    EXPECT_EQ(images(MirrorMode::Both, 9, 8, 5, 3), (V{{5, 6}}));
    EXPECT_EQ(images(MirrorMode::Both, 9, 7, 5, 4), V{});
    EXPECT_EQ(images(MirrorMode::Both, 1, 1, 1, 1), V{});

    MirrorMode mode = MirrorMode::Off;
    std::vector<std::string> names;
    for (int i = 0; i < 5; ++i) {
        names.emplace_back(MirrorModeName(mode));
        mode = NextMirrorMode(mode);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"off", "left-right", "front-back", "both", "off"}));
}

// A pen move with both buttons in both-ways mirroring repaints its eight cells one by one;
// in FrontView the images in the other slice repaint nothing.
TEST(MirrorDrawing, PenCellsAndTheirImagesStayCellRepaints) {
    MirrorFixture f(10, 8, 6);
    Editor& e = f.editor;
    e.mirrorMode = MirrorMode::Both;
    e.selector.Select(3);
    f.Send({Kind::LeftPress, MirrorFixture::Centre(2), MirrorFixture::Centre(3), true});
    EXPECT_EQ(f.painter.redraws, 0);
    EXPECT_EQ(f.painter.cells, (std::vector<CellPosition>{{2, 3}, {9, 3}, {2, 6}, {9, 6}}));
    f.painter.Reset();
    f.Send({Kind::Move, MirrorFixture::Centre(4), MirrorFixture::Centre(1), true, true});
    EXPECT_EQ(f.painter.redraws, 0);
    EXPECT_EQ(f.painter.cellDraws, 8);
    EXPECT_EQ(e.grid.At(7, 8, 1), 0);
    f.Release();

    // A downward run and its images: one cell each on the layer shown.
    f.painter.Reset();
    e.layerSpin.SetValue(3);
    f.Send({Kind::LeftPress, MirrorFixture::Centre(1), MirrorFixture::Centre(1), true, false, false, true});
    EXPECT_EQ(f.painter.redraws, 0);
    EXPECT_EQ(f.painter.cells, (std::vector<CellPosition>{{1, 1}, {10, 1}, {1, 8}, {10, 8}}));
    for (int h = 0; h <= 3; ++h)
        EXPECT_EQ(e.grid.At(10, 8, h), 3) << h;
    f.Release();

    e.frontViewLayer = 2;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    f.painter.Reset();
    f.Send({Kind::LeftPress, MirrorFixture::Centre(2), MirrorFixture::RowCentre(1), true});
    EXPECT_EQ(f.painter.redraws, 0);
    // Slice 2 shows the cell and its front-back image; slice 9 is not shown.
    EXPECT_EQ(f.painter.cells, (std::vector<CellPosition>{{2, 2}, {7, 2}}));
    EXPECT_EQ(e.grid.At(9, 2, 5), 3);
    EXPECT_EQ(e.grid.At(9, 7, 5), 3);
    EXPECT_EQ(e.frontPlane.At(7, 2), 3);
}

// Picks and arming the line write nothing, mirrored or not; the mode outlives a new building
// and an undo, and the title shows it from the next readout on.
TEST(MirrorDrawing, PicksArmingAndTheModeItself) {
    MirrorFixture f(9, 8, 4);
    Editor& e = f.editor;
    e.mirrorMode = MirrorMode::Both;
    e.grid.At(2, 2, 1) = 5;
    e.history.Clear();
    const Building before = e.grid;
    f.Send({Kind::LeftPress, MirrorFixture::Centre(2), MirrorFixture::Centre(2), true, false, false, false, true});
    EXPECT_EQ(e.SelectedBlock(), 5);
    f.Release();
    f.Send({Kind::LeftPress, MirrorFixture::Centre(3), MirrorFixture::Centre(3), true, false, true});
    EXPECT_TRUE(e.lineArmed);
    f.Release();
    CellModel(before).ExpectEquals(e.grid, "after a pick and arming");
    EXPECT_EQ(e.history.UndoCount(), 0u);

    e.cursorCell = {4, 5};
    e.lengthText = "  Length: 2";
    e.mirrorMode = MirrorMode::Off;
    ShowTitleReadout(e);
    EXPECT_EQ(f.window.title, "Stack Mason  4/5  Length: 2");
    const char* titles[] = {"Stack Mason  4/5  Length: 2  Mirror: left-right",
                            "Stack Mason  4/5  Length: 2  Mirror: front-back",
                            "Stack Mason  4/5  Length: 2  Mirror: both", "Stack Mason  4/5  Length: 2"};
    for (const char* title : titles) {
        CycleMirrorMode(e);
        EXPECT_EQ(f.window.title, title);
    }
    CycleMirrorMode(e);
    EXPECT_EQ(MirrorDrawingLabel(e), "Mirror drawing: left-right");
    f.Send({Kind::LeftPress, MirrorFixture::Centre(1), MirrorFixture::Centre(1), true});
    f.Release();
    EXPECT_EQ(e.grid.At(9, 1, 1), 5);
    ASSERT_TRUE(e.history.Undo(e));
    EXPECT_EQ(e.mirrorMode, MirrorMode::LeftRight);
    NewBuilding(e);
    EXPECT_EQ(e.mirrorMode, MirrorMode::LeftRight);
}

}  // namespace
}  // namespace stackmason
