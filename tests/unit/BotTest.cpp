#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "TestGame.h"
#include "harness/Bot.h"

namespace {

struct Outcome {
    bool won;
    double seconds;
};

Outcome play(unsigned seed, double dt) {
    TestGame game(seed);
    Bot bot;
    const int limit = static_cast<int>(std::lround(600.0 / dt));
    for (int frame = 0; frame < limit; ++frame) {
        bot.drive(*game.scene, *game.player, game.input, game.lastDt);
        game.update(dt);
        if (game.remaining == 0) return {true, (frame + 1) * dt};
    }
    return {false, 600.0};
}

bool finite(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
bool finite(const glm::mat4& m) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r])) return false;
    return true;
}

}  // namespace

// The bot presses keys and moves the cursor, nothing else: it gets the scene and the player
// read-only. Twenty games per frame rate, each cut off after ten minutes of game time.
TEST(Bot, CollectsAllOrbsWithinTenMinutesAtEveryFrameRate) {
    for (double dt : {1.0 / 60.0, 1.0 / 20.0, 1.0 / 10.0}) {
        int wins = 0;
        std::vector<double> times;
        for (unsigned seed = 1; seed <= 20; ++seed) {
            Outcome o = play(seed, dt);
            wins += o.won;
            if (o.won) times.push_back(o.seconds);
        }
        std::sort(times.begin(), times.end());
        double median = times.empty() ? 0.0 : times[times.size() / 2];
        std::printf("bot at %.0f frames per second: %d of 20 won, median %.1f s, slowest %.1f s\n",
                    1.0 / dt, wins, median, times.empty() ? 0.0 : times.back());
        EXPECT_GE(wins, 19) << "at dt " << dt;
    }
}

// Random keys, cursor, wheel, frame lengths and window sizes for 200,000 updates.
TEST(Soak, RandomInputKeepsEverythingFiniteAndOnItsPlanet) {
    TestGame game(2024);
    std::mt19937 random(77);
    std::uniform_real_distribution<double> step(0.0, 0.12);
    std::uniform_int_distribution<int> coin(0, 3), jitter(-40, 40);
    for (int frame = 0; frame < 200000; ++frame) {
        for (bool& key : game.input.keys) key = coin(random) == 0;
        game.input.keys[static_cast<int>(platform::Key::Escape)] = false;
        game.input.cursorX += jitter(random);
        game.input.cursorY += jitter(random);
        if (coin(random) == 0) game.input.wheel += jitter(random) / 10;
        if (frame % 1000 == 0) game.input.width = 200 + jitter(random) * 10 + 400;
        game.update(step(random));

        const Player& p = *game.player;
        const SceneObject& alien = *game.scene->alien;
        ASSERT_TRUE(finite(alien.position) && finite(alien.up) && finite(alien.forward) &&
                    finite(alien.right))
            << "frame " << frame;
        float expected = static_cast<SphereObject*>(p.planet)->radius + p.altitude;
        ASSERT_NEAR(glm::length(alien.position - game.placedAround), expected,
                    1e-4f * std::max(1.0f, expected))
            << "frame " << frame;
        ASSERT_NEAR(glm::length(alien.up), 1.0f, 1e-4f);
        ASSERT_NEAR(glm::dot(alien.up, alien.forward), 0.0f, 1e-4f);
        ASSERT_FALSE(p.jumping && p.transferring);
        ASSERT_TRUE(finite(game.scene->camera->view) && finite(game.scene->camera->eye));
        ASSERT_EQ(game.scene->sky->position, game.scene->camera->eye);
        for (SceneObject* planet : game.scene->planets) ASSERT_TRUE(finite(planet->position));
        for (SceneObject* orb : game.scene->lightOrbs) ASSERT_TRUE(finite(orb->position));
        for (Orbit* o : game.orbits)
            ASSERT_TRUE(o->angle >= 0.0f && o->angle < glm::two_pi<float>());
    }
    EXPECT_GE(game.remaining, 0);
}
