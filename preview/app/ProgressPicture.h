#pragma once

#include <cstdint>
#include <string>

#include "common/Image.h"

namespace orbitscope {

std::string GroupedNumber(std::int64_t n);

struct ProgressView {
    std::string text;
    double fraction = 0.0;
};

stackmason::Image DrawProgressPicture(int width, int height, const ProgressView& view);

}  // namespace orbitscope
