// Writes every picture, the alien model and the sounds the game reads into one folder.
//   fyrel_assetgen <folder>                      generate all assets
//   fyrel_assetgen --preview <folder> <out.png>  contact sheet of the generated assets
#include <FreeImage.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/assetgen/Alien.h"
#include "tools/assetgen/FontGlyphs.h"
#include "tools/assetgen/Planets.h"
#include "tools/assetgen/Preview.h"
#include "tools/assetgen/Sound.h"

namespace {

using namespace assetgen;
using Clock = std::chrono::steady_clock;

constexpr int kMapQuality = 92;
// Small sharp pictures must not smear: full-resolution colour, and the quality at which the
// game's decoder (FreeImage's default, libjpeg's fast integer IDCT) returns them closest to the
// original; at 100 that IDCT rings by up to a quarter of the range on a glyph's edges.
constexpr int kCrispQuality = 92 | JPEG_SUBSAMPLING_444;

struct Job {
    std::string name;
    std::function<bool(const std::string& dir)> run;
};

// Writes through a temporary name so an interrupted run never leaves a half-written asset.
bool commit(const std::string& tmp, const std::string& path, bool ok) {
    if (!ok) {
        std::filesystem::remove(tmp);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    return !ec;
}

bool saveJpeg(const Picture& pic, const std::string& path, int flags) {
    makeParentDirs(path);
    return commit(path + ".tmp", path, pic.saveJpeg(path + ".tmp", flags));
}

template <typename Bytes>
bool saveBytes(const Bytes& bytes, const std::string& path) {
    if (bytes.empty()) return false;
    makeParentDirs(path);
    std::string tmp = path + ".tmp";
    std::ofstream out(tmp, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return commit(tmp, path, static_cast<bool>(out));
}

Picture glyphPicture(const Glyph& g) {
    Picture p(kGlyphWidth, kGlyphHeight);
    for (int row = 0; row < kGlyphHeight; ++row)
        for (int x = 0; x < kGlyphWidth; ++x)
            // Row 0 in memory is the bottom row, the one the game puts at the text's baseline.
            p.set(x, kGlyphHeight - 1 - row, g.ink(x, row) ? Rgb{1, 1, 1} : Rgb{0, 0, 0});
    return p;
}

std::vector<Job> jobs() {
    auto map = [](const char* file, Picture (*make)()) {
        return Job{file, [=](const std::string& dir) {
                       return saveJpeg(make(), dir + "/" + file, kMapQuality);
                   }};
    };
    // Longest first, so the two workers finish together.
    return {
        map("spacemap2.jpg", skyMap),
        Job{"game_music.mp3 chime.mp3",
            [](const std::string& dir) {
                return saveBytes(encodeMp3(synthMusic(), 160), dir + "/game_music.mp3") &&
                       saveBytes(encodeMp3(synthChime(), 160), dir + "/chime.mp3");
            }},
        map("mercurymap.jpg", mercuryMap),
        map("venusmap.jpg", venusMap),
        map("jupitermap.jpg", jupiterMap),
        map("marsmap.jpg", marsMap),
        map("plutomap.jpg", plutoMap),
        map("neptunemap.jpg", neptuneMap),
        map("saturnmap.jpg", saturnMap),
        map("uranusmap.jpg", uranusMap),
        Job{"alien.dae alienUV.jpg",
            [](const std::string& dir) {
                return saveBytes(alienCollada(buildAlienMesh(), "alienUV.jpg"),
                                 dir + "/alien.dae") &&
                       saveJpeg(paintAlienSkin(), dir + "/alienUV.jpg", kCrispQuality);
            }},
        map("sunmap.jpg", sunMap),
        Job{"fyrelFont",
            [](const std::string& dir) {
                for (const Glyph& g : fontGlyphs())
                    if (!saveJpeg(glyphPicture(g), dir + "/" + g.path, kCrispQuality)) return false;
                return true;
            }},
    };
}

// CPU time of the calling thread: wall time alone misleads on a busy machine.
double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

int generate(const std::string& dir) {
    const auto start = Clock::now();
    std::vector<Job> all = jobs();
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex print;
    auto worker = [&] {
        for (size_t i; (i = next++) < all.size();) {
            auto t0 = Clock::now();
            double cpu0 = threadSeconds();
            bool ok = all[i].run(dir);
            double s = std::chrono::duration<double>(Clock::now() - t0).count();
            double cpu = threadSeconds() - cpu0;
            std::lock_guard<std::mutex> lock(print);
            std::printf("  %-26s %6.2f s (cpu %5.2f s)%s\n", all[i].name.c_str(), s, cpu,
                        ok ? "" : "  FAILED");
            if (!ok) failed = true;
        }
    };
    unsigned n = std::max(2u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < n; ++t) threads.emplace_back(worker);
    for (auto& t : threads) t.join();
    double total = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("assets written to %s in %.2f s on %u threads\n", dir.c_str(), total, n);
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    FreeImage_Initialise(FALSE);
    int rc = 2;
    if (argc == 2) {
        std::filesystem::create_directories(argv[1]);
        rc = generate(argv[1]);
    } else if (argc == 4 && std::string(argv[1]) == "--preview") {
        rc = writePreview(argv[2], argv[3]) ? 0 : 1;
    } else {
        std::fprintf(stderr, "usage: %s <folder> | --preview <folder> <out.png>\n", argv[0]);
    }
    FreeImage_DeInitialise();
    return rc;
}
