#pragma once

#include <glm/glm.hpp>
#include <string>
#include <utility>
#include <vector>

struct Player;
struct CameraController;
struct LightBlock;
struct Scene;
namespace platform {
class Input;
}

// Held keys turn into pending turns and the jump: A, D, W, S, Space, read in this order.
void applyKeyboard(Player& player, const platform::Input& input, float dt);

// How the player likes mouse looking.
struct MouseSettings {
    // Multiplies both axes, turning and camera tilt.
    float sensitivity = 1.0f;
    // Turns the camera tilt around.
    bool invertVertical = false;
};

// Cursor motion since the previous frame: x turns the alien, y pitches the camera, by
// kMouseDegreesPerPixel times the sensitivity however long the frame took. `mouseX` and `mouseY`
// hold the position seen last and are updated.
void applyMouse(Player& player, CameraController& cameraController, int& mouseX, int& mouseY,
                const platform::Input& input, const MouseSettings& settings);

// "fyrel: N von " and the number of orbs.
std::string scoreLine(int remaining);

// Brightness the scene loses per second once every orb is taken, without end: from 0.3 it is
// dark after 5 s.
constexpr float kDimmingPerSecond = 0.06f;
void dimStep(LightBlock& block, int remaining, float dt);

// The lights as the scene set them up: each light's two colours and the scene's brightness.
struct LightStart {
    std::vector<std::pair<glm::vec4, glm::vec4>> colours;
    float brightness = 0.0f;
};
LightStart saveLights(const Scene& scene);
// Every light and orb as at the start: colours, brightness, and every orb visible.
void restoreLights(Scene& scene, const LightStart& start);
