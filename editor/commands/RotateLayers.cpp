#include "editor/commands/RotateLayers.h"

#include <algorithm>
#include <new>

#include "editor/commands/LayerTurn.h"

namespace stackmason {

// The layers are turned cell by cell rather than through a picture coloured by block code:
// a picture's colours cover only the first codes, and every code must come out as it went in.
void RotateLayers(Editor& editor) {
    if (!editor.InTopView())
        return;
    try {
        LayerTurn turn(editor.grid, editor.gridWidth, editor.gridLength);
        for (int first = 1; first <= editor.gridHeight; first += LayerTurn::kLayersPerPass)
            turn.TurnLayers(first, std::min(LayerTurn::kLayersPerPass, editor.gridHeight - first + 1));
    } catch (const std::bad_alloc&) {
        editor.dialogs.ShowError("Not enough memory to turn the layers. The building is unchanged.");
        return;
    }
    editor.painter.RedrawCanvas();
}

}  // namespace stackmason
