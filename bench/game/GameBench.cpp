// The game benchmark behind `make bench`: start-up of the real binary against the start-up
// floor and with both cores busy against idle, frame times against a sky-only frame, glow pass GPU
// times, the game's own CPU work per frame and peak memory against a bound computed from the
// pictures. Every target is a ratio of figures taken in the same run, so a busy machine slows both
// sides alike.
//
//   fyrel_gamebench --run-dir <runnable folder> --report <file> [--runs N] [--rounds N]
//
// It must run with a display (scripts/with-display.sh). The measuring is done in child
// processes: the real game, and this program again in its --floor and --frames modes.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Rendering/scene/GlowRenderer.h"
#include "bench/game/BenchCommon.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using bench::Values;

struct ChildRun {
    int status = -1;
    std::string output;
    double maxResidentBytes = 0.0;
    long long spawnNanoseconds = 0;
};

long long monotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<std::string> childEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const std::string& add : extra) {
            replaced =
                replaced || text.compare(0, add.find('=') + 1, add, 0, add.find('=') + 1) == 0;
        }
        if (!replaced) env.push_back(text);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// A new folder in the temporary folder (a Mesa shader cache, the player's files), removed with
// its contents when this object goes. Only a folder made here is ever removed; one that cannot be
// made is an error, never a fall-back to a folder that exists.
class TempFolder {
  public:
    explicit TempFolder(const char* kind = "shader-cache") {
        const std::string pattern =
            (fs::temp_directory_path() / ("fyrel-bench-" + std::string(kind) + "-XXXXXX")).string();
        std::string name = pattern;
        if (!mkdtemp(name.data())) {
            throw std::runtime_error("cannot create a folder like " + pattern + ": " +
                                     std::strerror(errno));
        }
        folder = name;
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return folder; }

  private:
    std::string folder;
};

// Runs a program in `cwd` with extra environment entries, collects its standard output, and
// reports its peak resident memory and the monotonic clock just before it was started.
ChildRun runChild(std::vector<std::string> argv, const std::vector<std::string>& extraEnv,
                  const std::string& cwd) {
    // The player's settings and best time of a run of its own: the real home folder's files
    // are neither read nor written.
    static const TempFolder player("player");
    std::vector<std::string> extra = extraEnv;
    extra.push_back("XDG_CONFIG_HOME=" + player.path() + "/config");
    extra.push_back("XDG_STATE_HOME=" + player.path() + "/state");
    std::vector<std::string> env = childEnvironment(extra);
    std::vector<char*> argvPointers = pointers(argv);
    std::vector<char*> envPointers = pointers(env);
    int pipeFds[2];
    ChildRun run;
    if (pipe(pipeFds) != 0) return run;
    run.spawnNanoseconds = monotonicNanoseconds();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (chdir(cwd.c_str()) != 0) _exit(127);
        execve(argvPointers[0], argvPointers.data(), envPointers.data());
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, got);
    close(pipeFds[0]);
    struct rusage usage {};
    int status = 0;
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.maxResidentBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
    }
    return run;
}

struct Options {
    std::string runDir;
    std::string report;
    int runs = 9;
    // Rounds of ten frames of each kind: 600 frames per figure.
    int rounds = 60;
};

// The frame sizes measured: the default window, and full screen on a common monitor (the
// screen must be at least that large).
struct FrameSize {
    int width, height;
};
constexpr FrameSize kFrameSizes[] = {{1024, 768}, {1920, 1080}};
constexpr double kFrameRatioLimit = 4.5;
constexpr double kSteadinessLimit = 1.6;
// Room above what the game keeps for the allocator's and the driver's own use. A software
// rasteriser also holds everything a frame queues for drawing in main memory until it is drawn
// (some 20 MiB here when the near planets fill the frame); 1.1 allowed for the rest.
constexpr double kMemoryFactor = 1.25;

struct Startup {
    double total = 0.0;
    Values stages;
};

// Process start to first presented frame of the real binary; total 0 when the run failed.
Startup startupOnce(const Options& options, bool cold, const std::string& warmCache) {
    std::optional<TempFolder> coldCache;
    if (cold) coldCache.emplace();
    const std::string& cache = cold ? coldCache->path() : warmCache;
    ChildRun run =
        runChild({options.runDir + "/fyrel"},
                 {"FYREL_BENCH_STARTUP=1", "FYREL_MAX_FRAMES=1", "MESA_SHADER_CACHE_DIR=" + cache},
                 options.runDir);
    Values values = bench::parseValues(run.output, "fyrel-startup");
    if (run.status != 0 || !values.count("presented_ns")) {
        std::cerr << "start-up run failed (exit " << run.status << ")\n" << run.output;
        return {};
    }
    return {(values["presented_ns"] - run.spawnNanoseconds) * 1e-9, values};
}

