#include "editor/commands/FlipAxis.h"

#include <utility>

#include "editor/commands/ColumnTranspose.h"
#include "editor/model/Views.h"

namespace stackmason {
namespace {

void ClearGround(BlockGrid& grid) {
    for (int x = 0; x <= grid.Width(); ++x)
        for (int y = 0; y <= grid.Length(); ++y)
            grid.At(x, y, 0) = 0;
}

}  // namespace

void FlipAxis(Editor& editor) {
    const int width = editor.gridLength;
    const int length = editor.gridWidth;
    const int height = editor.gridHeight;
    // All memory is taken before anything changes, the switch to TopView included; without
    // it nothing changes.
    FrontPlane plane(length, height);
    ColumnTranspose transpose(editor.grid);
    if (!editor.InTopView())
        ShowTopView(editor);
    transpose.Apply(editor.grid);
    editor.frontPlane = std::move(plane);
    editor.grid.Reshape(width, length, height);
    ClearGround(editor.grid);
    editor.gridWidth = width;
    editor.gridLength = length;

    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);
    editor.layerSpin.SetRange(1, height);
    // Lays the canvas out for the new sizes and repaints.
    ShowReplacedBuilding(editor);
}

}  // namespace stackmason
