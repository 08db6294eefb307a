#pragma once

// The game's window with its OpenGL context, from opening to closing. The log lines go out
// under the component "main".

// The window the game opens with.
struct WindowRequest {
    // In screen units; the size of the window when it is not full screen.
    int width = 1024;
    int height = 768;
    // Full screen on the primary monitor, in the desktop's video mode.
    bool fullScreen = false;
};

// Window and context, GL entry points, initial GL state: 0 on success, 1 after logging a failure.
// A window larger than the screen's work area opens at that size, saying so on standard output.
int setupWindow(const WindowRequest& request = {});
// Keeps the viewport on the whole framebuffer.
void onWindowResize(int width, int height);
// Closes the window library (harmless when it is closed already) and logs the end.
void shutdownWindow();
