#include <algorithm>
#include <cmath>
#include <filesystem>
#include <glm/glm.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>
#include <vector>

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/Camera.h"
#include "Rendering/core/SceneObject.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/ShaderTable.h"
#include "Rendering/scene/SphereGenerator.h"
#include "app/RendererSet.h"
#include "tests/gl/GLTestFixture.h"

// Pictures wrapped round spheres, seen where the mesh's own texture coordinates go wrong: at a
// pole, where the triangles of a cap meet, and along the seam, where longitude wraps.
namespace {

constexpr int kWidth = 1024, kHeight = 768;

// The direction at texture coordinates (u, v), laid out as the sphere generator lays them.
glm::dvec3 directionAt(double u, double v) {
    const double phi = u * glm::two_pi<double>(), theta = v * glm::pi<double>();
    return {std::cos(phi) * std::sin(theta), std::cos(theta), -std::sin(phi) * std::sin(theta)};
}

// A picture of width x height grey texels, rows from v = 0 up, as decoded pictures come.
template <typename GreyAt>
std::vector<uint8_t> greyPicture(int width, int height, GreyAt greyAt) {
    std::vector<uint8_t> pixels;
    pixels.reserve(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double grey = greyAt((x + 0.5) / width, (y + 0.5) / height);
            pixels.insert(pixels.end(), 3, uint8_t(std::lround(std::clamp(grey, 0.0, 255.0))));
        }
    }
    return pixels;
}

// Where the pixels of a blob are and how long its principal axes are, weighted by brightness.
struct Blob {
    glm::dvec2 centre{0.0};
    double axisRatio = 0.0;
    double peak = 0.0;
};

template <typename BrightnessAt>
Blob measureBlob(BrightnessAt brightnessAt) {
    double peak = 0.0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) peak = std::max(peak, brightnessAt(x, y));
    }
    double sum = 0.0;
    glm::dvec2 first{0.0};
    glm::dmat2 second{0.0};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double w = brightnessAt(x, y);
            if (w < 0.25 * peak) continue;
            const glm::dvec2 p(x, y);
            sum += w;
            first += w * p;
            second += w * glm::outerProduct(p, p);
        }
    }
    Blob blob;
    blob.peak = peak;
    if (sum <= 0.0) return blob;
    blob.centre = first / sum;
    const glm::dmat2 spread = second / sum - glm::outerProduct(blob.centre, blob.centre);
    const double mean = 0.5 * (spread[0][0] + spread[1][1]);
    const double half =
        std::sqrt(std::pow(0.5 * (spread[0][0] - spread[1][1]), 2.0) + spread[0][1] * spread[0][1]);
    blob.axisRatio = std::sqrt((mean + half) / std::max(mean - half, 1e-9));
    return blob;
}

}  // namespace

