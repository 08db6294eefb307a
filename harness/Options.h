#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/CommandLine.h"

// What runs beside the game for tests, demos and benchmarks. Each setting comes from one
// environment variable; with none of them set the game runs just as it does for a player.
struct HarnessOptions {
    // FYREL_MAX_FRAMES=N: the run ends after N frames; 0 (or anything not positive) is no limit.
    long maxFrames = 0;
    // FYREL_AUTOPLAY=<seed>: the bot plays, with this seed for the game's random numbers.
    std::optional<unsigned> autoplaySeed;
    // FYREL_AUTOPLAY_STEP=<seconds>: game time per update while the bot plays, above 0 and at
    // most 1; anything else keeps the default, near the real frame rate here.
    double autoplayStep = 0.1;
    // FYREL_CAPTURE_DIR=<folder>: chosen frames are saved there as PNG pictures; empty: none.
    std::string captureDir;
    // FYREL_CAPTURE_EVERY=N: also every N-th frame, at half size, under <folder>/frames.
    int captureEvery = 0;
    // FYREL_BENCH_STARTUP (set, and not "0"): a line of start-up times after the first frame.
    bool startupReport = false;
};

// Everything the program is told from outside, read once at start: the harness's settings
// from the environment, the game's from the command line.
struct Options {
    HarnessOptions harness;
    GameOptions game;
};

// The value of an environment variable by name, or null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

HarnessOptions harnessOptionsFrom(const EnvironmentLookup& lookup);
// The options of this process: its environment, and the game's part of its command line. Read
// before the game enters its data folder.
Options readOptions(const GameOptions& game);
