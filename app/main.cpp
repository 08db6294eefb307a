#include <cstdlib>

#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "infra/Log.h"
#include "platform/Window.h"

namespace {
// FYREL_MAX_FRAMES=N ends the run after N frames; the tests and timings use it. Unset: no limit.
long frameLimit() {
    const char* value = std::getenv("FYREL_MAX_FRAMES");
    return value ? std::strtol(value, nullptr, 10) : 0;
}

// Reachable for the whole run: the failure path ends the program without destroying the game.
MainGame* game = nullptr;
}  // namespace

int main() {
    game = new MainGame();
    if (setupWindow() != 0) {
        logFatal("Initialization of openGL libraries failed!");
        return 1;
    }
    bool started = game->start();
    if (started) runFrameLoop(game, frameLimit());

    // GL objects go while the context is still current; closing the window takes it away.
    game->releaseGpuObjects();
    platform::terminateWindowLibrary();
    delete game;
    game = nullptr;
    shutdownWindow();
    return started ? 0 : 1;
}
