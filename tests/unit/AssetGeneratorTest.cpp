// The asset generator's building blocks, where a slip would not show as a wrong file size but
// as a shifted map, a hole in the music loop or a part painted over another.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/assetgen/Alien.h"
#include "tools/assetgen/Jobs.h"
#include "tools/assetgen/Picture.h"
#include "tools/assetgen/Sound.h"

using namespace assetgen;

namespace {

// A smooth, asymmetric colour field over the sphere: any shift, mirror or swap of rows or
// columns changes it.
Rgb field(Vec3 d) {
    return {0.5f + 0.45f * d.x, 0.5f + 0.45f * d.y, 0.5f + 0.3f * d.z + 0.15f * d.x * d.y};
}

}  // namespace

// A file deleted, cut short or edited (at the same size) after it was generated is found, and
// only the jobs that wrote such files are given; before anything was recorded none are.
TEST(GenerationRecord, GivesTheJobsWhoseFilesChangedSinceTheyWereWritten) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "fyrel-generation-record";
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto writes = [](std::vector<std::string> names) {
        return Job{names, [names](const std::string& folder) {
                       for (const std::string& name : names)
                           std::ofstream(folder + "/" + name) << name;
                       return true;
                   }};
    };
    const std::vector<Job> jobs = {writes({"a", "b"}), writes({"cc"}), writes({"dd"}),
                                   writes({"e"})};
    const std::string sums = (dir / "sums").string();
    EXPECT_TRUE(staleJobs(dir.string(), jobs, sums).empty());

    ASSERT_TRUE(runJobs(jobs, {0, 1, 2, 3}, dir.string()));
    ASSERT_TRUE(writeSums(dir.string(), jobs, sums));
    EXPECT_TRUE(staleJobs(dir.string(), jobs, sums).empty());

    fs::remove(dir / "b");
    fs::resize_file(dir / "cc", 1);
    std::ofstream(dir / "dd") << "DD";
    EXPECT_EQ(staleJobs(dir.string(), jobs, sums), (std::vector<size_t>{0, 1, 2}));
    ASSERT_TRUE(runJobs(jobs, {0, 1, 2}, dir.string()));
    EXPECT_TRUE(staleJobs(dir.string(), jobs, sums).empty());
    fs::remove_all(dir);
}

TEST(SphereMaps, FirstRowInMemoryIsNorthAndUGrowsTowardsMinusZ) {
    Picture map(64, 32);
    fillSphereMap(map, field);
    // Row 0 circles +y; the column at u = 1/4 looks along -z, the one at u = 1/2 along -x.
    EXPECT_NEAR(map.get(0, 0).g, 0.95f, 0.01f);
    EXPECT_NEAR(map.get(0, 31).g, 0.05f, 0.01f);
    EXPECT_NEAR(map.get(16, 16).b, 0.2f, 0.02f);
    EXPECT_NEAR(map.get(32, 16).r, 0.05f, 0.02f);
}

// The smooth layer is computed at half resolution and stretched: it must land on the same
// directions as the full-resolution texels, across the seam and at the poles too.
TEST(SphereMaps, HalfResolutionLayerLinesUpWithTheFullMap) {
    Picture direct(256, 128), layered(256, 128);
    fillSphereMap(direct, field);
    fillSphereMapLayered(layered, field, [](Vec3, Rgb c) { return c; });
    float worst = 0;
    for (int row = 0; row < 128; ++row)
        for (int x = 0; x < 256; ++x) {
            Rgb a = direct.get(x, row), b = layered.get(x, row);
            worst =
                std::max({worst, std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)});
        }
    EXPECT_LE(worst, 3.0f / 255.0f);
}

TEST(SphereMaps, HalfGridLookupWrapsAroundTheSeam) {
    // A grid whose cells hold their own column number: the full map's first and last texels
    // must blend the grid's last and first columns.
    const int cw = 8, ch = 4;
    std::vector<float> grid(cw * ch);
    for (int i = 0; i < cw * ch; ++i) grid[size_t(i)] = float(i % cw);
    EXPECT_FLOAT_EQ(halfGridAt(grid, cw, ch, 0, 2), 0.25f * 7 + 0.75f * 0);
    EXPECT_FLOAT_EQ(halfGridAt(grid, cw, ch, 15, 2), 0.75f * 7 + 0.25f * 0);
    EXPECT_FLOAT_EQ(halfGridAt(grid, cw, ch, 5, 2), 0.75f * 2 + 0.25f * 3);
}

// Decoders return exactly the encoded frames only when the encoder's tag is in place; a
// missing tag adds over a thousand frames of silence, a gap at every loop.
TEST(Mp3, EncodedSoundDecodesToExactlyItsLength) {
    const int frames = 12345;
    std::vector<float> tone(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        float v = 0.5f * std::sin(kTwoPi * 440.0f * float(i) / kSampleRate);
        tone[size_t(2 * i)] = v;
        tone[size_t(2 * i + 1)] = -v;
    }
    std::vector<uint8_t> mp3 = encodeMp3(tone, 160);
    ASSERT_FALSE(mp3.empty());

    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    ASSERT_EQ(Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(mp3.data(), int(mp3.size())), 1);
    ASSERT_NE(chunk, nullptr) << Mix_GetError();
    const int16_t* s = reinterpret_cast<const int16_t*>(chunk->abuf);
    const size_t decoded = chunk->alen / 4;
    // Away from the tone's abrupt ends, which the codec smears.
    double error = 0;
    size_t compared = 0;
    for (size_t i = 1152; i + 1152 < std::min<size_t>(decoded, frames); ++i, ++compared)
        for (int ch = 0; ch < 2; ++ch) {
            double e = s[2 * i + ch] / 32767.0 - tone[2 * i + ch];
            error += e * e;
        }
    error = std::sqrt(error / std::max<size_t>(1, 2 * compared));
    Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    EXPECT_EQ(decoded, size_t(frames));
    EXPECT_LT(error, 0.02);  // in time with the input, not shifted by the encoder's delay
}

TEST(AlienSkin, PartsHaveTheirOwnPatchesAndTheMeshStaysInThem) {
    std::vector<SkinPatch> patches = alienSkinPatches();
    for (size_t i = 0; i < patches.size(); ++i) {
        const SkinPatch& a = patches[i];
        EXPECT_TRUE(a.x0 >= 0 && a.y0 >= 0 && a.x1 <= kSkinSize && a.y1 <= kSkinSize) << a.part;
        for (size_t j = i + 1; j < patches.size(); ++j) {
            const SkinPatch& b = patches[j];
            bool apart = a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0;
            EXPECT_TRUE(apart) << a.part << " overlaps " << b.part;
        }
    }
    AlienMesh mesh = buildAlienMesh();
    int outside = 0;
    for (const auto& uv : mesh.uvs) {
        float x = uv[0] * kSkinSize, y = (1.0f - uv[1]) * kSkinSize;
        bool inside = false;
        for (const SkinPatch& p : patches)
            inside |= x >= float(p.x0) && x <= float(p.x1) && y >= float(p.y0) && y <= float(p.y1);
        outside += !inside;
    }
    EXPECT_EQ(outside, 0);
}
