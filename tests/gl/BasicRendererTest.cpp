#include <algorithm>
#include <cmath>
#include <filesystem>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>
#include <vector>

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/Camera.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/SceneryCreator.h"
#include "Rendering/scene/SphereGenerator.h"
#include "app/RendererSet.h"
#include "tests/gl/GLTestFixture.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
struct Rgb {
    int r, g, b;
};
constexpr Rgb kStarWhite{230, 230, 230}, kSpaceBlue{20, 30, 90};
constexpr Rgb kOrange{220, 140, 40}, kTeal{40, 120, 200};

void setMaterial(SceneObject* o, glm::vec4 diffuse, glm::vec4 specular, float glow) {
    std::copy_n(glm::value_ptr(diffuse), 4, o->material);
    std::copy_n(glm::value_ptr(specular), 4, o->material + 4);
    o->material[8] = glow;
}

// Mean colour of a square of the frame, leaving out a disc (the orb itself).
glm::dvec3 meanColour(const Pixels& frame, glm::ivec2 centre, int half,
                      glm::ivec2 skip = {-999, -999}, int skipRadius = 0) {
    glm::dvec3 sum{0.0};
    int count = 0;
    for (int y = centre.y - half; y <= centre.y + half; ++y) {
        for (int x = centre.x - half; x <= centre.x + half; ++x) {
            glm::ivec2 d = glm::ivec2(x, y) - skip;
            if (d.x * d.x + d.y * d.y < skipRadius * skipRadius) continue;
            const uint8_t* p = frame.at(x, y);
            sum += glm::dvec3(p[0], p[1], p[2]);
            ++count;
        }
    }
    return sum / double(count);
}

double brightness(const Pixels& frame, glm::ivec2 centre, int half) {
    glm::dvec3 colour = meanColour(frame, centre, half);
    return (colour.r + colour.g + colour.b) / 3.0;
}

}  // namespace

