// The generated assets, loaded with the libraries and calls the game uses.
#include <FreeImage.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "infra/Assets.h"
#include "tools/assetgen/FontGlyphs.h"
#include "tools/assetgen/Sound.h"

namespace {

const std::string kRunDir = FYREL_RUN_DIR;

// A picture as the game receives it: first row in memory is the bottom row, pixels B, G, R.
struct Decoded {
    unsigned width = 0, height = 0, bpp = 0;
    std::vector<uint8_t> rgb;  // tightly packed R, G, B, rows in memory order
    const uint8_t* at(unsigned x, unsigned row) const {
        return &rgb[(size_t(row) * width + x) * 3];
    }
    int luma(unsigned x, unsigned row) const {
        const uint8_t* p = at(x, row);
        return (p[0] * 3 + p[1] * 6 + p[2]) / 10;
    }
};

Decoded decode(const std::string& name) {
    const std::string path = kRunDir + "/" + name;
    Decoded out;
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN) fif = FreeImage_GetFIFFromFilename(path.c_str());
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) return out;
    FIBITMAP* bmp = FreeImage_Load(fif, path.c_str(), 0);
    if (!bmp) return out;
    out.width = FreeImage_GetWidth(bmp);
    out.height = FreeImage_GetHeight(bmp);
    out.bpp = FreeImage_GetBPP(bmp);
    if (out.bpp == 24) {
        const BYTE* bits = FreeImage_GetBits(bmp);
        const unsigned pitch = FreeImage_GetPitch(bmp);
        out.rgb.resize(size_t(out.width) * out.height * 3);
        for (unsigned row = 0; row < out.height; ++row)
            for (unsigned x = 0; x < out.width; ++x) {
                const BYTE* p = bits + size_t(row) * pitch + x * 3;
                uint8_t* q = &out.rgb[(size_t(row) * out.width + x) * 3];
                q[0] = p[FI_RGBA_RED];
                q[1] = p[FI_RGBA_GREEN];
                q[2] = p[FI_RGBA_BLUE];
            }
    }
    FreeImage_Unload(bmp);
    return out;
}

struct Map {
    const char* file;
    unsigned width, height;
};
const Map kSphereMaps[] = {
    {assets::neptuneMap, 2048, 1024}, {assets::jupiterMap, 2048, 1024},
    {assets::marsMap, 2048, 1024},    {assets::mercuryMap, 2048, 1024},
    {assets::uranusMap, 2048, 1024},  {assets::venusMap, 2048, 1024},
    {assets::saturnMap, 2048, 1024},  {assets::plutoMap, 2048, 1024},
    {assets::sunMap, 1024, 512},      {assets::skyMap, 4096, 2048},
};

struct MeanColour {
    double r = 0, g = 0, b = 0;
};
MeanColour meanColour(const Decoded& d) {
    MeanColour m;
    for (size_t i = 0; i < d.rgb.size(); i += 3) {
        m.r += d.rgb[i];
        m.g += d.rgb[i + 1];
        m.b += d.rgb[i + 2];
    }
    double n = static_cast<double>(d.rgb.size() / 3);
    return {m.r / n, m.g / n, m.b / n};
}

}  // namespace

TEST(AssetPictures, EveryPictureDecodesAs24BitColourAtItsSize) {
    std::vector<Map> all(std::begin(kSphereMaps), std::end(kSphereMaps));
    all.push_back({assets::alienSkin, 1024, 1024});
    for (const assetgen::Glyph& g : assetgen::fontGlyphs()) all.push_back({g.path.c_str(), 6, 14});
    ASSERT_EQ(all.size(), 49u);
    for (const Map& m : all) {
        Decoded d = decode(m.file);
        EXPECT_EQ(d.bpp, 24u) << m.file;
        EXPECT_EQ(d.width, m.width) << m.file;
        EXPECT_EQ(d.height, m.height) << m.file;
    }
}

