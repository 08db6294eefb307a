#pragma once

#include <glm/glm.hpp>
#include <vector>

#include "app/Movement.h"

struct SceneObject;

// v turned by `angle` degrees about the unit `axis` (right-hand rule), returned normalised.
glm::vec3 rotateAboutAxis(const glm::vec3& v, float angle, const glm::vec3& axis);

// Turns a scene object's axes and keeps them orthonormal. Callers pass the object's own
// matching axis: `right` for pitch, `forward` for roll, `up` for yaw.
struct ObjectRotator {
    SceneObject* object = nullptr;

    void rotatePitch(float angle, const glm::vec3& axis);
    void rotateRoll(float angle, const glm::vec3& axis);
    void rotateYaw(float angle, const glm::vec3& axis);
};

// The alien walking on a planet: its position is always the planet's centre plus its up axis
// (the reversed saved up during a transfer) times the planet radius plus the altitude.
struct Player {
    explicit Player(SceneObject* body);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    SceneObject* body = nullptr;
    SceneObject* planet = nullptr;
    ObjectRotator* rotator = nullptr;
    // Pending turns in degrees, consumed by the next stepPlayer.
    float pitchInput = 0.0f;
    float yawInput = 0.0f;
    float rollInput = 0.0f;
    bool jumping = false;
    bool transferring = false;
    float planetRadius = 0.0f;
    float transferTime = 1.0f;
    float jumpPhase = kJumpStartPhase;
    float altitude = 0.0f;
    float descentSpeed = 0.0f;
    const std::vector<SceneObject*>* planets = nullptr;
    // The axes at the moment of capture; the transfer turns from them.
    glm::vec3 savedUp{0.0f};
    glm::vec3 savedRight{0.0f};
    glm::vec3 savedForward{0.0f};
    float transferAngle = 0.0f;

    void stepPlayer(float dt);
    void jumpStep(float dt);
    void captureStep();
    void transferStep(float dt);
};