// The game's scene in small, wired by the renderer set: the sky, an alien (a sphere here) on
// the first planet, eight checkered planets and eight orbs with their lights. The camera is
// zoomed in on the alien, and the first orb floats over the first planet in full view.
class BasicRendering : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        scene = new Scene;
        scene->alien = sphere(1.5f, {1.0f, 13.5f, 1.0f}, checker({200, 60, 200}, {250, 250, 250}));
        setMaterial(scene->alien, {1, 0.8f, 0.8f, 1}, {1, 0.8f, 0.8f, 1}, 0.05f);
        scene->camera = camera = new Camera;
        camera->fovy = 60.0f;
        camera->aspect = 4.0f / 3.0f;
        camera->farPlane = 1000.0f;
        camera->nearPlane = 0.5f;
        camera->placeCamera(scene->alien, 40.0f, 40.0f);
        camera->followTarget(20.0f);
        scene->sky = sphere(800.0f, camera->eye, picture(128, 64, [](int x, int) {
                                return (x / 8) % 2 ? kStarWhite : kSpaceBlue;
                            }));

        const glm::vec3 positions[8] = {{1, 1, 1},   {-45, -16, 1}, {44, 35, 1},   {-40, 30, 50},
                                        {45, 0, 40}, {-50, -5, 30}, {30, -45, 25}, {-10, -40, 60}};
        const float radii[8] = {11, 10, 5, 14, 16, 9, 8, 13};
        for (int k = 0; k < 8; ++k) {
            Rgb other{40 + 25 * k, 200 - 15 * k, 90 + 10 * k};
            planets.push_back(sphere(radii[k], positions[k], checker(kOrange, k ? other : kTeal)));
            setMaterial(planets[k], {1, 1, 1, 3}, {1, 1, 1, 0.3f}, 0.4f);
            scene->planets.push_back(planets[k]);
            glm::vec3 up = glm::normalize(glm::vec3(std::sin(k * 1.3f), 0.8f, -std::cos(k * 1.3f)));
            SceneObject* orb =
                sphere(0.5f, positions[k] + up * (radii[k] + 1.0f), picture(32, 16, [](int x, int) {
                           return Rgb{255, 150 + 3 * x, 40};
                       }));
            setMaterial(orb, {1, 0.8f, 0.8f, 1}, {1, 0.8f, 0.8f, 1}, 0.02f);
            scene->lightOrbs.push_back(orb);
            auto* light = new LightSource{
                glm::vec4(0.0f), orb, {0.6f, 0.7f, 0.7f, 0.7f}, {1.0f, 0.8f, 0.8f, 1.0f}};
            light->colorA.w = light->colorB.w = 0.25f + 0.25f * (k % 4);
            scene->lights.push_back(light);
        }
        // A quarter turn, so the light has to find the surface through the whole model matrix.
        planets[0]->right = {0.0f, 0.0f, -1.0f};
        planets[0]->forward = {1.0f, 0.0f, 0.0f};
        glm::vec3 towardsEye = glm::normalize(camera->eye - positions[0]);
        orbDirection = glm::normalize(towardsEye + glm::vec3(0.45f, 0.0f, 0.0f));
        scene->lightOrbs[0]->position = positions[0] + orbDirection * 12.0f;
        scene->lightBlock = new LightBlock;
        scene->lightBlock->header = {1.0f, 1.0f, 1.0f, 0.3f};

        set.scene = scene;
        {
            std::filesystem::path previous = std::filesystem::current_path();
            std::filesystem::current_path(FYREL_SOURCE_DIR);  // the game's relative paths
            testing::internal::CaptureStdout();  // other passes' files may be unfinished
            testing::internal::CaptureStderr();
            set.loadShaders();
            testing::internal::GetCapturedStderr();
            testing::internal::GetCapturedStdout();
            std::filesystem::current_path(previous);
        }
        set.registerScene();
        set.setupRenderers();
        set.transformer->update();
    }

    void TearDown() override {
        glActiveTexture(GL_TEXTURE0);  // drawing leaves the last object's unit active
        set.releaseGpuObjects();
        delete scene;
        GLTest::TearDown();
    }

    template <typename ColourAt>
    std::vector<uint8_t>* picture(int width, int height, ColourAt colourAt) {
        // Blue-green-red, bottom row first, as decoded pictures come; widths of 4n need no padding.
        auto pixels = std::make_unique<std::vector<uint8_t>>();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Rgb c = colourAt(x, y);
                pixels->insert(pixels->end(), {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)});
            }
        }
        sizes.push_back({width, height});
        pictures.push_back(std::move(pixels));
        return pictures.back().get();
    }
    std::vector<uint8_t>* checker(Rgb a, Rgb b) {
        return picture(64, 32, [=](int x, int y) { return (x / 8 + y / 8) % 2 ? a : b; });
    }
    SphereObject* sphere(float radius, glm::vec3 position, std::vector<uint8_t>* pixels) {
        auto* object = generateSphere(new SphereObject, radius, radius > 1.0f ? 50 : 20,
                                      radius > 1.0f ? 100 : 20);
        object->position = position;
        object->mesh->pixels = pixels->data();
        object->mesh->imageWidth = sizes.back().x;
        object->mesh->imageHeight = sizes.back().y;
        return object;
    }

    // One frame as the frame loop draws it.
    Pixels drawFrame() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFrontFace(GL_CW);
        set.skyRenderer->draw();
        glFrontFace(GL_CCW);
        set.litRenderer->draw();
        return readPixels(0, 0, kWidth, kHeight);
    }

    glm::ivec2 project(glm::vec3 world) const {
        glm::vec4 clip = set.transformer->projection * camera->view * glm::vec4(world, 1.0f);
        return {int((clip.x / clip.w * 0.5f + 0.5f) * kWidth),
                int((clip.y / clip.w * 0.5f + 0.5f) * kHeight)};
    }

    RendererSet set;
    Scene* scene = nullptr;
    Camera* camera = nullptr;
    std::vector<SphereObject*> planets;
    glm::vec3 orbDirection{0.0f};
    std::vector<std::unique_ptr<std::vector<uint8_t>>> pictures;
    std::vector<glm::ivec2> sizes;
};

