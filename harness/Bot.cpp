#include "harness/Bot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Rendering/scene/Scene.h"
#include "app/Controls.h"
#include "app/Movement.h"
#include "app/Player.h"
#include "app/Spheres.h"
#include "harness/ScriptedInput.h"

namespace {
// A pair counts as "within reach" for route planning only with this much to spare, so that
// brief grazes do not make a route look better than it is.
constexpr float kPlanningSlack = 2.0f;
// A predicted catch must clear the capture limit by this much before the bot trusts it.
constexpr float kCatchSlack = 0.3f;
// Walking starts only when the alien faces the goal this closely (degrees); the rest of the
// turn is made in the same frame.
constexpr float kFacing = 30.0f;
// Where the planet under the jump will be about halfway up.
constexpr float kLeadTime = 0.3f;
constexpr float kUnreachable = 1.0e6f;

float degrees(float radians) {
    return radians * 180.0f / glm::pi<float>();
}

// Angle in degrees from `forward` to the tangent direction towards `goal`, about `up`, and the
// arc in degrees from `up` to `goal`.
void bearing(const glm::vec3& up, const glm::vec3& forward, const glm::vec3& goal, float& turn,
             float& arc) {
    arc = degrees(std::acos(std::clamp(glm::dot(up, goal), -1.0f, 1.0f)));
    glm::vec3 tangent = goal - glm::dot(goal, up) * up;
    if (glm::length(tangent) < 1e-6f) {
        turn = 0.0f;  // straight above (nothing to do) or straight below (any way will do)
        return;
    }
    tangent = glm::normalize(tangent);
    turn =
        degrees(std::atan2(glm::dot(glm::cross(forward, tangent), up), glm::dot(forward, tangent)));
}
}  // namespace

void Bot::observe(const std::vector<SceneObject*>& planets, float lastDt) {
    size_t n = planets.size();
    if (tracks.size() != n) {
        tracks.assign(n, Track{});
        reachSeconds.assign(n * n, 0.0);
        watched = 0.0;
    }
    // A zero step (the first update) shows nothing new; it would spoil the speed estimate.
    bool fresh = lastDt > 0.0f;
    for (size_t i = 0; i < n; ++i) {
        Track& t = tracks[i];
        if (t.samples > 0 && !fresh) {
            t.position[0] = planets[i]->position;
            continue;
        }
        t.position[2] = t.position[1];
        t.position[1] = t.position[0];
        t.position[0] = planets[i]->position;
        t.step[1] = t.step[0];
        t.step[0] = lastDt;
        t.samples = std::min(t.samples + 1, 3);
    }
    if (!fresh) return;
    watched += lastDt;
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            float reach = 2.0f * (sphereRadius(planets[i]) + sphereRadius(planets[j]));
            if (glm::length(planets[i]->position - planets[j]->position) < reach - kPlanningSlack) {
                reachSeconds[i * n + j] += lastDt;
                reachSeconds[j * n + i] += lastDt;
            }
        }
    }
}

glm::vec3 Bot::predict(int planet, float t) const {
    const Track& track = tracks[planet];
    glm::vec3 p = track.position[0];
    if (track.samples < 2 || track.step[0] <= 0.0f) return p;
    glm::vec3 velocity = (track.position[0] - track.position[1]) / track.step[0];
    if (track.samples < 3 || track.step[1] <= 0.0f) return p + velocity * t;
    glm::vec3 before = (track.position[1] - track.position[2]) / track.step[1];
    glm::vec3 acceleration = (velocity - before) / (0.5f * (track.step[0] + track.step[1]));
    // The difference quotient belongs to the middle of the last step.
    velocity += acceleration * (0.5f * track.step[0]);
    return p + velocity * t + 0.5f * acceleration * t * t;
}

float Bot::edgeCost(int a, int b) const {
    size_t n = tracks.size();
    // Until enough has been seen every pair looks equally (and rather rarely) within reach.
    constexpr double kPriorSeconds = 2.0, kPriorShare = 0.1;
    double share =
        (reachSeconds[a * n + b] + kPriorSeconds * kPriorShare) / (watched + kPriorSeconds);
    if (share < 0.01) return kUnreachable;
    // Walking, jumping and the transfer take about 2 s; the wait grows as the windows thin out.
    return static_cast<float>(1.5 + 0.8 / share);
}

std::vector<float> Bot::costsTo(int goal, int count) const {
    std::vector<float> cost(count, std::numeric_limits<float>::max());
    std::vector<bool> done(count, false);
    cost[goal] = 0.0f;
    for (int round = 0; round < count; ++round) {
        int next = -1;
        for (int i = 0; i < count; ++i)
            if (!done[i] && (next < 0 || cost[i] < cost[next])) next = i;
        done[next] = true;
        for (int i = 0; i < count; ++i)
            if (!done[i]) cost[i] = std::min(cost[i], cost[next] + edgeCost(next, i));
    }
    return cost;
}

