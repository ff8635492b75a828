#include "preview/engine/Camera.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace orbitscope {
namespace {

constexpr glm::vec3 kWorldUp{0.0f, 1.0f, 0.0f};

glm::quat Turn(float degrees, const glm::vec3& axis) { return glm::angleAxis(glm::radians(degrees), axis); }

}  // namespace

void Camera::RotateAbsolute(float pitch, float yaw, float roll) {
    orientation_ = Turn(yaw, kWorldUp) * Turn(pitch, {1, 0, 0}) * Turn(roll, {0, 0, 1});
}

void Camera::RotateRelative(float pitch, float yaw, float roll) {
    orientation_ = glm::normalize(Turn(yaw, kWorldUp) * orientation_ * Turn(pitch, {1, 0, 0}) * Turn(roll, {0, 0, 1}));
}

void Camera::LookAt(const glm::vec3& target) {
    const glm::vec3 offset = target - position_;
    const float distance = glm::length(offset);
    if (distance <= 0.0f)
        return;
    const glm::vec3 direction = offset / distance;
    // Straight up or down the world's up axis gives no horizon; the camera's top then
    // points along world -z, as if it had tilted there from looking along +z.
    const bool vertical = std::abs(glm::dot(direction, kWorldUp)) > 0.9999f;
    orientation_ = glm::quatLookAt(direction, vertical ? glm::vec3(0.0f, 0.0f, -direction.y) : kWorldUp);
}

glm::mat4 Camera::ViewMatrix() const {
    return glm::mat4_cast(glm::conjugate(orientation_)) * glm::translate(glm::mat4(1.0f), -position_);
}

}  // namespace orbitscope
