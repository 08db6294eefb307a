#include <filesystem>
#include <glm/gtc/type_precision.hpp>
#include <string>
#include <vector>

#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/scene/Font.h"
#include "Rendering/scene/TextRenderer.h"
#include "platform/Input.h"
#include "tests/gl/GLTestFixture.h"

namespace {
const std::string kFontVertex = FYREL_SOURCE_DIR "/shaders/font.vert";
const std::string kFontFragment = FYREL_SOURCE_DIR "/shaders/font.frag";
// Decoder rows of a 6-pixel 24-bit picture: 18 bytes padded to 20.
constexpr int kRowBytes = 20;

// A distinct colour for every pixel of every synthetic glyph, red-green-blue.
glm::u8vec3 glyphColour(char c, int column, int row) {
    return {static_cast<uint8_t>(c * 3), static_cast<uint8_t>(40 * column + 20),
            static_cast<uint8_t>(17 * row + 9)};
}

GLuint liveBuffersArraysTextures() {
    GLuint live = 0;
    for (GLuint name = 1; name < 4096; ++name) {
        live += glIsBuffer(name) + glIsVertexArray(name) + glIsTexture(name);
    }
    return live;
}
}  // namespace

class TextRendering : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        ASSERT_EQ(vertex.compile() + fragment.compile(), 0);
        renderer.addShader(&vertex);
        renderer.addShader(&fragment);
        renderer.texts = &texts;
    }
    void TearDown() override {
        renderer.releaseGpuObjects();
        glDeleteShader(vertex.shaderId);
        glDeleteShader(fragment.shaderId);
        for (TextItem* item : texts) delete item;
        GLTest::TearDown();
    }

    // Pictures in the decoder's layout for `characters`; those in `failed` have none.
    void useSyntheticFont(const std::string& characters, const std::string& failed = "") {
        for (char c : characters) {
            std::vector<uint8_t>& picture = pictures.emplace_back(kRowBytes * 14, 0xEE);
            for (int row = 0; row < 14; ++row) {
                for (int column = 0; column < 6; ++column) {
                    const glm::u8vec3 rgb = glyphColour(c, column, row);
                    uint8_t* pixel = &picture[row * kRowBytes + column * 3];
                    pixel[0] = rgb.b, pixel[1] = rgb.g, pixel[2] = rgb.r;
                }
            }
            renderer.pictures[std::string(1, c)] = picture.data();
        }
        for (char c : failed) renderer.pictures[std::string(1, c)] = nullptr;
        renderer.init();
    }

    void addText(const std::string& text, int x, int y) {
        texts.push_back(new TextItem(text));
        texts.back()->x = x;
        texts.back()->y = y;
    }

    // As the frame loop draws it: over a cleared frame, depth test off.
    void drawFrame() {
        glClearColor(64 / 255.0f, 128 / 255.0f, 192 / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        int width = 0, height = 0;
        platform::input()->framebufferSize(width, height);
        renderer.setFramebufferSize(width, height);
        renderer.draw();
        glEnable(GL_DEPTH_TEST);
    }

    // Pixels of the block that differ from glyph `c` shown at `scale` (c == 0: from the clear
    // colour).
    int wrongPixels(int left, int bottom, int width, int height, char c, int scale = 1) {
        const Pixels pixels = readPixels(left, bottom, width, height);
        int wrong = 0;
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const uint8_t* p = pixels.at(column, row);
                const glm::u8vec3 want =
                    c ? glyphColour(c, column / scale, row / scale) : glm::u8vec3(64, 128, 192);
                wrong += glm::u8vec3(p[0], p[1], p[2]) != want;
            }
        }
        return wrong;
    }

    ShaderCompiler vertex{kFontVertex, GL_VERTEX_SHADER};
    ShaderCompiler fragment{kFontFragment, GL_FRAGMENT_SHADER};
    Rendering::TextRenderer renderer;
    std::vector<TextItem*> texts;
    std::vector<std::vector<uint8_t>> pictures;
};

