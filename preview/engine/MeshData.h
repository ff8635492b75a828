#pragma once

#include <array>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "preview/engine/CubeFaces.h"

namespace orbitscope {

struct MeshVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f};
};

// Four corners, counter-clockwise seen from the side the normal points to. Texture
// coordinate v grows downwards in the picture (v = 0 is its top row).
struct MeshQuad {
    std::array<MeshVertex, 4> corners;
    CubeFaceMask face = kNotACubeFace;
};

// A mesh as the engine keeps it before it reaches the graphics card: a list of quads.
struct MeshData {
    std::vector<MeshQuad> quads;
    // The edge of an axis-aligned cube centred on the origin whose quads are its six faces
    // (as MakeCube makes them); 0 for any other mesh. Static geometry merges such cubes.
    float cubeEdge = 0.0f;
};

// A cube of the given edge centred on its origin, one quad per face, each showing the whole
// texture upright (the top face with the picture's top towards -z).
MeshData MakeCube(float edge);

// A flat plane in y = 0 centred on the origin, sizeX along x by sizeZ along z, split into
// segmentsX x segmentsZ quads facing up; the texture is repeated repeatX times along x and
// repeatZ times along z.
MeshData MakePlane(float sizeX, float sizeZ, int segmentsX, int segmentsZ, float repeatX, float repeatZ);

}  // namespace orbitscope
