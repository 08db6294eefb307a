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

// The chance that an orb starts a hop within `dt` seconds of play: 33 in 32768 per 1/60 s,
// compounded over the step, so that an orb hops about every 16.5 s at any frame rate.
double hopChance(float dt);

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
    // The draw of each update: with hopChance(dt) a hop to a random planet of `planets` starts
    // (true).
    bool maybeHop(const std::vector<SceneObject*>& planets, float dt);
};

// One controller per light of the scene, in the order of its lights.
std::vector<OrbController*> createOrbControllers(Scene& scene, platform::Audio* audio);
