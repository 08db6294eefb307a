#pragma once

#include <algorithm>
#include <iterator>

#include "platform/Input.h"

// Input that is set field by field instead of read from a window: the bot drives one, and tests
// run frames with it deterministically.
class ScriptedInput : public platform::Input {
  public:
    bool keys[static_cast<int>(platform::Key::Count)] = {};
    int cursorX = 0, cursorY = 0;
    int wheel = 0;
    int width = 1024, height = 768;
    int fbWidth = 1024, fbHeight = 768;
    bool minimised = false;
    double now = 0.0;

    // Keys that went down since the last poll, as the window reports them; set with tap() and
    // cleared by the test (or by forgetTaps()) when its frame is over.
    bool taps[static_cast<int>(platform::Key::Count)] = {};

    void press(platform::Key key, bool down = true) { keys[static_cast<int>(key)] = down; }
    void tap(platform::Key key) { taps[static_cast<int>(key)] = true; }
    void forgetTaps() { std::fill(std::begin(taps), std::end(taps), false); }
    bool keyDown(platform::Key key) const override {
        return keys[static_cast<int>(key)] || taps[static_cast<int>(key)];
    }
    bool keyPressed(platform::Key key) const override { return taps[static_cast<int>(key)]; }
    void cursorPosition(int& x, int& y) const override { x = cursorX, y = cursorY; }
    int wheelPosition() const override { return wheel; }
    void windowSize(int& w, int& h) const override { w = width, h = height; }
    void framebufferSize(int& w, int& h) const override { w = fbWidth, h = fbHeight; }
    bool iconified() const override { return minimised; }
    double time() const override { return now; }
};
