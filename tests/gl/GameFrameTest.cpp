#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/Camera.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/core/SceneObject.h"
#include "app/FrameLoop.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "harness/AutopilotInput.h"
#include "harness/ScriptedInput.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/gl/GLTestFixture.h"

namespace {
constexpr int kWidth = 1024, kHeight = 768;

struct Rgb {
    int r, g, b;
    int brightest() const { return std::max({r, g, b}); }
};

Rgb at(const Pixels& frame, int x, int y) {
    const uint8_t* p = frame.at(x, y);
    return {p[0], p[1], p[2]};
}

// Window pixel (origin bottom left) of a world point, as the transformer projects it.
glm::ivec2 onScreen(const Rendering::BasicTransformer& transformer, glm::vec3 point) {
    glm::vec4 clip = transformer.projection * transformer.view * glm::vec4(point, 1.0f);
    glm::vec2 ndc = glm::vec2(clip) / clip.w;
    return glm::ivec2((ndc * 0.5f + 0.5f) * glm::vec2(kWidth, kHeight));
}
}  // namespace

// The started game, one frame drawn the way the frame loop draws it.
class GameFrame : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(FYREL_RUN_DIR);
        game = new MainGame;
        ASSERT_TRUE(game->start());
        platform::setInput(&input);
    }
    void TearDown() override {
        if (game) game->releaseGpuObjects();
        delete game;
        std::filesystem::current_path(previousFolder);
        GLTest::TearDown();
    }

    Pixels drawOneFrame(double seconds, int width = kWidth, int height = kHeight) {
        input.now += seconds;
        game->update();
        game->renderers->transformer->update();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawFrame(*game->renderers);
        return readPixels(0, 0, width, height);
    }

    std::filesystem::path previousFolder;
    MainGame* game = nullptr;
    ScriptedInput input;
};

TEST_F(GameFrame, ShowsTheScoreThePlanetsTheAlienAndTheSky) {
    const Pixels frame = drawOneFrame(0.1);
    savePNG("game_frame");

    // "fyrel: 8 von 8": every glyph but the spaces puts light pixels into its 6 x 14 cell of
    // rows 750 to 763, and nothing of it reaches the rows above.
    const std::string score = "fyrel: 8 von 8";
    for (size_t k = 0; k < score.size(); ++k) {
        int lit = 0;
        for (int y = 750; y < 764; ++y)
            for (int x = 15 + 6 * int(k); x < 21 + 6 * int(k); ++x) lit += at(frame, x, y).r > 150;
        if (score[k] == ' ') {
            EXPECT_EQ(lit, 0) << "space at " << k;
        } else {
            EXPECT_GT(lit, 3) << "glyph '" << score[k] << "' at " << k;
        }
    }

    const Rendering::BasicTransformer& transformer = *game->renderers->transformer;
    // The first planet, Neptune, is blue where its centre is seen.
    glm::ivec2 neptune = onScreen(transformer, game->scene->planets[0]->position);
    ASSERT_TRUE(neptune.x > 0 && neptune.x < kWidth && neptune.y > 0 && neptune.y < kHeight);
    Rgb blue = at(frame, neptune.x, neptune.y);
    EXPECT_GT(blue.b, blue.r + 40) << neptune.x << "," << neptune.y;

    // The alien's green skin shows around the middle of its body, above the planet.
    const SceneObject& alien = *game->scene->alien;
    glm::ivec2 body = onScreen(transformer, alien.position + alien.up * 1.0f);
    int green = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            Rgb p = at(frame, body.x + dx, body.y + dy);
            green += p.g > p.r + 10 && p.g > p.b + 10;
        }
    EXPECT_GT(green, 4) << "alien around " << body.x << "," << body.y;

    // Sky: a dark field with scattered stars in the top right corner.
    int dark = 0, stars = 0;
    for (int y = 600; y < 740; ++y)
        for (int x = 850; x < 1020; ++x) {
            int light = at(frame, x, y).brightest();
            dark += light < 60;
            stars += light > 120;
        }
    EXPECT_GT(dark, 140 * 170 * 8 / 10);
    EXPECT_GT(stars, 3);
}

