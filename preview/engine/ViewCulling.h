#pragma once

#include <array>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "preview/engine/CubeFaces.h"
#include "preview/engine/LightReach.h"

namespace orbitscope {

// The six planes of what a camera sees, taken from its view-projection matrix.
class ViewFrustum {
public:
    explicit ViewFrustum(const glm::mat4& viewProjection);
    // False only when the box lies wholly outside one of the planes; a box that the view
    // might show is always kept.
    bool MayShow(const WorldBox& box) const;

private:
    std::array<glm::vec4, 6> planes_;  // inside where dot(xyz, p) + w >= 0
};

// The face directions (CubeFace bits) of faces inside box that can turn their front to a
// camera at eye: a face looking along +x is seen only from beyond its plane, so from an eye
// with x above the box's low x.
CubeFaceMask FacingDirections(const WorldBox& box, const glm::vec3& eye);

}  // namespace orbitscope
