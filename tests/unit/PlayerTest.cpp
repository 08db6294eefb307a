#include <gtest/gtest.h>

#include <cmath>

#include "TestGame.h"

namespace {

using platform::Key;

float degreesBetween(const glm::vec3& a, const glm::vec3& b) {
    return glm::degrees(std::acos(std::clamp(glm::dot(a, b), -1.0f, 1.0f)));
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance) {
    EXPECT_LT(glm::length(actual - expected), tolerance)
        << actual.x << " " << actual.y << " " << actual.z;
}

// The alien on hand-placed planets, driven through the same input calls as the update.
struct Rig {
    std::vector<SceneObject*> planets;
    SceneObject alien;
    Player player{&alien};
    CameraController cameraController;
    ScriptedInput input;
    int mouseX = 0, mouseY = 0;
    MouseSettings mouse;

    explicit Rig(std::vector<std::pair<float, glm::vec3>> spheres) {
        for (auto& [radius, at] : spheres) planets.push_back(makeSphere(radius, at));
        player.planet = planets[0];
        player.planetRadius = spheres[0].first;
        player.planets = &planets;
        player.stepPlayer(0.0f);
    }
    ~Rig() {
        for (SceneObject* p : planets) delete p;
    }
    void frame(float dt) {
        applyMouse(player, cameraController, mouseX, mouseY, input, mouse);
        applyKeyboard(player, input, dt);
        player.stepPlayer(dt);
    }
    float height() const { return glm::length(alien.position - player.planet->position); }
};

}  // namespace

TEST(Walking, WSWalkEightyDegreesASecondOnAnyPlanetAndADRollFifty) {
    for (float radius : {5.0f, 16.0f}) {
        for (Key key : {Key::W, Key::S}) {
            Rig rig({{radius, {3, -4, 7}}});
            rig.input.press(key);
            for (int i = 0; i < 60; ++i) rig.frame(1.0f / 60.0f);
            EXPECT_NEAR(degreesBetween({0, 1, 0}, rig.alien.up), 80.0f, 0.01f);
            // W towards the start forward, S away from it.
            EXPECT_GT(rig.alien.up.z * (key == Key::W ? 1.0f : -1.0f), 0.9f);
            EXPECT_NEAR(rig.height(), radius, 1e-4f);
        }
    }
    // D rolls towards the model's left, which is the screen's right seen from behind.
    for (Key key : {Key::A, Key::D}) {
        Rig rig({{10.0f, {0, 0, 0}}});
        rig.input.press(key);
        for (int i = 0; i < 20; ++i) rig.frame(0.05f);
        float side = std::sin(glm::radians(50.0f)) * (key == Key::A ? 1.0f : -1.0f);
        expectNear(rig.alien.up, {side, std::cos(glm::radians(50.0f)), 0}, 1e-4f);
        expectNear(rig.alien.forward, {0, 0, 1}, 1e-5f);
    }
}

TEST(Mouse, XTurnsTheAlienAndYOnlyPitchesTheCamera) {
    Rig rig({{10.0f, {0, 0, 0}}});
    glm::vec3 start = rig.alien.position;
    rig.input.cursorX = -1800;  // 1800 pixels of 1/60 degree: 30 degrees
    rig.frame(0.1f);
    expectNear(rig.alien.forward, {0.5f, 0, std::sqrt(0.75f)}, 1e-5f);  // towards its right
    expectNear(rig.alien.position, start, 1e-5f);
    EXPECT_EQ(rig.cameraController.cameraPitch, 0.0f);

    glm::vec3 forward = rig.alien.forward;
    rig.input.cursorY = -300;
    rig.frame(0.1f);
    EXPECT_NEAR(rig.cameraController.cameraPitch, 5.0f, 1e-5f);
    EXPECT_EQ(rig.alien.forward, forward);
    EXPECT_EQ(rig.alien.up, glm::vec3(0, 1, 0));
}

TEST(Mouse, SensitivityScalesBothAxesAndInvertingTurnsOnlyTheTiltAround) {
    for (bool invert : {false, true}) {
        Rig rig({{10.0f, {0, 0, 0}}});
        rig.mouse = {2.5f, invert};
        rig.input.cursorX = -720;  // 2.5 x 720 pixels of 1/60 degree: 30 degrees
        rig.input.cursorY = -120;
        rig.frame(0.1f);
        expectNear(rig.alien.forward, {0.5f, 0, std::sqrt(0.75f)}, 1e-5f);
        EXPECT_NEAR(rig.cameraController.cameraPitch, invert ? -5.0f : 5.0f, 1e-5f);
    }
}

TEST(Jump, OnePlanetRadiusHighAboutPointSixThreeSecondsAndAgainWhileSpaceIsHeld) {
    const float dt = 1.0f / 120.0f;
    Rig rig({{10.0f, {0, 0, 0}}, {5.0f, {200, 0, 0}}});  // nothing within reach
    rig.input.press(Key::Space);
    float top = 0.0f, airborne = 0.0f;
    do {
        rig.frame(dt);
        airborne += dt;
        top = std::max(top, rig.height() - 10.0f);
        ASSERT_LT(airborne, 2.0f);
    } while (rig.player.jumping);
    EXPECT_NEAR(top, 10.0f, 0.01f);
    EXPECT_NEAR(airborne, kJumpStartPhase / kJumpSpeed, 2 * dt);
    EXPECT_EQ(rig.player.planet, rig.planets[0]);
    EXPECT_NEAR(rig.height(), 10.0f, 1e-5f);
    rig.frame(dt);  // Space still held: the next jump starts at once
    EXPECT_TRUE(rig.player.jumping);
}

