#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "Rendering/scene/SceneryCreator.h"
#include "app/Autopilot.h"
#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "app/StartupHeap.h"
#include "app/StartupReport.h"
#include "infra/Log.h"
#include "infra/Texture.h"
#include "platform/Window.h"

namespace {
// FYREL_MAX_FRAMES=N ends the run after N frames; the tests and timings use it. Unset: no limit.
long frameLimit() {
    const char* value = std::getenv("FYREL_MAX_FRAMES");
    return value ? std::strtol(value, nullptr, 10) : 0;
}

// FYREL_AUTOPLAY=<seed> lets the bot play with that random seed, one update per
// FYREL_AUTOPLAY_STEP seconds of game time (default 0.1 s, near the real frame rate here).
std::unique_ptr<AutopilotInput> autopilotFromEnvironment() {
    const char* seed = std::getenv("FYREL_AUTOPLAY");
    if (!seed || !*seed) return nullptr;
    std::srand(static_cast<unsigned>(std::strtoul(seed, nullptr, 10)));
    const char* stepText = std::getenv("FYREL_AUTOPLAY_STEP");
    double step = stepText ? std::strtod(stepText, nullptr) : 0.0;
    if (!(step > 0.0 && step <= 1.0)) step = 0.1;
    return std::make_unique<AutopilotInput>(platform::input(), step);
}

unsigned decodeThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores > 1 ? cores - 1 : 1u, 1u, 4u);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The first frame on its own, so that the moment it is presented can be reported; then the
// usual loop for the rest of the frame budget.
void runTimedFrames(MainGame* game, long maxFrames, double windowSeconds) {
    const auto clock = std::chrono::steady_clock::now();
    bool running = runFrame(game);
    reportStartup(*game, windowSeconds, secondsSince(clock));
    if (running && maxFrames != 1) runFrameLoop(game, maxFrames > 1 ? maxFrames - 1 : 0);
}

// Reachable for the whole run: the failure path ends the program without destroying the game.
MainGame* game = nullptr;
}  // namespace

int main() {
    prepareStartupHeap(kGameStartupHeap);
    game = new MainGame();
    // The other cores decode the pictures while this thread opens the window, loads the model
    // and compiles the shaders; the scenery creator then finds them ready. This thread keeps a
    // core to itself: it is the one everything else waits for.
    prefetchPictures(Rendering::SceneryCreator::pictureFiles(), decodeThreads());
    game->prepareAhead();
    const auto windowClock = std::chrono::steady_clock::now();
    if (setupWindow() != 0) {
        logFatal("Initialization of openGL libraries failed!");
        game->finishAhead();  // no worker may outlive main
        return 1;
    }
    const double windowSeconds = secondsSince(windowClock);
    // Seeded before start-up, which draws the orbs' speeds and places.
    std::unique_ptr<AutopilotInput> autopilot = autopilotFromEnvironment();
    if (autopilot) {
        game->autopilot = autopilot.get();
        platform::setInput(autopilot.get());
    }
    bool started = game->start();
    if (started && startupReportWanted()) {
        runTimedFrames(game, frameLimit(), windowSeconds);
    } else if (started) {
        runFrameLoop(game, frameLimit());
    }

    // GL objects go while the context is still current; closing the window takes it away.
    game->releaseGpuObjects();
    platform::terminateWindowLibrary();
    delete game;
    game = nullptr;
    shutdownWindow();
    return started ? 0 : 1;
}
