#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <glm/gtc/type_precision.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <map>
#include <memory>

#include "Model/ModelLoaderCollada.h"
#include "Model/ModelPool.h"
#include "Rendering/core/Camera.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/ShaderTable.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/Font.h"
#include "Rendering/scene/FrameDrawing.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/scene/SceneryCreator.h"
#include "Rendering/scene/SphereGenerator.h"
#include "Rendering/scene/TextRenderer.h"
#include "app/RendererSet.h"
#include "harness/ScriptedInput.h"
#include "infra/Assets.h"
#include "platform/Window.h"
#include "tests/gl/GLTestFixture.h"

using Rendering::BasicRenderer;
using Rendering::GlowRenderer;

namespace {
// A picture in the decoder's layout: bottom row first, blue-green-red, rows padded to 4 bytes.
struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> bytes;
};

template <typename Colour>
Picture makePicture(uint32_t width, uint32_t height, Colour colour) {
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    Picture picture{width, height, std::vector<uint8_t>(rowBytes * height)};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const glm::u8vec3 rgb = colour(x, y);
            uint8_t* pixel = &picture.bytes[y * rowBytes + x * 3];
            pixel[0] = rgb.b, pixel[1] = rgb.g, pixel[2] = rgb.r;
        }
    }
    return picture;
}

Picture solid(uint8_t r, uint8_t g, uint8_t b) {
    return makePicture(16, 16, [=](uint32_t, uint32_t) { return glm::u8vec3(r, g, b); });
}

float luminance(const uint8_t* p) {
    return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
}

std::array<GLuint, 6> liveObjects() {
    std::array<GLuint, 6> live{};
    for (GLuint n = 1; n < 4096; ++n) {
        live[0] += glIsBuffer(n), live[1] += glIsVertexArray(n), live[2] += glIsTexture(n);
        live[3] += glIsFramebuffer(n), live[4] += glIsRenderbuffer(n), live[5] += glIsProgram(n);
    }
    return live;
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

}  // namespace

// A small version of the game's scene, wired to the renderers as the game wires them.
class GlowRendering : public GLTest {
  protected:
    static constexpr float kNoMaterial[9] = {};
    static constexpr float kPlanetMaterial[9] = {1, 1, 1, 3, 1, 1, 1, 0.3f, 0.4f};
    static constexpr float kOrbMaterial[9] = {1, 0.8f, 0.8f, 1, 1, 0.8f, 0.8f, 1, 0.02f};

    void SetUp() override {
        GLTest::SetUp();
        for (const assets::File& file : assets::filesOf(assets::Kind::Shader)) {
            const std::string& path = paths[file.name] =
                FYREL_SOURCE_DIR "/" + std::string(file.path);
            auto& shader = shaders[file.name] =
                std::make_unique<ShaderCompiler>(path, RendererSet::shaderTypeForPath(path));
            ASSERT_EQ(shader->compile(), 0) << path;
        }
        scene = std::make_unique<Scene>();
        scene->lightBlock = new LightBlock();
        scene->lightBlock->header = glm::vec4(1.0f, 1.0f, 1.0f, 0.3f);
        const float alienMaterial[9] = {1, 0.8f, 0.8f, 1, 1, 0.8f, 0.8f, 1, 0.05f};
        scene->alien = addSphere(2.0f, {1.0f, 13.5f, 1.0f}, solid(90, 200, 90), alienMaterial);
        Camera& camera = *(scene->camera = new Camera());
        camera.fovy = 60.0f, camera.aspect = 4.0f / 3.0f;
        camera.farPlane = 1000.0f, camera.nearPlane = 0.5f;
        camera.placeCamera(scene->alien, 100.0f, 40.0f);
        // A dark sky with a faint grain, like space.
        scene->sky = addSphere(
            800.0f, camera.eye,
            makePicture(256, 128,
                        [](uint32_t x, uint32_t y) {
                            const uint8_t v = static_cast<uint8_t>(12 + ((x * 7 + y * 13) % 5) * 4);
                            return glm::u8vec3(v, v, v + 10);
                        }),
            kNoMaterial);
    }

    void TearDown() override {
        glow.releaseGpuObjects();
        lit.releaseGpuObjects();
        sky.releaseGpuObjects();
        text.releaseGpuObjects();
        for (auto& [name, shader] : shaders) glDeleteShader(shader->shaderId);
        GLTest::TearDown();
    }

