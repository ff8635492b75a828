#include "common/Image.h"

#include <algorithm>

namespace stackmason {

Image::Image(int width, int height) : Image(width, height, Rgba{}) {}

Image::Image(int width, int height, Rgba fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

Image CutRect(const Image& source, int x, int y, int width, int height) {
    Image cut(width, height);
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + cut.Width(), source.Width());
    const int y1 = std::min(y + cut.Height(), source.Height());
    for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx)
            cut.SetPixel(sx - x, sy - y, source.Pixel(sx, sy));
    return cut;
}

Image ScaleNearest(const Image& source, int width, int height) {
    Image scaled(width, height);
    if (source.IsEmpty())
        return scaled;
    for (int y = 0; y < scaled.Height(); ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * source.Height() / scaled.Height());
        for (int x = 0; x < scaled.Width(); ++x) {
            const int sx = static_cast<int>(static_cast<long long>(x) * source.Width() / scaled.Width());
            scaled.SetPixel(x, y, source.Pixel(sx, sy));
        }
    }
    return scaled;
}

Image LeftmostFace(const Image& source) {
    const bool isStrip = source.Width() == 6 * source.Height();
    const int faceWidth = isStrip ? source.Width() / 6 : source.Width();
    return CutRect(source, 0, 0, faceWidth, source.Height());
}

Image MissingPicture(int side) {
    constexpr int kSquares = 8;
    constexpr Rgba kMagenta{255, 0, 255, 255};
    constexpr Rgba kBlack{0, 0, 0, 255};
    Image picture(side, side);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, (x * kSquares / side + y * kSquares / side) % 2 == 0 ? kMagenta : kBlack);
    return picture;
}

}  // namespace stackmason
