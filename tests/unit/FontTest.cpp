#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Rendering/scene/Font.h"
#include "Rendering/scene/TextRenderer.h"

namespace fs = std::filesystem;
using Rendering::TextRenderer;

namespace {
void writePicture(const std::string& path, int width, int height) {
    fs::create_directories(fs::path(path).parent_path());
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    ASSERT_TRUE(bitmap && FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), JPEG_QUALITYSUPERB));
    FreeImage_Unload(bitmap);
}
}  // namespace

// Loads the font in a scratch folder that holds only a few pictures, some too small.
TEST(ImageFont, TableKeyOrderAndPicturesTooSmallForAGlyph) {
    const fs::path previous = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / "fyrel-font-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::current_path(folder);
    writePicture("fyrelFont/letters/a.jpg", 6, 14);  // exact glyph
    writePicture("fyrelFont/letters/b.jpg", 8, 16);  // larger still holds a glyph
    writePicture("fyrelFont/letters/c.jpg", 5, 14);  // a column short
    writePicture("fyrelFont/letters/d.jpg", 6, 13);  // a row short
    writePicture("fyrelFont/letters/z.jpg", 6, 14);  // loaded last
    testing::internal::CaptureStdout();              // failure lines of the missing pictures
    ImageFont font;
    testing::internal::GetCapturedStdout();
    fs::current_path(previous);
    fs::remove_all(folder);

    EXPECT_EQ(font.glyphWidth, 6);
    EXPECT_EQ(font.glyphHeight, 14);
    std::string order, pictureOrder;
    for (const auto& [key, path] : font.picturePaths) order += key;
    for (const auto& [key, pixels] : font.pictures) pictureOrder += key;
    EXPECT_EQ(order, " 0123456789:abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(pictureOrder, order);
    EXPECT_STREQ(font.picturePaths.at("q"), "fyrelFont/letters/q.jpg");
    EXPECT_STREQ(font.picturePaths.at("7"), "fyrelFont/numbers/7.jpg");
    EXPECT_STREQ(font.picturePaths.at(" "), "fyrelFont/sonderzeichen/space.jpg");
    EXPECT_STREQ(font.picturePaths.at(":"), "fyrelFont/sonderzeichen/colon.jpg");

    EXPECT_NE(font.pictures.at("a"), nullptr);
    EXPECT_NE(font.pictures.at("b"), nullptr);
    EXPECT_EQ(font.pictures.at("c"), nullptr);
    EXPECT_EQ(font.pictures.at("d"), nullptr);
    EXPECT_EQ(font.pictures.at("e"), nullptr);  // missing
    EXPECT_EQ(font.image->width, 6u);
    EXPECT_EQ(font.image->height, 14u);
}

TEST(GlyphPlacement, ScoreLabelCharactersStepBySixPixelsOnRows750To764) {
    const std::array<float, 24> quad = TextRenderer::glyphQuad(6, 14);
    const float right = -0.98828125f, top = -0.9635417f;
    const float expected[24] = {-1,    -1,  0, 1, right, -1,  0, 1, right, top, 0, 1,
                                right, top, 0, 1, -1,    top, 0, 1, -1,    -1,  0, 1};
    for (int i = 0; i < 24; ++i) EXPECT_NEAR(quad[i], expected[i], 1e-6f) << "float " << i;

    // Device coordinates back to pixels of the 1024 x 768 frame.
    for (int k = 0; k < 14; ++k) {
        const glm::vec2 offset = TextRenderer::glyphOffset(15, 750, k, 6);
        EXPECT_FLOAT_EQ((quad[0] + offset.x + 1.0f) * 512.0f, 15.0f + 6.0f * k);
        EXPECT_FLOAT_EQ((quad[4] + offset.x + 1.0f) * 512.0f, 21.0f + 6.0f * k);
        EXPECT_NEAR((quad[1] + offset.y + 1.0f) * 384.0f, 750.0f, 1e-3f);
        EXPECT_NEAR((quad[9] + offset.y + 1.0f) * 384.0f, 764.0f, 1e-3f);
    }
}