    SphereObject* addSphere(float radius, glm::vec3 position, Picture picture,
                            const float (&material)[9], unsigned rings = 50) {
        const Picture& kept = *pictures.emplace_back(std::make_unique<Picture>(std::move(picture)));
        SphereObject* sphere = generateSphere(new SphereObject(), radius, rings, rings * 2);
        sphere->mesh->pixels = const_cast<uint8_t*>(kept.bytes.data());
        sphere->mesh->imageWidth = kept.width;
        sphere->mesh->imageHeight = kept.height;
        sphere->position = position;
        std::copy(std::begin(material), std::end(material), sphere->material);
        return sphere;
    }
    SceneObject* addPlanet(float radius, glm::vec3 position, Picture picture) {
        return scene->planets.emplace_back(addSphere(radius, position, picture, kPlanetMaterial));
    }
    // An orb with its light, pulsing at `brightness`.
    SceneObject* addOrb(glm::vec3 position, float brightness = 1.0f) {
        SceneObject* orb = addSphere(0.5f, position, solid(255, 190, 60), kOrbMaterial, 20);
        scene->lightOrbs.push_back(orb);
        LightSource* light = scene->lights.emplace_back(new LightSource());
        light->object = orb;
        light->colorA = glm::vec4(0.6f, 0.7f, 0.7f, brightness);
        light->colorB = glm::vec4(1.0f, 0.8f, 0.8f, brightness);
        return orb;
    }

    // RendererSet::setupRenderers by hand, in its order; a synthetic score line on top.
    void setUpRenderers() {
        transformer.setCamera(scene->camera);
        transformer.addObject(scene->sky);
        transformer.addObject(scene->alien);
        transformer.addObjects(scene->planets);
        transformer.addObjects(scene->lightOrbs);
        sky.addObject(scene->sky);
        lit.addObject(scene->alien);
        for (SceneObject* planet : scene->planets) lit.addObject(planet), glow.addObject(planet);
        glow.addObject(scene->alien);
        for (SceneObject* orb : scene->lightOrbs) lit.addObject(orb), glow.addObject(orb);
        for (auto [renderer, names] :
             {std::pair<BasicRenderer*, Rendering::ShaderNames>{&sky, Rendering::programs::sky},
              {&lit, Rendering::programs::lit},
              {&glow, Rendering::programs::glowRenderer}}) {
            for (const char* name : names) renderer->addShader(shaders.at(name).get());
            renderer->lights = scene->lights;
            renderer->camera = scene->camera;
            renderer->lightBlock = scene->lightBlock;
        }
        glow.scene = scene.get();
        sky.init();
        lit.init();
        glow.init();

        glyph = makePicture(
            6, 14, [](uint32_t x, uint32_t y) { return glm::u8vec3((x + y) % 3 ? 230 : 40); });
        for (char c : std::string("fyrel: 0123456789von")) {
            text.pictures[std::string(1, c)] = glyph.bytes.data();
        }
        TextItem* score = scene->texts.emplace_back(new TextItem("fyrel: 8 von 8"));
        score->x = 15, score->y = 750;
        text.texts = &scene->texts;
        for (const char* name : Rendering::programs::text) text.addShader(shaders.at(name).get());
        text.init();
    }

    // One frame in the frame loop's order, read back; the glow renderer only when asked.
    Pixels frame(bool withGlow, int width = 1024, int height = 768) {
        int framebufferWidth = 0, framebufferHeight = 0;
        platform::input()->framebufferSize(framebufferWidth, framebufferHeight);
        text.setFramebufferSize(framebufferWidth, framebufferHeight);
        glow.setFramebufferSize(framebufferWidth, framebufferHeight);
        transformer.update();
        Rendering::clearFrame();
        Rendering::drawSceneAndText(sky, lit, text);
        if (withGlow) glow.draw();
        return readPixels(0, 0, width, height);
    }