// Leaving out what cannot be seen (objects outside the view or the glow regions, lights out of
// reach, the sky behind the planets) must not change a pixel. The bot plays, so the frames
// compared show the alien on several planets, in flight, and orbs near and far; each is drawn
// the straightforward way (every visible object, every light, the sky first) and the quick way.
TEST_F(GameFrame, SkippingUnseenWorkLeavesEveryPixelAsItWas) {
    AutopilotInput autopilot(&input, 0.1);
    platform::setInput(&autopilot);
    RendererSet& renderers = *game->renderers;
    auto drawWith = [&](bool skipUnseen) {
        renderers.skipUnseenWork(skipUnseen);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawFrame(renderers);
        return readPixels(0, 0, kWidth, kHeight);
    };
    int objectsLeftOut = 0, lightsLeftOut = 0;
    for (int moment = 0; moment < 6; ++moment) {
        for (int step = 0; step < 60; ++step) {
            autopilot.beforeUpdate(*game->scene, *game->player);
            game->update();
        }
        game->renderers->transformer->update();
        const Pixels straightforward = drawWith(false);
        if (moment == 3) savePNG("frame_straightforward");
        const Pixels quick = drawWith(true);
        if (moment == 3) savePNG("frame_skipping_unseen");
        int differing = 0, largest = 0;
        const std::vector<uint8_t>& a = straightforward.bytes();
        const std::vector<uint8_t>& b = quick.bytes();
        for (size_t i = 0; i < a.size(); i += 4) {
            int diff = 0;
            for (size_t c = 0; c < 3; ++c) diff = std::max(diff, std::abs(a[i + c] - b[i + c]));
            differing += diff > 0;
            largest = std::max(largest, diff);
        }
        EXPECT_EQ(differing, 0) << "moment " << moment << ", largest difference " << largest;
        const Rendering::BasicRenderer::DrawCounts& drawn = renderers.litRenderer->lastDraw;
        objectsLeftOut += drawn.objects < renderers.litRenderer->objects.size();
        lightsLeftOut += drawn.lights < 8 * drawn.objects;
    }
    // Otherwise the comparison proves nothing.
    EXPECT_GT(objectsLeftOut, 0);
    EXPECT_GT(lightsLeftOut, 0);
    platform::setInput(&input);
}

// A framebuffer with twice the window's pixels each way (a HiDPI screen): the camera keeps the
// window's aspect, while the text and the post-processing use every framebuffer pixel. The score
// line is the 1024 x 768 one with each pixel doubled, 30 pixels from the left and 8 from the top.
TEST_F(GameFrame, AFramebufferTwiceTheWindowGetsDoubledTextAndFullSizeGlow) {
    const std::string score = "fyrel: 8 von 8";
    const int cellsWidth = 6 * static_cast<int>(score.size());
    drawOneFrame(0.0);
    const Pixels single = readPixels(15, 750, cellsWidth, 14);

    ASSERT_TRUE(resizeWindow(2 * kWidth, 2 * kHeight));
    input.fbWidth = 2 * kWidth, input.fbHeight = 2 * kHeight;
    drawOneFrame(0.1, 2 * kWidth, 2 * kHeight);
    savePNG("game_frame_hidpi");
    EXPECT_EQ(game->scene->camera->aspect, 4.0f / 3.0f);
    const Rendering::GlowRenderer& glow = *game->renderers->glowRenderer;
    EXPECT_EQ(glm::ivec2(glow.targetWidth(), glow.targetHeight()),
              glm::ivec2(2 * kWidth, 2 * kHeight));

    const Pixels doubled = readPixels(30, 2 * kHeight - 8 - 28, 2 * cellsWidth, 28);
    int wrong = 0, lit = 0;
    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x < 2 * cellsWidth; ++x) {
            const uint8_t *got = doubled.at(x, y), *want = single.at(x / 2, y / 2);
            wrong += got[0] != want[0] || got[1] != want[1] || got[2] != want[2];
            lit += got[0] > 150;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(lit, 4 * 3 * 11);  // at least three lit picture pixels in each of the 11 glyphs
}

// P frees the captured cursor for the pause and takes it back afterwards; once F5 has freed
// it, it stays free.
TEST_F(GameFrame, ThePauseFreesTheCursorUntilTheGameGoesOnUnlessF5FreedIt) {
    platform::Window& window = *platform::Window::current();
    window.captureCursor();
    auto frameWith = [&](platform::Key key) {
        input.tap(key);
        runFrame(game);
        input.forgetTaps();
    };
    frameWith(platform::Key::P);
    EXPECT_TRUE(game->paused());
    EXPECT_FALSE(window.cursorCaptured());
    frameWith(platform::Key::P);
    EXPECT_TRUE(window.cursorCaptured());

    frameWith(platform::Key::P);
    frameWith(platform::Key::F5);
    frameWith(platform::Key::P);
    EXPECT_FALSE(game->paused());
    EXPECT_FALSE(window.cursorCaptured());
}
