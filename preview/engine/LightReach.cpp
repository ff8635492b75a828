#include "preview/engine/LightReach.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "preview/engine/MeshData.h"

namespace orbitscope {

void WorldBox::Add(const glm::vec3& point) {
    low = glm::min(low, point);
    high = glm::max(high, point);
}

void WorldBox::Add(const WorldBox& other) {
    if (other.IsEmpty())
        return;
    Add(other.low);
    Add(other.high);
}

WorldBox BoundsOf(const MeshData& mesh) {
    WorldBox box;
    for (const MeshQuad& quad : mesh.quads)
        for (const MeshVertex& corner : quad.corners)
            box.Add(corner.position);
    return box;
}

float FarthestDistance(const glm::vec3& point, const WorldBox& box) {
    if (box.IsEmpty())
        return 0.0f;
    const glm::vec3 reach = glm::max(glm::abs(point - box.low), glm::abs(point - box.high));
    return glm::length(reach);
}

float LightRangeInScene(float range, float constant, const glm::vec3& lightPosition, const WorldBox& scene,
                        float farthestShare) {
    if (constant != 0.0f || farthestShare >= 1.0f)
        return range;
    // The light fades linearly to nothing at the range: a point at distance d keeps 1 - d / range.
    return std::max(range, FarthestDistance(lightPosition, scene) / (1.0f - farthestShare));
}

}  // namespace orbitscope