// Replays a jump started now, frame by frame as the update runs it: each frame first moves
// the jump, then tests the catch with the alien where the previous frame put it, then places
// the alien on its planet; the planets move after that. Returns the planet that would catch
// the alien (with kCatchSlack to spare), or -1.
int Bot::predictCapture(const std::vector<SceneObject*>& planets, int current,
                        const SceneObject& alien, const glm::vec3& goal, bool walking,
                        float dt) const {
    int n = static_cast<int>(planets.size());
    float radius = sphereRadius(planets[current]);
    glm::vec3 up = alien.up;
    glm::vec3 placed = alien.position;
    glm::vec3 axis = glm::cross(up, goal);
    float arc = degrees(std::acos(std::clamp(glm::dot(up, goal), -1.0f, 1.0f)));
    bool turning = walking && glm::length(axis) > 1e-6f;
    if (turning) axis = glm::normalize(axis);
    float phase = kJumpStartPhase;
    int frames = static_cast<int>(std::ceil(kJumpStartPhase / kJumpSpeed / dt)) + 2;
    for (int j = 0; j <= frames; ++j) {
        float altitude = stepJumpPhase(phase, radius, dt);
        float t = j * dt;
        float best = std::numeric_limits<float>::max();
        int found = -1;
        float foundRadius = 0.0f;
        for (int i = 0; i < n; ++i) {
            if (i == current) continue;
            float r = sphereRadius(planets[i]);
            float surface = glm::length(placed - predict(i, t)) - r;
            if (surface < best && surface < r) {
                best = surface;
                found = i;
                foundRadius = r;
            }
        }
        // A bare graze may or may not happen in the real jump; a later, deeper frame decides.
        if (found >= 0 && best < foundRadius - kCatchSlack) return found;
        if (altitude == 0.0f) return -1;
        glm::vec3 u =
            turning ? rotateAboutAxis(up, std::min((j + 1) * kWalkSpeed * dt, arc), axis) : up;
        placed = predict(current, t) + (radius + altitude) * u;
    }
    return -1;
}

void Bot::drive(const Scene& scene, const Player& player, ScriptedInput& input, float lastDt) {
    const std::vector<SceneObject*>& planets = scene.planets;
    int n = static_cast<int>(planets.size());
    observe(planets, lastDt);
    for (bool& key : input.keys) key = false;
    // Nothing steers a transfer, and without a known frame length no turn can be sized.
    if (player.transferring || lastDt <= 0.0f) return;
    int current = static_cast<int>(std::find(planets.begin(), planets.end(), player.planet) -
                                   planets.begin());
    if (current == n) return;
    const SceneObject& alien = *scene.alien;

    // Which planet each visible orb floats over: it sits one orb diameter above its host.
    int orbCount = static_cast<int>(scene.lightOrbs.size());
    std::vector<int> hostOf(orbCount, -1);
    for (int k = 0; k < orbCount; ++k) {
        const SceneObject* orb = scene.lightOrbs[k];
        if (!orb->visible) continue;
        float height = 2.0f * sphereRadius(orb);
        float miss = std::numeric_limits<float>::max();
        for (int i = 0; i < n; ++i) {
            float d = std::fabs(glm::length(orb->position - planets[i]->position) -
                                (sphereRadius(planets[i]) + height));
            if (d < miss) miss = d, hostOf[k] = i;
        }
    }

    std::vector<std::vector<float>> routes(n);
    auto routeTo = [&](int goal) -> const std::vector<float>& {
        if (routes[goal].empty()) routes[goal] = costsTo(goal, n);
        return routes[goal];
    };
    glm::vec3 centre = planets[current]->position;
    auto orbCost = [&](int k) {
        glm::vec3 toOrb = glm::normalize(scene.lightOrbs[k]->position - centre);
        if (hostOf[k] == current)
            return degrees(std::acos(std::clamp(glm::dot(alien.up, toOrb), -1.0f, 1.0f))) /
                   kWalkSpeed;
        return routeTo(hostOf[k])[current] + 1.0f;  // about a second of walking on arrival
    };
    int best = -1;
    float bestCost = 0.0f;
    for (int k = 0; k < orbCount; ++k) {
        if (hostOf[k] < 0) continue;
        float c = orbCost(k);
        if (best < 0 || c < bestCost) best = k, bestCost = c;
    }
    if (best < 0) {
        target = -1;
        return;  // all collected
    }
    // Stay with the chosen orb unless another one is clearly quicker, so the alien does not
    // dither between two goals.
    if (target < 0 || hostOf[target] < 0 || orbCost(target) > bestCost + 1.0f) target = best;
    int goalPlanet = hostOf[target];

    // Where to walk: to the orb, or under the next planet of the route.
    glm::vec3 goal;
    if (goalPlanet == current) {
        goal = glm::normalize(scene.lightOrbs[target]->position - centre);
    } else {
        const std::vector<float>& cost = routeTo(goalPlanet);
        int via = goalPlanet;
        float viaCost = std::numeric_limits<float>::max();
        for (int i = 0; i < n; ++i) {
            if (i == current) continue;
            float c = edgeCost(current, i) + cost[i];
            if (c < viaCost) viaCost = c, via = i;
        }
        goal = glm::normalize(predict(via, kLeadTime) - predict(current, kLeadTime));
    }

    float turn = 0.0f, arc = 0.0f;
    bearing(alien.up, alien.forward, goal, turn, arc);
    // yawInput grows by (previous x - current x) * dt.
    input.cursorX -= static_cast<int>(std::lround(turn / lastDt));
    float stride = kWalkSpeed * lastDt;
    bool walking =
        std::fabs(turn) < kFacing && arc > (goalPlanet == current ? 0.5f : 0.75f * stride);
    input.press(bindingOf(Action::WalkForward).keys[0], walking);

    if (goalPlanet != current && !player.jumping) {
        int landing = predictCapture(planets, current, alien, goal, walking, lastDt);
        if (landing >= 0) {
            const std::vector<float>& cost = routeTo(goalPlanet);
            if (landing == goalPlanet || cost[landing] < cost[current] - 0.5f)
                input.press(bindingOf(Action::Jump).keys[0]);
        }
    }
}
