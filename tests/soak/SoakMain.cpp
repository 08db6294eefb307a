// Soak run: the bot plays the real game in the real window for many frames while this program
// watches for what only shows over time. It fails (exit code 1) when
//   - the GL reports an error in any frame,
//   - any position, matrix or light value in the scene stops being a finite number,
//   - the number of live GL objects changes after the warm-up,
//   - resident memory, the heap, or the part of it made with `new`, keeps growing after the
//     warm-up (beyond noise),
//   - the game does not give back all of its GL objects at the end.
// Run it from the runnable folder (the game reads its assets from the working directory):
//   fyrel_soak [--frames N] [--size WxH] [--warmup N] [--every N] [--seed S]
//              [--rss-slack-mb M] [--heap-slack-mb M] [--new-slack-mb M] [--csv FILE]

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <glm/glm.hpp>
#include <new>
#include <string>
#include <vector>

#include "Rendering/core/Camera.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/SceneryCreator.h"
#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "harness/Harness.h"
#include "infra/GL.h"
#include "infra/WindowSetup.h"
#include "platform/Window.h"

// Bytes held by everything made with `new`: the game's own objects, and the few C++ libraries
// beside it. Unlike the whole heap, this holds still to the byte while nothing leaks, since the
// GL driver keeps the work of each frame in memory it takes with plain malloc.
static std::atomic<long> gNewBytes{0};

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    gNewBytes += static_cast<long>(malloc_usable_size(p));
    return p;
}

void operator delete(void* p) noexcept {
    if (!p) return;
    gNewBytes -= static_cast<long>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

struct SoakOptions {
    long frames = 1000;
    int width = 256, height = 192;
    long warmup = -1;  // default: a fifth of the frames, at least 200
    long every = 100;
    unsigned seed = 20261207;
    double step = 0.1;
    // Between two frames the GL driver holds some 20 MB more or less of the heap, with what the
    // last frame drew, so the heap figure is the lowest seen over the frames since the last
    // sample; that floor still rises by a few MB over the first thousands of frames and then
    // holds. Resident memory follows the heap's highest point so far, in steps of a few MB (up
    // to 7 MB over the 1,000 frames of `make test` on a busy machine) that become rarer the
    // longer the run. Neither is growth. What is made with `new` moves by a few KB in 2,000
    // frames. Within 1,000 frames a leak shows of 150 bytes a frame made with `new`, or of 8 KB
    // a frame with plain malloc; resident memory catches what bypasses the heap.
    double rssSlackMb = 12.0;
    double heapSlackMb = 5.0;
    double newSlackMb = 0.1;
    std::string csv;
};

bool parse(int argc, char** argv, SoakOptions& o) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return false;
        ++i;
        if (arg == "--frames") {
            o.frames = std::strtol(value, nullptr, 10);
        } else if (arg == "--size") {
            if (std::sscanf(value, "%dx%d", &o.width, &o.height) != 2) return false;
        } else if (arg == "--warmup") {
            o.warmup = std::strtol(value, nullptr, 10);
        } else if (arg == "--every") {
            o.every = std::strtol(value, nullptr, 10);
        } else if (arg == "--seed") {
            o.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
        } else if (arg == "--step") {
            o.step = std::strtod(value, nullptr);
        } else if (arg == "--rss-slack-mb") {
            o.rssSlackMb = std::strtod(value, nullptr);
        } else if (arg == "--heap-slack-mb") {
            o.heapSlackMb = std::strtod(value, nullptr);
        } else if (arg == "--new-slack-mb") {
            o.newSlackMb = std::strtod(value, nullptr);
        } else if (arg == "--csv") {
            o.csv = value;
        } else {
            return false;
        }
    }
    if (o.warmup < 0) o.warmup = std::max(200L, o.frames / 5);
    return o.frames > 0 && o.every > 0 && o.width > 0 && o.height > 0 && o.warmup < o.frames &&
           o.step > 0.0;
}

double residentMb() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0.0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Bytes handed out by malloc and not freed, over all arenas: a leak shows here even while it
// only fills holes that earlier frees left in pages that are resident anyway.
double heapInUseMb() {
    struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1048576.0;
}

double madeWithNewMb() {
    return static_cast<double>(gNewBytes.load()) / 1048576.0;
}