TEST_F(BasicRendering, FrameShowsSkyPlanetPoolOfLightInTheLightsColourAndShiningOrb) {
    LightSource& light = *scene->lights[0];
    light.colorA.w = light.colorB.w = 0.0f;
    Pixels dark = drawFrame();
    // A pure red light, in its diffuse and its specular colour.
    light.colorA = light.colorB = {1.0f, 0.0f, 0.0f, 1.0f};
    Pixels lit = drawFrame();
    savePNG("basic_renderer_frame");

    // The sky's stripes come through exactly as painted: no point light reaches them.
    int white = 0, blue = 0;
    for (int y = kHeight - 100; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* p = lit.at(x, y);
            auto near = [p](Rgb c) {
                return std::abs(p[0] - c.r) + std::abs(p[1] - c.g) + std::abs(p[2] - c.b) <= 12;
            };
            white += near(kStarWhite);
            blue += near(kSpaceBlue);
        }
    }
    EXPECT_GT(white, kWidth * 10);
    EXPECT_GT(blue, kWidth * 10);

    // Both checker colours show on the planet by ambient light alone, with no black side.
    glm::ivec2 middle = project(planets[0]->position);
    int orange = 0, teal = 0, black = 0;
    for (int y = middle.y - 90; y <= middle.y + 90; ++y) {
        for (int x = middle.x - 90; x <= middle.x + 90; ++x) {
            const uint8_t* p = dark.at(x, y);
            orange += p[0] > p[2] + 60;
            teal += p[2] > p[0] + 60;
            black += p[0] + p[1] + p[2] < 60;
        }
    }
    EXPECT_GT(orange, 2000);
    EXPECT_GT(teal, 2000);
    EXPECT_EQ(black, 0);

    // The light makes a red pool on the planet under the orb, and adds no other hue; on the far
    // side of the disc, where the surface faces the eye just as much, it changes nothing.
    glm::vec3 centre = planets[0]->position;
    glm::vec3 towardsEye = glm::normalize(camera->eye - centre);
    glm::vec3 mirrored = 2.0f * glm::dot(orbDirection, towardsEye) * towardsEye - orbDirection;
    glm::ivec2 pool = project(centre + orbDirection * 11.0f);
    glm::ivec2 orb = project(scene->lightOrbs[0]->position);
    glm::ivec2 far = project(centre + mirrored * 11.0f);
    glm::dvec3 gain = meanColour(lit, pool, 25, orb, 15) - meanColour(dark, pool, 25, orb, 15);
    EXPECT_GT(gain.r, 30.0);
    EXPECT_NEAR(gain.g, 0.0, 1.0);
    EXPECT_NEAR(gain.b, 0.0, 1.0);
    EXPECT_NEAR(brightness(lit, far, 25), brightness(dark, far, 25), 2.0);
    // The orb is not darkened by its own light inside it: it shines in its picture's colours.
    const uint8_t* orbPixel = lit.at(orb.x, orb.y);
    EXPECT_GT(orbPixel[0], 230);
    EXPECT_GT(orbPixel[0], orbPixel[2] + 100);
}

TEST_F(BasicRendering, AmbientStrengthFadesEverythingToBlackAndNeverInverts) {
    glm::ivec2 skyPatch{60, kHeight - 60};
    double full = brightness(drawFrame(), skyPatch, 30);
    // With every point light dark, the surface's diffuse strength (which weighs the point
    // lights) changes nothing: what shows is ambient light alone.
    for (LightSource* light : scene->lights) light->colorA.w = light->colorB.w = 0.0f;
    const glm::ivec2 planet = project(planets[0]->position);
    const double ambientOnly = brightness(drawFrame(), planet, 40);
    planets[0]->material[3] *= 4.0f;
    EXPECT_NEAR(brightness(drawFrame(), planet, 40), ambientOnly, 0.5);
    scene->lightBlock->header.w = 0.15f;
    EXPECT_NEAR(brightness(drawFrame(), skyPatch, 30), full / 2.0, 3.0);
    for (float strength : {0.0f, -0.5f}) {
        scene->lightBlock->header.w = strength;
        const Pixels frame = drawFrame();
        const std::vector<uint8_t>& rgba = frame.bytes();
        int lit = 0;  // alpha is not colour
        for (size_t i = 0; i < rgba.size(); i += 4) lit += rgba[i] || rgba[i + 1] || rgba[i + 2];
        EXPECT_EQ(lit, 0) << "strength " << strength;
    }
}

