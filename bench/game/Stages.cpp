// Where a frame's time goes, for choosing what to work on (not part of `make bench`):
//
//   fyrel_gamebench --stages <frames> <skip> <width> <height> [straightforward]
//
// The bot plays; `frames` frames, each after `skip` frames played as usual, are measured step
// by step: every labelled drawing step (sky, lit, text, each glow pass) is followed by
// glFinish and timed alone, and the rest of the frame (input, update, transformer, clear,
// swap) as "rest". Steps then cannot overlap as they do in a real frame, so the shares matter
// more than the sum. Under callgrind each step's instructions go to a dump of its own:
//
//   LP_NUM_THREADS=0 valgrind --tool=callgrind --instr-atstart=no fyrel_gamebench --stages ...
//
// "straightforward" draws every visible object with every light, the sky first, as before
// the renderers learnt to skip unseen work.
// (LP_NUM_THREADS=0: llvmpipe rasterises on this thread; instrumentation is on only in the
// measured frames. Each dump's "Trigger" line names its step.)

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "bench/game/BenchCommon.h"
#include "bench/game/DebugGroups.h"
#include "harness/Harness.h"
#include "infra/GL.h"
#include "infra/WindowSetup.h"
#include "platform/Window.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

namespace bench {

namespace {

class StageClock {
  public:
    StageClock() : watch([this](const std::string& name, bool begins) { mark(name, begins); }) {}

    void frame(MainGame& game, Harness& harness) {
        watch.install();
        CALLGRIND_START_INSTRUMENTATION;
        // Nothing of the frames played in between counts.
        CALLGRIND_ZERO_STATS;
        const auto start = Clock::now();
        grouped = 0.0;
        runFrame(&game, &harness);
        glFinish();
        samples["rest"].push_back(millisecondsSince(start) - grouped);
        CALLGRIND_DUMP_STATS_AT("rest");
        CALLGRIND_STOP_INSTRUMENTATION;
        watch.uninstall();
    }

    std::map<std::string, std::vector<double>> samples;

  private:
    void mark(const std::string& name, bool begins) {
        if (begins) {
            // What came before belongs to the rest of the frame.
            glFinish();
            CALLGRIND_DUMP_STATS_AT("rest");
            stepStart = Clock::now();
            return;
        }
        glFinish();
        const double step = millisecondsSince(stepStart);
        grouped += step;
        samples[name].push_back(step);
        CALLGRIND_DUMP_STATS_AT(name.c_str());
    }

    DebugGroupWatch watch;
    Clock::time_point stepStart;
    double grouped = 0.0;
};

}  // namespace

int runStagesMode(int frames, int skip, int width, int height, bool straightforward) {
    MainGame* game = new MainGame();
    if (setupWindow() != 0) return 1;
    HarnessOptions autoplay;
    autoplay.autoplaySeed = 1;
    Harness harness(autoplay);
    harness.gameStarting();
    if (!game->start()) return 1;
    PlayOn playOn(*platform::input(), game->remaining);
    platform::setInput(&playOn);
    if (!resizeWindow(width, height)) return 1;
    game->renderers->skipUnseenWork(!straightforward);
    for (int i = 0; i < 5; ++i) runFrame(game, &harness);

    StageClock clock;
    for (int i = 0; i < frames; ++i) {
        for (int k = 0; k < skip; ++k) runFrame(game, &harness);
        clock.frame(*game, harness);
    }
    Values values;
    for (const auto& [name, samples] : clock.samples) {
        const Stats stats = statsOf(samples);
        values[name + "_median"] = stats.median;
        values[name + "_p90"] = stats.p90;
    }
    printValues("fyrel-stages", values);
    game->releaseGpuObjects();
    platform::terminateWindowLibrary();
    delete game;
    return 0;
}

}  // namespace bench
