#pragma once

namespace platform {

// Count is no key: it is the number of keys, for tables with one entry per key.
enum class Key { Escape, F2, F5, Space, W, A, S, D, Count };

// Everything the game reads from the outside world each frame. The real window answers
// these from GLFW; tests install a scripted source so frames run deterministically.
class Input {
  public:
    virtual ~Input() = default;
    virtual bool keyDown(Key key) const = 0;
    virtual void cursorPosition(int& x, int& y) const = 0;
    // Accumulated scroll notches since the window opened (up is positive).
    virtual int wheelPosition() const = 0;
    virtual void windowSize(int& width, int& height) const = 0;
    virtual void framebufferSize(int& width, int& height) const = 0;
    // Seconds since the platform was initialised.
    virtual double time() const = 0;
};

// The input source the game reads. Null until a window opens or a test installs one.
Input* input();
void setInput(Input* source);

// Fully scripted input for tests: set fields, then run frames.
class ScriptedInput : public Input {
public:
    bool keys[8] = {};
    int cursorX = 0, cursorY = 0;
    int wheel = 0;
    int width = 1024, height = 768;
    int fbWidth = 1024, fbHeight = 768;
    double now = 0.0;

    void press(Key key, bool down = true) { keys[static_cast<int>(key)] = down; }
    bool keyDown(Key key) const override { return keys[static_cast<int>(key)]; }
    void cursorPosition(int& x, int& y) const override { x = cursorX, y = cursorY; }
    int wheelPosition() const override { return wheel; }
    void windowSize(int& w, int& h) const override { w = width, h = height; }
    void framebufferSize(int& w, int& h) const override { w = fbWidth, h = fbHeight; }
    double time() const override { return now; }
};

}  // namespace platform
