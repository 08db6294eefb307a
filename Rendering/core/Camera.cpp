#include "Rendering/core/Camera.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "Rendering/core/SceneObject.h"

namespace {
// Closest the wheel may bring the eye to the target: one zoom step in the scene, and far enough
// in front of the 0.5 near plane that the alien never gets clipped or the view degenerates.
constexpr float kMinWheelDistance = 3.0f;
// Farthest the wheel may push the eye, as a share of the far plane: the target and everything
// within that distance of it (the planets around it) stay in front of the far plane.
constexpr float kMaxWheelDistanceShare = 0.5f;
}  // namespace

void Camera::placeCamera(SceneObject* newTarget, float newDistance, float newPitch) {
    target = newTarget;
    distance = newDistance;
    pitch = newPitch;
    // The start height takes the pitch as radians although it is a degree value elsewhere;
    // followTarget replaces this eye in the first frame, so only the start view depends on it.
    eye = glm::vec3(0.0f, distance * std::sin(pitch), distance);
    aimCamera();
    view = glm::lookAt(eye, target->position, up);
}

void Camera::aimCamera() {
    glm::mat4 rotation = glm::rotate(glm::mat4(1.0f), glm::radians(pitch), target->right);
    up = glm::vec3(rotation * glm::vec4(target->up, 1.0f));
}

void Camera::followTarget(float p) {
    glm::mat4 rotation = glm::rotate(glm::mat4(1.0f), glm::radians(p), target->right);
    glm::vec3 direction = glm::vec3(rotation * glm::vec4(target->forward, 1.0f));
    up = glm::normalize(glm::cross(direction, target->right));
    eye = target->position - direction * distance;
    view = glm::lookAt(eye, target->position, up);
}

void Camera::applyWheel(int wheel) {
    if (wheel != lastWheel) {
        float wanted = wheel > lastWheel ? distance - zoomStep : distance + zoomStep;
        float farthest = farPlane * kMaxWheelDistanceShare;
        if (farthest > kMinWheelDistance) wanted = std::min(wanted, farthest);
        distance = std::max(wanted, kMinWheelDistance);
    }
    lastWheel = wheel;
}
