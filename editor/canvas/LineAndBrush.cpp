#include "editor/canvas/LineAndBrush.h"

#include <cstdlib>

namespace stackmason {
namespace {

constexpr int kBrushSide = 10;

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

void DrawLine(Editor& editor, int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0, dy = y1 - y0;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const int sx = Sign(dx), sy = Sign(dy);
    const bool xMajor = adx > ady;
    const int straightX = xMajor ? sx : 0, straightY = xMajor ? 0 : sy;
    const int longSide = xMajor ? adx : ady, shortSide = xMajor ? ady : adx;

    const int layer = editor.CurrentLayer();
    const BlockCode value = editor.SelectedBlock();
    // The start was armed on the building that was shown then; a new or loaded building may be
    // smaller, so only the cells that lie on this one are drawn.
    auto draw = [&](int cx, int cy) {
        if (cx >= 1 && cx <= editor.grid.Width() && cy >= 1 && cy <= editor.grid.Length())
            editor.grid.At(cx, cy, layer) = value;
    };
    int x = x0, y = y0;
    draw(x, y);
    int error = longSide / 2;
    for (int step = 0; step < longSide; ++step) {
        error -= shortSide;
        if (error < 0) {
            error += longSide;
            x += sx;
            y += sy;
        } else {
            x += straightX;
            y += straightY;
        }
        draw(x, y);
    }
    editor.painter.RedrawCanvas();
}

void PlaceRandomBrush(Editor& editor, int x, int y) {
    const int layer = editor.CurrentLayer();
    const int depth = RandomInt(editor.random, 4, editor.grid.Height());
    if (x + kBrushSide - 1 > editor.grid.Width() || y + kBrushSide - 1 > editor.grid.Length() ||
        layer + depth + 1 > editor.grid.Height())
        return;

    editor.brushCells = Building(kBrushSide, kBrushSide, depth);
    const BlockCode value = editor.SelectedBlock();
    for (int j = 1; j <= kBrushSide; ++j)
        for (int i = 1; i <= kBrushSide; ++i) {
            const int top = RandomInt(editor.random, 4, depth);
            for (int k = 1; k <= top; ++k)
                editor.brushCells.At(i, j, k) = value;
        }
    for (int k = 1; k <= depth; ++k)
        for (int j = 0; j < kBrushSide; ++j)
            for (int i = 0; i < kBrushSide; ++i)
                if (const BlockCode cell = editor.brushCells.At(i + 1, j + 1, k); cell != 0)
                    editor.grid.At(x + i, y + j, k - 1) = cell;
    editor.painter.RedrawCanvas();
}

int RandomInt(std::mt19937& generator, int minimum, int maximum) {
    if (minimum > maximum)
        return maximum;
    return std::uniform_int_distribution<int>(minimum, maximum)(generator);
}

}  // namespace stackmason
