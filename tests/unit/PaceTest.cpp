#include <gtest/gtest.h>

#include <cmath>

#include "TestGame.h"

// The game keeps one pace at any frame rate: its update driven by a fixed clock at 20, 60, 144
// and 240 frames a second.

namespace {

constexpr int kRates[] = {20, 60, 144, 240};

// A game past its first update (which has no time step), so that every later update at `fps`
// moves the game on by 1/fps.
struct PacedGame : TestGame {
    const int fps;
    explicit PacedGame(int fps, unsigned seed = 11) : TestGame(seed), fps(fps) { step(); }
    void step() { update(1.0 / fps); }
};

// Exact for small angles too, where acos of a float loses them.
float degreesBetween(const glm::vec3& a, const glm::vec3& b) {
    return glm::degrees(std::atan2(glm::length(glm::cross(a, b)), glm::dot(a, b)));
}

}  // namespace

TEST(Pace, TheSceneIsDarkFiveSecondsAfterTheLastOrbAtEveryFrameRate) {
    for (int fps : kRates) {
        PacedGame game(fps);
        for (OrbController* orb : game.orbs) orb->active = false;
        game.remaining = 0;
        int frames = 0;
        while (game.scene->lightBlock->sceneBrightness() > 1e-5f && frames < 100 * fps) {
            game.step();
            ++frames;
        }
        EXPECT_NEAR(static_cast<double>(frames) / fps, 5.0, 1.0 / fps) << fps << " fps";
        for (int i = 0; i < fps; ++i) game.step();  // and on, past 0
        EXPECT_NEAR(game.scene->lightBlock->sceneBrightness(), -0.06f, 0.06f / fps) << fps;
    }
}

TEST(Pace, AHundredPixelsOfMouseTurnAndTiltAsFarAtEveryFrameRate) {
    for (int fps : kRates) {
        PacedGame game(fps);
        const glm::vec3 forward = game.scene->alien->forward;
        // 100 pixels each way over half a second, in whatever share each frame gets.
        for (int i = 1; i <= fps / 2; ++i) {
            game.input.cursorX = -static_cast<int>(std::lround(200.0 * i / fps));
            game.input.cursorY = game.input.cursorX;
            game.step();
        }
        ASSERT_EQ(game.input.cursorX, -100);
        EXPECT_NEAR(degreesBetween(forward, game.scene->alien->forward), 100.0f / 60.0f, 2e-3f)
            << fps << " fps";
        EXPECT_NEAR(game.cameraController->cameraPitch, 100.0f / 60.0f, 1e-4f) << fps << " fps";
    }
}

TEST(Pace, AHopIsAsLikelyPerSecondOfPlayAtEveryFrameRate) {
    // One frame at 60 frames a second keeps the first release's 33 in 32768.
    EXPECT_NEAR(hopChance(1.0f / 60.0f), 33.0 / 32768.0, 1e-10);  // 1/60 as a float is not exact
    const double noHopInASecond = std::pow(1.0 - 33.0 / 32768.0, 60);
    for (int fps : kRates) {
        const float dt = 1.0f / static_cast<float>(fps);
        EXPECT_NEAR(std::pow(1.0 - hopChance(dt), 1.0 / dt), noHopInASecond, 1e-7) << fps;
    }
}

// Hops begun by orbs (a hop already under way hides further draws until its fade ends, at the
// same game time at every rate). 8 orbs over 30 minutes start some 750 hops. Counts of random
// events that rare spread no more than a Poisson count does, so two rates' counts a and b differ
// by a standard deviation of at most sqrt(a + b); the bound is four of those (about 20 %): a
// fair game misses it once in some 15,000 runs, and the seed is fixed. A draw made per frame
// instead of per second would give 3 times as many hops at 20 as at 60 frames a second, 4 times
// fewer at 240.
TEST(Pace, OrbsHopAsOftenPerMinuteAtEveryFrameRate) {
    constexpr int kMinutes = 30;
    std::vector<int> hops;
    SceneObject farAway;
    farAway.position = glm::vec3(1.0e4f);
    for (int fps : kRates) {
        PacedGame game(fps, 5);
        for (OrbController* orb : game.orbs) orb->body = &farAway;  // none is ever collected
        int started = 0;
        for (int frame = 0; frame < kMinutes * 60 * fps; ++frame) {
            std::vector<bool> before;
            for (const OrbController* orb : game.orbs) before.push_back(orb->hopping);
            game.step();
            for (size_t k = 0; k < game.orbs.size(); ++k)
                started += game.orbs[k]->hopping && !before[k];
        }
        hops.push_back(started);
        // Once every 16.5 s when nothing hides a draw: fewer than 3.6 per orb per minute.
        const double perOrbPerMinute = started / 8.0 / kMinutes;
        EXPECT_GT(perOrbPerMinute, 2.0) << fps << " fps";
        EXPECT_LT(perOrbPerMinute, 3.7) << fps << " fps";
    }
    for (size_t i = 1; i < hops.size(); ++i) {
        EXPECT_LE(std::abs(hops[i] - hops[0]), 4.0 * std::sqrt(hops[i] + hops[0]))
            << kRates[i] << " against " << kRates[0] << " fps: " << hops[i] << " / " << hops[0];
    }
}