// Live GL objects by kind. Names are probed over a range far beyond what the game creates, so
// a leak shows long before it could run out of the range (highest tells how close it got).
struct GLObjects {
    static constexpr GLuint kRange = 16384;
    int buffers = 0, textures = 0, vertexArrays = 0, programs = 0, shaders = 0, framebuffers = 0,
        renderbuffers = 0;
    GLuint highest = 0;

    int total() const {
        return buffers + textures + vertexArrays + programs + shaders + framebuffers +
               renderbuffers;
    }
    bool operator==(const GLObjects& o) const {
        return buffers == o.buffers && textures == o.textures && vertexArrays == o.vertexArrays &&
               programs == o.programs && shaders == o.shaders && framebuffers == o.framebuffers &&
               renderbuffers == o.renderbuffers;
    }
    std::string describe() const {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%d (buffers %d, textures %d, vertex arrays %d, programs %d, shaders %d, "
                      "framebuffers %d, renderbuffers %d)",
                      total(), buffers, textures, vertexArrays, programs, shaders, framebuffers,
                      renderbuffers);
        return text;
    }

    static GLObjects count() {
        GLObjects c;
        for (GLuint name = 1; name < kRange; ++name) {
            bool any = false;
            auto tally = [&](GLboolean live, int& counter) {
                if (live) ++counter, any = true;
            };
            tally(glIsBuffer(name), c.buffers);
            tally(glIsTexture(name), c.textures);
            tally(glIsVertexArray(name), c.vertexArrays);
            tally(glIsProgram(name), c.programs);
            tally(glIsShader(name), c.shaders);
            tally(glIsFramebuffer(name), c.framebuffers);
            tally(glIsRenderbuffer(name), c.renderbuffers);
            if (any) c.highest = name;
        }
        return c;
    }
};

// The first non-finite value in the scene, or an empty string.
class FiniteCheck {
  public:
    std::string problem;

    void check(const char* what, float v) {
        if (problem.empty() && !std::isfinite(v)) problem = std::string(what) + " is " + text(v);
    }
    template <int N>
    void check(const char* what, const glm::vec<N, float>& v) {
        for (int i = 0; i < N; ++i) check(what, v[i]);
    }
    void check(const char* what, const glm::mat4& m) {
        for (int c = 0; c < 4; ++c) check(what, m[c]);
    }
    void object(const std::string& name, const SceneObject* o) {
        if (!o || !problem.empty()) return;
        std::string prefix = name + ".";
        check((prefix + "position").c_str(), o->position);
        check((prefix + "up").c_str(), o->up);
        check((prefix + "forward").c_str(), o->forward);
        check((prefix + "right").c_str(), o->right);
        check((prefix + "scale").c_str(), o->scale);
        check((prefix + "modelViewProjection").c_str(), o->modelViewProjection);
        check((prefix + "worldToModel").c_str(), o->worldToModel);
        for (float m : o->material) check((prefix + "material").c_str(), m);
    }

  private:
    static std::string text(float v) { return std::isnan(v) ? "NaN" : "infinite"; }
};

std::string nonFiniteInScene(const Scene& scene, const Rendering::BasicTransformer& transformer) {
    FiniteCheck c;
    c.object("alien", scene.alien);
    c.object("sky", scene.sky);
    for (size_t i = 0; i < scene.planets.size(); ++i) {
        c.object("planet " + std::to_string(i), scene.planets[i]);
    }
    for (size_t i = 0; i < scene.lightOrbs.size(); ++i) {
        c.object("orb " + std::to_string(i), scene.lightOrbs[i]);
    }
    for (const LightSource* light : scene.lights) {
        c.check("light position", light->position);
        c.check("light colour", light->colorA);
        c.check("light colour", light->colorB);
    }
    if (scene.lightBlock) {
        c.check("ambient light", scene.lightBlock->header);
        for (const LightEntry& entry : scene.lightBlock->lights) {
            c.check("light block position", entry.position);
            c.check("light block colour", entry.colorA);
            c.check("light block colour", entry.colorB);
        }
    }
    if (const Camera* cam = scene.camera) {
        c.check("camera eye", cam->eye);
        c.check("camera up", cam->up);
        c.check("camera view", cam->view);
        c.check("camera pitch", cam->pitch);
        c.check("camera distance", cam->distance);
        c.check("camera aspect", cam->aspect);
    }
    c.check("transformer view", transformer.view);
    c.check("transformer projection", transformer.projection);
    return c.problem;
}

