#include "infra/WindowSetup.h"

#include "infra/GL.h"
#include "infra/Log.h"
#include "infra/WindowIcon.h"
#include "platform/Signals.h"
#include "platform/Window.h"

namespace {
// The failure, and why, as the window library put it.
void logWindowFailure(const std::string& what) {
    const std::string why = platform::windowLibraryError();
    logMessage(ERR, defaultLogComponent, why.empty() ? what : what + ": " + why);
}
}  // namespace

int setupWindow(const WindowRequest& request) {
    if (!platform::initWindowLibrary()) {
        logWindowFailure("glfw initialization failed");
        return 1;
    }
    logInfo("glfw initialized!");

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
