#include "app/FrameLoop.h"

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/scene/TextRenderer.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "infra/GL.h"
#include "infra/Log.h"
#include "platform/Window.h"

using platform::Key;

int setupWindow() {
    if (!platform::initWindowLibrary()) {
        logMessage(ERR, defaultLogComponent, "glfw initialization failed");
        return 1;
    }
    logInfo("glfw initialized!");

    platform::Window* window = platform::Window::open(1024, 768, "Fyrel");
    if (!window) {
        logMessage(ERR, defaultLogComponent, "glfw window creation failed");
        return 1;
    }
    logInfo("glfw window created!");

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
    window->captureCursor();
    glEnable(GL_TEXTURE_2D);
    return 0;
}

void onWindowResize(int width, int height) {
    glViewport(0, 0, width, height);
}

void processInput() {
    platform::Window* window = platform::Window::current();
    platform::Input* in = platform::input();
    if (in->keyDown(Key::Escape) || !window->isOpen()) {
        logMessage(TRACE, defaultLogComponent, "Controlls: KEY_ESC\n");
        // Destroying a GLFW 3 window would take the context with it while this frame still
        // draws, so the window is only marked; the loop ends after this frame's swap.
        window->requestClose();
    }
    // Set every frame, so wireframe lasts exactly as long as F2 is held.
    glPolygonMode(GL_FRONT_AND_BACK, in->keyDown(Key::F2) ? GL_LINE : GL_FILL);
    // Nothing captures the cursor again: once freed it stays free.
    if (in->keyDown(Key::F5)) window->releaseCursor();
}

void drawSceneAndText(RendererSet& renderers) {
    // The sky sphere is seen from inside: its inward faces must be front faces under culling.
    glFrontFace(GL_CW);
    renderers.skyRenderer->draw();
    glFrontFace(GL_CCW);
    renderers.litRenderer->draw();
    // The text overlay is drawn without depth test, over whatever the scene left.
    glDisable(GL_DEPTH_TEST);
    renderers.textRenderer->draw();
    glEnable(GL_DEPTH_TEST);
}

void drawFrame(RendererSet& renderers) {
    drawSceneAndText(renderers);
    renderers.glowRenderer->draw();
}

bool runFrame(MainGame* game, FrameHooks* hooks) {
    platform::Window* window = platform::Window::current();
    processInput();
    if (game) {
        if (hooks) hooks->beforeUpdate(*game);
        game->update();
        // Matrices follow the positions and camera the update just moved.
        game->renderers->transformer->update();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (game) drawFrame(*game->renderers);
    if (game && hooks) hooks->beforeSwap(*game);
    // Also processes window and input events, as the next frame's input step expects.
    window->swapBuffers();
    const bool goOn = !platform::input()->keyDown(Key::Escape) && window->isOpen();
    const bool hooksGoOn = !game || !hooks || hooks->afterSwap(*game);
    return goOn && hooksGoOn;
}

long runFrameLoop(MainGame* game, FrameHooks* hooks) {
    long frames = 1;
    while (runFrame(game, hooks)) ++frames;
    return frames;
}

void shutdownWindow() {
    platform::terminateWindowLibrary();
    logInfo("glfw window terminated!");
}
