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

// Indices of `spheres` (centre, radius in w) ordered from the one nearest to `eye` to the
// farthest by their nearest surface point; equal distances keep their order. `order` is
// reused, so that sorting each frame allocates nothing once it has grown.
void nearToFar(const std::vector<glm::vec4>& spheres, glm::vec3 eye, std::vector<size_t>& order);

}  // namespace Rendering
