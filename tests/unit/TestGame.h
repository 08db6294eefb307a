#pragma once

// The game without a window, GL or asset files: the real planet, alien and light values and
// the real game records, stepped by MainGame's own update.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Rendering/core/Camera.h"
#include "Rendering/scene/Font.h"
#include "Rendering/scene/SceneryCreator.h"
#include "app/CameraController.h"
#include "app/GameRules.h"
#include "app/MainGame.h"
#include "app/OrbController.h"
#include "app/Orbit.h"
#include "app/Player.h"
#include "harness/ScriptedInput.h"
#include "platform/Input.h"

inline SphereObject* makeSphere(float radius, glm::vec3 position) {
    SphereObject* s = new SphereObject;
    s->radius = radius;
    s->position = position;
    return s;
}

// The scene as the scenery creator leaves it, without meshes.
inline void buildTestScene(Scene& scene) {
    scene.alien = new SceneObject;
    scene.alien->position = glm::vec3(1.0f, 13.5f, 1.0f);
    scene.camera = new Camera;
    scene.camera->fovy = 60.0f;
    scene.camera->aspect = 4.0f / 3.0f;
    scene.camera->farPlane = 1000.0f;
    scene.camera->nearPlane = 0.5f;
    scene.camera->zoomStep = 3.0f;
    scene.camera->placeCamera(scene.alien, 100.0f, 40.0f);
    scene.sky = makeSphere(800.0f, scene.camera->eye);
    const float radii[8] = {11, 10, 5, 14, 16, 9, 8, 13};
    for (int i = 0; i < 8; ++i) {
        glm::vec3 at = i == 0   ? glm::vec3(1, 1, 1)
                       : i == 1 ? glm::vec3(-25, -16, 1)
                                : glm::vec3(24, 35, 1);
        scene.planets.push_back(makeSphere(radii[i], at));
        scene.lightOrbs.push_back(makeSphere(0.5f, glm::vec3(0.0f)));
        scene.lights.push_back(new LightSource{glm::vec4(0.0f),
                                               scene.lightOrbs.back(),
                                               {0.6f, 0.7f, 0.7f, 0.7f},
                                               {1.0f, 0.8f, 0.8f, 1.0f}});
    }
    scene.lightBlock = new LightBlock;
    scene.lightBlock->header = glm::vec4(1.0f, 1.0f, 1.0f, 0.3f);
}

// The game's own update, without a window, GL or asset files: MainGame around the scene
// above, driven by scripted input and time.
struct TestGame : MainGame {
    ScriptedInput input;
    // The time step the last update used.
    float lastDt = 0.0f;
    // Where the alien's planet was when the alien was placed; the orbits move it afterwards.
    glm::vec3 placedAround{0.0f};

    explicit TestGame(unsigned seed) {
        std::srand(seed);
        Scene* built = new Scene;
        buildTestScene(*built);
        adoptScene(built);
    }
    ~TestGame() override {
        if (platform::input() == &input) platform::setInput(nullptr);
    }

    // One update; the scripted clock advances by `dt` first.
    void update(double dt) {
        platform::setInput(&input);
        std::vector<glm::vec3> before;
        for (SceneObject* planet : scene->planets) before.push_back(planet->position);
        double previous = lastTime;
        input.now += dt;
        MainGame::update();
        input.forgetTaps();  // a tap lasts one update, as one poll of the window
        lastDt = previous == 0.0 ? 0.0f : static_cast<float>(input.now - previous);
        auto at = std::find(scene->planets.begin(), scene->planets.end(), player->planet);
        placedAround = before[at - scene->planets.begin()];
    }

    std::string score() const { return scoreText->text; }
};
