#include "app/FrameLoop.h"

#include "Rendering/core/Transformer.h"
#include "Rendering/scene/FrameDrawing.h"
#include "Rendering/scene/GlowRenderer.h"
#include "app/Controls.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "infra/Log.h"
#include "platform/Signals.h"
#include "platform/Window.h"

namespace {
// Set while the pause has freed the cursor, which the game takes back when it goes on.
bool cursorFreedForPause = false;

// A paused game lets the cursor go, as players expect; going on captures it again, unless F5
// freed it for good meanwhile.
void cursorFollowsPause(platform::Window& window, bool paused) {
    if (paused && window.cursorCaptured()) {
        window.releaseCursor();
        cursorFreedForPause = true;
    } else if (!paused && cursorFreedForPause) {
        window.captureCursor();
        cursorFreedForPause = false;
    }
}
}  // namespace

void processInput() {
    platform::Window* window = platform::Window::current();
    platform::Input* in = platform::input();
    if (actionHeld(*in, Action::Quit) || !window->isOpen()) {
        logMessage(TRACE, defaultLogComponent, "Controlls: KEY_ESC\n");
        // Destroying a GLFW 3 window would take the context with it while this frame still
        // draws, so the window is only marked; the loop ends after this frame's swap.
        window->requestClose();
    }
    // Set every frame, so wireframe lasts exactly as long as F2 is held.
    Rendering::setWireframe(actionHeld(*in, Action::Wireframe));
    // Nothing captures the cursor again: once freed it stays free.
    if (actionHeld(*in, Action::FreeCursor)) {
        window->releaseCursor();
        cursorFreedForPause = false;
    }
    if (actionPressed(*in, Action::FullScreen)) window->toggleFullScreen();
}

void drawSceneAndText(RendererSet& renderers) {
    Rendering::drawSceneAndText(*renderers.skyRenderer, *renderers.litRenderer,
                                *renderers.textRenderer);
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
        cursorFollowsPause(*window, game->paused());
        // Matrices follow the positions and camera the update just moved.
        game->renderers->transformer->update();
    }
    Rendering::clearFrame();
    if (game) drawFrame(*game->renderers);
    if (game && hooks) hooks->beforeSwap(*game);
    // Also processes window and input events, as the next frame's input step expects.
    window->swapBuffers();
    // SIGINT or SIGTERM ends the run as the close button does.
    const bool goOn = !actionHeld(*platform::input(), Action::Quit) && window->isOpen() &&
                      !platform::stopSignal();
    const bool hooksGoOn = !game || !hooks || hooks->afterSwap(*game);
    return goOn && hooksGoOn;
}

long runFrameLoop(MainGame* game, FrameHooks* hooks) {
    long frames = 1;
    while (runFrame(game, hooks)) ++frames;
    return frames;
}