struct Sample {
    long frame;
    double rssMb;
    double heapMb;  // the floor since the last sample
    double newMb;
    GLObjects objects;
    double msPerFrame;
};

// How much a memory figure grew over the settled samples, told apart from its noise: the rise
// from the median of the first third to the median of the last third, and the trend (the median
// of the slopes between every pair of samples, so one passing spike cannot tilt it) projected
// across the span. A leak raises both; noise rarely does.
struct Growth {
    double medianRise = 0.0;
    double trendRise = 0.0;
    double worst() const { return std::max(medianRise, trendRise); }
};

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Growth growthOf(const std::vector<Sample>& samples, double Sample::*figure) {
    Growth g;
    if (samples.size() < 3) return g;
    auto figuresIn = [&](size_t from, size_t to) {
        std::vector<double> values;
        for (size_t i = from; i < to; ++i) values.push_back(samples[i].*figure);
        return values;
    };
    size_t third = samples.size() / 3;
    g.medianRise =
        medianOf(figuresIn(samples.size() - third, samples.size())) - medianOf(figuresIn(0, third));
    std::vector<double> slopes;
    for (size_t i = 0; i < samples.size(); ++i)
        for (size_t j = i + 1; j < samples.size(); ++j)
            slopes.push_back((samples[j].*figure - samples[i].*figure) /
                             static_cast<double>(samples[j].frame - samples[i].frame));
    g.trendRise =
        medianOf(slopes) * static_cast<double>(samples.back().frame - samples.front().frame);
    return g;
}

bool resizeWindow(platform::Window& window, int width, int height) {
    window.setSize(width, height);
    int w = 0, h = 0;
    for (int i = 0; i < 200; ++i) {
        window.swapBuffers();
        window.windowSize(w, h);
        if (w == width && h == height) return true;
    }
    return false;
}