// With `gameHeap` the floor runs on the heap the game prepares for the driver's textures.
// Empty when the run failed.
Values floorOnce(const Options& options, const std::string& self, bool cold,
                 const std::string& warmCache, bool gameHeap) {
    std::optional<TempFolder> coldCache;
    if (cold) coldCache.emplace();
    const std::string& cache = cold ? coldCache->path() : warmCache;
    std::vector<std::string> argv = {self, "--floor"};
    if (gameHeap) argv.push_back("game-heap");
    ChildRun run = runChild(argv, {"MESA_SHADER_CACHE_DIR=" + cache}, options.runDir);
    Values values = bench::parseValues(run.output, "fyrel-floor");
    if (run.status != 0 || values.empty()) {
        std::cerr << "floor run failed (exit " << run.status << ")\n";
        return {};
    }
    values["total"] = values["decode"] + values["upload"] + values["programs"];
    return values;
}

struct StartupSamples {
    std::vector<Startup> cold, warm;
    std::vector<Values> coldFloor, warmFloor, heapFloor;
};

// Every kind of run once per round, so that a machine getting busier or quieter meanwhile
// weighs on the game and on its floor alike.
StartupSamples measureStartups(const Options& options, const std::string& self,
                               const std::string& warmCache) {
    StartupSamples samples;
    for (int i = 0; i < options.runs; ++i) {
        samples.cold.push_back(startupOnce(options, true, warmCache));
        samples.coldFloor.push_back(floorOnce(options, self, true, warmCache, false));
        samples.warm.push_back(startupOnce(options, false, warmCache));
        samples.warmFloor.push_back(floorOnce(options, self, false, warmCache, false));
        samples.heapFloor.push_back(floorOnce(options, self, false, warmCache, true));
    }
    return samples;
}

// Processes that keep cores busy while they live, as other programs on a player's machine do.
class BusyProcesses {
  public:
    explicit BusyProcesses(int count) {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                for (volatile unsigned long spin = 0;; spin = spin + 1) {
                }
            }
            if (pid > 0) children.push_back(pid);
        }
    }
    ~BusyProcesses() {
        for (pid_t pid : children) kill(pid, SIGKILL);
        for (pid_t pid : children) waitpid(pid, nullptr, 0);
    }
    BusyProcesses(const BusyProcesses&) = delete;
    BusyProcesses& operator=(const BusyProcesses&) = delete;

  private:
    std::vector<pid_t> children;
};

// Start-up with the warm cache, idle and with two busy processes beside the game, one of each
// per round, so that the machine's other load weighs on both alike. Totals of the runs that
// worked.
struct LoadedStartups {
    std::vector<double> idle, loaded;
};
constexpr int kBusyProcesses = 2;
constexpr int kMinLoadedRuns = 5;
constexpr double kLoadedMedianLimit = 2.5;
constexpr double kLoadedSlowestLimit = 4.0;

