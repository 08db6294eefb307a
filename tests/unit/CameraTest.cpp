#include <gtest/gtest.h>

#include <cmath>
#include <glm/glm.hpp>

#include "Rendering/core/Camera.h"
#include "Rendering/core/SceneObject.h"

namespace {

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The scene's camera, following an alien at `position`.
struct SceneCamera {
    explicit SceneCamera(glm::vec3 position) {
        alien.position = position;
        camera.fovy = 60.0f;
        camera.farPlane = 1000.0f;
        camera.nearPlane = 0.5f;
        camera.zoomStep = 3.0f;
        camera.placeCamera(&alien, 100.0f, 40.0f);
    }
    SceneObject alien;
    Camera camera;
};

}  // namespace

TEST(Camera, PlacementPutsEyeAtStartHeightAndLooksAtTarget) {
    SceneCamera rig({1.0f, 13.5f, 1.0f});
    expectNear(rig.camera.eye, {0.0f, 74.51131f, 100.0f});
    float pitch = glm::radians(40.0f);
    expectNear(rig.camera.up, {0.0f, std::cos(pitch), std::sin(pitch)});
    // The alien lies straight ahead on the view axis.
    glm::vec4 alien = rig.camera.view * glm::vec4(rig.alien.position, 1.0f);
    expectNear(glm::vec3(alien), {0.0f, 0.0f, -glm::length(rig.alien.position - rig.camera.eye)},
               1e-3f);
}

TEST(Camera, FollowTargetSwingsTheEyeFromBehindToAbove) {
    SceneCamera rig({4.0f, -2.0f, 7.0f});
    rig.camera.followTarget(0.0f);
    expectNear(rig.camera.eye, {4.0f, -2.0f, -93.0f});
    expectNear(rig.camera.up, {0.0f, 1.0f, 0.0f});

    rig.camera.followTarget(90.0f);
    expectNear(rig.camera.eye, {4.0f, 98.0f, 7.0f});
    expectNear(rig.camera.up, {0.0f, 0.0f, 1.0f});
    expectNear(glm::vec3(rig.camera.view * glm::vec4(rig.alien.position, 1.0f)),
               {0.0f, 0.0f, -100.0f}, 1e-3f);

    // The alien's own axes count: turned to look along +x, the eye goes to its -x side.
    rig.alien.forward = {1.0f, 0.0f, 0.0f};
    rig.alien.right = {0.0f, 0.0f, -1.0f};
    rig.camera.followTarget(0.0f);
    expectNear(rig.camera.eye, {-96.0f, -2.0f, 7.0f});
}

TEST(Camera, WheelZoomsOneStepPerFrameWithinLimits) {
    SceneCamera rig({0.0f, 0.0f, 0.0f});
    Camera& camera = rig.camera;
    camera.applyWheel(5);  // several notches in one frame
    EXPECT_FLOAT_EQ(camera.distance, 97.0f);
    camera.applyWheel(5);
    EXPECT_FLOAT_EQ(camera.distance, 97.0f);
    camera.applyWheel(3);
    EXPECT_FLOAT_EQ(camera.distance, 100.0f);

    // Never onto the target, never beyond what the far plane keeps in view.
    int wheel = 3;
    for (int frame = 0; frame < 60; ++frame) camera.applyWheel(++wheel);
    EXPECT_FLOAT_EQ(camera.distance, 3.0f);
    camera.followTarget(0.0f);
    expectNear(camera.eye, {0.0f, 0.0f, -3.0f});
    for (int frame = 0; frame < 400; ++frame) camera.applyWheel(--wheel);
    EXPECT_FLOAT_EQ(camera.distance, 500.0f);
}