// The game draws a glyph with its first row in memory at the text's baseline, so the bitmap's
// bottom row must come first. JPEG must not smear the pixels either.
TEST(AssetPictures, EveryGlyphDecodesUprightAndCloseToItsBitmap) {
    ASSERT_EQ(assetgen::fontGlyphs().size(), 38u);
    for (const assetgen::Glyph& g : assetgen::fontGlyphs()) {
        Decoded d = decode(g.path);
        ASSERT_EQ(d.rgb.size(), 6u * 14u * 3u) << g.path;
        int worst = 0, inked = 0;
        double total = 0;
        for (int row = 0; row < 14; ++row)
            for (int x = 0; x < 6; ++x) {
                bool ink = g.ink(x, 13 - row);
                inked += ink;
                for (int c = 0; c < 3; ++c) {
                    int error = std::abs(int(d.at(x, row)[c]) - (ink ? 255 : 0));
                    worst = std::max(worst, error);
                    total += error;
                }
            }
        // The game's decoder uses libjpeg's fast IDCT, which cannot quite reproduce hard edges.
        EXPECT_LE(worst, 16) << g.path;
        EXPECT_LE(total / (6 * 14 * 3), 2.0) << g.path;
        EXPECT_EQ(inked == 0, g.key == " ") << g.path;
    }
}

TEST(AssetPictures, SphereMapsJoinAtTheSeamAndDoNotPinchAtThePoles) {
    for (const Map& m : kSphereMaps) {
        Decoded d = decode(m.file);
        ASSERT_EQ(d.width, m.width) << m.file;
        // Across the u = 0/1 seam the picture changes no more than between any two columns.
        double seam = 0, inner = 0;
        for (unsigned row = 0; row < d.height; ++row) {
            seam += std::abs(d.luma(0, row) - d.luma(d.width - 1, row));
            inner += std::abs(d.luma(d.width / 2, row) - d.luma(d.width / 2 - 1, row));
        }
        EXPECT_LE(seam, 1.5 * inner + 2.0 * d.height) << m.file;
        // The first and last rows circle the poles closely: nearly one colour each. Noise
        // evaluated on (u, v) instead of the direction would streak them.
        for (unsigned row : {0u, d.height - 1}) {
            double sum = 0, sumSq = 0;
            for (unsigned x = 0; x < d.width; ++x) {
                sum += d.luma(x, row);
                sumSq += double(d.luma(x, row)) * d.luma(x, row);
            }
            double mean = sum / d.width,
                   spread = std::sqrt(std::max(0.0, sumSq / d.width - mean * mean));
            if (std::string(m.file) != assets::skyMap) {  // stars are points, anywhere
                EXPECT_LT(spread, 12.0) << m.file << " row " << row;
            }
        }
    }
}

TEST(AssetPictures, PlanetsHaveTheirColours) {
    auto mean = [](const char* f) { return meanColour(decode(f)); };
    MeanColour neptune = mean(assets::neptuneMap), mars = mean(assets::marsMap);
    MeanColour uranus = mean(assets::uranusMap), mercury = mean(assets::mercuryMap);
    EXPECT_GT(neptune.b, neptune.r + 60);
    EXPECT_GT(mars.r, mars.b + 40);
    EXPECT_GT(uranus.b, uranus.r + 20);
    EXPECT_GT(uranus.g, uranus.r + 20);
    EXPECT_LT(std::abs(mercury.r - mercury.b), 20);
    for (const char* warm : {assets::jupiterMap, assets::venusMap, assets::saturnMap,
                             assets::plutoMap, assets::sunMap}) {
        MeanColour c = mean(warm);
        EXPECT_GT(c.r, c.b + 30) << warm;
    }
    MeanColour sky = mean(assets::skyMap);
    EXPECT_LT(sky.r + sky.g + sky.b, 3 * 40.0);
}

