#include <gtest/gtest.h>

#include <cmath>

#include "TestGame.h"
#include "app/Random.h"
#include "platform/Audio.h"

namespace {

// One orb 11 above the centre of a planet of radius 10, the alien far away.
struct OrbRig {
    SphereObject* planet = makeSphere(10.0f, {5, 5, 5});
    SphereObject* other = makeSphere(4.0f, {-40, 0, 0});
    SphereObject* orb = makeSphere(0.5f, {0, 0, 0});
    SceneObject alien;
    LightSource light{{0, 0, 0, 0}, orb, {0.6f, 0.7f, 0.7f, 0.7f}, {1.0f, 0.8f, 0.8f, 1.0f}};
    OrbController c;

    OrbRig() {
        c.orb = orb;
        c.body = &alien;
        c.light = &light;
        c.phaseSpeed = 0.5f;
        c.host = planet;
        c.offset = {0, 11, 0};
        alien.position = {100, 100, 100};
    }
    ~OrbRig() {
        delete planet;
        delete other;
        delete orb;
    }
};

}  // namespace

TEST(Random, DrawsSpanZeroTo32767AndPointsLieEvenlyOnTheSphere) {
    std::srand(5);
    int low = 32767, high = 0;
    for (int i = 0; i < 200000; ++i) {
        int r = gameRand();
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 32767);

    glm::vec3 centre(3, -2, 8), sum(0.0f);
    for (int i = 0; i < 4000; ++i) {
        glm::vec3 p = randomPointOnSphere(centre, 6.0f);
        ASSERT_NEAR(glm::length(p - centre), 6.0f, 1e-4f);
        sum += (p - centre) / 6.0f;
    }
    EXPECT_LT(glm::length(sum / 4000.0f), 0.05f);
}

TEST(OrbSetup, EachLightDrawsSpeedThenHostThenPoint) {
    TestGame game(99);
    std::srand(99);
    for (size_t k = 0; k < game.orbs.size(); ++k) {
        OrbController* c = game.orbs[k];
        float speed = gameRand() / 32767.0f * 0.5f + 0.4f;
        SceneObject* host = game.scene->planets[gameRand() % 8];
        glm::vec3 point =
            randomPointOnSphere(host->position, static_cast<SphereObject*>(host)->radius + 1.0f);
        EXPECT_FLOAT_EQ(c->phaseSpeed, speed);
        EXPECT_EQ(c->host, host);
        EXPECT_EQ(c->orb->position, point);
        EXPECT_EQ(c->offset, point - host->position);
        EXPECT_EQ(c->light, game.scene->lights[k]);
        EXPECT_EQ(c->orb, game.scene->lights[k]->object);
        EXPECT_TRUE(c->active && c->phase == glm::pi<float>() && c->glowFloor == 0.25f);
    }
}

TEST(Collection, ReachIsStrictlyBelowThree) {
    platform::Audio audio;
    for (float distance : {3.0f, 2.999f}) {
        OrbRig rig;
        rig.c.audio = &audio;
        rig.alien.position = glm::vec3(5, 16, 5) + glm::vec3(distance, 0, 0);
        rig.c.stepOrb(0.1f);
        bool taken = distance < 3.0f;
        EXPECT_EQ(rig.c.active, !taken) << distance;
        EXPECT_EQ(rig.orb->visible, !taken);
        // Dark from then on, though the pulse of that frame still wrote the brightness.
        if (taken) {
            EXPECT_EQ(rig.light.colorB, glm::vec4(0, 0, 0, rig.light.colorB.w));
        }
    }
    EXPECT_EQ(audio.chimesRequested(), 1);
}

TEST(Collection, TwoOrbsInOneFrameCountTwiceAndTakenOrbsNeverAgain) {
    TestGame game(3);
    const platform::Audio& audio = game.audio;
    game.update(0.05);
    ASSERT_EQ(game.remaining, 8);
    // Two orbs just above where the alien stands, (1, 12, 1).
    for (int k : {2, 5}) {
        game.orbs[k]->host = game.scene->planets[0];
        game.orbs[k]->offset = glm::vec3(0.0f, 12.0f, 0.2f * k);
    }
    game.update(0.05);
    EXPECT_EQ(game.remaining, 6);
    EXPECT_EQ(game.score(), "fyrel: 6 von 8");
    EXPECT_EQ(audio.chimesRequested(), 2);
    for (int i = 0; i < 50; ++i) game.update(0.05);
    EXPECT_EQ(game.remaining, 6);
    EXPECT_EQ(audio.chimesRequested(), 2);
    EXPECT_FALSE(game.scene->lightOrbs[5]->visible);
    // Still riding on its planet, unseen.
    EXPECT_EQ(game.scene->lightOrbs[5]->position, glm::vec3(1, 13, 2));
}

TEST(Pulse, FloorToOneAndBackWithinPiOverPhaseSpeed) {
    OrbRig rig;
    float low = 2.0f, high = -1.0f, t = 0.0f;
    do {
        rig.c.pulseStep(0.01f);
        t += 0.01f;
        low = std::min(low, rig.light.colorA.w);
        high = std::max(high, rig.light.colorA.w);
        ASSERT_LT(t, 10.0f);
    } while (rig.c.phase != glm::pi<float>());
    EXPECT_EQ(low, 0.25f);  // the last frame of the cycle sits on the floor
    EXPECT_EQ(high, 1.0f);
    EXPECT_NEAR(t, glm::pi<float>() / 0.5f, 0.02f);
    EXPECT_EQ(rig.light.colorB.w, rig.light.colorA.w);
    EXPECT_EQ(glm::vec3(rig.light.colorA), glm::vec3(0.6f, 0.7f, 0.7f));
}

TEST(Pulse, AHopFadesToZeroMovesToTheNewPlanetAndRestartsThePulse) {
    OrbRig rig;
    for (int i = 0; i < 150; ++i) rig.c.pulseStep(0.01f);  // partway up the pulse
    rig.c.hopping = true;
    rig.c.nextHost = rig.other;
    for (float t = 0.0f; rig.c.hopping; t += 0.01f) {
        ASSERT_EQ(rig.c.host, rig.planet);
        ASSERT_LT(t, 10.0f);
        rig.c.pulseStep(0.01f);
    }
    EXPECT_EQ(rig.light.colorA.w, 0.0f);
    EXPECT_EQ(rig.c.host, rig.other);
    EXPECT_EQ(rig.c.nextHost, nullptr);
    EXPECT_NEAR(glm::length(rig.orb->position - rig.other->position), 5.0f, 1e-4f);
    EXPECT_EQ(rig.c.offset, rig.orb->position - rig.other->position);
    rig.c.pulseStep(0.01f);
    EXPECT_NEAR(rig.light.colorA.w, 0.25f, 0.01f);
}

TEST(Score, LineAndNoDimmingWhileOrbsRemain) {
    EXPECT_EQ(scoreLine(0), "fyrel: 0 von 8");
    LightBlock block;
    block.header = {1, 1, 1, 0.3f};
    dimStep(block, 1, 0.5f);
    EXPECT_EQ(block.sceneBrightness(), 0.3f);
}
