#pragma once

#include <cstddef>
#include <vector>

#include "common/BlockGrid.h"

namespace stackmason {

// Turns layers of a grid in place by 90 degrees clockwise as TopView shows them (x to the
// right, y downwards), about the cell (X div 2 + 1, Y div 2 + 1). Cells turned out of the
// layer are lost, cells that receive nothing become air, codes are carried unchanged.
class LayerTurn {
public:
    // Layers turned per pass. Within a grid column the layers lie next to each other, so a
    // pass moves short runs of codes instead of single cells scattered across the whole grid.
    static constexpr int kLayersPerPass = 16;

    // Takes a work buffer of width x length x kLayersPerPass codes (may throw std::bad_alloc).
    LayerTurn(BlockGrid& grid, int width, int length);

    // Turns layers first .. first + count - 1; count is at most kLayersPerPass.
    void TurnLayers(int first, int count);

private:
    void TakeSource(int a, int b, int first, int count);
    BlockCode* Column(int x, int y, int h) { return grid_.Data() + grid_.Index(x, y, h); }
    BlockCode* Saved(int x, int y) {
        return buffer_.data() + (static_cast<std::size_t>(x - 1) * length_ + (y - 1)) * kLayersPerPass;
    }

    BlockGrid& grid_;
    int width_;
    int length_;
    int centreX_;
    int centreY_;
    std::vector<BlockCode> buffer_;
};

}  // namespace stackmason
