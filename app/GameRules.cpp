#include "app/GameRules.h"

#include <tuple>

#include "Rendering/scene/Scene.h"
#include "app/CameraController.h"
#include "app/Controls.h"
#include "app/Movement.h"
#include "app/Player.h"
#include "platform/Input.h"

void applyKeyboard(Player& player, const platform::Input& input, float dt) {
    if (actionHeld(input, Action::WalkLeft)) player.rollInput -= kRollSpeed * dt;
    if (actionHeld(input, Action::WalkRight)) player.rollInput += kRollSpeed * dt;
    if (actionHeld(input, Action::WalkForward)) player.pitchInput += kWalkSpeed * dt;
    if (actionHeld(input, Action::WalkBack)) player.pitchInput -= kWalkSpeed * dt;
    if (actionHeld(input, Action::Jump) && !player.jumping && !player.transferring)
        player.jumping = true;
}

void applyMouse(Player& player, CameraController& cameraController, int& mouseX, int& mouseY,
                const platform::Input& input, float dt, const MouseSettings& settings) {
    int oldX = mouseX, oldY = mouseY;
    input.cursorPosition(mouseX, mouseY);
    float dx = static_cast<float>(oldX - mouseX);
    float dy = static_cast<float>(oldY - mouseY);
    if (settings.invertVertical) dy = -dy;
    // With the default sensitivity of exactly 1 the products are those without it, bit for bit.
    if (dx != 0.0f) player.yawInput += dx * settings.sensitivity * dt;
    if (dy != 0.0f) cameraController.cameraPitch += dy * settings.sensitivity * dt;
}

std::string scoreLine(int remaining) {
    return "fyrel: " + std::to_string(remaining) + " von " + std::to_string(kLightOrbCount);
}

void dimStep(LightBlock& block, int remaining) {
    if (remaining == 0) block.sceneBrightness() -= 0.001f;
}

LightStart saveLights(const Scene& scene) {
    LightStart start;
    for (const LightSource* light : scene.lights)
        start.colours.emplace_back(light->colorA, light->colorB);
    start.brightness = scene.lightBlock->sceneBrightness();
    return start;
}

void restoreLights(Scene& scene, const LightStart& start) {
    for (size_t i = 0; i < scene.lights.size(); ++i) {
        LightSource& light = *scene.lights[i];
        std::tie(light.colorA, light.colorB) = start.colours[i];
        light.object->visible = true;
    }
    scene.lightBlock->sceneBrightness() = start.brightness;
}
