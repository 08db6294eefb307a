#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <map>
#include <string>

#include "Rendering/scene/Font.h"
#include "Rendering/scene/TextLayout.h"
#include "Rendering/scene/TextRenderer.h"
#include "infra/Assets.h"

namespace fs = std::filesystem;
using Rendering::TextRenderer;

namespace {
void writePicture(const std::string& path, int width, int height) {
    fs::create_directories(fs::path(path).parent_path());
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    ASSERT_TRUE(bitmap && FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), JPEG_QUALITYSUPERB));
    FreeImage_Unload(bitmap);
}

// Device x and y of a point moved by `matrix`, in framebuffer pixels.
glm::vec2 toPixels(const glm::mat4& matrix, float x, float y, int width, int height) {
    const glm::vec4 p = matrix * glm::vec4(x, y, 0.0f, 1.0f);
    return {(p.x + 1.0f) * 0.5f * width, (p.y + 1.0f) * 0.5f * height};
}
}  // namespace

// Loads the font in a scratch folder that holds only a few of its pictures, by the asset
// manifest's paths, some too small for a glyph: every character of the manifest gets a slot,
// filled only from a picture that holds a whole glyph.
TEST(ImageFont, EachCharacterTakesItsManifestPictureWhenThatHoldsAGlyph) {
    std::map<std::string, std::string> pathOf;
    for (const assets::File& glyph : assets::filesOf(assets::Kind::Glyph))
        pathOf[glyph.name] = glyph.path;
    const fs::path previous = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / "fyrel-font-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::current_path(folder);
    writePicture(pathOf.at("a"), 6, 14);  // exact glyph
    writePicture(pathOf.at("b"), 8, 16);  // larger still holds a glyph
    writePicture(pathOf.at("c"), 5, 14);  // a column short
    writePicture(pathOf.at("d"), 6, 13);  // a row short
    writePicture(pathOf.at(":"), 6, 14);
    testing::internal::CaptureStdout();  // failure lines of the missing pictures
    ImageFont font;
    testing::internal::GetCapturedStdout();
    fs::current_path(previous);
    fs::remove_all(folder);

    EXPECT_EQ(font.glyphWidth, 6);
    EXPECT_EQ(font.glyphHeight, 14);
    std::map<std::string, std::string> slots;
    for (const auto& [character, pixels] : font.pictures) slots[character] = pathOf[character];
    EXPECT_EQ(slots, pathOf);
    for (const char* loaded : {"a", "b", ":"})
        EXPECT_NE(font.pictures.at(loaded), nullptr) << loaded;
    for (const char* empty : {"c", "d", "e"}) EXPECT_EQ(font.pictures.at(empty), nullptr) << empty;
}

TEST(GlyphPlacement, AtTheDefaultSizeTheScoreLineMatricesAreTheOldTranslationsBitForBit) {
    const std::array<float, 24> quad = TextRenderer::glyphQuad(6, 14);
    const float right = -0.98828125f, top = -0.9635417f;
    const float expected[24] = {-1,    -1,  0, 1, right, -1,  0, 1, right, top, 0, 1,
                                right, top, 0, 1, -1,    top, 0, 1, -1,    -1,  0, 1};
    for (int i = 0; i < 24; ++i) EXPECT_NEAR(quad[i], expected[i], 1e-6f) << "float " << i;

    TextItem score("fyrel: 8 von 8");
    score.x = 15, score.y = 750;
    EXPECT_EQ(Rendering::textScale(1024, 768), 1);
    for (int k = 0; k < 14; ++k) {
        const Rendering::GlyphCell cell = Rendering::glyphCell(score, k, 6, 14, 1024, 768);
        EXPECT_EQ(cell, (Rendering::GlyphCell{15 + 6 * k, 750, 6, 14}));
        // The placement every frame at this size has always used.
        const glm::vec3 offset(15.0f / 512.0f + static_cast<float>(6 * k) / 512.0f, 750.0f / 384.0f,
                               0.0f);
        const glm::mat4 old = glm::translate(glm::mat4(1.0f), offset);
        const glm::mat4 now = Rendering::glyphMatrix(cell, 1, 1024, 768);
        EXPECT_EQ(std::memcmp(&old, &now, sizeof(old)), 0) << "character " << k;
    }
}

