#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <random>
#include <vector>

#include "Model/Mesh.h"
#include "Rendering/core/Culling.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/core/SceneObject.h"

using Rendering::ScreenArea;

namespace {

// The game's projection at 1024 x 768, looking down -z from the origin.
const glm::mat4 kProjection = glm::perspective(glm::radians(60.0f), 4.0f / 3.0f, 0.5f, 1000.0f);

glm::mat4 placed(glm::vec3 position, float scale) {
    return kProjection * glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(scale));
}

bool insideArea(glm::vec4 clip, const ScreenArea& area) {
    if (clip.w <= 0.0f) return false;
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    return ndc.x >= area.left && ndc.x <= area.right && ndc.y >= area.bottom && ndc.y <= area.top &&
           ndc.z >= -1.0f && ndc.z <= 1.0f;
}

}  // namespace

TEST(Culling, MeshRadiusIsTheFarthestVertexIgnoringW) {
    Mesh mesh;
    mesh.positions = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, -3.0f, 4.0f, 1.0f, 0.5f, 0.5f, 0.5f, 9.0f};
    EXPECT_FLOAT_EQ(Rendering::meshRadius(&mesh), 5.0f);
    const Mesh empty;
    EXPECT_EQ(Rendering::meshRadius(&empty), 0.0f);
    EXPECT_EQ(Rendering::meshRadius(nullptr), 0.0f);
}

TEST(Culling, SpheresAroundTheViewVolumeAreOutsideOnlyWhenWhollyOutside) {
    // In front, behind the eye, beyond the far plane, reaching through the near plane.
    EXPECT_FALSE(Rendering::outsideView(placed({0, 0, -50}, 1.0f), 10.0f));
    EXPECT_TRUE(Rendering::outsideView(placed({0, 0, 50}, 1.0f), 10.0f));
    EXPECT_TRUE(Rendering::outsideView(placed({0, 0, -1020}, 1.0f), 10.0f));
    EXPECT_FALSE(Rendering::outsideView(placed({0, 0, 5}, 1.0f), 10.0f));
    // Off to the right at depth 100 the view reaches x = 100 tan(30°) 4/3 = 76.98: a sphere
    // of radius 10 there touches the view until its centre is about 11.5 beyond that edge.
    EXPECT_FALSE(Rendering::outsideView(placed({86.0f, 0, -100}, 1.0f), 10.0f));
    EXPECT_TRUE(Rendering::outsideView(placed({90.0f, 0, -100}, 1.0f), 10.0f));
    // The radius is in model units: scaled up five times, a sphere of 2 reaches as far as 10.
    EXPECT_FALSE(Rendering::outsideView(placed({86.0f, 0, -100}, 5.0f), 2.0f));
    EXPECT_TRUE(Rendering::outsideView(placed({90.0f, 0, -100}, 5.0f), 2.0f));
}

TEST(Culling, PixelAreasNarrowTheViewToTheirRectangle) {
    const ScreenArea whole = Rendering::pixelArea(0, 0, 1024, 768, 1024, 768);
    EXPECT_FLOAT_EQ(whole.left, -1.0f);
    EXPECT_FLOAT_EQ(whole.top, 1.0f);
    const ScreenArea rightHalf = Rendering::pixelArea(512, 0, 1024, 768, 1024, 768);
    EXPECT_FLOAT_EQ(rightHalf.left, 0.0f);
    // Left of the middle at depth 100: in the whole view, not in its right half.
    const glm::mat4 left = placed({-40.0f, 0, -100}, 1.0f);
    EXPECT_FALSE(Rendering::outsideView(left, 10.0f, whole));
    EXPECT_TRUE(Rendering::outsideView(left, 10.0f, rightHalf));
}

// Whatever the camera and the area, a sphere said to be outside has no point on its surface
// that shows in the area: leaving it out can never cost a pixel.
TEST(Culling, NoSphereSaidOutsideShowsAnyPointInTheArea) {
    std::mt19937 random(15);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int outside = 0, inside = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const glm::vec3 eye(unit(random) * 50.0f, unit(random) * 50.0f, unit(random) * 50.0f);
        const glm::vec3 centre(unit(random) * 80.0f, unit(random) * 80.0f, unit(random) * 80.0f);
        // Looking somewhere near the sphere, so that it is often in view, often not.
        const glm::vec3 target =
            centre + glm::vec3(unit(random), unit(random), unit(random)) * 40.0f;
        if (glm::length(target - eye) < 1.0f) continue;
        const glm::mat4 view = glm::lookAt(eye, target, glm::vec3(0, 1, 0));
        const float scale = 0.5f + 2.0f * (unit(random) + 1.0f);
        const float radius = 1.0f + 5.0f * (unit(random) + 1.0f);
        const glm::mat4 model =
            glm::scale(glm::translate(glm::mat4(1.0f), centre), glm::vec3(scale));
        const glm::mat4 mvp = kProjection * view * model;
        const int x0 = static_cast<int>((unit(random) + 1.0f) * 400.0f);
        const int y0 = static_cast<int>((unit(random) + 1.0f) * 300.0f);
        const ScreenArea area = Rendering::pixelArea(x0, y0, x0 + 200, y0 + 150, 1024, 768);
        if (!Rendering::outsideView(mvp, radius, area)) {
            ++inside;
            continue;
        }
        ++outside;
        for (int k = 0; k < 400; ++k) {
            const glm::vec3 direction = glm::normalize(
                glm::vec3(unit(random), unit(random), unit(random)) + glm::vec3(1e-6f));
            ASSERT_FALSE(insideArea(mvp * glm::vec4(direction * radius, 1.0f), area))
                << "trial " << trial;
        }
    }
    // Both answers came up often enough for the check to mean something.
    EXPECT_GT(outside, 500);
    EXPECT_GT(inside, 500);
}

