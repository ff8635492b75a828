#include "common/BlockGrid.h"

#include <algorithm>

namespace stackmason {

BlockGrid::BlockGrid(int width, int length, int height)
    : width_(std::max(width, 0)),
      length_(std::max(length, 0)),
      height_(std::max(height, 0)),
      cells_(static_cast<std::size_t>(width_ + 1) * (length_ + 1) * (height_ + 1), 0) {}

void BlockGrid::Clear() { std::fill(cells_.begin(), cells_.end(), 0); }

}  // namespace stackmason
