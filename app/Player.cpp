#include "app/Player.h"

#include <cmath>
#include <limits>

#include "app/Spheres.h"

glm::vec3 rotateAboutAxis(const glm::vec3& v, float angle, const glm::vec3& axis) {
    double half = angle * glm::pi<double>() / 180.0 * 0.5;
    glm::vec3 q = axis * static_cast<float>(std::sin(half));
    float w = static_cast<float>(std::cos(half));
    glm::vec3 qv = glm::cross(q, v);
    glm::vec3 turned = v + 2.0f * w * qv + 2.0f * glm::cross(q, qv);
    return turned / glm::length(turned);
}

void ObjectRotator::rotatePitch(float angle, const glm::vec3& axis) {
    object->up = rotateAboutAxis(object->up, angle, axis);
    object->forward = glm::normalize(glm::cross(object->right, object->up));
}

void ObjectRotator::rotateRoll(float angle, const glm::vec3& axis) {
    object->up = rotateAboutAxis(object->up, angle, axis);
    object->right = glm::normalize(glm::cross(object->up, object->forward));
}

void ObjectRotator::rotateYaw(float angle, const glm::vec3& axis) {
    object->forward = rotateAboutAxis(object->forward, angle, axis);
    object->right = glm::normalize(glm::cross(object->up, object->forward));
}

Player::Player(SceneObject* body_) : body(body_), rotator(new ObjectRotator{body_}) {}

Player::~Player() {
    delete rotator;
}

void Player::stepPlayer(float dt) {
    // Turns asked for during a transfer are dropped, not saved for after the landing.
    if (pitchInput != 0.0f) {
        if (!transferring) rotator->rotatePitch(pitchInput, body->right);
        pitchInput = 0.0f;
    }
    if (yawInput != 0.0f) {
        if (!transferring) rotator->rotateYaw(yawInput, body->up);
        yawInput = 0.0f;
    }
    if (rollInput != 0.0f) {
        if (!transferring) rotator->rotateRoll(rollInput, body->forward);
        rollInput = 0.0f;
    }
    if (jumping) {
        jumpStep(dt);
        captureStep();
    }
    if (transferring) transferStep(dt);

    float r = sphereRadius(planet) + altitude;
    glm::vec3 direction = transferring ? -savedUp : body->up;
    body->position = planet->position + r * direction;
}

void Player::jumpStep(float dt) {
    altitude = stepJumpPhase(jumpPhase, planetRadius, dt);
    if (altitude == 0.0f) {
        jumping = false;
        jumpPhase = kJumpStartPhase;
    }
}

void Player::captureStep() {
    float best = std::numeric_limits<float>::max();
    SceneObject* found = nullptr;
    for (SceneObject* candidate : *planets) {
        if (candidate == planet) continue;
        float radius = sphereRadius(candidate);
        float surface = glm::length(body->position - candidate->position) - radius;
        // Strictly nearer, so on a tie the earlier planet of the list keeps the catch.
        if (surface < best && surface < radius) {
            best = surface;
            found = candidate;
        }
    }
    if (!found) return;
    planet = found;
    planetRadius = sphereRadius(found);
    altitude = best;
    jumping = false;
    jumpPhase = kJumpStartPhase;
    transferring = true;
    descentSpeed = best / transferTime;
    savedUp = body->up;
    savedRight = body->right;
    savedForward = body->forward;
}

void Player::transferStep(float dt) {
    // A planet that overlaps the alien's old one can catch it below its surface (negative
    // altitude); the alien then rises to the surface over the same second instead of sinking.
    // Stopping at 0 from either side keeps that flight, and its half turn, a whole second long.
    altitude -= descentSpeed * dt;
    if (descentSpeed >= 0.0f ? altitude <= 0.0f : altitude >= 0.0f) altitude = 0.0f;
    // Each frame turns afresh from the axes of the capture, so the turn never drifts.
    body->up = savedUp;
    body->right = savedRight;
    body->forward = savedForward;
    transferAngle += dt * 180.0f / transferTime;
    if (transferAngle > 180.0f) transferAngle = 180.0f;
    rotator->rotateYaw(transferAngle, body->up);
    rotator->rotatePitch(transferAngle, body->right);
    if (altitude == 0.0f) {
        transferring = false;
        transferAngle = 0.0f;
    }
}
