// Writes every picture, the alien model, the sounds and the icons the game reads into one folder.
//   fyrel_assetgen <folder> [<sums>]             generate all assets; record their hashes
//   fyrel_assetgen --repair <folder> <sums>      make again what changed since it was recorded
//   fyrel_assetgen --preview <folder> <out.png>  contact sheet of the generated assets
#include <FreeImage.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "infra/Assets.h"
#include "tools/assetgen/Alien.h"
#include "tools/assetgen/FontGlyphs.h"
#include "tools/assetgen/Icon.h"
#include "tools/assetgen/Jobs.h"
#include "tools/assetgen/Planets.h"
#include "tools/assetgen/Preview.h"
#include "tools/assetgen/Sound.h"

namespace {

using namespace assetgen;

constexpr int kMapQuality = 92;
// Small sharp pictures must not smear: full-resolution colour, and the quality at which the
// game's decoder (FreeImage's default, libjpeg's fast integer IDCT) returns them closest to the
// original; at 100 that IDCT rings by up to a quarter of the range on a glyph's edges.
constexpr int kCrispQuality = 92 | JPEG_SUBSAMPLING_444;

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

Job fontJob() {
    Job job;
    for (const Glyph& g : fontGlyphs()) job.outputs.push_back(g.path);
    job.run = [](const std::string& dir) {
        for (const Glyph& g : fontGlyphs())
            if (!saveJpeg(glyphPicture(g), dir + "/" + g.path, kCrispQuality)) return false;
        return true;
    };
    return job;
}

// Every size of the icon the manifest lists; its name is the size in pixels.
Job iconJob() {
    Job job;
    for (const assets::File& file : assets::filesOf(assets::Kind::Icon)) {
        job.outputs.push_back(file.path);
    }
    job.run = [](const std::string& dir) {
        for (const assets::File& file : assets::filesOf(assets::Kind::Icon)) {
            const std::string path = dir + "/" + file.path;
            const IconPicture icon = drawIcon(std::stoi(file.name));
            if (!commit(path + ".tmp", path, icon.savePng(path + ".tmp"))) return false;
        }
        return true;
    };
    return job;
}

std::vector<Job> jobs() {
    auto map = [](const char* file, Picture (*make)()) {
        return Job{{file}, [=](const std::string& dir) {
                       return saveJpeg(make(), dir + "/" + file, kMapQuality);
                   }};
    };
    // Longest first, so the two workers finish together.
    return {
        map(assets::skyMap, skyMap),
        Job{{assets::music, assets::chime},
            [](const std::string& dir) {
                return saveBytes(encodeMp3(synthMusic(), 160), dir + "/" + assets::music) &&
                       saveBytes(encodeMp3(synthChime(), 160), dir + "/" + assets::chime);
            }},
        map(assets::mercuryMap, mercuryMap),
        map(assets::venusMap, venusMap),
        map(assets::jupiterMap, jupiterMap),
        map(assets::marsMap, marsMap),
        map(assets::plutoMap, plutoMap),
        map(assets::neptuneMap, neptuneMap),
        map(assets::saturnMap, saturnMap),
        map(assets::uranusMap, uranusMap),
        Job{{assets::alienModel, assets::alienSkin},
            [](const std::string& dir) {
                return saveBytes(alienCollada(buildAlienMesh(), assets::alienSkin),
                                 dir + "/" + assets::alienModel) &&
                       saveJpeg(paintAlienSkin(), dir + "/" + assets::alienSkin, kCrispQuality);
            }},
        map(assets::sunMap, sunMap),
        fontJob(),
        iconJob(),
    };
}

// The jobs must write exactly the files the manifest lists as generated: the build takes its
// outputs from the manifest, and the game its file names.
bool matchesManifest(const std::vector<Job>& all) {
    const std::vector<std::string> mismatches = manifestMismatches(all);
    for (const std::string& path : mismatches) {
        std::fprintf(stderr,
                     "fyrel_assetgen: \"%s\" is written or listed in the asset manifest, "
                     "not both\n",
                     path.c_str());
    }
    return mismatches.empty();
}

int generate(const std::string& dir, const std::string& sums) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Job> all = jobs();
    if (!matchesManifest(all)) return 2;
    std::filesystem::create_directories(dir);
    std::vector<size_t> every(all.size());
    std::iota(every.begin(), every.end(), size_t{0});
    const bool ok = runJobs(all, every, dir);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assets written to %s in %.2f s\n", dir.c_str(), seconds);
    if (ok && !sums.empty() && !writeSums(dir, all, sums)) {
        std::fprintf(stderr, "fyrel_assetgen: cannot record the assets in %s\n", sums.c_str());
        return 1;
    }
    return ok ? 0 : 1;
}

int repair(const std::string& dir, const std::string& sums) {
    const std::vector<Job> all = jobs();
    if (!matchesManifest(all)) return 2;
    const std::vector<size_t> stale = staleJobs(dir, all, sums);
    if (stale.empty()) return 0;
    std::printf("making again the assets that changed since they were generated:\n");
    return runJobs(all, stale, dir) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    FreeImage_Initialise(FALSE);
    int rc = 2;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 2 || (argc == 3 && mode.rfind("--", 0) != 0)) {
        rc = generate(argv[1], argc == 3 ? argv[2] : "");
    } else if (argc == 4 && mode == "--repair") {
        rc = repair(argv[2], argv[3]);
    } else if (argc == 4 && mode == "--preview") {
        rc = writePreview(argv[2], argv[3]) ? 0 : 1;
    } else {
        std::fprintf(stderr,
                     "usage: %s <folder> [<sums>] | --repair <folder> <sums> | "
                     "--preview <folder> <out.png>\n",
                     argv[0]);
    }
    FreeImage_DeInitialise();
    return rc;
}
