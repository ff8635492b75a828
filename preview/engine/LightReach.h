#pragma once

#include <limits>

#include <glm/vec3.hpp>

namespace orbitscope {

struct MeshData;

// An axis-aligned box of world space; empty until a point is added.
struct WorldBox {
    glm::vec3 low{std::numeric_limits<float>::max()};
    glm::vec3 high{std::numeric_limits<float>::lowest()};

    bool IsEmpty() const { return low.x > high.x; }
    void Add(const glm::vec3& point);
    void Add(const WorldBox& other);
};

// The box round every vertex of mesh.
WorldBox BoundsOf(const MeshData& mesh);

// The distance from point to the corner of box farthest from it; 0 for an empty box.
float FarthestDistance(const glm::vec3& point, const WorldBox& box);

// The distance at which a light has faded to nothing. A light's range is fixed, except that
// constant attenuation 0 gives the light no falloff scale of its own: its range is then the
// least reach, stretched with the scene so that the scene's farthest point still receives
// farthestShare of the light. A scene that lies well within the range is lit exactly as the
// range says; a scene far larger than the range is lit as a small one is, instead of
// fading to nothing part way across.
float LightRangeInScene(float range, float constant, const glm::vec3& lightPosition, const WorldBox& scene,
                        float farthestShare);

}  // namespace orbitscope
