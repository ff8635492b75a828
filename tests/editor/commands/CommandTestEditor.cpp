#include "CommandTestEditor.h"

#include "editor/model/BuildingOperations.h"

namespace stackmason::testing {

CommandTestEditor::CommandTestEditor(int width, int length, int height) {
    editor.selector.Add("Air", Image(32, 32));
    for (int code = 1; code <= 5; ++code)
        editor.selector.Add("Block " + std::to_string(code), Image(32, 32, Rgba{0, 0, 0, 255}));
    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);
    NewBuilding(editor);
    painter.Reset();
}

std::vector<BlockCode> Layer(const Building& grid, int h) {
    std::vector<BlockCode> cells;
    for (int y = 0; y <= grid.Length(); ++y)
        for (int x = 0; x <= grid.Width(); ++x)
            cells.push_back(grid.At(x, y, h));
    return cells;
}

std::vector<BlockCode> Slice(const Building& grid, int x) {
    std::vector<BlockCode> cells;
    for (int h = 0; h <= grid.Height(); ++h)
        for (int y = 0; y <= grid.Length(); ++y)
            cells.push_back(grid.At(x, y, h));
    return cells;
}

std::vector<BlockCode> WorkingCells(const FrontPlane& plane) {
    std::vector<BlockCode> cells;
    for (int p = 1; p <= plane.Height(); ++p)
        for (int y = 1; y <= plane.Length(); ++y)
            cells.push_back(plane.At(y, p));
    return cells;
}

::testing::AssertionResult SameCells(const Building& actual, const Building& expected) {
    if (actual.Width() != expected.Width() || actual.Length() != expected.Length() ||
        actual.Height() != expected.Height())
        return ::testing::AssertionFailure()
               << "sizes " << actual.Width() << "x" << actual.Length() << "x" << actual.Height() << " instead of "
               << expected.Width() << "x" << expected.Length() << "x" << expected.Height();
    for (int x = 0; x <= actual.Width(); ++x)
        for (int y = 0; y <= actual.Length(); ++y)
            for (int h = 0; h <= actual.Height(); ++h)
                if (actual.At(x, y, h) != expected.At(x, y, h))
                    return ::testing::AssertionFailure() << "cell (" << x << ", " << y << ", " << h << ") holds "
                                                         << actual.At(x, y, h) << " instead of "
                                                         << expected.At(x, y, h);
    return ::testing::AssertionSuccess();
}

void DrawInFrontView(Editor& editor, int y, int p, BlockCode code) {
    editor.grid.At(editor.CurrentLayer(), y, editor.grid.Height() - p + 1) = code;
    editor.frontPlane.At(y, p) = code;
}

}  // namespace stackmason::testing
