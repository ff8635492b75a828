#include "preview/engine/ViewCulling.h"

#include <glm/geometric.hpp>

namespace orbitscope {

ViewFrustum::ViewFrustum(const glm::mat4& viewProjection) {
    // Row i of the matrix; a clip-space point is inside where -w <= x, y, z <= w.
    auto row = [&](int i) {
        return glm::vec4(viewProjection[0][i], viewProjection[1][i], viewProjection[2][i], viewProjection[3][i]);
    };
    for (int axis = 0; axis < 3; ++axis) {
        planes_[static_cast<std::size_t>(2 * axis)] = row(3) + row(axis);
        planes_[static_cast<std::size_t>(2 * axis + 1)] = row(3) - row(axis);
    }
    // In world units, so that the slack below is a distance.
    for (glm::vec4& plane : planes_)
        plane /= glm::length(glm::vec3(plane));
}

bool ViewFrustum::MayShow(const WorldBox& box) const {
    if (box.IsEmpty())
        return false;
    for (const glm::vec4& plane : planes_) {
        // The box's corner farthest along the plane's normal.
        const glm::vec3 corner(plane.x >= 0.0f ? box.high.x : box.low.x, plane.y >= 0.0f ? box.high.y : box.low.y,
                               plane.z >= 0.0f ? box.high.z : box.low.z);
        // A little slack: rounding must not drop a box that touches the view.
        constexpr float kSlack = 0.01f;
        if (glm::dot(glm::vec3(plane), corner) + plane.w < -kSlack)
            return false;
    }
    return true;
}

CubeFaceMask FacingDirections(const WorldBox& box, const glm::vec3& eye) {
    CubeFaceMask faces = 0;
    if (eye.x > box.low.x) faces |= kFacePlusX;
    if (eye.x < box.high.x) faces |= kFaceMinusX;
    if (eye.y > box.low.y) faces |= kFacePlusY;
    if (eye.y < box.high.y) faces |= kFaceMinusY;
    if (eye.z > box.low.z) faces |= kFacePlusZ;
    if (eye.z < box.high.z) faces |= kFaceMinusZ;
    return faces;
}

}  // namespace orbitscope