class SphereMapping : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(FYREL_SOURCE_DIR);  // the game's relative paths
        testing::internal::CaptureStdout();
        shaders.loadShaders();
        testing::internal::GetCapturedStdout();
        std::filesystem::current_path(previous);
        lightBlock.header = {1.0f, 1.0f, 1.0f, 0.3f};  // the scene's start, no point lights
    }

    void TearDown() override {
        glActiveTexture(GL_TEXTURE0);
        if (renderer) renderer->releaseGpuObjects();
        for (auto& entry : shaders.compiledShaders) entry.second->deleteShader();
        GLTest::TearDown();
    }

    // Draws the object alone with the named program as the frame loop would, seen from `eye`
    // towards `target`, and reads back the frame.
    Pixels draw(Rendering::ShaderNames program, SceneObject* object, glm::vec3 eye,
                glm::vec3 target, glm::vec3 up, GLenum frontFace) {
        if (renderer) renderer->releaseGpuObjects();
        renderer = std::make_unique<Rendering::BasicRenderer>();
        for (const char* name : program) renderer->addShader(shaders.compiledShaders.at(name));
        renderer->addObject(object);
        camera.eye = eye;
        renderer->camera = &camera;
        renderer->lightBlock = &lightBlock;
        renderer->skipUnseen = false;
        renderer->init();

        projection = glm::perspective(glm::radians(60.0f), float(kWidth) / kHeight, 0.5f, 1000.0f);
        view = glm::lookAt(eye, target, up);
        toWorld = glm::inverse(glm::dmat4(projection) * glm::dmat4(view));
        const glm::mat4 model = glm::translate(glm::mat4(1.0f), object->position);
        object->modelViewProjection = projection * view * model;
        object->worldToModel = glm::inverse(model);

        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFrontFace(frontFace);
        renderer->draw();
        glFrontFace(GL_CCW);
        return readPixels(0, 0, kWidth, kHeight);
    }

    // The ray from the eye through the centre of pixel (x, y), in the world.
    glm::dvec3 rayThrough(int x, int y) const {
        const glm::dvec2 ndc{(x + 0.5) / kWidth * 2.0 - 1.0, (y + 0.5) / kHeight * 2.0 - 1.0};
        const glm::dvec4 nearPoint = toWorld * glm::dvec4(ndc, -1.0, 1.0);
        const glm::dvec4 farPoint = toWorld * glm::dvec4(ndc, 1.0, 1.0);
        return glm::normalize(glm::dvec3(farPoint) / farPoint.w -
                              glm::dvec3(nearPoint) / nearPoint.w);
    }

    SphereObject* sphere(float radius, glm::vec3 position, std::vector<uint8_t>& pixels, int width,
                         int height) {
        spheres.emplace_back(generateSphere(new SphereObject, radius, 50, 100));
        SphereObject* object = spheres.back().get();
        object->position = position;
        object->mesh->pixels = pixels.data();
        object->mesh->imageWidth = uint32_t(width);
        object->mesh->imageHeight = uint32_t(height);
        return object;
    }

    RendererSet shaders;
    std::unique_ptr<Rendering::BasicRenderer> renderer;
    std::vector<std::unique_ptr<SphereObject>> spheres;
    Camera camera;
    LightBlock lightBlock;
    glm::mat4 projection{1.0f}, view{1.0f};
    glm::dmat4 toWorld{1.0};  // from clip space back to the world
};

