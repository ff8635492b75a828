#pragma once

#include <cstdint>
#include <vector>

#include "common/Image.h"

namespace stackmason::test {

// A picture whose pixel (x, y) has red = x, green = y, blue = 7 and alpha = 255, so that a
// cut or a scaled copy shows where each pixel came from.
Image CoordinateImage(int width, int height);

std::vector<std::uint8_t> EncodePng(const Image& image);
// Baseline JPEG of the picture's colours at quality 95.
std::vector<std::uint8_t> EncodeJpeg(const Image& image);
// Progressive JPEG of the picture's colours, as libjpeg's standard progression writes it at
// its default quality.
std::vector<std::uint8_t> EncodeProgressiveJpeg(const Image& image);

}  // namespace stackmason::test
