#include "harness/Options.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {
bool isSet(const char* value) {
    return value && *value;
}
}  // namespace

HarnessOptions harnessOptionsFrom(const EnvironmentLookup& lookup) {
    HarnessOptions options;
    if (const char* frames = lookup("FYREL_MAX_FRAMES")) {
        options.maxFrames = std::strtol(frames, nullptr, 10);
    }
    if (const char* seed = lookup("FYREL_AUTOPLAY"); isSet(seed)) {
        options.autoplaySeed = static_cast<unsigned>(std::strtoul(seed, nullptr, 10));
    }
    if (const char* text = lookup("FYREL_AUTOPLAY_STEP")) {
        const double step = std::strtod(text, nullptr);
        if (step > 0.0 && step <= 1.0) options.autoplayStep = step;
    }
    if (const char* directory = lookup("FYREL_CAPTURE_DIR"); isSet(directory)) {
        options.captureDir = directory;
    }
    if (const char* every = lookup("FYREL_CAPTURE_EVERY")) {
        options.captureEvery = std::max(std::atoi(every), 0);
    }
    const char* report = lookup("FYREL_BENCH_STARTUP");
    options.startupReport = isSet(report) && *report != '0';
    return options;
}

Options readOptions(const GameOptions& game) {
    Options options;
    options.game = game;
    options.harness = harnessOptionsFrom([](const char* name) { return std::getenv(name); });
    // Named from where the program was started; the game then moves to its data folder.
    if (!options.harness.captureDir.empty()) {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(options.harness.captureDir, error);
        if (!error) options.harness.captureDir = absolute.string();
    }
    return options;
}