TEST_F(TextRendering, ScoreLineLandsOnRows750To764AndLeavesNothingBound) {
    useSyntheticFont(" 0123456789:abcdefghijklmnopqrstuvwxyz");
    const std::string score = "fyrel: 8 von 8";
    addText(score, 15, 750);
    glActiveTexture(GL_TEXTURE0);
    drawFrame();

    const int n = static_cast<int>(score.size());
    for (int k = 0; k < n; ++k) {
        EXPECT_EQ(wrongPixels(15 + 6 * k, 750, 6, 14, score[k]), 0) << "character " << k;
    }
    // Nothing outside the block: the rows below and above, the columns either side.
    EXPECT_EQ(wrongPixels(15, 749, 6 * n, 1, 0) + wrongPixels(15, 764, 6 * n, 1, 0), 0);
    EXPECT_EQ(wrongPixels(14, 750, 1, 14, 0) + wrongPixels(15 + 6 * n, 750, 1, 14, 0), 0);
    savePNG("text_score_line");

    GLint program = -1, vertexArray = -1, texture = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(program + vertexArray, 0);
    for (int unit = 0; unit < n; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        EXPECT_EQ(texture, 0) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
    swap();
}

// Other framebuffers show the 1024 x 768 frame's text at a whole-number scale k: the score line
// keeps 15k columns to the left edge and 4k rows to the top, every picture pixel becomes a
// k x k block, and a centred item stays in the middle.
TEST_F(TextRendering, AtOtherSizesTheLineKeepsItsCornerAndWholePixelGlyphs) {
    useSyntheticFont(" 0123456789:abcdefghijklmnopqrstuvwxyz");
    const std::string score = "fyrel: 8 von 8";
    addText(score, 15, 750);
    addText("pause", 497, 377);
    texts.back()->anchor = TextAnchor::Centre;
    const int n = static_cast<int>(score.size());
    for (glm::ivec3 size :
         {glm::ivec3(1280, 720, 1), glm::ivec3(500, 700, 1), glm::ivec3(2048, 1536, 2)}) {
        ASSERT_TRUE(resizeWindow(size.x, size.y)) << size.x << " x " << size.y;
        const int k = size.z;
        drawFrame();
        savePNG("text_" + std::to_string(size.x) + "x" + std::to_string(size.y));

        const int left = 15 * k, bottom = size.y - 4 * k - 14 * k;
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(wrongPixels(left + 6 * k * i, bottom, 6 * k, 14 * k, score[i], k), 0)
                << size.x << " x " << size.y << ", character " << i;
        }
        EXPECT_EQ(wrongPixels(left, bottom - 1, 6 * k * n, 1, 0) +
                      wrongPixels(left, bottom + 14 * k, 6 * k * n, 1, 0),
                  0);
        EXPECT_EQ(wrongPixels(left - 1, bottom, 1, 14 * k, 0) +
                      wrongPixels(left + 6 * k * n, bottom, 1, 14 * k, 0),
                  0);
        EXPECT_EQ(wrongPixels(size.x / 2 - 15 * k, size.y / 2 - 7 * k, 6 * k, 14 * k, 'p', k), 0)
            << size.x << " x " << size.y;
        swap();
    }
}

TEST_F(TextRendering, MissingAndFailedGlyphsLeaveABlankAndEmptyTextDrawsNothing) {
    useSyntheticFont("ab", "q");
    addText("", 0, 0);
    drawFrame();
    EXPECT_EQ(wrongPixels(0, 0, 64, 32, 0), 0);

    addText("aXqb", 100, 40);  // 'X' is not in the font, 'q' failed to load
    drawFrame();
    EXPECT_EQ(wrongPixels(100, 40, 6, 14, 'a'), 0);
    EXPECT_EQ(wrongPixels(106, 40, 6, 14, 0), 0);
    EXPECT_EQ(wrongPixels(118, 40, 6, 14, 'b'), 0);
    EXPECT_EQ(renderer.glyphTextures.at("X"), 0u);
    // The failed picture has a texture without data; whatever it shows stays in its cell.
    EXPECT_EQ(wrongPixels(112, 39, 6, 1, 0) + wrongPixels(112, 54, 6, 1, 0), 0);
}

TEST_F(TextRendering, FramesReuseOneQuadAndReleaseFreesEverything) {
    const GLuint before = liveBuffersArraysTextures();
    useSyntheticFont("abc");
    addText("abcabc", 0, 0);
    for (int frame = 0; frame < 50; ++frame) drawFrame();
    EXPECT_EQ(liveBuffersArraysTextures(), before + 1 + 1 + 3);  // quad buffer, array, glyphs
    renderer.releaseGpuObjects();
    EXPECT_EQ(liveBuffersArraysTextures(), before);
}

// The game's own font pictures, when the asset step has made them: a picture to look at.
TEST_F(TextRendering, GameFontShowsEachDecodedPictureExactly) {
    const std::filesystem::path runDir = FYREL_RUN_DIR;
    if (!std::filesystem::exists(runDir / "fyrelFont/letters/f.jpg")) GTEST_SKIP() << "no font";
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(runDir);
    ImageFont font;
    std::filesystem::current_path(previous);
    renderer.setFont(&font);
    renderer.init();
    const std::string score = "fyrel: 8 von 8";
    addText(score, 15, 750);
    drawFrame();
    savePNG("text_game_font");

    for (int k = 0; k < static_cast<int>(score.size()); ++k) {
        const uint8_t* picture = font.pictures.at(std::string(1, score[k]));
        ASSERT_NE(picture, nullptr);
        const Pixels cell = readPixels(15 + 6 * k, 750, 6, 14);
        int wrong = 0;
        for (int i = 0; i < 6 * 14; ++i) {
            const uint8_t* want = &picture[(i / 6) * kRowBytes + (i % 6) * 3];
            const uint8_t* got = cell.at(i % 6, i / 6);
            wrong += got[0] != want[2] || got[1] != want[1] || got[2] != want[0];
        }
        EXPECT_EQ(wrong, 0) << "character " << k;
    }
    swap();
}
