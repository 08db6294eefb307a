#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/constants.hpp>
#include <vector>

struct SceneObject;
struct LightSource;
struct Scene;
namespace platform {
class Audio;
}

// A uniformly distributed point on the sphere around `centre` (rejection method, gameRand()).
glm::vec3 randomPointOnSphere(const glm::vec3& centre, float radius);

// One light orb: rides on a planet, pulses, now and then hops to another planet, and is
// collected when the alien comes near.
struct OrbController {
    SceneObject* orb = nullptr;
    SceneObject* body = nullptr;  // the alien
    LightSource* light = nullptr;
    SceneObject* host = nullptr;
    SceneObject* nextHost = nullptr;
    glm::vec3 offset{0.0f};  // orb position minus host position
    bool active = true;
    bool hopping = false;
    float phase = glm::pi<float>();
    float glowFloor = 0.25f;
    float phaseSpeed = 0.0f;
    // Plays the chime on collection; null keeps the game silent.
    platform::Audio* audio = nullptr;

    void placeOnHost(SceneObject* planet);
    void stepOrb(float dt);
    void pulseStep(float dt);
    // The per-frame draw: 1 in 1000 starts a hop to a random planet of `planets`.
    void maybeHop(const std::vector<SceneObject*>& planets);
};

// One controller per light of the scene, in the order of its lights.
std::vector<OrbController*> createOrbControllers(Scene& scene, platform::Audio* audio);
