#pragma once

// The game's window with its OpenGL context, from opening to closing. The log lines go out
// under the component "main".

// Window and context, GL entry points, initial GL state: 0 on success, 1 after logging a failure.
int setupWindow();
// Keeps the viewport on the whole framebuffer.
void onWindowResize(int width, int height);
// Closes the window library (harmless when it is closed already) and logs the end.
void shutdownWindow();
