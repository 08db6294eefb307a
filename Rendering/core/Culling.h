#pragma once

#include <array>
#include <cstddef>
#include <glm/glm.hpp>
#include <vector>

#include "Rendering/core/SceneObject.h"

struct Mesh;

// What a frame may leave out without changing a pixel: objects that lie wholly outside what is
// drawn, and lights too far from an object to reach any of its surface. Plain functions of
// matrices and positions, decided on the CPU before anything is drawn.
namespace Rendering {

// Radius around the model origin that holds every vertex of the mesh; 0 for none.
float meshRadius(const Mesh* mesh);

// A rectangle of the screen in normalised device coordinates; by default the whole screen.
struct ScreenArea {
    float left = -1.0f, bottom = -1.0f, right = 1.0f, top = 1.0f;
};

// The screen area of the window pixels [x0, x1) x [y0, y1) in a width x height viewport.
ScreenArea pixelArea(int x0, int y0, int x1, int y1, int width, int height);

// True when a sphere of `radius` around the model origin lies wholly outside the part of the
// view volume that `modelViewProjection` shows in `area` (between the near and far planes):
// none of its triangles can then put a pixel there. False whenever in doubt.
bool outsideView(const glm::mat4& modelViewProjection, float radius, const ScreenArea& area = {});

// The lights of the block that can light some point of a sphere around `centre`: those with
// a positive brightness no farther than `cutoff` from it, in block order.
struct LightList {
    std::array<int, kLightOrbCount> index{};
    int count = 0;
};
LightList lightsReaching(const LightBlock& block, glm::vec3 centre, float radius, float cutoff);

// The depth of field (the "depthLayer" of the glow pass, glowStep_1.frag): the blur is full this
// far behind the focus and (negative) this far in front of it, rising along a gentle curve; the
// focus is the alien's view-space depth. Within kSharpDepth of it all is sharp, and a blur
// below kMinBlur cannot be seen.
constexpr float kFocusFarRange = 600.0f;
constexpr float kFocusNearRange = -300.0f;
constexpr float kFocusCurve = 1.1f;
constexpr float kSharpDepth = 20.0f;
constexpr float kMinBlur = 1.0f / 64.0f;

// Largest blur weight a sphere at view depth `depth` gets with the focus at `focusDepth`.
float largestBlur(float depth, float radius, float focusDepth);

// A rectangle of window pixels, [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// The smallest rectangle holding both.
PixelRect unite(const PixelRect& a, const PixelRect& b);
// `r` grown by `margin` on every side, within a width x height frame.
PixelRect widen(const PixelRect& r, int margin, int width, int height);
// Window pixels of a width x height frame that the outline of a sphere (world `centre`,
// `radius`) can cover, widened by `margin`; empty when it lies behind the near plane.
PixelRect sphereBounds(const glm::mat4& view, const glm::mat4& projection, float nearPlane,
                       glm::vec3 centre, float radius, int width, int height, int margin);
// Joins overlapping rectangles until none overlap (a composite must not blend twice).
void mergeOverlapping(std::vector<PixelRect>& rects);

// Indices of `spheres` (centre, radius in w) ordered from the one nearest to `eye` to the
// farthest by their nearest surface point; equal distances keep their order. `order` is
// reused, so that sorting each frame allocates nothing once it has grown.
void nearToFar(const std::vector<glm::vec4>& spheres, glm::vec3 eye, std::vector<size_t>& order);

}  // namespace Rendering