    // Window pixel of an object's centre, and a sphere's radius in pixels.
    glm::vec2 project(const SceneObject* object, int width = 1024, int height = 768) {
        const glm::vec4 clip = object->modelViewProjection * glm::vec4(0, 0, 0, 1);
        return (glm::vec2(clip) / clip.w * 0.5f + 0.5f) * glm::vec2(width, height);
    }
    float screenRadius(const SceneObject* object, float radius, int height = 768) {
        const float distance = glm::length(scene->camera->eye - object->position);
        return radius / distance / std::tan(glm::radians(30.0f)) * height * 0.5f;
    }
    static const uint8_t* at(const Pixels& pixels, glm::vec2 p) {
        return pixels.at(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    // How much brighter the glow frame is than the plain frame at a pixel.
    static float gain(const Pixels& plain, const Pixels& glowing, glm::vec2 p) {
        return luminance(at(glowing, p)) - luminance(at(plain, p));
    }
    // Pixels of rows [firstRow, endRow) whose colour differs between two frames of one size.
    static int differing(const Pixels& a, const Pixels& b, int firstRow = 0, int endRow = INT_MAX) {
        int count = 0;
        for (int y = firstRow; y < std::min(endRow, a.height()); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const uint8_t *p = a.at(x, y), *q = b.at(x, y);
                count += p[0] != q[0] || p[1] != q[1] || p[2] != q[2];
            }
        }
        return count;
    }

    std::map<std::string, std::string> paths;
    std::map<std::string, std::unique_ptr<ShaderCompiler>> shaders;
    std::unique_ptr<Scene> scene;
    std::vector<std::unique_ptr<Picture>> pictures;
    Picture glyph;
    Rendering::BasicTransformer transformer;
    BasicRenderer sky, lit;
    GlowRenderer glow;
    Rendering::TextRenderer text;
};

TEST_F(GlowRendering, OrbHaloIsBrightOutsideTheRimFallsOffAndPulses) {
    addPlanet(11.0f, {1.0f, 1.0f, 1.0f}, solid(70, 90, 160));
    SceneObject* orb = addOrb({13.0f, 16.0f, 1.0f});
    setUpRenderers();
    const Pixels plain = frame(false);
    const Pixels glowing = frame(true);
    savePNG("glow_orb_halo");
    swap();

    const glm::vec2 centre = project(orb);
    const float rim = screenRadius(orb, 0.5f);
    for (glm::vec2 direction :
         {glm::vec2(1, 0), glm::vec2(-1, 0), glm::vec2(0, 1), glm::vec2(0.7071f, -0.7071f)}) {
        float previous = 1e9f;
        for (float beyond : {2.0f, 5.0f, 9.0f, 14.0f}) {
            const float g = gain(plain, glowing, centre + direction * (rim + beyond));
            EXPECT_LT(g, previous) << beyond << " px beyond the rim";
            // Bright enough near the rim that an orb a few pixels across still shines.
            EXPECT_GT(g, beyond < 3.0f    ? 120.0f
                         : beyond < 6.0f  ? 70.0f
                         : beyond < 10.0f ? 18.0f
                                          : -0.5f)
                << beyond;
            previous = g;
        }
        EXPECT_NEAR(gain(plain, glowing, centre + direction * (rim + 60.0f)), 0.0f, 1.0f);
    }
    // At the low point of its pulse the halo is dimmer.
    LightSource& light = *scene->lights[0];
    const glm::vec2 pulseTop(light.colorA.w, light.colorB.w);
    scene->lights[0]->colorA.w = scene->lights[0]->colorB.w = 0.25f;
    const glm::vec2 probe = centre + glm::vec2(rim + 5.0f, 0.0f);
    const float full = gain(plain, glowing, probe);
    const float dim = gain(frame(false), frame(true), probe);
    EXPECT_GT(dim, 0.0f);
    EXPECT_LT(dim * 1.5f, full);

    // As the scene dims at the end of the game the halo fades with it, and is gone once the
    // scene is dark.
    light.colorA.w = pulseTop.x;
    light.colorB.w = pulseTop.y;
    float& brightness = scene->lightBlock->sceneBrightness();
    const float start = brightness;
    brightness = start / 2.0f;
    const float fading = gain(frame(false), frame(true), probe);
    EXPECT_GT(fading, 0.0f);
    EXPECT_LT(fading, 0.75f * full);
    brightness = 0.0f;
    EXPECT_NEAR(gain(frame(false), frame(true), probe), 0.0f, 1.0f);
    brightness = start;
}

TEST_F(GlowRendering, NeverDarkensKeepsTheTextAndLeavesTheStateTheFrameLoopExpects) {
    addPlanet(11.0f, {1.0f, 1.0f, 1.0f}, solid(170, 150, 200));
    addOrb({13.0f, 16.0f, 1.0f});
    addOrb({-8.0f, 9.0f, 8.0f});
    setUpRenderers();
    EXPECT_TRUE(glow.framebufferComplete);
    const Pixels plain = frame(false);
    const Pixels glowing = frame(true);
    int darker = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const uint8_t *p = plain.at(x, y), *q = glowing.at(x, y);
            darker += q[0] < p[0] || q[1] < p[1] || q[2] < p[2];
        }
    }
    EXPECT_EQ(darker, 0);
    // Two halos a few dozen pixels across: far from a washed-out frame.
    EXPECT_GT(differing(plain, glowing), 500);
    EXPECT_LT(differing(plain, glowing), 1024 * 768 / 50);
    // The score line, drawn before the composite, comes through untouched.
    EXPECT_EQ(differing(plain, glowing, 750, 764), 0);

    // Once more, over state the passes never use: afterwards the viewport covers the window and
    // the depth test is on, as the frame loop expects; everything else is back as it was.
    glViewport(0, 0, 10, 10);
    glDisable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE5);
    glBindTexture(GL_TEXTURE_2D, scene->alien->texture);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glScissor(1, 2, 3, 4);
    glBlendFunc(GL_ONE, GL_ONE);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glow.draw();
    glm::ivec4 bindings{-1}, viewport{}, scissorBox{};
    GLint unit = 0, texture = 0, polygonMode[2] = {}, blendSource = 0, blendDestination = 0;
    glm::vec4 clearColour{};
    GLboolean dofSourceMask[4] = {};
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bindings[0]);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bindings[1]);
    glGetIntegerv(GL_CURRENT_PROGRAM, &bindings[2]);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bindings[3]);
    glGetIntegerv(GL_VIEWPORT, &viewport[0]);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    glGetIntegerv(GL_SCISSOR_BOX, &scissorBox[0]);
    glGetIntegerv(GL_BLEND_SRC_RGB, &blendSource);
    glGetIntegerv(GL_BLEND_DST_RGB, &blendDestination);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, &clearColour[0]);
    glGetBooleani_v(GL_COLOR_WRITEMASK, 1, dofSourceMask);
    EXPECT_EQ(bindings, glm::ivec4(0));
    EXPECT_EQ(viewport, glm::ivec4(0, 0, 1024, 768));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(unit, GL_TEXTURE5);
    EXPECT_EQ(texture, static_cast<GLint>(scene->alien->texture));
    EXPECT_EQ(polygonMode[0], GL_LINE);
    EXPECT_EQ(scissorBox, glm::ivec4(1, 2, 3, 4));
    EXPECT_EQ(glm::ivec2(blendSource, blendDestination), glm::ivec2(GL_ONE));
    EXPECT_EQ(clearColour, glm::vec4(0.25f, 0.5f, 0.75f, 1.0f));
    EXPECT_TRUE(dofSourceMask[0] && dofSourceMask[1] && dofSourceMask[2] && dofSourceMask[3]);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBlendFunc(GL_ONE, GL_ZERO);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    // The objects keep the vertex arrays made here, and the lit renderer draws with them: all
    // three attributes must be fed.
    for (SceneObject* object : {scene->alien, scene->planets[0], scene->lightOrbs[0]}) {
        glBindVertexArray(object->vertexArray);
        for (GLuint location : {0u, 1u, 2u}) {
            GLint enabled = 0;
            glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
            EXPECT_EQ(enabled, GL_TRUE) << "attribute " << location;
        }
    }
    glBindVertexArray(0);
    swap();
}

