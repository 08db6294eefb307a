#include "app/OrbController.h"

#include <cmath>

#include "Rendering/scene/SceneryCreator.h"
#include "app/Random.h"
#include "app/Spheres.h"
#include "platform/Audio.h"

namespace {
constexpr float kReach = 3.0f;
// The first release drew rand() % 1000 == 0 (33 of 32768 values) once a frame, at 60 frames a
// second.
constexpr double kHopChancePerSixtieth = 33.0 / 32768.0;
}  // namespace

double hopChance(float dt) {
    // 1 - (1 - p)^(60 dt), without the rounding of 1 - p.
    return -std::expm1(60.0 * dt * std::log1p(-kHopChancePerSixtieth));
}

glm::vec3 randomPointOnSphere(const glm::vec3& centre, float radius) {
    float x1 = 1.0f, x2 = 1.0f;
    while (x1 * x1 + x2 * x2 >= 1.0f) {
        x1 = 2.0f * gameRand() / 32767.0f - 1.0f;
        x2 = 2.0f * gameRand() / 32767.0f - 1.0f;
    }
    float q = x1 * x1 + x2 * x2;
    float s = std::sqrt(1.0f - q);
    return centre + radius * glm::vec3(2.0f * x1 * s, 2.0f * x2 * s, 1.0f - 2.0f * q);
}

void OrbController::placeOnHost(SceneObject* planet) {
    host = planet;
    // One orb diameter above the surface.
    float r = sphereRadius(planet) + 2.0f * sphereRadius(orb);
    glm::vec3 p = randomPointOnSphere(planet->position, r);
    orb->position = p;
    offset = p - planet->position;
}

void OrbController::stepOrb(float dt) {
    // Collected orbs ride along too, invisible.
    if (host) orb->position = host->position + offset;
    if (!active) return;
    if (glm::length(orb->position - body->position) < kReach) {
        orb->visible = false;
        light->colorA = glm::vec4(0.0f);
        light->colorB = glm::vec4(0.0f);
        active = false;
        if (audio) audio->playChime();
    }
    pulseStep(dt);
}

void OrbController::pulseStep(float dt) {
    phase -= phaseSpeed * dt;
    if (phase <= 0.0f) phase = 0.0f;
    float base = hopping ? 0.0f : glowFloor;
    float v = std::sin(phase) + base;
    if (v >= 1.0f) v = 1.0f;
    // Only a phase run out to 0 lands exactly on the base: the cycle (or the fade) is over.
    if (v == base) {
        phase = glm::pi<float>();
        if (hopping) {
            placeOnHost(nextHost);
            nextHost = nullptr;
            hopping = false;
        }
    }
    light->colorA.w = v;
    light->colorB.w = v;
}

bool OrbController::maybeHop(const std::vector<SceneObject*>& planets, float dt) {
    if (gameFineFraction() >= hopChance(dt)) return false;
    nextHost = planets[static_cast<unsigned>(gameRand()) % planets.size()];
    hopping = true;
    return true;
}

std::vector<OrbController*> createOrbControllers(Scene& scene, platform::Audio* audio) {
    std::vector<OrbController*> orbs;
    for (LightSource* source : scene.lights) {
        OrbController* c = new OrbController;
        c->orb = source->object;
        c->light = source;
        c->audio = audio;
        c->phaseSpeed = gameFraction() * 0.5f + 0.4f;
        c->phase = glm::pi<float>();
        c->glowFloor = 0.25f;
        c->placeOnHost(scene.planets[static_cast<unsigned>(gameRand()) % scene.planets.size()]);
        c->body = scene.alien;
        orbs.push_back(c);
    }
    return orbs;
}
