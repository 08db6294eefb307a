#include "harness/Harness.h"

#include <cstdlib>

#include "app/MainGame.h"
#include "harness/AutopilotInput.h"
#include "harness/FrameCapture.h"
#include "harness/StartupReport.h"
#include "platform/Input.h"

namespace {
double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

Harness::Harness(const HarnessOptions& options) : options(options) {
    if (!options.captureDir.empty()) {
        capture = std::make_unique<FrameCapture>(options.captureDir, options.captureEvery);
    }
}

Harness::~Harness() {
    if (autopilot && platform::input() == autopilot.get()) platform::setInput(nullptr);
}

void Harness::windowOpening() {
    windowClock = Clock::now();
}

void Harness::gameStarting() {
    windowSeconds = secondsSince(windowClock);
    if (!options.autoplaySeed) return;
    std::srand(*options.autoplaySeed);
    // Wraps the window's input: Escape, F2, F5 and the sizes still come from the window.
    autopilot = std::make_unique<AutopilotInput>(platform::input(), options.autoplayStep);
    platform::setInput(autopilot.get());
}

void Harness::beforeUpdate(MainGame& game) {
    if (framesPresented == 0) firstFrameClock = Clock::now();
    if (autopilot) autopilot->beforeUpdate(*game.scene, *game.player);
}

void Harness::beforeSwap(MainGame& game) {
    if (capture) capture->afterDraw(game);
}

bool Harness::afterSwap(MainGame& game) {
    ++framesPresented;
    if (framesPresented == 1 && options.startupReport) {
        reportStartup(game.startupTimes, windowSeconds, secondsSince(firstFrameClock));
    }
    return options.maxFrames <= 0 || framesPresented < options.maxFrames;
}
