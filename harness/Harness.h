#pragma once

#include <chrono>
#include <memory>

#include "app/FrameLoop.h"
#include "harness/Options.h"

class AutopilotInput;
class FrameCapture;

// Everything that runs beside the game, as the options ask: the bot playing, frames saved as
// pictures, the start-up report and a frame limit. main tells it how far start-up has got; the
// frame loop calls it in every frame.
class Harness : public FrameHooks {
  public:
    explicit Harness(const HarnessOptions& options);
    ~Harness() override;
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Right before the window is set up, which the start-up report times.
    void windowOpening();
    // The window is open and the game not started yet: the bot takes over the input here, and
    // its seed is set before the start-up draws the orbs' places.
    void gameStarting();
    // The bot plays this run: its games are no player's, and keep no best time.
    bool botPlays() const { return options.autoplaySeed.has_value(); }

    void beforeUpdate(MainGame& game) override;
    void beforeSwap(MainGame& game) override;
    bool afterSwap(MainGame& game) override;

  private:
    using Clock = std::chrono::steady_clock;

    HarnessOptions options;
    std::unique_ptr<AutopilotInput> autopilot;
    std::unique_ptr<FrameCapture> capture;
    Clock::time_point windowClock;
    Clock::time_point firstFrameClock;
    double windowSeconds = 0.0;
    long framesPresented = 0;
};
