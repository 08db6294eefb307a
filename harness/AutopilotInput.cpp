#include "harness/AutopilotInput.h"

using platform::Key;

void AutopilotInput::beforeUpdate(const Scene& scene, const Player& player) {
    // The game's first update has no time step, so the bot sees a real step from the third.
    float lastDt = updates >= 2 ? static_cast<float>(step) : 0.0f;
    bot.drive(scene, player, scripted, lastDt);
    scripted.now += step;
    ++updates;
}

bool AutopilotInput::keyDown(Key key) const {
    bool fromWindow = key == Key::Escape || key == Key::F2 || key == Key::F5;
    return fromWindow ? window->keyDown(key) : scripted.keyDown(key);
}
