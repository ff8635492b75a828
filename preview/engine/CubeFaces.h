#pragma once

#include <cstdint>

namespace orbitscope {

// The six faces of a cube as bits, so that a cube instance can say which of its faces are
// worth drawing. Directions are world directions.
using CubeFaceMask = std::uint8_t;

enum CubeFace : CubeFaceMask {
    kFacePlusX = 1u << 0,
    kFaceMinusX = 1u << 1,
    kFacePlusY = 1u << 2,   // top
    kFaceMinusY = 1u << 3,  // bottom
    kFacePlusZ = 1u << 4,
    kFaceMinusZ = 1u << 5,
};

inline constexpr CubeFaceMask kAllCubeFaces = 0x3F;
// Quads of meshes that are not cubes carry this tag and are drawn whatever the mask says.
inline constexpr CubeFaceMask kNotACubeFace = 0;

inline constexpr int CountFaces(CubeFaceMask mask) {
    int count = 0;
    for (; mask != 0; mask = static_cast<CubeFaceMask>(mask & (mask - 1)))
        ++count;
    return count;
}

}  // namespace orbitscope