TEST(Capture, NearerSurfaceWinsThenTheEarlierPlanet) {
    // The catch looks at the alien where the previous frame put it.
    auto catcher = [](float radiusB, glm::vec3 atB) -> int {
        Rig rig({{10.0f, {0, 0, 0}}, {8.0f, {0, 26, 0}}, {radiusB, atB}});
        rig.alien.position = {0, 12, 0};
        rig.player.jumping = true;
        rig.player.captureStep();
        if (!rig.player.transferring) return -1;
        EXPECT_FALSE(rig.player.jumping);
        EXPECT_EQ(rig.player.descentSpeed, rig.player.altitude);  // over one second
        return rig.player.planet == rig.planets[1] ? 1 : 2;
    };
    EXPECT_EQ(catcher(9.0f, {14, 12, 0}), 2);  // surface 5 away beats 6
    EXPECT_EQ(catcher(8.0f, {14, 12, 0}), 1);  // both 6 away
    // Out of reach (a surface one radius away or more); the own planet never counts.
    Rig far({{10.0f, {0, 0, 0}}, {8.0f, {0, 28, 0}}});
    far.alien.position = {0, 12, 0};
    far.player.captureStep();
    EXPECT_FALSE(far.player.transferring);
}

// Caught from above the new planet, and from inside it where it overlaps the old one.
TEST(Transfer, OneSecondInputDroppedLandsUpsideDownOnTheNewPlanet) {
    const float dt = 1.0f / 60.0f;
    for (glm::vec3 centre : {glm::vec3(0, 33, 0), glm::vec3(0, 14, 0)}) {
        SCOPED_TRACE(centre.y);
        Rig rig({{10.0f, {0, 0, 0}}, {8.0f, centre}});
        rig.input.press(Key::Space);
        for (int i = 0; !rig.player.transferring; ++i) {
            rig.frame(dt);
            ASSERT_LT(i, 60);
        }
        EXPECT_EQ(rig.player.savedUp, glm::vec3(0, 1, 0));
        rig.input.press(Key::W);
        rig.input.press(Key::A);
        float flight = dt, lastGap = 1e9f;  // the catching frame flew one step already
        while (rig.player.transferring) {
            rig.input.cursorX += 40;
            rig.frame(dt);
            flight += dt;
            EXPECT_EQ(rig.player.pitchInput + rig.player.yawInput + rig.player.rollInput, 0.0f);
            // On the line from the new centre along the old down, closing in on the surface.
            glm::vec3 offset = rig.alien.position - centre;
            expectNear(glm::normalize(offset), {0, -1, 0}, 1e-4f);
            float gap = std::fabs(glm::length(offset) - 8.0f);
            EXPECT_LE(gap, lastGap);
            lastGap = gap;
            ASSERT_LT(flight, 2.0f);
        }
        EXPECT_NEAR(flight, 1.0f, 1.5f * dt);
        EXPECT_EQ(rig.player.planet, rig.planets[1]);
        expectNear(rig.alien.up, {0, -1, 0}, 1e-4f);
        expectNear(rig.alien.right, {-1, 0, 0}, 1e-4f);
        expectNear(rig.alien.forward, {0, 0, 1}, 1e-4f);
        expectNear(rig.alien.position, centre - glm::vec3(0, 8, 0), 1e-3f);
        // Nothing given during the flight shows up afterwards.
        rig.input = ScriptedInput{};
        rig.input.cursorX = rig.mouseX;
        glm::vec3 landed = rig.alien.position;
        rig.frame(dt);
        expectNear(rig.alien.position, landed, 1e-5f);
    }
}

TEST(Update, FirstFramePlacesTheAlienThenTheWheelZoomsOneStepPerNotch) {
    TestGame game(7);
    game.input.press(Key::W);
    game.input.cursorX = game.input.cursorY = 100;
    // No time has passed yet and the cursor has only been found: held keys and motion add
    // nothing.
    game.update(0.016);
    expectNear(game.scene->alien->position, {1, 12, 1}, 1e-6f);
    expectNear(game.scene->alien->forward, {0, 0, 1}, 1e-6f);
    EXPECT_EQ(game.score(), "fyrel: 8 von 8");
    // Planet 1 starts at once at its first orbit point, (156, 0, 1) from the first planet.
    expectNear(game.scene->planets[1]->position, {157, 1, 2}, 1e-4f);

    float distance = game.scene->camera->distance;
    game.input.wheel = 4;  // four notches in one frame
    game.update(0.1);
    game.update(0.1);
    EXPECT_EQ(game.scene->camera->distance, distance - 4 * 3.0f);
    EXPECT_EQ(game.scene->sky->position, game.scene->camera->eye);
}