// The glow and depth-of-field passes work only inside the rectangles a sphere's outline gives:
// every point of it in front of the near plane must land inside, whether the sphere lies wholly
// in front or reaches through the near plane, and the outline is never looser than the box.
TEST(Culling, ASphereOutlineHoldsEveryPointOfItInFrontOfTheNearPlane) {
    using Rect = Rendering::GlowRenderer::PixelRect;
    std::mt19937 random(16);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const float nearPlane = 0.5f;
    int crossing = 0, tighter = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        const float radius = 0.5f + 10.0f * (unit(random) + 1.0f);
        const glm::vec3 centre(unit(random) * 30.0f, unit(random) * 30.0f,
                               -radius + 40.0f * unit(random));
        auto bounds = [&](bool tight) {
            return Rendering::GlowRenderer::sphereBounds(glm::mat4(1.0f), kProjection, nearPlane,
                                                         centre, radius, 1024, 768, 0, tight);
        };
        const Rect outline = bounds(true), box = bounds(false);
        if (centre.z + radius > -nearPlane) ++crossing;
        tighter += (outline.x1 - outline.x0) * (outline.y1 - outline.y0) <
                   (box.x1 - box.x0) * (box.y1 - box.y0);
        EXPECT_TRUE(outline.empty() || (outline.x0 >= box.x0 && outline.y0 >= box.y0 &&
                                        outline.x1 <= box.x1 && outline.y1 <= box.y1))
            << "trial " << trial;
        for (int k = 0; k < 400; ++k) {
            const glm::vec3 direction = glm::normalize(
                glm::vec3(unit(random), unit(random), unit(random)) + glm::vec3(1e-6f));
            const glm::vec3 point = centre + direction * radius * (unit(random) + 1.0f) * 0.5f;
            if (point.z > -nearPlane) continue;
            const glm::vec4 clip = kProjection * glm::vec4(point, 1.0f);
            const glm::vec2 pixel = (glm::vec2(clip) / clip.w * 0.5f + 0.5f) * glm::vec2(1024, 768);
            if (pixel.x < 0 || pixel.y < 0 || pixel.x > 1024 || pixel.y > 768) continue;
            ASSERT_TRUE(pixel.x >= outline.x0 && pixel.x <= outline.x1 && pixel.y >= outline.y0 &&
                        pixel.y <= outline.y1)
                << "trial " << trial;
        }
    }
    EXPECT_GT(crossing, 300);
    EXPECT_GT(tighter, 1000);
}

// A sphere gets a depth-of-field region when any point of it blurs: its blur is the largest of
// its points' (a point being a sphere of radius 0), on the near side of the focus as on the far.
TEST(Culling, ASphereBlursAsMuchAsItsMostBlurredPoint) {
    using Rendering::GlowRenderer;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int nearSideDecides = 0;
    for (int trial = 0; trial < 500; ++trial) {
        const float focus = -20.0f - 100.0f * unit(random);
        const float depth = -1.0f - 300.0f * unit(random);
        const float radius = 60.0f * unit(random);
        float mostBlurred = 0.0f;
        for (int k = 0; k <= 100; ++k) {
            const float z = depth - radius + 2.0f * radius * static_cast<float>(k) / 100.0f;
            mostBlurred = std::max(mostBlurred, GlowRenderer::largestBlur(z, 0.0f, focus));
        }
        EXPECT_NEAR(GlowRenderer::largestBlur(depth, radius, focus), mostBlurred, 2e-3f)
            << "trial " << trial;
        nearSideDecides += GlowRenderer::largestBlur(depth + radius, 0.0f, focus) >
                           GlowRenderer::largestBlur(depth - radius, 0.0f, focus);
    }
    EXPECT_GT(nearSideDecides, 50);
}

TEST(Culling, LightsReachingAnObjectAreTheBrightOnesWithinRadiusPlusCutoffInBlockOrder) {
    LightBlock block;
    auto light = [&](int i, glm::vec3 position, float brightness) {
        block.lights[i].position = glm::vec4(position, 1.0f);
        block.lights[i].colorA.w = brightness;
    };
    // Sphere of radius 10 at the origin, cut-off 15: reach 25 from the centre.
    light(0, {24.9f, 0, 0}, 1.0f);    // in reach
    light(1, {25.2f, 0, 0}, 1.0f);    // just beyond
    light(2, {0, 0, 0}, 1.0f);        // at the centre (an orb's own light)
    light(3, {0, 5, 0}, 0.0f);        // dark
    light(4, {0, 5, 0}, -0.5f);       // dark
    light(5, {0, -20, 10}, 0.1f);     // in reach
    light(6, {100, 100, 100}, 1.0f);  // far away
    // light 7 keeps brightness 0
    const Rendering::LightList list = Rendering::lightsReaching(block, glm::vec3(0), 10.0f, 15.0f);
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.index[0], 0);
    EXPECT_EQ(list.index[1], 2);
    EXPECT_EQ(list.index[2], 5);
}

TEST(Culling, NearToFarOrdersByTheNearestSurfacePointAndKeepsTies) {
    const std::vector<glm::vec4> spheres = {
        {0, 0, -30, 1},   // nearest point 29
        {0, 0, -30, 10},  // 20
        {0, 0, 10, 1},    // 9 (behind counts the same)
        {5, 0, 0, 1},     // 4
        {0, 0, -21, 1},   // 20, after the other 20
    };
    std::vector<size_t> order;
    Rendering::nearToFar(spheres, glm::vec3(0), order);
    EXPECT_EQ(order, (std::vector<size_t>{3, 2, 1, 4, 0}));
    Rendering::nearToFar({}, glm::vec3(0), order);
    EXPECT_TRUE(order.empty());
}