// The first row in memory is the north pole on the game's spheres. Pluto's heart sits north of
// the equator with its lobes up: its widest rows must be further north than its point.
TEST(AssetPictures, PlutosHeartIsNorthAndUpright) {
    Decoded d = decode(assets::plutoMap);
    ASSERT_EQ(d.height, 1024u);
    std::vector<int> width(d.height, 0);
    for (unsigned row = 0; row < d.height; ++row)
        for (unsigned x = 0; x < d.width; ++x) width[row] += d.luma(x, row) > 225;
    int first = -1, last = -1, widest = 0;
    for (unsigned row = 0; row < d.height; ++row)
        if (width[row] > 8) {
            if (first < 0) first = int(row);
            last = int(row);
            if (width[row] > width[size_t(widest)]) widest = int(row);
        }
    ASSERT_GE(first, 0);
    EXPECT_LT((first + last) / 2, 512);             // north half
    EXPECT_LT(widest - first, (last - first) / 2);  // broad end first, the point towards south
    EXPECT_GT(last - first, 60);
}

TEST(AssetModel, AlienIsOneSmoothTexturedTriangleMesh) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(kRunDir + "/" + assets::alienModel, 0xB);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 1u);
    const aiMesh* m = scene->mMeshes[0];
    ASSERT_TRUE(m->HasPositions() && m->HasNormals() && m->HasTextureCoords(0));
    EXPECT_FALSE(m->HasTextureCoords(1));
    EXPECT_GE(m->mNumFaces, 2000u);
    EXPECT_LE(m->mNumFaces, 6000u);
    int badNormals = 0, badUv = 0, inward = 0;
    for (unsigned i = 0; i < m->mNumVertices; ++i) {
        badNormals += std::fabs(m->mNormals[i].Length() - 1.0f) > 1e-3f;
        const aiVector3D& t = m->mTextureCoords[0][i];
        badUv += t.x < 0 || t.x > 1 || t.y < 0 || t.y > 1;
    }
    for (unsigned f = 0; f < m->mNumFaces; ++f) {
        ASSERT_EQ(m->mFaces[f].mNumIndices, 3u);
        const unsigned* ix = m->mFaces[f].mIndices;
        aiVector3D a = m->mVertices[ix[0]], b = m->mVertices[ix[1]], c = m->mVertices[ix[2]];
        aiVector3D face = (b - a) ^ (c - a);
        aiVector3D out = m->mNormals[ix[0]] + m->mNormals[ix[1]] + m->mNormals[ix[2]];
        inward += face * out < 0;  // the game culls clockwise faces
    }
    EXPECT_EQ(badNormals, 0);
    EXPECT_EQ(badUv, 0);
    EXPECT_EQ(inward, 0);
}

// The game stands the model's origin on the planet and walks it along +Z.
TEST(AssetModel, AlienStandsOnItsOriginAndLooksAlongPlusZ) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(kRunDir + "/" + assets::alienModel, 0xB);
    ASSERT_NE(scene, nullptr);
    const aiMesh* m = scene->mMeshes[0];
    float low = 1e9f, high = -1e9f;
    for (unsigned i = 0; i < m->mNumVertices; ++i) {
        low = std::min(low, m->mVertices[i].y);
        high = std::max(high, m->mVertices[i].y);
    }
    EXPECT_NEAR(low, 0.0f, 0.01f);
    EXPECT_GE(high - low, 2.5f);
    EXPECT_LE(high - low, 3.5f);

    // The eyes are where the skin is near black: they must be high up on the +Z side, one on
    // each side of the face.
    Decoded skin = decode(assets::alienSkin);
    ASSERT_EQ(skin.width, 1024u);
    int eyes = 0, eyesLeft = 0, misplaced = 0;
    for (unsigned i = 0; i < m->mNumVertices; ++i) {
        const aiVector3D& t = m->mTextureCoords[0][i];
        unsigned x = std::min(1023u, unsigned(t.x * 1024)),
                 row = std::min(1023u, unsigned(t.y * 1024));
        if (skin.luma(x, row) > 45) continue;
        ++eyes;
        eyesLeft += m->mVertices[i].x < 0;
        misplaced += m->mVertices[i].z < 0.3f || m->mVertices[i].y < 2.0f;
    }
    EXPECT_GT(eyes, 40);
    EXPECT_EQ(misplaced, 0);
    EXPECT_GT(eyesLeft, eyes / 4);
    EXPECT_LT(eyesLeft, 3 * eyes / 4);
}

