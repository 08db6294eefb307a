#include "harness/AutopilotInput.h"

#include <algorithm>

#include "app/Controls.h"

using platform::Key;

void AutopilotInput::beforeUpdate(const Scene& scene, const Player& player) {
    // The game's first update has no time step, so the bot sees a real step from the third.
    float lastDt = updates >= 2 ? static_cast<float>(step) : 0.0f;
    bot.drive(scene, player, scripted, lastDt);
    scripted.now += step;
    ++updates;
}

namespace {
// The bot walks and jumps; every other key stays the player's.
bool botKey(Key key) {
    constexpr Action kBotActions[] = {Action::WalkForward, Action::WalkBack, Action::WalkLeft,
                                      Action::WalkRight, Action::Jump};
    return std::any_of(std::begin(kBotActions), std::end(kBotActions), [key](Action action) {
        const Binding& binding = bindingOf(action);
        return std::find(binding.begin(), binding.end(), key) != binding.end();
    });
}
}  // namespace

bool AutopilotInput::keyDown(Key key) const {
    return botKey(key) ? scripted.keyDown(key) : window->keyDown(key);
}

bool AutopilotInput::keyPressed(Key key) const {
    return botKey(key) ? scripted.keyPressed(key) : window->keyPressed(key);
}
