#pragma once

#include <glm/glm.hpp>
#include <vector>

struct SceneObject;

// Moves one planet on an ellipse around another planet.
struct Orbit {
    SceneObject* body = nullptr;
    SceneObject* centre = nullptr;
    // Shift of the ellipse's midpoint along axisA, as a share of radiusA.
    float centreShift = 0.0f;
    glm::vec3 axisA{0.0f};
    float radiusA = 0.0f;
    glm::vec3 axisB{0.0f};
    float radiusB = 0.0f;
    float angle = 0.0f;  // radians, kept within [0, 2π)
    float angularSpeed = 0.0f;
    // Columns axisA, axisA × axisB (normalised), axisB, and (0, 0, 0, 1).
    glm::mat4 basis{1.0f};

    void setAxes(const glm::vec3& a, const glm::vec3& b);
    void stepOrbit(float dt);
};

// The six orbits of the planet system, in the order they must be stepped (a planet's centre
// moves before the planet). `planets` needs the eight planets of the scene.
std::vector<Orbit*> createOrbits(const std::vector<SceneObject*>& planets);
