#include "editor/canvas/CellEdits.h"

#include <cstdlib>

namespace stackmason {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }


}  // namespace

edit::SetColumn DrawDownwardEdit(const Building& grid, int x, int y, int layer, BlockCode code) {
    int count = 0;
    for (int h = layer; h >= 1 && grid.At(x, y, h) < 2; --h)
        ++count;
    return edit::SetColumn{x, y, layer, layer - count, code};
}

edit::SetColumn DeleteDownwardEdit(const Building& grid, int x, int y, int layer) {
    const BlockCode run = grid.At(x, y, layer);
    int count = 0;
    for (int h = layer; h >= 1 && grid.At(x, y, h) == run; --h)
        ++count;
    return edit::SetColumn{x, y, layer, layer - count, 0};
}

edit::SetCells LineEdit(const Building& grid, int x0, int y0, int x1, int y1, int layer, BlockCode code) {
    const int dx = x1 - x0, dy = y1 - y0;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const int sx = Sign(dx), sy = Sign(dy);
    const bool xMajor = adx > ady;
    const int straightX = xMajor ? sx : 0, straightY = xMajor ? 0 : sy;
    const int longSide = xMajor ? adx : ady, shortSide = xMajor ? ady : adx;

    edit::SetCells edit;
    // The start was armed on the building that was shown then; a new or loaded building may be
    // smaller, so only the cells that lie on this one are drawn.
    auto draw = [&](int cx, int cy) {
        if (cx >= 1 && cx <= grid.Width() && cy >= 1 && cy <= grid.Length())
            edit.writes.push_back({cx, cy, layer, code});
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
    return edit;
}

edit::SetCells BrushEdit(const Building& brush, int x, int y) {
    edit::SetCells edit;
    for (int k = 1; k <= brush.Height(); ++k)
        for (int j = 0; j < brush.Length(); ++j)
            for (int i = 0; i < brush.Width(); ++i)
                if (const BlockCode cell = brush.At(i + 1, j + 1, k); cell != 0)
                    edit.writes.push_back({x + i, y + j, k - 1, cell});
    return edit;
}

}  // namespace stackmason
