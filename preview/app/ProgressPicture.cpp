#include "preview/app/ProgressPicture.h"

#include <algorithm>

namespace orbitscope {

std::string GroupedNumber(std::int64_t n) { return std::to_string(n); }

stackmason::Image DrawProgressPicture(int width, int height, const ProgressView& view) {
    stackmason::Image picture(width, height, stackmason::Rgba{35, 36, 56, 255});
    const int filled = static_cast<int>(std::clamp(view.fraction, 0.0, 1.0) * width * 0.6);
    for (int y = height / 2; y < height / 2 + 24; ++y)
        for (int x = width / 5; x < width / 5 + filled; ++x)
            picture.SetPixel(x, y, stackmason::Rgba{200, 200, 220, 255});
    return picture;
}

}  // namespace orbitscope