int fail(const std::string& why) {
    std::fprintf(stderr, "soak: FAILED: %s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    SoakOptions opt;
    if (!parse(argc, argv, opt)) {
        std::fprintf(stderr,
                     "usage: fyrel_soak [--frames N] [--size WxH] [--warmup N] [--every N] "
                     "[--seed S] [--step SECONDS] [--rss-slack-mb M] [--heap-slack-mb M] "
                     "[--new-slack-mb M] [--csv FILE]\n");
        return 2;
    }

    MainGame* game = new MainGame();
    if (setupWindow() != 0) return fail("no window or OpenGL context");
    platform::Window* window = platform::Window::current();
    HarnessOptions autoplay;
    autoplay.autoplaySeed = opt.seed;
    autoplay.autoplayStep = opt.step;
    Harness harness(autoplay);
    // Seeded after the game's own seeding and before start-up, which draws the orbs.
    harness.gameStarting();
    if (!game->start()) return fail("the game did not start");
    if (!resizeWindow(*window, opt.width, opt.height)) {
        std::fprintf(stderr, "soak: the window did not take the size %dx%d; going on\n", opt.width,
                     opt.height);
    }
    int fbWidth = 0, fbHeight = 0;
    window->framebufferSize(fbWidth, fbHeight);
    std::printf("soak: %ld frames at %dx%d, warm-up %ld, seed %u, step %.3f s\n", opt.frames,
                fbWidth, fbHeight, opt.warmup, opt.seed, opt.step);
    std::printf("%8s %10s %10s %10s %8s %10s  %s\n", "frame", "RSS MB", "heap MB", "new MB",
                "GL objs", "ms/frame", "remaining orbs");

    std::vector<Sample> samples;
    std::string failure;
    long glErrors = 0;
    auto clock = std::chrono::steady_clock::now();
    long clockFrame = 0;
    double heapFloor = heapInUseMb();
    // Sample 0 is taken before the first frame, the rest every `every` frames and at the end.
    for (long frame = 0; frame <= opt.frames; ++frame) {
        if (frame % opt.every == 0 || frame == opt.frames) {
            auto now = std::chrono::steady_clock::now();
            double ms = frame > clockFrame
                            ? std::chrono::duration<double, std::milli>(now - clock).count() /
                                  static_cast<double>(frame - clockFrame)
                            : 0.0;
            samples.push_back(
                {frame, residentMb(), heapFloor, madeWithNewMb(), GLObjects::count(), ms});
            const Sample& s = samples.back();
            std::printf("%8ld %10.1f %10.2f %10.3f %8d %10.1f  %d\n", s.frame, s.rssMb, s.heapMb,
                        s.newMb, s.objects.total(), s.msPerFrame, game->remaining);
            std::fflush(stdout);
            clock = std::chrono::steady_clock::now();
            clockFrame = frame;
            heapFloor = heapInUseMb();
        }
        if (frame == opt.frames) break;

        bool running = runFrame(game, &harness);
        heapFloor = std::min(heapFloor, heapInUseMb());
        for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
            if (glErrors++ < 10) {
                std::fprintf(stderr, "soak: GL error 0x%04x in frame %ld\n", error, frame);
            }
        }
        std::string nan = nonFiniteInScene(*game->scene, *game->renderers->transformer);
        if (!nan.empty()) {
            failure = "frame " + std::to_string(frame) + ": " + nan;
            break;
        }
        if (!running) {
            failure = "the window closed in frame " + std::to_string(frame);
            break;
        }
    }

    // Everything after the warm-up must hold still.
    std::vector<Sample> settled;
    for (const Sample& s : samples) {
        if (s.frame >= opt.warmup) settled.push_back(s);
    }
    if (failure.empty() && glErrors > 0) {
        failure = std::to_string(glErrors) + " GL errors";
    }
    if (failure.empty() && !settled.empty()) {
        const GLObjects& first = settled.front().objects;
        for (const Sample& s : settled) {
            if (!(s.objects == first)) {
                failure = "live GL objects changed after the warm-up: " + first.describe() +
                          " at frame " + std::to_string(settled.front().frame) + ", " +
                          s.objects.describe() + " at frame " + std::to_string(s.frame);
                break;
            }
        }
    }
    const Growth rss = growthOf(settled, &Sample::rssMb);
    const Growth heap = growthOf(settled, &Sample::heapMb);
    const Growth made = growthOf(settled, &Sample::newMb);
    auto checkGrowth = [&](const char* what, const Growth& g, double slack) {
        if (!failure.empty() || g.worst() <= slack) return;
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s grew after the warm-up: %.2f MB from the first to the last third, "
                      "trend %.2f MB over the run (slack %.1f MB)",
                      what, g.medianRise, g.trendRise, slack);
        failure = text;
    };
    checkGrowth("resident memory", rss, opt.rssSlackMb);
    checkGrowth("the heap in use", heap, opt.heapSlackMb);
    checkGrowth("what is made with new", made, opt.newSlackMb);
    if (!samples.empty()) {
        std::printf("soak: %ld GL errors; live GL objects %s (highest name %u)\n", glErrors,
                    samples.back().objects.describe().c_str(), samples.back().objects.highest);
        std::printf(
            "soak: after the warm-up RSS %+.2f MB (thirds) %+.2f MB (trend), heap in use "
            "%+.2f MB (thirds) %+.2f MB (trend), made with new %+.3f MB (thirds) %+.3f MB "
            "(trend)\n",
            rss.medianRise, rss.trendRise, heap.medianRise, heap.trendRise, made.medianRise,
            made.trendRise);
    }
    if (!opt.csv.empty()) {
        if (FILE* out = std::fopen(opt.csv.c_str(), "w")) {
            std::fprintf(out,
                         "frame,rss_mb,heap_mb,new_mb,gl_objects,buffers,textures,"
                         "vertex_arrays,programs,shaders,framebuffers,renderbuffers,"
                         "ms_per_frame\n");
            for (const Sample& s : samples) {
                const GLObjects& o = s.objects;
                std::fprintf(out, "%ld,%.2f,%.3f,%.4f,%d,%d,%d,%d,%d,%d,%d,%d,%.2f\n", s.frame,
                             s.rssMb, s.heapMb, s.newMb, o.total(), o.buffers, o.textures,
                             o.vertexArrays, o.programs, o.shaders, o.framebuffers, o.renderbuffers,
                             s.msPerFrame);
            }
            std::fclose(out);
        }
    }

    // The game gives back every GL object it made; nothing may be left behind.
    game->releaseGpuObjects();
    GLObjects left = GLObjects::count();
    if (failure.empty() && left.total() != 0) {
        failure = "GL objects left after the game released its own: " + left.describe();
    }
    platform::terminateWindowLibrary();
    delete game;
    shutdownWindow();

    if (!failure.empty()) return fail(failure);
    std::printf("soak: passed\n");
    return 0;
}
