#include "editor/canvas/LineAndBrush.h"

#include "editor/canvas/CellEdits.h"
#include "editor/canvas/Mirroring.h"
#include "editor/model/History.h"

namespace stackmason {
namespace {

constexpr int kBrushSide = 10;

}  // namespace

void DrawLine(Editor& editor, int x0, int y0, int x1, int y1) {
    const StepScope step(editor);
    ApplyMirrored(editor, LineEdit(editor.grid, x0, y0, x1, y1, editor.CurrentLayer(), editor.SelectedBlock()));
}

void PlaceRandomBrush(Editor& editor, int x, int y) {
    const int layer = editor.CurrentLayer();
    const int depth = RandomInt(editor.random, 4, editor.grid.Height());
    if (x + kBrushSide - 1 > editor.grid.Width() || y + kBrushSide - 1 > editor.grid.Length() ||
        layer + depth + 1 > editor.grid.Height())
        return;

    // Each stamp is a step of its own, also while the button is held.
    const StepScope step(editor);
    editor.brushCells = Building(kBrushSide, kBrushSide, depth);
    const BlockCode value = editor.SelectedBlock();
    for (int j = 1; j <= kBrushSide; ++j)
        for (int i = 1; i <= kBrushSide; ++i) {
            const int top = RandomInt(editor.random, 4, depth);
            for (int k = 1; k <= top; ++k)
                editor.brushCells.At(i, j, k) = value;
        }
    ApplyMirrored(editor, BrushEdit(editor.brushCells, x, y));
}

int RandomInt(std::mt19937& generator, int minimum, int maximum) {
    if (minimum > maximum)
        return maximum;
    return std::uniform_int_distribution<int>(minimum, maximum)(generator);
}

}  // namespace stackmason
