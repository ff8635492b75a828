#pragma once

#include <cstdint>
#include <vector>

#include "common/Image.h"

// Encoders for the pack pictures. Both give the same bytes for the same picture on every run:
// no time stamps, no settings taken from the environment.
namespace packgen {

// An opaque picture is stored as RGB, one with any alpha below 255 as RGBA.
std::vector<std::uint8_t> EncodePng(const stackmason::Image& image);
// Baseline JPEG without chroma subsampling (small tiles would smear their colours); alpha is
// dropped. Empty on failure.
std::vector<std::uint8_t> EncodeJpeg(const stackmason::Image& image, int quality);

}  // namespace packgen
