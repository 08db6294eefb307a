#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "harness/Harness.h"
#include "harness/StartupHeap.h"
#include "infra/DataFolder.h"
#include "infra/Log.h"
#include "infra/WindowSetup.h"
#include "platform/Signals.h"
#include "platform/Window.h"

namespace {
// Reachable for the whole run: the failure path ends the program without destroying the game.
MainGame* game = nullptr;
}  // namespace

int main() {
    platform::catchStopSignals();
    const Options options = readOptions();
    enterDataFolder("");
    // Before any other thread exists.
    prepareStartupHeap(kGameStartupHeap);
    Harness harness(options.harness);

    game = new MainGame();
    game->prepareAhead();
    harness.windowOpening();
    if (setupWindow() != 0) {
        logFatal("Initialization of openGL libraries failed!");
        game->finishAhead();  // no worker may outlive main
        return 1;
    }
    harness.gameStarting();
    const bool started = game->start();
    if (started) runFrameLoop(game, &harness);

    // GL objects go while the context is still current; closing the window takes it away.
    game->releaseGpuObjects();
    platform::terminateWindowLibrary();
    delete game;
    game = nullptr;
    shutdownWindow();
    if (!started) return 1;
    // As a shell reports a process that the signal ended.
    const int signal = platform::stopSignal();
    return signal ? 128 + signal : 0;
}
