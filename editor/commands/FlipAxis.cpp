#include "editor/commands/FlipAxis.h"

#include <new>
#include <stdexcept>
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
    if (!editor.InTopView())
        ShowTopView(editor);
    const int width = editor.gridLength;
    const int length = editor.gridWidth;
    const int height = editor.gridHeight;
    try {
        FrontPlane plane(length, height);
        ColumnTranspose transpose(editor.grid);
        transpose.Apply(editor.grid);
        editor.frontPlane = std::move(plane);
    } catch (const std::bad_alloc&) {
        editor.dialogs.ShowError("Not enough memory to swap the axes. The building is unchanged.");
        return;
    } catch (const std::length_error&) {
        editor.dialogs.ShowError("Not enough memory to swap the axes. The building is unchanged.");
        return;
    }
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
