#include "editor/commands/FlipAxis.h"

#include <algorithm>
#include <utility>

#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"

namespace stackmason {
namespace {

// Column (x, y) of the old grid becomes column (y, x) of the new one, layers 1..H; the new
// ground stays air. Both columns are contiguous, so this is one copy per column.
void CopySwapped(const BlockGrid& from, BlockGrid& to) {
    const int height = from.Height();
    for (int x = 0; x <= from.Width(); ++x)
        for (int y = 0; y <= from.Length(); ++y)
            std::copy_n(from.Data() + from.Index(x, y, 1), height, to.Data() + to.Index(y, x, 1));
}

}  // namespace

void FlipAxis(Editor& editor) {
    if (!editor.InTopView())
        ShowTopView(editor);
    const int width = editor.gridWidth;
    const int length = editor.gridLength;
    const int height = editor.gridHeight;
    BlockGrid old = std::move(editor.grid);
    // Replaces the working plane with an empty one of the new extents as well.
    if (!AllocateBuilding(editor, length, width, height)) {
        editor.grid = std::move(old);
        editor.dialogs.ShowError("Not enough memory to swap the axes. The building is unchanged.");
        return;
    }
    CopySwapped(old, editor.grid);
    old = BlockGrid();

    editor.widthSpin.SetValue(editor.gridWidth);
    editor.lengthSpin.SetValue(editor.gridLength);
    editor.heightSpin.SetValue(editor.gridHeight);
    editor.layerSpin.SetRange(1, editor.gridHeight);
    // Lays the canvas out for the new sizes and repaints.
    ShowReplacedBuilding(editor);
}

}  // namespace stackmason