LoadedStartups measureLoadedStartups(const Options& options, const std::string& warmCache) {
    LoadedStartups samples;
    for (int i = 0; i < std::max(options.runs, kMinLoadedRuns); ++i) {
        const double idle = startupOnce(options, false, warmCache).total;
        double loaded = 0.0;
        {
            const BusyProcesses busy(kBusyProcesses);
            loaded = startupOnce(options, false, warmCache).total;
        }
        if (idle > 0.0) samples.idle.push_back(idle);
        if (loaded > 0.0) samples.loaded.push_back(loaded);
    }
    return samples;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The run with the median total; failed runs are left out.
Startup medianOf(std::vector<Startup> runs) {
    runs.erase(std::remove_if(runs.begin(), runs.end(),
                              [](const Startup& run) { return run.total == 0.0; }),
               runs.end());
    std::sort(runs.begin(), runs.end(),
              [](const Startup& a, const Startup& b) { return a.total < b.total; });
    return runs.empty() ? Startup{} : runs[runs.size() / 2];
}

Values medianOf(std::vector<Values> runs, const std::string& key) {
    runs.erase(std::remove_if(runs.begin(), runs.end(),
                              [&](const Values& run) { return !run.count(key); }),
               runs.end());
    std::sort(runs.begin(), runs.end(),
              [&](const Values& a, const Values& b) { return a.at(key) < b.at(key); });
    return runs.empty() ? Values{} : runs[runs.size() / 2];
}

double valueOr(const Values& values, const std::string& key) {
    auto found = values.find(key);
    return found == values.end() ? 0.0 : found->second;
}

std::string row(const std::string& label, const std::string& value, const std::string& note = "") {
    char line[256];
    std::snprintf(line, sizeof line, "  %-56s %14s  %s\n", label.c_str(), value.c_str(),
                  note.c_str());
    return line;
}

std::string ms(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
    return text;
}

std::string fixed(double value, const char* format) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string verdict(double value, double limit) {
    return value <= limit ? "PASS" : "MISS";
}

std::string startupSection(const char* title, const Startup& s, const Values& floor,
                           const Values& heapFloor) {
    std::string out = std::string(title) + "\n";
    const Values& v = s.stages;
    const double staged = valueOr(v, "window") + valueOr(v, "upload_warm_up") +
                          valueOr(v, "models") + valueOr(v, "scene") + valueOr(v, "shaders") +
                          valueOr(v, "renderers") + valueOr(v, "audio") + valueOr(v, "first_frame");
    out += row("process start to first presented frame", ms(s.total));
    out += row("  process, libraries, game object", ms(s.total - staged));
    out += row("  window and GL context", ms(valueOr(v, "window")));
    out +=
        row("  mipmap generator warmed up (pictures decoding)", ms(valueOr(v, "upload_warm_up")));
    out += row("  model loading", ms(valueOr(v, "models")));
    out += row("  scene building (pictures decoded)", ms(valueOr(v, "scene")));
    out += row("  shader compiling", ms(valueOr(v, "shaders")));
    out += row("  renderer set-up (uploads)", ms(valueOr(v, "renderers")));
    out += row("  audio", ms(valueOr(v, "audio")));
    out += row("  first frame (programs compiled at draw)", ms(valueOr(v, "first_frame")));
    const double total = valueOr(floor, "total");
    out += row("floor: decode every picture once", ms(valueOr(floor, "decode")));
    out += row("floor: upload each picture once + mipmaps", ms(valueOr(floor, "upload")));
    out += row("floor: compile + first-draw every program", ms(valueOr(floor, "programs")));
    out += row("floor total", ms(total));
    const double ratio = total > 0.0 ? s.total / total : 0.0;
    out += row("start-up / floor (target <= 1.25)", fixed(ratio, "%.2f"), verdict(ratio, 1.25));
    // The game gives the driver a huge-page heap, which makes the same uploads cheaper; the
    // floor done the same way shows how much of the margin that buys.
    const double heapTotal =
        valueOr(floor, "decode") + valueOr(heapFloor, "upload") + valueOr(floor, "programs");
    out += row("floor upload on the game's huge-page heap", ms(valueOr(heapFloor, "upload")));
    const double heapRatio = heapTotal > 0.0 ? s.total / heapTotal : 0.0;
    out += row("start-up / that floor (for comparison)", fixed(heapRatio, "%.2f"));
    return out;
}

std::string loadedStartupSection(const LoadedStartups& s) {
    std::string out = "Start-up under load (warm shader cache; " + std::to_string(kBusyProcesses) +
                      " busy processes beside the game, runs interleaved with idle ones)\n";
    const double idle = medianOf(s.idle);
    const double loaded = medianOf(s.loaded);
    const double slowest =
        s.loaded.empty() ? 0.0 : *std::max_element(s.loaded.begin(), s.loaded.end());
    auto runs = [](const std::vector<double>& v) { return std::to_string(v.size()) + " runs"; };
    out += row("idle: median", ms(idle), runs(s.idle));
    out += row("loaded: median", ms(loaded), runs(s.loaded));
    out += row("loaded: slowest", ms(slowest));
    const double ratio = idle > 0.0 ? loaded / idle : 0.0;
    out += row("loaded median / idle median (target <= 2.5)", fixed(ratio, "%.2f"),
               verdict(ratio, kLoadedMedianLimit));
    const double worst = idle > 0.0 ? slowest / idle : 0.0;
    out += row("slowest loaded / idle median (target <= 4)", fixed(worst, "%.2f"),
               verdict(worst, kLoadedSlowestLimit));
    return out;
}

std::string framesSection(const Values& f, FrameSize size) {
    std::string out = "Frame time at " + std::to_string(size.width) + " x " +
                      std::to_string(size.height) + " (bot playing, fixed 0.1 s game step)\n";
    auto frameRow = [&](const std::string& label, const std::string& key) {
        out += row(label + " median / p90",
                   fixed(valueOr(f, key + "_median"), "%.2f") + " / " +
                       fixed(valueOr(f, key + "_p90"), "%.2f") + " ms",
                   fixed(valueOr(f, key + "_count"), "%.0f frames"));
    };
    frameRow("full game", "full");
    frameRow("before: every object and light, sky first", "straightforward");
    frameRow("game without glow renderer", "noglow");
    frameRow("sky-only reference", "sky");
    const double sky = valueOr(f, "sky_median");
    const double full = valueOr(f, "full_median");
    const double ratio = sky > 0.0 ? full / sky : 0.0;
    out += row("full game / sky-only (target <= 4.5)", fixed(ratio, "%.2f"),
               verdict(ratio, kFrameRatioLimit));
    const double before = sky > 0.0 ? valueOr(f, "straightforward_median") / sky : 0.0;
    out += row("before / sky-only", fixed(before, "%.2f"));
    const double steadiness = full > 0.0 ? valueOr(f, "full_p90") / full : 0.0;
    out += row("full game p90 / median (target <= 1.6)", fixed(steadiness, "%.2f"),
               verdict(steadiness, kSteadinessLimit));
    out += row("glow renderer share of the frame",
               fixed(full - valueOr(f, "noglow_median"), "%.2f ms"));
    out +=
        "Drawing steps, GPU time (GL_TIME_ELAPSED; llvmpipe counts rasterising where it flushes,\n"
        "so a step that only queues its drawing shows little), median / p90 over the frames they\n"
        "ran\n";
    for (const char* pass : {"lit", "sky", "text", "copy+clear", "scene", "dof-x", "dof-y",
                             "glow-x", "glow-y", "composite"}) {
        const std::string key = std::string("pass_") + pass;
        out += row(pass,
                   fixed(valueOr(f, key + "_median"), "%.2f") + " / " +
                       fixed(valueOr(f, key + "_p90"), "%.2f") + " ms",
                   fixed(valueOr(f, key + "_count"), "%.0f frames"));
    }
    return out;
}

std::string cpuSection(const Values& f) {
    std::string out = "Game's own CPU work per frame (GL calls replaced by empty ones), median\n";
    out += row("update", fixed(valueOr(f, "cpu_update_median"), "%.3f ms"));
    out += row("transformer", fixed(valueOr(f, "cpu_transformer_median"), "%.3f ms"));
    out += row("drawing: uniform data, regions, text",
               fixed(valueOr(f, "cpu_draw_median"), "%.3f ms"));
    const double cpu = valueOr(f, "cpu_total_median");
    out += row("total (target < 1 ms), p90 " + fixed(valueOr(f, "cpu_total_p90"), "%.3f ms"),
               fixed(cpu, "%.3f ms"), verdict(cpu, 1.0));
    return out;
}

std::string memorySection(double peak, double emptyWindow, const Values& floor) {
    constexpr double kMiB = 1024.0 * 1024.0;
    const double kept = valueOr(floor, "kept_bytes");
    const double pictureTextures = valueOr(floor, "texture_bytes");
    // The glow renderer's targets are GPU memory the game keeps too (no mipmaps).
    const double targets = Rendering::GlowRenderer::targetBytes(1024, 768);
    const double bound = kMemoryFactor * (kept + pictureTextures + targets) + emptyWindow;
    std::string out = "Memory (real binary at 1024 x 768, bot playing 60 frames)\n";
    out += row("decoded pictures kept (" + fixed(valueOr(floor, "pictures"), "%.0f files") + ")",
               fixed(kept / kMiB, "%.1f MiB"));
    out += row("one mipmapped copy of each picture texture (4 B/texel)",
               fixed(pictureTextures / kMiB, "%.1f MiB"));
    out += row("glow render targets (colour + depth-stencil, 1024 x 768)",
               fixed(targets / kMiB, "%.1f MiB"));
    out +=
        row("empty GL window drawing one triangle (peak)", fixed(emptyWindow / kMiB, "%.1f MiB"));
    out +=
        row("bound " + fixed(kMemoryFactor, "%.2f") + " x (pictures + textures + targets) + window",
            fixed(bound / kMiB, "%.1f MiB"));
    out += row("peak resident memory", fixed(peak / kMiB, "%.1f MiB"), verdict(peak, bound));
    return out;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    options.runDir = FYREL_RUN_DIR;
    options.report = fs::path(FYREL_RUN_DIR).parent_path() / "bench-report.txt";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--run-dir") options.runDir = argv[i + 1];
        if (key == "--report") options.report = argv[i + 1];
        if (key == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
        if (key == "--rounds") options.rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    // The children work in the runnable folder, so every path they get must be absolute.
    options.runDir = fs::absolute(options.runDir).string();
    options.report = fs::absolute(options.report).string();
    return options;
}

int orchestrate(const Options& options) {
    const std::string self = fs::canonical("/proc/self/exe").string();
    const TempFolder warmTempFolder;
    const std::string& warmCache = warmTempFolder.path();
    std::cerr << "fyrel bench: priming the warm shader cache\n";
    runChild({options.runDir + "/fyrel"},
             {"FYREL_MAX_FRAMES=3", "FYREL_AUTOPLAY=1", "MESA_SHADER_CACHE_DIR=" + warmCache},
             options.runDir);
    runChild({self, "--floor"}, {"MESA_SHADER_CACHE_DIR=" + warmCache}, options.runDir);

    std::cerr << "fyrel bench: start-up and its floor, cold and warm shader cache\n";
    const StartupSamples samples = measureStartups(options, self, warmCache);
    const Startup cold = medianOf(samples.cold);
    const Startup warm = medianOf(samples.warm);
    const Values coldFloor = medianOf(samples.coldFloor, "total");
    const Values warmFloor = medianOf(samples.warmFloor, "total");
    const Values heapFloor = medianOf(samples.heapFloor, "upload");

    std::cerr << "fyrel bench: start-up idle and with both cores busy\n";
    const LoadedStartups loaded = measureLoadedStartups(options, warmCache);

    std::cerr << "fyrel bench: peak memory, the game's and an empty window's\n";
    const ChildRun memoryRun =
        runChild({options.runDir + "/fyrel"},
                 {"FYREL_MAX_FRAMES=60", "FYREL_AUTOPLAY=1", "MESA_SHADER_CACHE_DIR=" + warmCache},
                 options.runDir);
    const ChildRun emptyRun = runChild({self, "--empty-window", "1024", "768", "drawing"},
                                       {"MESA_SHADER_CACHE_DIR=" + warmCache}, options.runDir);

    const std::string pngDir = fs::path(options.report).parent_path().string();
    std::string frameReport;
    bool framesMeasured = true;
    Values cpu;
    for (const FrameSize size : kFrameSizes) {
        std::cerr << "fyrel bench: frame times at " << size.width << " x " << size.height << "\n";
        const ChildRun frameRun =
            runChild({self, "--frames", std::to_string(options.rounds), std::to_string(size.width),
                      std::to_string(size.height), pngDir},
                     {"MESA_SHADER_CACHE_DIR=" + warmCache}, options.runDir);
        const Values frames = bench::parseValues(frameRun.output, "fyrel-frames");
        framesMeasured = framesMeasured && !frames.empty();
        if (cpu.empty()) cpu = frames;
        frameReport += framesSection(frames, size) + "\n";
    }

    std::string report = "Fyrel benchmark (Mesa llvmpipe; targets are ratios within this run)\n\n";
    report += startupSection("Start-up, cold shader cache", cold, coldFloor, heapFloor) + "\n";
    report += startupSection("Start-up, warm shader cache", warm, warmFloor, heapFloor) + "\n";
    report += loadedStartupSection(loaded) + "\n";
    report += frameReport + cpuSection(cpu) + "\n";
    report += memorySection(memoryRun.maxResidentBytes, emptyRun.maxResidentBytes, coldFloor);
    report += "\nPictures: " + pngDir + "/frame-{early,late}-<size>-{with,without}-glow.png\n";
    std::cout << report;
    std::ofstream(options.report) << report;
    const bool failed = !framesMeasured || cold.total == 0.0 || warm.total == 0.0 ||
                        loaded.idle.empty() || loaded.loaded.empty() || emptyRun.status != 0;
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--floor") == 0) {
        return bench::runFloorMode(argc >= 3 && std::strcmp(argv[2], "game-heap") == 0);
    }
    if (argc >= 5 && std::strcmp(argv[1], "--empty-window") == 0) {
        return bench::runEmptyWindowMode(std::atoi(argv[2]), std::atoi(argv[3]),
                                         std::strcmp(argv[4], "drawing") == 0);
    }
    if (argc >= 6 && std::strcmp(argv[1], "--stages") == 0) {
        return bench::runStagesMode(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                    std::atoi(argv[5]),
                                    argc >= 7 && std::strcmp(argv[6], "straightforward") == 0);
    }
    if (argc >= 6 && std::strcmp(argv[1], "--frames") == 0) {
        return bench::runFramesMode(std::max(1, std::atoi(argv[2])), std::atoi(argv[3]),
                                    std::atoi(argv[4]), argv[5]);
    }
    try {
        return orchestrate(parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "fyrel bench: " << error.what() << "\n";
        return 1;
    }
}
