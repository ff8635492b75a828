#pragma once

#include <cstdint>
#include <vector>

namespace stackmason {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// An RGBA picture, rows top to bottom. A default-constructed image is empty (0 x 0).
class Image {
public:
    Image() = default;
    // A width x height picture of transparent black.
    Image(int width, int height);
    Image(int width, int height, Rgba fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return width_ == 0 || height_ == 0; }

    Rgba Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void SetPixel(int x, int y, Rgba colour) { pixels_[static_cast<std::size_t>(y) * width_ + x] = colour; }

    const std::vector<Rgba>& Pixels() const { return pixels_; }
    std::vector<Rgba>& Pixels() { return pixels_; }

    friend bool operator==(const Image&, const Image&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

// The rectangle at (x, y) of width x height cut out of source. Parts of the rectangle that
// lie outside the source stay transparent black.
Image CutRect(const Image& source, int x, int y, int width, int height);

// Source scaled to width x height by taking the nearest source pixel (no smoothing).
// An empty source gives a transparent picture of the requested size.
Image ScaleNearest(const Image& source, int width, int height);

// The face a block image shows: an image six times as wide as high is a strip of six
// square faces and gives its leftmost square; any other image is one face as a whole.
Image LeftmostFace(const Image& source);

// What both programs show for a pack picture that was left out: a side x side checkerboard
// of eight by eight squares, magenta and black, magenta at the top-left. Nothing in a block
// pack looks like it, so the user sees at once that the picture is missing.
Image MissingPicture(int side);

}  // namespace stackmason
