#include "editor/model/BuildingOperations.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "editor/model/Views.h"

namespace stackmason {
namespace {

void ReportNoMemory(Editor& editor, int width, int length, int height) {
    editor.dialogs.ShowError("Not enough memory for a building of " + std::to_string(width) + " x " +
                             std::to_string(length) + " x " + std::to_string(height) +
                             " cells. The building is unchanged.");
}

}  // namespace

bool AllocateBuilding(Editor& editor, int width, int length, int height) {
    try {
        BlockGrid grid(width, length, height);
        FrontPlane plane(length, height);
        editor.grid = std::move(grid);
        editor.frontPlane = std::move(plane);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    editor.gridWidth = width;
    editor.gridLength = length;
    editor.gridHeight = height;
    return true;
}

bool NewBuilding(Editor& editor) {
    const int width = editor.widthSpin.Value();
    const int length = editor.lengthSpin.Value();
    const int height = editor.heightSpin.Value();
    if (!AllocateBuilding(editor, width, length, height)) {
        ReportNoMemory(editor, width, length, height);
        editor.widthSpin.SetValue(editor.gridWidth);
        editor.lengthSpin.SetValue(editor.gridLength);
        editor.heightSpin.SetValue(editor.gridHeight);
        return false;
    }
    editor.viewMode = ViewMode::TopView;
    ApplyCanvasLayout(editor);
    ClearGrid(editor, width, length, height);
    editor.painter.PaintEmptyTopView();

    editor.layerSpin.SetRange(1, height);
    editor.layerSpin.SetValue(1);
    // A pack without blocks leaves "Air" selected.
    editor.selector.Select(editor.selector.Count() > 1 ? 1 : 0);
    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);

    editor.topViewLayer = 0;
    editor.frontViewLayer = 1;
    editor.viewToggleLabel = "FrontView";
    return true;
}

void ClearGrid(Editor& editor, int width, int length, int height) {
    BlockGrid& grid = editor.grid;
    if (grid.Width() == width && grid.Length() == length && grid.Height() == height) {
        grid.Clear();
        return;
    }
    for (int x = 0; x <= std::min(width, grid.Width()); ++x)
        for (int y = 0; y <= std::min(length, grid.Length()); ++y)
            for (int h = 0; h <= std::min(height, grid.Height()); ++h)
                grid.At(x, y, h) = 0;
}

void RefreshFrontPlane(Editor& editor) {
    const int length = editor.gridLength;
    const int height = editor.gridHeight;
    if (!editor.frontPlane.HasExtents(length, height))
        editor.frontPlane = FrontPlane(length, height);
    const int x = std::clamp(editor.CurrentLayer(), 0, editor.gridWidth);
    for (int p = 1; p <= height; ++p)
        for (int y = 1; y <= length; ++y)
            editor.frontPlane.At(y, p) = editor.grid.At(x, y, height - p + 1);
}

}  // namespace stackmason
