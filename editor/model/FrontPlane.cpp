#include "editor/model/FrontPlane.h"

#include <algorithm>

namespace stackmason {

FrontPlane::FrontPlane(int length, int height)
    : length_(std::max(0, length)), height_(std::max(0, height)),
      cells_(static_cast<std::size_t>(length_ + 1) * (height_ + 1), 0) {}

}  // namespace stackmason
