#include "preview/engine/MeshData.h"

#include <algorithm>

#include <glm/geometric.hpp>

namespace orbitscope {
namespace {

struct FaceFrame {
    glm::vec3 normal;
    glm::vec3 up;  // where the picture's top points
    CubeFace face;
};

constexpr std::array<FaceFrame, 6> kCubeFaces{{
    {{1, 0, 0}, {0, 1, 0}, kFacePlusX},
    {{-1, 0, 0}, {0, 1, 0}, kFaceMinusX},
    {{0, 1, 0}, {0, 0, -1}, kFacePlusY},
    {{0, -1, 0}, {0, 0, 1}, kFaceMinusY},
    {{0, 0, 1}, {0, 1, 0}, kFacePlusZ},
    {{0, 0, -1}, {0, 1, 0}, kFaceMinusZ},
}};

MeshQuad CubeQuad(const FaceFrame& frame, float half) {
    // right x up = normal, so the corners below run counter-clockwise seen from outside.
    const glm::vec3 right = glm::cross(frame.up, frame.normal);
    constexpr std::array<glm::vec2, 4> kSigns{{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};
    MeshQuad quad;
    quad.face = frame.face;
    for (std::size_t i = 0; i < 4; ++i) {
        const glm::vec2 s = kSigns[i];
        quad.corners[i].position = half * (frame.normal + s.x * right + s.y * frame.up);
        quad.corners[i].normal = frame.normal;
        quad.corners[i].uv = {(s.x + 1.0f) / 2.0f, (1.0f - s.y) / 2.0f};
    }
    return quad;
}

}  // namespace

MeshData MakeCube(float edge) {
    MeshData mesh;
    for (const FaceFrame& frame : kCubeFaces)
        mesh.quads.push_back(CubeQuad(frame, edge / 2.0f));
    mesh.cubeEdge = edge > 0.0f ? edge : 0.0f;
    return mesh;
}

MeshData MakePlane(float sizeX, float sizeZ, int segmentsX, int segmentsZ, float repeatX, float repeatZ) {
    segmentsX = std::max(segmentsX, 1);
    segmentsZ = std::max(segmentsZ, 1);
    MeshData mesh;
    mesh.quads.reserve(static_cast<std::size_t>(segmentsX) * static_cast<std::size_t>(segmentsZ));
    auto corner = [&](int i, int k) {
        const float fx = static_cast<float>(i) / static_cast<float>(segmentsX);
        const float fz = static_cast<float>(k) / static_cast<float>(segmentsZ);
        return MeshVertex{{(fx - 0.5f) * sizeX, 0.0f, (fz - 0.5f) * sizeZ}, {0, 1, 0}, {fx * repeatX, fz * repeatZ}};
    };
    for (int k = 0; k < segmentsZ; ++k)
        for (int i = 0; i < segmentsX; ++i) {
            // Seen from above, +x is right and -z is up.
            MeshQuad quad;
            quad.corners = {corner(i, k + 1), corner(i + 1, k + 1), corner(i + 1, k), corner(i, k)};
            mesh.quads.push_back(quad);
        }
    return mesh;
}

}  // namespace orbitscope
