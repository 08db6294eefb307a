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

// Cursor motion since the previous frame: x turns the alien, y pitches the camera.
// `mouseX` and `mouseY` hold the position seen last and are updated.
void applyMouse(Player& player, CameraController& cameraController, int& mouseX, int& mouseY,
                const platform::Input& input, float dt, const MouseSettings& settings);

// "fyrel: N von " and the number of orbs.
std::string scoreLine(int remaining);

// Once every orb is taken the scene darkens a little each frame, without end.
void dimStep(LightBlock& block, int remaining);

// The lights as the scene set them up: each light's two colours and the scene's brightness.
struct LightStart {
    std::vector<std::pair<glm::vec4, glm::vec4>> colours;
    float brightness = 0.0f;
};
LightStart saveLights(const Scene& scene);
// Every light and orb as at the start: colours, brightness, and every orb visible.
void restoreLights(Scene& scene, const LightStart& start);
