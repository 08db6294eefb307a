#pragma once

namespace platform {

// Count is no key: it is the number of keys, for tables with one entry per key.
// Plus is the main row's "= +" key; the keypad's minus and plus are keys of their own.
enum class Key {
    Escape,
    F2,
    F5,
    Space,
    W,
    A,
    S,
    D,
    F1,
    F11,
    P,
    Enter,
    M,
    Minus,
    Plus,
    PadMinus,
    PadPlus,
    Count
};

// Everything the game reads from the outside world each frame. The real window answers
// these from GLFW; the bot and the tests install a source of their own.
class Input {
  public:
    virtual ~Input() = default;
    // Held now, or (for every key but W, A, S and D) tapped since the previous event poll: a
    // press and release between two polls still reads as one frame down.
    virtual bool keyDown(Key key) const = 0;
    // Went down since the previous event poll (key repeat does not count): toggles read this,
    // so a key held for many frames toggles once.
    virtual bool keyPressed(Key key) const = 0;
    virtual void cursorPosition(int& x, int& y) const = 0;
    // Accumulated scroll notches since the window opened (up is positive).
    virtual int wheelPosition() const = 0;
    virtual void windowSize(int& width, int& height) const = 0;
    virtual void framebufferSize(int& width, int& height) const = 0;
    // The window is iconified (minimised to the task bar or dock).
    virtual bool iconified() const = 0;
    // Seconds since the platform was initialised.
    virtual double time() const = 0;
};

// The input source the game reads. Null until a window opens or a test installs one.
Input* input();
void setInput(Input* source);

}  // namespace platform
