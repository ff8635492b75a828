#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/canvas/CanvasRepaint.h"
#include "editor/model/Editor.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason::testing {

// An editor on fake ports with an empty building of the given size in TopView, layer 1
// current, a selector of "Air" and five blocks with block 1 selected, and zeroed counters.
struct CommandTestEditor {
    CommandTestEditor(int width, int length, int height);

    CountingPainter painter;
    FakeWindow window;
    FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// A plane of the grid as a flat list, the index-0 rows and columns included:
// Layer is h = const over x 0..X, y 0..Y; Slice is x = const over y 0..Y, h 0..H.
std::vector<BlockCode> Layer(const Building& grid, int h);
std::vector<BlockCode> Slice(const Building& grid, int x);
// The working plane's rows 1..H of columns 1..Y.
std::vector<BlockCode> WorkingCells(const FrontPlane& plane);

// Equal sizes and equal cells; names the first cell that differs.
::testing::AssertionResult SameCells(const Building& actual, const Building& expected);

// Runs a command as the editor runs it: the command, then the repaint it asked for.
template <typename Command>
void RunShown(Editor& editor, Command command) {
    command(editor);
    ShowRequestedRepaint(editor);
}

// A cell drawn in FrontView at column y, picture row p: grid and working plane together.
void DrawInFrontView(Editor& editor, int y, int p, BlockCode code);

}  // namespace stackmason::testing