TEST_F(BasicRendering, LightAndMaterialBlocksReachTheGpuAtTheirOffsets) {
    scene->lights[1]->object = nullptr;
    scene->lights[1]->position = {5.0f, 6.0f, 7.0f, 0.5f};
    scene->lightBlock->header = {0.9f, 0.8f, 0.7f, 0.25f};
    scene->lightOrbs[0]->position = {3.0f, -4.0f, 12.5f};  // after the matrices: still followed
    // Every object, in list order.
    set.litRenderer->skipUnseen = false;
    set.litRenderer->sortNearToFar = false;
    drawFrame();

    float light[100], material[9];
    glBindBuffer(GL_UNIFORM_BUFFER, set.litRenderer->lightBuffer);
    glGetBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(light), light);
    glBindBuffer(GL_UNIFORM_BUFFER, set.litRenderer->materialBuffer);
    glGetBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(material), material);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    auto at = [&light](int byteOffset) { return glm::make_vec4(&light[byteOffset / 4]); };

    EXPECT_EQ(at(0), glm::vec4(0.9f, 0.8f, 0.7f, 0.25f));
    EXPECT_EQ(at(16), glm::vec4(3.0f, -4.0f, 12.5f, 1.0f));
    for (int i = 0; i < 8; ++i) {
        glm::vec4 position =
            i == 1 ? scene->lights[1]->position : glm::vec4(scene->lightOrbs[i]->position, 1.0f);
        EXPECT_EQ(at(16 + 48 * i), position) << "light " << i;
        EXPECT_EQ(at(32 + 48 * i), scene->lights[i]->colorA) << "light " << i;
        EXPECT_EQ(at(48 + 48 * i), scene->lights[i]->colorB) << "light " << i;
    }
    // The last object drawn is the last orb.
    EXPECT_TRUE(std::equal(material, material + 9, scene->lightOrbs[7]->material));
}

TEST_F(BasicRendering, LitRendererUsesItsListIndexAsUnitAndLeavesNothingBound) {
    std::vector<SceneObject*> litOrder{scene->alien};
    litOrder.insert(litOrder.end(), planets.begin(), planets.end());
    litOrder.insert(litOrder.end(), scene->lightOrbs.begin(), scene->lightOrbs.end());
    EXPECT_EQ(set.litRenderer->objects, litOrder);
    EXPECT_EQ(set.skyRenderer->objects, std::vector<SceneObject*>{scene->sky});
    litOrder.insert(litOrder.begin(), scene->sky);
    EXPECT_EQ(set.transformer->objects, litOrder);

    glFrontFace(GL_CW);
    set.skyRenderer->draw();
    glFrontFace(GL_CCW);
    // A marker texture on every unit: a unit the renderer used is unbound afterwards. Drawn the
    // straightforward way, every visible object in list order, so every unit but the hidden
    // planet's is used (skipping unseen work shares drawObject and leaves units of the objects it
    // skips as they were).
    set.litRenderer->skipUnseen = false;
    set.litRenderer->sortNearToFar = false;
    planets[3]->visible = false;  // list index 4
    GLuint marker = 0;
    glGenTextures(1, &marker);
    for (GLenum unit = 0; unit < 18; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, marker);
    }
    set.litRenderer->draw();

    GLint value = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0 + 16);
    for (GLenum unit = 0; unit < 18; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
        EXPECT_EQ(value, unit == 4 || unit == 17 ? GLint(marker) : 0) << "unit " << unit;
    }
    for (GLenum binding :
         {GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING, GL_UNIFORM_BUFFER_BINDING}) {
        glGetIntegerv(binding, &value);
        EXPECT_EQ(value, 0) << std::hex << binding;
    }
    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &marker);
}