// A round star 2 degrees from a sphere's north pole lies inside the cap, whose triangles all
// meet at the pole: with the mesh's coordinates the sampler drew it as a streak towards the
// pole. Seen towards the pole from off the axis, it must be round and where rays cast from the
// eye meet the true sphere; for the sky from inside, and for a planet (drawn with the lit
// program, as the alien is) from outside.
TEST_F(SphereMapping, AStarBesideAPoleIsRoundAndWhereTheRaysMeetIt) {
    const double sigma = glm::radians(0.25);
    const glm::dvec3 star = directionAt(40.0 / 360.0, 2.0 / 180.0);
    auto starAt = [&](glm::dvec3 direction) {
        const double angle = std::acos(std::clamp(glm::dot(direction, star), -1.0, 1.0));
        return 255.0 * std::exp(-0.5 * (angle / sigma) * (angle / sigma));
    };
    // As large as the game's sky; the star's rows are all within 5 degrees of the pole.
    const int width = 4096, height = 2048;
    std::vector<uint8_t> pixels = greyPicture(width, height, [&](double u, double v) {
        return v < 5.0 / 180.0 ? starAt(directionAt(u, v)) : 0.0;
    });
    const glm::vec3 centre{10.0f, -20.0f, 5.0f};
    struct View {
        const char* what;
        Rendering::ShaderNames program;
        float radius;
        glm::vec3 eye;  // from the centre
        GLenum frontFace;
    };
    for (const View& seen :
         {View{"sky", Rendering::programs::sky, 800.0f, {60, -40, 30}, GL_CW},
          View{"planet", Rendering::programs::lit, 10.0f, {1.2f, 20.0f, 0.9f}, GL_CCW}}) {
        SCOPED_TRACE(seen.what);
        SphereObject* sphereSeen = sphere(seen.radius, centre, pixels, width, height);
        sphereSeen->material[0] = sphereSeen->material[1] = sphereSeen->material[2] = 1.0f;
        sphereSeen->material[3] = 1.0f;
        sphereSeen->material[8] = 0.4f;  // lit by 1 where the planet faces the eye
        const glm::vec3 eye = centre + seen.eye;
        const Pixels frame =
            draw(seen.program, sphereSeen, eye, centre + glm::vec3(0.0f, seen.radius, 0.0f),
                 {0.0f, 0.0f, -1.0f}, seen.frontFace);
        savePNG(std::string("sphere_mapping_pole_star_") + seen.what);
        EXPECT_TRUE(glErrors().empty());

        const Blob drawn = measureBlob([&](int x, int y) { return double(frame.at(x, y)[0]); });
        const glm::dvec3 from = glm::dvec3(seen.eye);
        const double radius = seen.radius;
        const Blob expected = measureBlob([&](int x, int y) {
            const glm::dvec3 ray = rayThrough(x, y);
            const double along = -glm::dot(from, ray);
            const double square = along * along - glm::dot(from, from) + radius * radius;
            if (square < 0.0) return 0.0;  // the ray misses the sphere
            // From inside the far meeting point is the only one ahead; from outside, the near one.
            const double side = glm::length(from) < radius ? 1.0 : -1.0;
            return starAt(glm::normalize(from + (along + side * std::sqrt(square)) * ray));
        });
        ASSERT_GT(expected.peak, 200.0) << "the star is not in view";
        EXPECT_LE(drawn.axisRatio, 1.3);
        EXPECT_LE(glm::distance(drawn.centre, expected.centre), 2.0)
            << "drawn at " << drawn.centre.x << ", " << drawn.centre.y << "; expected at "
            << expected.centre.x << ", " << expected.centre.y;
        EXPECT_GE(drawn.peak, 0.7 * expected.peak) << "the star is blurred";
    }
}

// Looking at a planet along its seam, where u wraps from 1 back to 0: a picture that runs
// smoothly across it must show no line there. The same mesh drawn as a model with its own
// texture coordinates (as the alien is) must keep using them.
TEST_F(SphereMapping, NoLineAlongTheSeamAndModelsKeepTheirOwnCoordinates) {
    const int width = 256, height = 128;
    auto greyAt = [](double u, double v) {
        return 128.0 + 90.0 * std::cos(glm::two_pi<double>() * u) * std::sin(glm::pi<double>() * v);
    };
    std::vector<uint8_t> pixels = greyPicture(width, height, greyAt);
    SphereObject* planet = sphere(10.0f, {0.0f, 0.0f, 0.0f}, pixels, width, height);
    planet->material[0] = planet->material[1] = planet->material[2] = planet->material[3] = 1.0f;
    planet->material[8] = 0.4f;  // own glow: the picture shows brightly all over

    // The camera lies just beside the plane of the seam's meridian: the seam runs down the
    // middle of the frame, slanting across the pairs of columns the sampler works on.
    const glm::vec3 eye{30.0f, 4.0f, 1.0f};
    const Pixels frame =
        draw(Rendering::programs::lit, planet, eye, {}, {0.0f, 1.0f, 0.0f}, GL_CCW);
    savePNG("sphere_mapping_seam");
    EXPECT_TRUE(glErrors().empty());

    // How far a column stands out from the mean of its two neighbours, at most, over the rows
    // through the planet's middle.
    auto largestBump = [&](int fromColumn, int toColumn) {
        int largest = 0;
        for (int y = 250; y < 520; ++y) {
            for (int x = fromColumn; x <= toColumn; ++x) {
                const int bump =
                    2 * frame.at(x, y)[0] - frame.at(x - 1, y)[0] - frame.at(x + 1, y)[0];
                largest = std::max(largest, std::abs(bump));
            }
        }
        return largest;
    };
    ASSERT_GT(frame.at(512, 384)[0], 150) << "the planet is not in view";
    const int picturesOwn = std::max(largestBump(380, 420), largestBump(604, 644));
    EXPECT_LE(largestBump(460, 564), picturesOwn + 2) << "the picture's own: " << picturesOwn;

    // A model (no sphere) whose coordinates all point at one texel shows that texel's grey
    // where it faces the eye (the lighting is 1 there), not the picture's grey at the seam.
    Mesh ownCoordinates = *planet->mesh;
    std::fill(ownCoordinates.texCoords.begin(), ownCoordinates.texCoords.end(), 0.5f);
    SceneObject model;
    initSceneObject(&model);
    model.mesh = &ownCoordinates;
    std::copy_n(planet->material, 9, model.material);
    const Pixels modelFrame =
        draw(Rendering::programs::lit, &model, eye, {}, {0.0f, 1.0f, 0.0f}, GL_CCW);
    renderer->releaseGpuObjects();
    renderer.reset();  // while the model is still there
    EXPECT_NEAR(modelFrame.at(512, 384)[0], greyAt(0.5, 0.5), 6);
}

