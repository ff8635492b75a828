#include "common/BlockGrid.h"

#include <algorithm>

namespace stackmason {

BlockGrid::BlockGrid(int width, int length, int height)
    : width_(std::max(width, 0)),
      length_(std::max(length, 0)),
      height_(std::max(height, 0)),
      cells_(static_cast<std::size_t>(width_ + 1) * (length_ + 1) * (height_ + 1), 0) {}

void BlockGrid::Clear() { std::fill(cells_.begin(), cells_.end(), 0); }

bool BlockGrid::Reshape(int width, int length, int height) {
    if (width < 0 || length < 0 || height < 0 ||
        static_cast<std::size_t>(width + 1) * (length + 1) * (height + 1) != cells_.size())
        return false;
    width_ = width;
    length_ = length;
    height_ = height;
    return true;
}

}  // namespace stackmason