namespace {

// Decodes a sound the way the game's mixer does, on a silent mixer.
class SoundDecodeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
                Mix_OpenAudio(assetgen::kSampleRate, AUDIO_S16SYS, 2, 1024) == 0;
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    static std::vector<int16_t> load(const std::string& name) {
        Mix_Chunk* chunk = Mix_LoadWAV((kRunDir + "/" + name).c_str());
        if (!chunk) return {};
        const int16_t* s = reinterpret_cast<const int16_t*>(chunk->abuf);
        std::vector<int16_t> out(s, s + chunk->alen / 2);
        Mix_FreeChunk(chunk);
        return out;
    }
    static int peak(const std::vector<int16_t>& s) {
        int p = 0;
        for (int16_t v : s) p = std::max(p, std::abs(int(v)));
        return p;
    }
    static double rms(const std::vector<int16_t>& s) {
        double sum = 0;
        for (int16_t v : s) sum += double(v) * v;
        return std::sqrt(sum / std::max<size_t>(1, s.size()));
    }
    static inline bool ready = false;
    static constexpr int kMinus1dB = 29204;  // 32767 * 10^(-1/20)
};

}  // namespace

TEST_F(SoundDecodeTest, MusicIsAWholeLoopOfTheStatedLengthWithinHeadroom) {
    ASSERT_TRUE(ready) << Mix_GetError();
    std::vector<int16_t> music = load(assets::music);
    // Exactly the encoded length: the gapless tag is honoured, so the loop has no hole.
    ASSERT_EQ(music.size(), size_t(assetgen::kMusicFrames) * 2);
    const double seconds = double(music.size() / 2) / assetgen::kSampleRate;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);
    EXPECT_LE(peak(music), kMinus1dB);
    EXPECT_GT(rms(music), 32768 * 0.03);  // above -30 dBFS: clearly audible

    // At the seam (last frame, then first frame again) the wave moves no more than it
    // ordinarily does from one sample to the next.
    const size_t frames = music.size() / 2;
    for (int ch = 0; ch < 2; ++ch) {
        std::vector<int> steps;
        for (size_t i = 0; i + 1 < frames; ++i)
            steps.push_back(std::abs(music[2 * (i + 1) + ch] - music[2 * i + ch]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        int ordinary = steps[steps.size() * 99 / 100];
        int seam = std::abs(music[size_t(ch)] - music[2 * (frames - 1) + ch]);
        EXPECT_LE(seam, ordinary) << "channel " << ch;
    }
}

TEST_F(SoundDecodeTest, ChimeIsShortBrightAndStartsAndEndsInSilence) {
    ASSERT_TRUE(ready) << Mix_GetError();
    std::vector<int16_t> chime = load(assets::chime);
    ASSERT_EQ(chime.size(), size_t(assetgen::kChimeFrames) * 2);
    const double seconds = double(chime.size() / 2) / assetgen::kSampleRate;
    EXPECT_GE(seconds, 0.8);
    EXPECT_LE(seconds, 1.5);
    EXPECT_LE(peak(chime), kMinus1dB);
    EXPECT_GT(peak(chime), kMinus1dB / 2);
    // No click: it starts from silence and has died away by its last few milliseconds.
    std::vector<int16_t> head(chime.begin(), chime.begin() + 2 * 4);
    std::vector<int16_t> tail(chime.end() - 2 * 220, chime.end());
    EXPECT_LT(peak(head), 1500);
    EXPECT_LT(peak(tail), 300);
}