// Near a planet's rim a pixel's footprint on the picture grows long across the rim, and one
// lookup blurs the whole footprint down to the detail of its long side. Stripes that run along
// the rim must keep their contrast there: clearly more than with the sky's single lookup.
TEST_F(SphereMapping, StripesAlongAPlanetsRimStaySharp) {
    const int width = 1024, height = 2048;
    std::vector<uint8_t> pixels = greyPicture(width, height, [](double, double v) {
        return int(v * 1024.0) % 2 == 0 ? 230.0 : 25.0;  // stripes two texels wide
    });
    SphereObject* planet = sphere(10.0f, {0.0f, 0.0f, 0.0f}, pixels, width, height);
    planet->material[0] = planet->material[1] = planet->material[2] = planet->material[3] = 1.0f;
    // Away from the seam, which would lie along the rim if the eye were on an axis.
    const glm::vec3 eye{21.2f, 0.0f, 21.2f};

    // How much the rows of each column just inside the rim differ, relative to their mean;
    // the rim sits where a row first leaves the black background.
    auto contrastInsideTheRim = [&](const Pixels& frame) {
        double sum = 0.0;
        for (int inward = 1; inward <= 4; ++inward) {
            std::vector<double> column;
            for (int y = kHeight / 2 - 100; y < kHeight / 2 + 100; ++y) {
                int rim = 0;
                while (rim < kWidth / 2 && frame.at(rim, y)[0] == 0) ++rim;
                column.push_back(frame.at(rim + inward, y)[0]);
            }
            double mean = 0.0, square = 0.0;
            for (double grey : column) mean += grey / column.size();
            for (double grey : column) square += (grey - mean) * (grey - mean) / column.size();
            sum += std::sqrt(square) / mean;
        }
        return sum / 4.0;
    };
    planet->material[8] = 0.4f;  // own glow: the lit program shows the picture brightly
    const double sharp = contrastInsideTheRim(
        draw(Rendering::programs::lit, planet, eye, {}, {0.0f, 1.0f, 0.0f}, GL_CCW));
    savePNG("sphere_mapping_rim");
    EXPECT_TRUE(glErrors().empty());
    planet->material[8] = 0.0f;  // the sky program shows it as it is
    const double single = contrastInsideTheRim(
        draw(Rendering::programs::sky, planet, eye, {}, {0.0f, 1.0f, 0.0f}, GL_CCW));
    savePNG("sphere_mapping_rim_single_lookup");
    // Measured 0.33 and 0.07: one lookup takes the stripes there for a flat grey.
    EXPECT_GT(sharp, 0.2) << "with one lookup: " << single;
    EXPECT_LT(single, 0.2) << "the stripes are too coarse to show the blur";
}
