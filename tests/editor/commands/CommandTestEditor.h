#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/model/Editor.h"

namespace stackmason::testing {

// Counts the repaints the commands ask for.
class CountingPainter : public CanvasPainter {
public:
    void ResizeCanvas(int width, int height) override {
        ++resizes;
        canvasWidth = width;
        canvasHeight = height;
    }
    void PaintEmptyTopView() override {}
    void RedrawCanvas() override { ++redraws; }
    void DrawCell(int, int) override { ++cellDraws; }
    void PaintLayerCells() override { ++layerPaints; }

    void Reset() { resizes = redraws = cellDraws = layerPaints = 0; }

    int resizes = 0;
    int redraws = 0;
    int cellDraws = 0;
    int layerPaints = 0;
    int canvasWidth = 0;
    int canvasHeight = 0;
};

class FixedWindow : public WindowPort {
public:
    int ClientWidth() const override { return 1000; }
    int ClientHeight() const override { return 700; }
    void PlaceCanvasScroller(int, int, int, int, int, int) override {}
    void FocusCanvasScroller() override {}
    void SetTitle(const std::string&) override {}
    int ScrollX() const override { return 0; }
    int ScrollY() const override { return 0; }
    void ScrollTo(int, int) override {}
    void DropPendingEvents() override {}
};

class RecordingDialogs : public DialogPort {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return std::nullopt; }
    std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return std::nullopt; }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return false; }
    void ShowInfoWindow() override {}

    std::vector<std::string> errors;
};

// An editor on fake ports with an empty building of the given size in TopView, layer 1
// current, a selector of "Air" and five blocks with block 1 selected, and zeroed counters.
struct CommandTestEditor {
    CommandTestEditor(int width, int length, int height);

    CountingPainter painter;
    FixedWindow window;
    RecordingDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// A plane of the grid as a flat list, the index-0 rows and columns included:
// Layer is h = const over x 0..X, y 0..Y; Slice is x = const over y 0..Y, h 0..H.
std::vector<BlockCode> Layer(const BlockGrid& grid, int h);
std::vector<BlockCode> Slice(const BlockGrid& grid, int x);
// The working plane's rows 1..H of columns 1..Y.
std::vector<BlockCode> WorkingCells(const FrontPlane& plane);

// Equal sizes and equal cells; names the first cell that differs.
::testing::AssertionResult SameCells(const BlockGrid& actual, const BlockGrid& expected);

// A cell drawn in FrontView at column y, picture row p: grid and working plane together.
void DrawInFrontView(Editor& editor, int y, int p, BlockCode code);

}  // namespace stackmason::testing
