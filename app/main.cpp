#include <cstdlib>
#include <iostream>

#include "app/CommandLine.h"
#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "app/PlayerFiles.h"
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

const char* environmentVariable(const char* name) {
    return std::getenv(name);
}

// The kept settings as the player left them: the window's and the sound's.
GameOptions chosenNow(const GameOptions& started, const MainGame& playing) {
    GameOptions now = started;
    takeWindowState(*platform::Window::current(), now);
    now.audio.volume = playing.audio.volume();
    now.audio.soundOff = playing.audio.soundOff();
    return now;
}
}  // namespace

int main(int argc, char* argv[]) {
    // Before any window, thread or audio device: a bad argument ends the program here.
    const CommandLine given = parseCommandLine(argc, argv);
    if (given.action != CommandLine::Action::Play) {
        return answerWithoutPlaying(given, std::cout, std::cerr);
    }
    platform::catchStopSignals();
    SettingsFile settings(configFilePath(kSettingsFile, environmentVariable), std::cerr);
    BestTimeFile bestTime(stateFilePath(kBestTimeFile, environmentVariable), std::cerr);
    // The command line wins over the kept settings, for this run only.
    const CommandLine command = parseCommandLine(argc, argv, settings.read());
    const Options options = readOptions(command.options);
    enterDataFolder(options.game.dataFolder);
    // Before any other thread exists.
    prepareStartupHeap(kGameStartupHeap);
    Harness harness(options.harness);

    game = new MainGame();
    game->mouse = options.game.mouse;
    game->bestSeconds = bestTime.read();
    if (!harness.botPlays()) game->keepBestTime = [&](double seconds) { bestTime.keep(seconds); };
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
        GameOptions startedWith = options.game;
        takeWindowState(*platform::Window::current(), startedWith);
        harness.gameStarting();
        started = game->start();
        returnStartupLeftovers();
        if (started) runFrameLoop(game, &harness);
        if (started) settings.keep(startedWith, chosenNow(startedWith, *game));
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