TEST(GlyphPlacement, WholeNumberScaleAndEachAnchorKeepsItsDistance) {
    using Rendering::glyphCell;
    using Rendering::GlyphCell;
    using Rendering::textScale;
    EXPECT_EQ(textScale(500, 700), 1);  // smaller than the frame: never shrunk
    EXPECT_EQ(textScale(1280, 720), 1);
    EXPECT_EQ(textScale(2047, 1536), 1);  // just short of twice: no stretching either
    EXPECT_EQ(textScale(2048, 1536), 2);
    EXPECT_EQ(textScale(3840, 1600), 2);
    EXPECT_EQ(textScale(0, 0), 1);

    TextItem score("fyrel"), hint("f1"), middle("pause");
    score.x = 15, score.y = 750;
    hint.x = 15, hint.y = 4, hint.anchor = TextAnchor::BottomLeft;
    middle.x = 497, middle.y = 377, middle.anchor = TextAnchor::Centre;
    // Top left: 15k from the left, 4k from the top.
    EXPECT_EQ(glyphCell(score, 1, 6, 14, 1280, 720), (GlyphCell{21, 702, 6, 14}));
    EXPECT_EQ(glyphCell(score, 1, 6, 14, 500, 700), (GlyphCell{21, 682, 6, 14}));
    EXPECT_EQ(glyphCell(score, 1, 6, 14, 2048, 1536), (GlyphCell{42, 1500, 12, 28}));
    EXPECT_EQ(glyphCell(hint, 1, 6, 14, 2048, 1536), (GlyphCell{42, 8, 12, 28}));
    EXPECT_EQ(glyphCell(hint, 0, 6, 14, 500, 700), (GlyphCell{15, 4, 6, 14}));
    EXPECT_EQ(glyphCell(middle, 0, 6, 14, 1024, 768), (GlyphCell{497, 377, 6, 14}));
    EXPECT_EQ(glyphCell(middle, 1, 6, 14, 2048, 1536), (GlyphCell{1006, 754, 12, 28}));
    EXPECT_EQ(glyphCell(middle, 0, 6, 14, 1280, 720), (GlyphCell{625, 353, 6, 14}));
}

TEST(GlyphPlacement, TheMatrixPutsTheQuadOnItsCellAtAnySize) {
    const std::array<float, 24> quad = TextRenderer::glyphQuad(6, 14);
    TextItem score("fyrel");
    score.x = 15, score.y = 750;
    for (glm::ivec2 size : {glm::ivec2(500, 700), glm::ivec2(1280, 720), glm::ivec2(2048, 1536),
                            glm::ivec2(2048, 1200)}) {
        const int k = Rendering::textScale(size.x, size.y);
        const Rendering::GlyphCell cell = Rendering::glyphCell(score, 3, 6, 14, size.x, size.y);
        const glm::mat4 matrix = Rendering::glyphMatrix(cell, k, size.x, size.y);
        const glm::vec2 low = toPixels(matrix, quad[0], quad[1], size.x, size.y);
        const glm::vec2 high = toPixels(matrix, quad[8], quad[9], size.x, size.y);
        EXPECT_NEAR(low.x, cell.left, 1e-3f) << size.x;
        EXPECT_NEAR(low.y, cell.bottom, 1e-3f) << size.x;
        EXPECT_NEAR(high.x, cell.left + 6 * k, 1e-3f) << size.x;
        EXPECT_NEAR(high.y, cell.bottom + 14 * k, 1e-3f) << size.x;
    }
}
