#pragma once

#include <cmath>
#include <glm/gtc/constants.hpp>

// How the alien moves. The player's update and the bot's look-ahead of a jump both use these,
// so that what the bot foresees is what the game then does.

// Degrees of arc per second with W or S held, on any planet.
constexpr float kWalkSpeed = 80.0f;
// Degrees per second with A or D held.
constexpr float kRollSpeed = 50.0f;
// Degrees the alien turns, and the camera tilts, per pixel of mouse motion at sensitivity 1:
// what the first release gave at 60 frames a second, where it scaled the motion by the frame's
// length.
constexpr float kMouseDegreesPerPixel = 1.0f / 60.0f;
// A jump's phase runs from pi down to 0 at this many radians per second; its altitude is the
// sine of the phase times the planet's radius.
constexpr float kJumpSpeed = 5.0f;
constexpr float kJumpStartPhase = glm::pi<float>();

// One frame of a jump: returns this frame's altitude, then moves the phase on by `dt`, stopping
// at 0. Only sin(0) is exactly 0, so the jump ends in the frame after the phase ran out.
inline float stepJumpPhase(float& phase, float planetRadius, float dt) {
    const float altitude = std::sin(phase) * planetRadius;
    phase -= kJumpSpeed * dt;
    if (phase <= 0.0f) phase = 0.0f;
    return altitude;
}
