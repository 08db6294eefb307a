#pragma once

#include <glm/glm.hpp>
#include <vector>

struct Scene;
struct Player;
struct SceneObject;
class ScriptedInput;

// An autopilot that plays the game for tests. It looks at the scene the way a player looks at
// the screen (planets, visible orbs, the alien, the planet it stands on, whether it is in the
// air or in flight) and answers only with what a player could do: the W and Space keys and
// sideways cursor motion. It only reads the scene and the player.
//
// Its plan, redone every frame because the planets never stop moving: pick the orb that looks
// quickest to reach; on the alien's planet, turn towards it and walk; on another planet, walk
// to the point of the current planet under the next planet of the route and jump once a
// look-ahead of the jump (planets extrapolated from their last three positions) says that the
// jump ends on a planet nearer the goal. Routes come from how often it has seen each pair of
// planets within jumping reach of each other.
class Bot {
  public:
    // Once before every update. `lastDt` is the time step of the previous update (0 before the
    // first one); the bot expects the coming step to last as long.
    void drive(const Scene& scene, const Player& player, ScriptedInput& input, float lastDt);

  private:
    struct Track {
        glm::vec3 position[3];
        float step[2] = {0.0f, 0.0f};
        int samples = 0;
    };

    std::vector<Track> tracks;
    // Seconds each pair of planets was seen within reach, out of `watched` seconds.
    std::vector<double> reachSeconds;
    double watched = 0.0;
    int target = -1;  // index into the scene's orbs

    void observe(const std::vector<SceneObject*>& planets, float lastDt);
    glm::vec3 predict(int planet, float t) const;
    float edgeCost(int a, int b) const;
    std::vector<float> costsTo(int goal, int count) const;
    int predictCapture(const std::vector<SceneObject*>& planets, int current,
                       const SceneObject& alien, const glm::vec3& goal, bool walking,
                       float dt) const;
};
