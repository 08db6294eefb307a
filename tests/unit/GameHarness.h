#pragma once

// A stand-in for the game's update that needs no window, no GL and no asset files: the real
// planet, alien and light values, the real game records, stepped in the update's order.

#include <cstdlib>
#include <string>
#include <vector>

#include "Rendering/core/Camera.h"
#include "Rendering/scene/Scene.h"
#include "app/CameraController.h"
#include "app/GameRules.h"
#include "app/OrbController.h"
#include "app/Orbit.h"
#include "app/Player.h"
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

struct TestGame {
    Scene scene;
    Player* player = nullptr;
    CameraController cameraController;
    std::vector<Orbit*> orbits;
    std::vector<OrbController*> orbs;
    platform::ScriptedInput input;
    int remaining = 0;
    int mouseX = 0, mouseY = 0;
    double lastTime = 0.0;
    std::string score;
    float lastDt = 0.0f;
    // Where the alien's planet was when the alien was placed; the orbits move it afterwards.
    glm::vec3 placedAround{0.0f};

    explicit TestGame(unsigned seed, platform::Audio* audio = nullptr) {
        std::srand(seed);
        buildTestScene(scene);
        player = new Player(scene.alien);
        player->planet = scene.planets[0];
        player->planetRadius = static_cast<SphereObject*>(scene.planets[0])->radius;
        player->planets = &scene.planets;
        orbits = createOrbits(scene.planets);
        orbs = createOrbControllers(scene, audio);
        remaining = static_cast<int>(scene.lights.size());
        cameraController.sky = scene.sky;
        cameraController.camera = scene.camera;
    }
    ~TestGame() {
        delete player;
        for (Orbit* o : orbits) delete o;
        for (OrbController* c : orbs) delete c;
    }
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;

    // One update; the scripted clock advances by `dt` first.
    void update(double dt) {
        input.now += dt;
        double now = input.now;
        float step = lastTime == 0.0 ? 0.0f : static_cast<float>(now - lastTime);
        lastTime = now;
        lastDt = step;
        int w = 0, h = 0;
        input.windowSize(w, h);
        scene.camera->aspect = static_cast<float>(static_cast<double>(w) / h);
        applyMouse(*player, cameraController, mouseX, mouseY, input, step);
        applyKeyboard(*player, input, step);
        player->stepPlayer(step);
        placedAround = player->planet->position;
        cameraController.stepCamera(input.wheelPosition());
        for (Orbit* o : orbits) o->stepOrbit(step);
        for (OrbController* c : orbs) {
            bool wasActive = c->active;
            c->stepOrb(step);
            if (c->active != wasActive) --remaining;
            c->maybeHop(scene.planets);
        }
        score = scoreLine(remaining);
        dimStep(*scene.lightBlock, remaining);
    }
};
