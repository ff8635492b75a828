#pragma once

#include <cstdint>
#include <span>

namespace orbitscope {

// The ground's grass picture: a 64 x 64 24-bit RGB PNG drawn at build time by
// tools/groundgen/GroundImageGenerator.cpp.
std::span<const std::uint8_t> GroundImagePng();

}  // namespace orbitscope
