#include "editor/commands/LayerTurn.h"

#include <algorithm>

namespace stackmason {

LayerTurn::LayerTurn(BlockGrid& grid, int width, int length)
    : grid_(grid), width_(width), length_(length), centreX_(width / 2 + 1), centreY_(length / 2 + 1),
      buffer_(static_cast<std::size_t>(width) * length * kLayersPerPass) {}

void LayerTurn::TurnLayers(int first, int count) {
    for (int x = 1; x <= width_; ++x)
        for (int y = 1; y <= length_; ++y)
            std::copy_n(Column(x, y, first), count, Saved(x, y));
    for (int a = 1; a <= width_; ++a)
        for (int b = 1; b <= length_; ++b)
            TakeSource(a, b, first, count);
}

// Cell (x, y) goes to (Cx - (y - Cy), Cy + (x - Cx)); so target (a, b) receives the cell
// (Cx + (b - Cy), Cy - (a - Cx)), or air when that lies outside the layer. Targets anywhere
// in the layer are written, the outer ring included, so four turns of an odd square restore it.
void LayerTurn::TakeSource(int a, int b, int first, int count) {
    const int x = centreX_ + (b - centreY_);
    const int y = centreY_ - (a - centreX_);
    BlockCode* target = Column(a, b, first);
    if (x >= 1 && x <= width_ && y >= 1 && y <= length_)
        std::copy_n(Saved(x, y), count, target);
    else
        std::fill_n(target, count, 0);
}

}  // namespace stackmason
