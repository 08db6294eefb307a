#include "infra/WindowSetup.h"

#include <algorithm>
#include <iostream>

#include "infra/GL.h"
#include "infra/Log.h"
#include "infra/WindowIcon.h"
#include "platform/Signals.h"
#include "platform/Window.h"

namespace {
// A window larger than the screen's work area would only be cut off, and its framebuffer, the
// render targets that follow it and every frame would grow with it (a window of 16384 x 16384
// takes gigabytes and minutes a frame on a software rasteriser): it opens at most that size.
WindowRequest fitToWorkArea(WindowRequest request) {
    const platform::ScreenRect area = platform::primaryWorkArea();
    if (area.width <= 0 || area.height <= 0) return request;
    const WindowRequest asked = request;
    request.width = std::min(request.width, area.width);
    request.height = std::min(request.height, area.height);
    if (request.width != asked.width || request.height != asked.height) {
        std::cout << "fyrel: a window of " << asked.width << "x" << asked.height
                  << " does not fit the screen; it opens at " << request.width << "x"
                  << request.height << std::endl;
    }
    return request;
}

// The failure, and why, as the window library put it.
void logWindowFailure(const std::string& what) {
    const std::string why = platform::windowLibraryError();
    logMessage(ERR, defaultLogComponent, why.empty() ? what : what + ": " + why);
}
}  // namespace

int setupWindow(const WindowRequest& asked) {
    if (!platform::initWindowLibrary()) {
        logWindowFailure("glfw initialization failed");
        return 1;
    }
    logInfo("glfw initialized!");
    const WindowRequest request = fitToWorkArea(asked);

    // Hidden until it is ready, so that a stop asked for meanwhile never shows it.
    platform::Window* window =
        platform::Window::open(request.width, request.height, "Fyrel", request.fullScreen, true);
    if (!window) {
        logWindowFailure("glfw window creation failed");
        return 1;
    }
    logInfo("glfw window created!");
    window->setIcon(loadWindowIcon());

    // GLFW 3 does not report the size when the handler is installed, so the first viewport is
    // set here. Framebuffer pixels, not window units, so that high-DPI screens are covered.
    window->setResizeHandler(onWindowResize);
    int width = 0, height = 0;
    window->framebufferSize(width, height);
    onWindowResize(width, height);

    if (!initGLLoader()) {
        logFatal("flext fail!");
        return 1;
    }
    logInfo("flextGL initialized");

    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    if (!platform::stopSignal()) window->show();
    window->captureCursor();
    glEnable(GL_TEXTURE_2D);
    return 0;
}

void onWindowResize(int width, int height) {
    glViewport(0, 0, width, height);
}

void shutdownWindow() {
    platform::terminateWindowLibrary();
    logInfo("glfw window terminated!");
}
