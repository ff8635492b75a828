#include "editor/commands/RotateLayers.h"

#include <algorithm>

#include "editor/commands/LayerTurn.h"

namespace stackmason {

// The layers are turned cell by cell rather than through a picture coloured by block code:
// a picture's colours cover only the first codes, and every code must come out as it went in.
void RotateLayers(Editor& editor) {
    if (!editor.InTopView())
        return;
    // The work buffer is taken before any cell moves; without it nothing changes.
    LayerTurn turn(editor.grid, editor.gridWidth, editor.gridLength);
    for (int first = 1; first <= editor.gridHeight; first += LayerTurn::kLayersPerPass)
        turn.TurnLayers(first, std::min(LayerTurn::kLayersPerPass, editor.gridHeight - first + 1));
    editor.painter.RedrawCanvas();
}

}  // namespace stackmason