TEST_F(GlowRendering, HiddenOrCollectedOrbsAddNoGlow) {
    // The orb sits right behind a planet, as seen from the camera.
    SceneObject* planet = addPlanet(6.0f, {13.0f, 16.0f, 1.0f}, solid(120, 110, 100));
    const glm::vec3 away = glm::normalize(planet->position - scene->camera->eye);
    SceneObject* orb = addOrb(planet->position + away * 9.0f);
    setUpRenderers();
    const Pixels hidden = frame(true);
    orb->visible = false;
    const Pixels collected = frame(true);
    EXPECT_EQ(differing(hidden, collected), 0) << "the hidden orb added light";
    // With every orb collected nothing glows, and all of this scene is in focus.
    EXPECT_EQ(differing(collected, frame(false)), 0);
    // Control: without the planet in front, the same orb does glow.
    orb->visible = true;
    planet->visible = false;
    const Pixels open = frame(true);
    EXPECT_GT(differing(open, frame(false)), 200);
}

TEST_F(GlowRendering, FarSurfacesSoftenWhileTheAlienStaysSharp) {
    auto stripes = [](uint32_t x, uint32_t) { return glm::u8vec3((x / 4) % 2 ? 240 : 20); };
    const glm::vec3 alien = scene->alien->position;
    const glm::vec3 behind = glm::normalize(alien - scene->camera->eye) * 420.0f;
    SceneObject* far =
        addPlanet(60.0f, alien + behind + glm::vec3(150, 0, 0), makePicture(256, 16, stripes));
    SceneObject* near =
        addPlanet(4.0f, alien + glm::vec3(-12, 0, 0), makePicture(256, 16, stripes));
    setUpRenderers();
    const Pixels plain = frame(false);
    const Pixels glowing = frame(true);
    savePNG("glow_depth_of_field");
    swap();

    // Edge energy along rows through the far planet: blurring lowers it, gently.
    auto edges = [](const Pixels& pixels, glm::vec2 centre) {
        float total = 0.0f;
        for (int dy = -10; dy <= 10; dy += 5) {
            for (int dx = -30; dx < 30; ++dx) {
                const float step = luminance(at(pixels, centre + glm::vec2(dx + 1, dy))) -
                                   luminance(at(pixels, centre + glm::vec2(dx, dy)));
                total += step * step;
            }
        }
        return total;
    };
    EXPECT_LT(edges(glowing, project(far)), 0.6f * edges(plain, project(far)));
    EXPECT_GT(edges(glowing, project(far)), 0.02f * edges(plain, project(far)));
    // The alien and its neighbour are in focus: not one pixel changes around them.
    for (glm::vec2 centre : {project(scene->alien), project(near)}) {
        for (int i = 0; i < 17 * 17; ++i) {
            const glm::vec2 p = centre + glm::vec2(i % 17 - 8, i / 17 - 8);
            ASSERT_EQ(glm::make_vec3(at(plain, p)), glm::make_vec3(at(glowing, p)));
        }
    }
}

