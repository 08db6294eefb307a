#include "app/Orbit.h"

#include <cmath>
#include <glm/gtc/constants.hpp>

#include "Rendering/core/SceneObject.h"

void Orbit::setAxes(const glm::vec3& a, const glm::vec3& b) {
    radiusA = glm::length(a);
    axisA = a / radiusA;
    radiusB = glm::length(b);
    axisB = b / radiusB;
    glm::vec3 n = glm::normalize(glm::cross(axisA, axisB));
    basis = glm::mat4(glm::vec4(axisA, 0.0f), glm::vec4(n, 0.0f), glm::vec4(axisB, 0.0f),
                      glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}

void Orbit::stepOrbit(float dt) {
    glm::vec3 middle = centre->position + centreShift * radiusA * axisA;
    angle += angularSpeed * dt;
    // Whole turns only, so the planet goes on from the same point of its ellipse.
    if (angle >= glm::two_pi<float>()) angle = std::fmod(angle, glm::two_pi<float>());
    glm::vec4 p(radiusA * std::cos(angle), radiusB * std::sin(angle), 1.0f, 1.0f);
    // Row vector times the basis: one dot product per column.
    glm::vec4 o = p * basis;
    body->position = middle + glm::vec3(o) / o.w;
}

std::vector<Orbit*> createOrbits(const std::vector<SceneObject*>& planets) {
    struct Row {
        int body, centre;
        glm::vec3 a, b;
        float shift, speed;
    };
    static const Row rows[] = {
        {1, 0, {120, 0, 0}, {0, 0, 30}, 0.3f, 0.5f}, {2, 1, {90, 0, 0}, {0, 0, 20}, -0.5f, 0.8f},
        {3, 0, {0, 0, 80}, {40, 0, 0}, -0.3f, 0.6f}, {4, 2, {0, 0, 50}, {0, 35, 0}, 0.6f, 0.4f},
        {5, 2, {60, 0, 0}, {0, 40, 0}, -0.5f, 0.9f}, {6, 3, {0, 60, 0}, {25, 0, 0}, 1.0f, 0.6f},
    };
    std::vector<SceneObject*> list = planets;
    std::vector<Orbit*> orbits;
    for (const Row& row : rows) {
        Orbit* orbit = new Orbit;
        orbit->body = list[row.body];
        orbit->centre = list[row.centre];
        orbit->centreShift = row.shift;
        orbit->angularSpeed = row.speed;
        orbit->angle = 0.0f;
        orbit->basis = glm::mat4(1.0f);
        orbit->setAxes(row.a, row.b);
        orbits.push_back(orbit);
    }
    return orbits;
}
