// Frame times of the real game with the bot playing at a fixed time step, measured in the same
// process and interleaved with two references: the game without the glow renderer, and a frame
// that is nothing but the sky (one full-screen textured pass). Also the GPU time of each glow
// pass, the game's own CPU work per frame, and two pictures of one frame with and without glow.

#include <FreeImage.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/scene/TextRenderer.h"
#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "bench/game/BenchCommon.h"
#include "bench/game/DebugGroups.h"
#include "bench/game/NullGL.h"
#include "harness/Harness.h"
#include "infra/GL.h"
#include "infra/WindowSetup.h"
#include "platform/Window.h"

namespace bench {

namespace {

// GL_TIME_ELAPSED around each labelled drawing step (sky, lit, text and the glow passes): a
// query from the start of each outermost debug group to its end. Results are read after the
// frame is presented.
class PassTimer {
  public:
    PassTimer() : watch([this](const std::string& name, bool begins) { mark(name, begins); }) {}
    void install() { watch.install(); }
    void uninstall() { watch.uninstall(); }
    void collect() {
        for (size_t i = 0; i < used; ++i) {
            GLuint64 nanoseconds = 0;
            glGetQueryObjectui64v(queries[i], GL_QUERY_RESULT, &nanoseconds);
            samples[names[i]].push_back(static_cast<double>(nanoseconds) * 1e-6);
        }
        used = 0;
        names.clear();
    }
    // While the context is still there.
    void release() {
        if (!queries.empty()) glDeleteQueries(static_cast<GLsizei>(queries.size()), queries.data());
        queries.clear();
    }
    std::map<std::string, std::vector<double>> samples;

  private:
    void mark(const std::string& name, bool begins) {
        if (!begins) {
            glEndQuery(GL_TIME_ELAPSED);
            return;
        }
        if (used == queries.size()) {
            queries.push_back(0);
            glGenQueries(1, &queries.back());
        }
        names.push_back(name);
        glBeginQuery(GL_TIME_ELAPSED, queries[used++]);
    }

    DebugGroupWatch watch;
    std::vector<GLuint> queries;
    std::vector<std::string> names;
    size_t used = 0;
};

// The frame loop's frame with the glow step left out.
void frameWithoutGlow(MainGame& game, FrameHooks& bot) {
    processInput();
    bot.beforeUpdate(game);
    game.update();
    game.renderers->transformer->update();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawSceneAndText(*game.renderers);
    platform::Window::current()->swapBuffers();
}

void skyFrame(MainGame& game) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFrontFace(GL_CW);
    game.renderers->skyRenderer->draw();
    glFrontFace(GL_CCW);
    platform::Window::current()->swapBuffers();
}

void savePNG(const std::string& path) {
    int width = 0, height = 0;
    platform::Window::current()->framebufferSize(width, height);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* bitmap =
        FreeImage_ConvertFromRawBits(pixels.data(), width, height, width * 3, 24, FI_RGBA_RED_MASK,
                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    if (bitmap) FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT);
    if (bitmap) FreeImage_Unload(bitmap);
}

// One moment of the game, drawn without and then with the glow over the same picture.
void capturePictures(MainGame& game, const std::string& dir, const std::string& name) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawSceneAndText(*game.renderers);
    savePNG(dir + "/" + name + "-without-glow.png");
    game.renderers->glowRenderer->draw();
    savePNG(dir + "/" + name + "-with-glow.png");
    platform::Window::current()->swapBuffers();
}

struct CpuSamples {
    std::vector<double> update, transformer, draw, total;
};

// The game's own work: update and transformer as they are, drawing with every GL call empty.
void measureCpu(MainGame& game, FrameHooks& bot, int frames, CpuSamples& cpu) {
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        bot.beforeUpdate(game);
        game.update();
        const double update = millisecondsSince(start);
        const auto transformStart = Clock::now();
        game.renderers->transformer->update();
        const double transformer = millisecondsSince(transformStart);
        const auto drawStart = Clock::now();
        {
            nullgl::Scope noGL;
            drawFrame(*game.renderers);
        }
        const double draw = millisecondsSince(drawStart);
        cpu.update.push_back(update);
        cpu.transformer.push_back(transformer);
        cpu.draw.push_back(draw);
        cpu.total.push_back(update + transformer + draw);
    }
}

template <typename F>
void timeFrames(int count, std::vector<double>& samples, F frame) {
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        frame();
        samples.push_back(millisecondsSince(start));
    }
}

void addStats(Values& values, const std::string& key, const std::vector<double>& samples) {
    const Stats stats = statsOf(samples);
    values[key + "_median"] = stats.median;
    values[key + "_p90"] = stats.p90;
    values[key + "_count"] = static_cast<double>(stats.count);
}

}  // namespace

int runFramesMode(int rounds, int width, int height, const std::string& pngDir) {
    MainGame* game = new MainGame();
    if (setupWindow() != 0) return 1;
    HarnessOptions autoplay;
    autoplay.autoplaySeed = 1;  // the same game in every run
    Harness harness(autoplay);
    harness.gameStarting();
    if (!game->start()) return 1;
    PlayOn playOn(*platform::input(), game->remaining);
    platform::setInput(&playOn);
    if (!resizeWindow(width, height)) {
        std::fprintf(stderr,
                     "fyrel bench: the window did not become %d x %d; is the screen "
                     "that large?\n",
                     width, height);
        return 1;
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);

    // The first frames compile the programs; they are start-up, not frame time.
    for (int i = 0; i < 5; ++i) runFrame(game, &harness);
    capturePictures(*game, pngDir, "frame-early-" + size);

    PassTimer passes;
    std::vector<double> full, straightforward, noGlow, sky;
    constexpr int kFramesPerBlock = 10;
    for (int round = 0; round < rounds; ++round) {
        passes.install();
        timeFrames(kFramesPerBlock, full, [&] {
            runFrame(game, &harness);
            passes.collect();
        });
        passes.uninstall();
        // The same game drawn as before the renderers skipped unseen work.
        game->renderers->skipUnseenWork(false);
        timeFrames(kFramesPerBlock, straightforward, [&] { runFrame(game, &harness); });
        game->renderers->skipUnseenWork(true);
        timeFrames(kFramesPerBlock, noGlow, [&] { frameWithoutGlow(*game, harness); });
        timeFrames(kFramesPerBlock, sky, [&] { skyFrame(*game); });
    }
    capturePictures(*game, pngDir, "frame-late-" + size);

    CpuSamples cpu;
    measureCpu(*game, harness, 100, cpu);

    Values values;
    addStats(values, "full", full);
    addStats(values, "straightforward", straightforward);
    addStats(values, "noglow", noGlow);
    addStats(values, "sky", sky);
    addStats(values, "cpu_update", cpu.update);
    addStats(values, "cpu_transformer", cpu.transformer);
    addStats(values, "cpu_draw", cpu.draw);
    addStats(values, "cpu_total", cpu.total);
    for (const auto& [name, samples] : passes.samples) {
        addStats(values, "pass_" + name, samples);
    }
    values["remaining_orbs"] = game->remaining;
    printValues("fyrel-frames", values);

    passes.release();
    game->releaseGpuObjects();
    platform::terminateWindowLibrary();
    delete game;
    return 0;
}

}  // namespace bench
