#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace orbitscope {

// A free camera: a position and an orientation. In its own frame x points right, y up and
// it looks along -z. Angles are in degrees.
class Camera {
public:
    void MoveAbsolute(const glm::vec3& position) { position_ = position; }
    // Along the camera's own axes: x right, y up, -z forward.
    void MoveRelative(const glm::vec3& offset) { position_ += orientation_ * offset; }

    // Pitch about x, yaw about y, roll about z, applied roll first and yaw last.
    void RotateAbsolute(float pitch, float yaw, float roll);
    // Pitch about the camera's own x axis, yaw about the world's y axis (so that looking
    // round never tilts the horizon), roll about the viewing axis.
    void RotateRelative(float pitch, float yaw, float roll);
    // Faces target with the world's y axis as up. Nothing changes when the target is the
    // camera's own position.
    void LookAt(const glm::vec3& target);

    const glm::vec3& Position() const { return position_; }
    glm::vec3 Forward() const { return orientation_ * glm::vec3(0.0f, 0.0f, -1.0f); }
    glm::vec3 Right() const { return orientation_ * glm::vec3(1.0f, 0.0f, 0.0f); }
    glm::vec3 Up() const { return orientation_ * glm::vec3(0.0f, 1.0f, 0.0f); }
    glm::mat4 ViewMatrix() const;

private:
    glm::vec3 position_{0.0f};
    glm::quat orientation_{1.0f, 0.0f, 0.0f, 0.0f};
};

}  // namespace orbitscope
