#include <gtest/gtest.h>

#include <cmath>

#include "TestGame.h"

namespace {

// Each record's offset from its centre planet at angle t, as the orbit table gives it.
glm::vec3 tableOffset(int record, float t) {
    float c = std::cos(t), s = std::sin(t);
    const glm::vec3 rows[6] = {{36 + 120 * c, -30 * s, 1}, {-45 + 90 * c, -20 * s, 1},
                               {1, 40 * s, -24 + 80 * c},  {1, -50 * c, 30 + 35 * s},
                               {-30 + 60 * c, 1, 40 * s},  {25 * s, 59, 60 * c}};
    return rows[record];
}

struct Planets {
    std::vector<SceneObject*> list;
    std::vector<Orbit*> orbits;
    Planets() {
        for (int i = 0; i < 8; ++i) list.push_back(makeSphere(5.0f + i, glm::vec3(3 * i, -i, 2)));
        orbits = createOrbits(list);
    }
    ~Planets() {
        for (SceneObject* p : list) delete p;
        for (Orbit* o : orbits) delete o;
    }
};

}  // namespace

TEST(Orbit, EveryRecordFollowsItsEllipseAroundItsMovedCentre) {
    Planets p;
    ASSERT_EQ(p.orbits.size(), 6u);
    const int centre[6] = {0, 1, 0, 2, 2, 3};
    for (float t : {0.0f, 0.9f, 2.5f, 4.0f, 5.9f}) {
        for (Orbit* o : p.orbits) o->angle = t;
        for (Orbit* o : p.orbits) o->stepOrbit(0.0f);
        for (int k = 0; k < 6; ++k) {
            glm::vec3 expected = p.list[centre[k]]->position + tableOffset(k, t);
            EXPECT_LT(glm::length(p.list[k + 1]->position - expected), 1e-3f) << k << " " << t;
        }
    }
    EXPECT_EQ(p.list[0]->position, glm::vec3(0, 0, 2));
    EXPECT_EQ(p.list[7]->position, glm::vec3(21, -7, 2));
}

TEST(Orbit, EveryPlanetRunsAtItsAngularSpeedForHoursWithTheAngleBounded) {
    Planets p;
    const float speed[6] = {0.5f, 0.8f, 0.6f, 0.4f, 0.9f, 0.6f};  // radians per second
    // Uneven frames, as the game has them; an hour of game time is hundreds of whole turns.
    const float frames[4] = {0.016f, 0.1f, 0.033f, 0.25f};
    double elapsed = 0.0;
    for (int i = 0; i < 36000; ++i) {
        const float dt = frames[i % 4];
        for (Orbit* o : p.orbits) o->stepOrbit(dt);
        elapsed += dt;
        for (int k = 0; k < 6; ++k) {
            const Orbit& o = *p.orbits[k];
            ASSERT_TRUE(o.angle >= 0.0f && o.angle < glm::two_pi<float>()) << k << " " << o.angle;
            // Where the planet must be after this much time: a wrong rate or a jump in the
            // motion (from taking anything but whole turns off the angle) puts it elsewhere.
            const float expectedAngle =
                static_cast<float>(std::fmod(speed[k] * elapsed, glm::two_pi<double>()));
            const glm::vec3 offset = o.body->position - o.centre->position;
            ASSERT_LT(glm::length(offset - tableOffset(k, expectedAngle)), 0.5f)
                << "record " << k << " after " << elapsed << " s";
        }
    }
}
