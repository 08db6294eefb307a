#pragma once

#include <glm/glm.hpp>

struct SceneObject;

// Chase camera behind a target object, pitched about the target's right axis.
struct Camera {
    SceneObject* target = nullptr;
    float distance = 0.0f;
    float pitch = 0.0f;
    glm::vec3 eye{0.0f};
    glm::mat4 view{1.0f};
    glm::vec3 up{0.0f};
    int lastWheel = 0;
    float zoomStep = 0.0f;
    float fovy = 0.0f;
    float aspect = 0.0f;
    float nearPlane = 0.0f;
    float farPlane = 0.0f;

    void placeCamera(SceneObject* target, float distance, float pitch);
    void aimCamera();
    void followTarget(float pitch);
    // One zoom step per notch the wheel moved since the last call, however the notches fall
    // into frames.
    void applyWheel(int wheel);
};