TEST_F(GlowRendering, TargetsFollowTheWindowSize) {
    addPlanet(11.0f, {1.0f, 1.0f, 1.0f}, solid(70, 90, 160));
    // Right of the middle, where a 1280-wide frame reaches past 1024 columns.
    SceneObject* orb = addOrb({85.0f, 16.0f, 1.0f});
    setUpRenderers();
    for (glm::ivec2 size : {glm::ivec2(1280, 720), glm::ivec2(2048, 1536), glm::ivec2(1024, 768)}) {
        ASSERT_TRUE(resizeWindow(size.x, size.y)) << size.x << " x " << size.y;
        scene->camera->aspect = static_cast<float>(size.x) / static_cast<float>(size.y);
        const Pixels plain = frame(false, size.x, size.y);
        const Pixels glowing = frame(true, size.x, size.y);
        EXPECT_EQ(glm::ivec2(glow.targetWidth(), glow.targetHeight()), size);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(glm::ivec2(viewport[2], viewport[3]), size);

        // The halo sits on the orb, evenly on every side: nothing stretched or shifted.
        const glm::vec2 centre = project(orb, size.x, size.y);
        EXPECT_GT(centre.x, size.x == 1280 ? 1040.0f : 900.0f);
        const float probe = screenRadius(orb, 0.5f, size.y) + 4.0f;
        const float right = gain(plain, glowing, centre + glm::vec2(probe, 0));
        EXPECT_GT(right, 20.0f) << size.x;
        for (glm::vec2 side : {glm::vec2(-1, 0), glm::vec2(0, 1), glm::vec2(0, -1)}) {
            EXPECT_NEAR(gain(plain, glowing, centre + side * probe), right, 0.35f * right);
        }
        swap();
    }
    GLTest::resetFrameState();
}

TEST_F(GlowRendering, FramesAddNoGLObjectsOrMemoryAndReleaseFreesThem) {
    const std::array<GLuint, 6> before = liveObjects();
    addPlanet(11.0f, {1.0f, 1.0f, 1.0f}, solid(70, 90, 160));
    addOrb({13.0f, 16.0f, 1.0f});
    setUpRenderers();
    // A small frame keeps the soak short; changing sizes also exercises reallocation.
    ScriptedInput input;
    platform::setInput(&input);
    input.fbWidth = 160, input.fbHeight = 120;
    glViewport(0, 0, 160, 120);
    for (int i = 0; i < 20; ++i) frame(true, 1, 1);
    const std::array<GLuint, 6> warm = liveObjects();
    const long residentBefore = residentKilobytes();
    for (int i = 0; i < 200; ++i) {
        input.fbWidth = (i / 25) % 2 ? 176 : 160;
        input.fbHeight = i == 100 ? 0 : 120;  // minimised for a frame: targets stay
        frame(true, 1, 1);
        EXPECT_EQ(glow.targetHeight(), 120);
    }
    EXPECT_EQ(liveObjects(), warm);
    const long growth = residentKilobytes() - residentBefore;
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed blocks in quarantine, so there resident memory grows anyway.
    EXPECT_LT(growth, 4096) << "kB";
#endif
    std::printf("[ soak     ] 200 frames at 160 x 120: resident %+ld kB\n", growth);

    glow.releaseGpuObjects();
    lit.releaseGpuObjects();
    sky.releaseGpuObjects();
    text.releaseGpuObjects();
    EXPECT_EQ(liveObjects(), before);
    GLTest::resetFrameState();
}
