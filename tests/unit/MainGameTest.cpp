#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <glm/glm.hpp>
#include <string>

#include "Model/ModelPool.h"
#include "Rendering/scene/Font.h"
#include "TestGame.h"
#include "app/MainGame.h"

namespace fs = std::filesystem;

namespace {

// Runs `body` with the working directory set to `folder`, as the game runs in its own folder.
template <typename Body>
void inFolder(const fs::path& folder, Body body) {
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    body();
    fs::current_path(previous);
}

void expectMaterial(const SceneObject* o, glm::vec4 diffuse, glm::vec4 specular, float glow) {
    EXPECT_EQ(glm::vec4(o->material[0], o->material[1], o->material[2], o->material[3]), diffuse);
    EXPECT_EQ(glm::vec4(o->material[4], o->material[5], o->material[6], o->material[7]), specular);
    EXPECT_EQ(o->material[8], glow);
}

void expectPicture(const SceneObject* o, uint32_t width, uint32_t height) {
    ASSERT_NE(o->mesh, nullptr);
    EXPECT_NE(o->mesh->pixels, nullptr);
    EXPECT_EQ(o->mesh->imageWidth, width);
    EXPECT_EQ(o->mesh->imageHeight, height);
}

}  // namespace

// The game's start-up without a window, from the generated files of the runnable folder.
TEST(StartGame, BuildsTheWholeSceneFromTheRunnableFolder) {
    MainGame game;
    bool started = false;
    inFolder(FYREL_RUN_DIR, [&] { started = game.startGame(); });
    ASSERT_TRUE(started);
    const Scene& scene = *game.scene;

    EXPECT_EQ(scene.alien->mesh, game.modelPool->getModel("alien"));
    EXPECT_EQ(scene.alien->position, glm::vec3(1.0f, 13.5f, 1.0f));
    expectMaterial(scene.alien, {1, 0.8f, 0.8f, 1}, {1, 0.8f, 0.8f, 1}, 0.05f);
    expectPicture(scene.alien, 1024, 1024);

    const Camera& camera = *scene.camera;
    EXPECT_EQ(camera.fovy, 60.0f);
    EXPECT_EQ(camera.aspect, 4.0f / 3.0f);
    EXPECT_EQ(camera.nearPlane, 0.5f);
    EXPECT_EQ(camera.farPlane, 1000.0f);
    EXPECT_EQ(camera.zoomStep, 3.0f);
    EXPECT_NEAR(glm::distance(camera.eye, glm::vec3(0.0f, 74.51131f, 100.0f)), 0.0f, 1e-4f);
    EXPECT_EQ(scene.sky->position, camera.eye);
    EXPECT_EQ(scene.sky->radius, 800.0f);
    expectMaterial(scene.sky, glm::vec4(0.0f), glm::vec4(0.0f), 0.0f);
    expectPicture(scene.sky, 4096, 2048);

    const float radii[8] = {11, 10, 5, 14, 16, 9, 8, 13};
    ASSERT_EQ(scene.planets.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        const SceneObject* planet = scene.planets[k];
        EXPECT_EQ(static_cast<const SphereObject*>(planet)->radius, radii[k]);
        glm::vec3 start = k == 0   ? glm::vec3(1, 1, 1)
                          : k == 1 ? glm::vec3(-25, -16, 1)
                                   : glm::vec3(24, 35, 1);
        EXPECT_EQ(planet->position, start) << "planet " << k;
        expectMaterial(planet, {1, 1, 1, 3}, {1, 1, 1, 0.3f}, 0.4f);
        expectPicture(planet, 2048, 1024);
    }

    ASSERT_EQ(scene.lightOrbs.size(), 8u);
    ASSERT_EQ(scene.lights.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        const LightSource& light = *scene.lights[k];
        EXPECT_EQ(light.object, scene.lightOrbs[k]);
        EXPECT_EQ(light.colorA, glm::vec4(0.6f, 0.7f, 0.7f, 0.7f));
        EXPECT_EQ(light.colorB, glm::vec4(1.0f, 0.8f, 0.8f, 1.0f));
        EXPECT_EQ(static_cast<const SphereObject*>(scene.lightOrbs[k])->radius, 0.5f);
        expectMaterial(scene.lightOrbs[k], {1, 0.8f, 0.8f, 1}, {1, 0.8f, 0.8f, 1}, 0.02f);
        expectPicture(scene.lightOrbs[k], 1024, 512);
    }
    EXPECT_EQ(scene.lightBlock->header, glm::vec4(1.0f, 1.0f, 1.0f, 0.3f));
    ASSERT_NE(scene.font, nullptr);
    EXPECT_EQ(scene.font->pictures.size(), 38u);

    // The score label comes first; the game's other lines wait hidden for their moment.
    ASSERT_FALSE(scene.texts.empty());
    EXPECT_EQ(scene.texts[0]->text, "fyrel: ");
    EXPECT_EQ(std::count_if(scene.texts.begin(), scene.texts.end(),
                            [](const TextItem* item) { return item->visible; }),
              1);
    EXPECT_EQ(glm::ivec2(scene.texts[0]->x, scene.texts[0]->y), glm::ivec2(15, 750));
    EXPECT_EQ(game.remaining, 8);
}

TEST(StartGame, WithoutTheAlienModelItStopsWithAClearMessage) {
    const fs::path folder = fs::temp_directory_path() / "fyrel-no-alien";
    fs::create_directories(folder);
    MainGame game;
    bool started = true;
    testing::internal::CaptureStdout();
    inFolder(folder, [&] { started = game.startGame(); });
    std::string out = testing::internal::GetCapturedStdout();
    fs::remove_all(folder);
    EXPECT_FALSE(started);
    EXPECT_EQ(game.scene, nullptr);
    EXPECT_NE(out.find("FATAL main: the alien model could not be loaded from \"alien.dae\""),
              std::string::npos)
        << out;
}

// The window's size sets the camera's aspect; a minimised window (height 0) keeps the last one.
TEST(Update, AspectFollowsTheWindowAndSurvivesAMinimisedWindow) {
    TestGame game(5);
    game.input.width = 1280;
    game.input.height = 720;
    game.update(0.1);
    EXPECT_FLOAT_EQ(game.scene->camera->aspect, 1280.0f / 720.0f);
    game.input.height = 0;
    game.update(0.1);
    EXPECT_FLOAT_EQ(game.scene->camera->aspect, 1280.0f / 720.0f);
}
