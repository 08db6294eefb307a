#include "harness/StartupReport.h"

#include <chrono>
#include <cstdio>

#include "app/MainGame.h"

void reportStartup(const StartupTimes& t, double windowSeconds, double firstFrameSeconds) {
    // steady_clock is CLOCK_MONOTONIC here, the clock the benchmark reads before it spawns us.
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
    std::printf(
        "fyrel-startup presented_ns=%lld window=%.6f upload_warm_up=%.6f models=%.6f scene=%.6f "
        "shaders=%.6f renderers=%.6f audio=%.6f first_frame=%.6f\n",
        now, windowSeconds, t.uploadWarmUp, t.models, t.scene, t.shaders, t.renderers, t.audio,
        firstFrameSeconds);
    std::fflush(stdout);
}
