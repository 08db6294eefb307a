#include <iostream>

#include "app/CommandLine.h"
#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "harness/Harness.h"
#include "infra/DataFolder.h"
#include "infra/Log.h"
#include "infra/StartupHeap.h"
#include "infra/WindowSetup.h"
#include "platform/Signals.h"
#include "platform/Window.h"

namespace {
// Reachable for the whole run: the failure path ends the program without destroying the game.
MainGame* game = nullptr;
}  // namespace

int main(int argc, char* argv[]) {
    // Before any window, thread or audio device: a bad argument ends the program here.
    const CommandLine command = parseCommandLine(argc, argv);
    if (command.action != CommandLine::Action::Play) {
        return answerWithoutPlaying(command, std::cout, std::cerr);
    }
    platform::catchStopSignals();
    const Options options = readOptions(command.options);
    enterDataFolder(options.game.dataFolder);
    // Before any other thread exists.
    prepareStartupHeap(kGameStartupHeap);
    Harness harness(options.harness);

    game = new MainGame();
    game->mouse = options.game.mouse;
    game->audio.configure(options.game.audio);
    game->prepareAhead();
    harness.windowOpening();
    // SIGINT or SIGTERM before the window shows ends the game without showing it (setupWindow
    // shows the window only if none has come by then).
    if (!platform::stopSignal() && setupWindow(options.game.window) != 0) {
        logFatal("Initialization of openGL libraries failed!");
        game->finishAhead();  // no worker may outlive main
        return exitStatus::kCannotStart;
    }
    bool started = false;
    if (!platform::stopSignal()) {
        harness.gameStarting();
        started = game->start();
        returnStartupLeftovers();
        if (started) runFrameLoop(game, &harness);
        // GL objects go while the context is still current; closing the window takes it away.
        game->releaseGpuObjects();
    }
    platform::terminateWindowLibrary();
    delete game;
    game = nullptr;
    shutdownWindow();
    if (const int signal = platform::stopSignal()) platform::endBySignal(signal);
    return started ? exitStatus::kSuccess : exitStatus::kCannotStart;
}
