#pragma once

#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/RgbaImage.h"

struct GLFWwindow;

namespace platform {

// The window library (GLFW 3). Initialising it also starts the clock that time() reports.
bool initWindowLibrary();
// Closes any open window and shuts the library down; calling it again does nothing.
void terminateWindowLibrary();
// What the window library last said went wrong, in its own words (such as "X11: The DISPLAY
// environment variable is missing"); empty when it has reported nothing.
std::string windowLibraryError();

// Queries about the OpenGL context that is current on this thread.
void contextVersion(int& major, int& minor);
bool extensionSupported(const char* name);
using GLProc = void (*)();
GLProc procAddress(const char* name);

// How the window reads one key: the GLFW key behind it, and the key's X keysym name, by which
// tools such as xdotool press the real key.
struct KeyBinding {
    Key key;
    int glfwKey;
    const char* keysym;
    // A tap between two polls counts as held for one frame; the walking keys are read as held
    // only, so a tap too short for a frame does not move the alien.
    bool tapCounts;
};
// One binding per key, in the order of the Key enumeration.
std::vector<KeyBinding> keyBindings();

// A rectangle in screen units: a window's place and size, or a monitor's.
struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// The index of the monitor that shares the largest area with the window; the first monitor (the
// primary one) when none does, -1 when there are no monitors.
int monitorHolding(const ScreenRect& window, const std::vector<ScreenRect>& monitors);
// The primary monitor's work area (without the desktop's panels); empty when there is no
// monitor. Needs the window library.
ScreenRect primaryWorkArea();

// The game's one window and its OpenGL context. Besides answering the game's input queries it
// offers just what the frame loop needs: close state, cursor capture, swap and a resize hook.
class Window final : public Input {
  public:
    // Opens a resizable window with 8/8/8 colour bits, no alpha, 24 depth bits and 8 stencil
    // bits, whatever context version the platform gives by default, and makes its context
    // current. Becomes the input source unless one is installed already. Full screen, it covers
    // the primary monitor, and width x height is the size it takes when it leaves full screen.
    // Returns null when the window or its context cannot be created. A `hidden` window shows
    // once show() is called (a full-screen one shows at once).
    static Window* open(int width, int height, const char* title, bool fullScreen = false,
                        bool hidden = false);
    // The open window, or null.
    static Window* current();
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool keyDown(Key key) const override;
    bool keyPressed(Key key) const override;
    void cursorPosition(int& x, int& y) const override;
    int wheelPosition() const override;
    void windowSize(int& width, int& height) const override;
    void framebufferSize(int& width, int& height) const override;
    bool iconified() const override;
    double time() const override;

    void show();
    // False once a close was requested, by the game or by the window system.
    bool isOpen() const;
    // Only marks the window: it and its context stay usable until it is destroyed.
    void requestClose();
    // Presents the frame, then processes pending window and input events.
    void swapBuffers();
    // Hides the cursor and captures it, so motion is unbounded; releaseCursor undoes that.
    void captureCursor();
    void releaseCursor();
    bool cursorCaptured() const;
    // Called with the framebuffer size in pixels whenever it changes (not when installed).
    void setResizeHandler(void (*handler)(int width, int height));
    // The window's icon, one picture per size; the window system picks the size it shows.
    // Without any the desktop's default icon stays.
    void setIcon(const std::vector<RgbaImage>& sizes);
    // Asks the window system for a new size in window units; the framebuffer follows once the
    // resulting events are processed (by a later swapBuffers).
    void setSize(int width, int height);
    // Full screen on the monitor that holds the window, in the video mode the desktop already
    // uses (no mode switch); called again, back to the earlier windowed size and place.
    void toggleFullScreen();
    bool isFullScreen() const;
    // The size the window has, or goes back to when it leaves full screen, in window units.
    void windowedSize(int& width, int& height) const;

  private:
    explicit Window(GLFWwindow* handle);
    static void onScroll(GLFWwindow* handle, double dx, double dy);
    static void onKey(GLFWwindow* handle, int key, int scancode, int action, int mods);
    static void onFramebufferSize(GLFWwindow* handle, int width, int height);

    GLFWwindow* handle;
    double wheel = 0.0;
    // Keys that went down in the last event poll, by Key.
    bool pressedInPoll[static_cast<int>(Key::Count)] = {};
    void (*resizeHandler)(int, int) = nullptr;
    // Where the window goes when it leaves full screen.
    ScreenRect windowed;
};

}  // namespace platform
