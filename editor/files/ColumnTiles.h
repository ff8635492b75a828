#pragma once

#include <cstddef>

#include "common/BlockGrid.h"

namespace stackmason {

// The grid keeps the layers of one column next to each other (h fastest, then y, then x);
// the files keep a layer's rows together, x fastest. The files' bytes are converted a tile
// at a time: kTileColumns neighbouring columns of kTileRows neighbouring rows, every layer
// of them. Each column of the tile is then read whole and the tile's rows of one column lie
// next to each other in the grid, while each layer's bytes of one tile row make one whole
// cache line of the file. A tile of the highest building (256 layers) takes 64 KiB, which
// stays in the second-level cache.
inline constexpr std::size_t kTileColumns = 64;
inline constexpr std::size_t kTileRows = 4;

// Where a tile's cells are in the grid, and how many there are.
struct TileShape {
    std::size_t xStride = 0;
    std::size_t yStride = 0;
    std::size_t height = 0;
    std::size_t columns = 0;
    std::size_t rows = 0;
};

inline TileShape TileShapeOf(const BlockGrid& grid) {
    TileShape shape;
    shape.xStride = grid.Index(1, 0, 0);
    shape.yStride = grid.Index(0, 1, 0);
    shape.height = static_cast<std::size_t>(grid.Height());
    return shape;
}

}  // namespace stackmason
