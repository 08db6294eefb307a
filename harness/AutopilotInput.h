#pragma once

#include "harness/Bot.h"
#include "harness/ScriptedInput.h"
#include "platform/Input.h"

struct Scene;
struct Player;

// Lets the bot play the real game (demo, soak, sanitizer runs). The game reads this input:
// movement keys, cursor and wheel come from the bot and the clock advances by a fixed step per
// update, while the other keys, the window and framebuffer sizes and whether the window is
// iconified still come from the window.
class AutopilotInput : public platform::Input {
  public:
    AutopilotInput(platform::Input* window, double step) : window(window), step(step) {}

    // Once per update, before the game reads its input.
    void beforeUpdate(const Scene& scene, const Player& player);

    bool keyDown(platform::Key key) const override;
    bool keyPressed(platform::Key key) const override;
    void cursorPosition(int& x, int& y) const override { scripted.cursorPosition(x, y); }
    int wheelPosition() const override { return scripted.wheelPosition(); }
    void windowSize(int& width, int& height) const override { window->windowSize(width, height); }
    void framebufferSize(int& width, int& height) const override {
        window->framebufferSize(width, height);
    }
    bool iconified() const override { return window->iconified(); }
    double time() const override { return scripted.time(); }

  private:
    platform::Input* window;
    double step;
    long updates = 0;
    ScriptedInput scripted;
    Bot bot;
};
