#include "Rendering/core/Culling.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Model/Mesh.h"
#include "Rendering/core/SceneObject.h"

namespace Rendering {

namespace {

// Rounding in the GPU's interpolation and in these tests must never tip a decision towards
// leaving something out, so every distance gets this much room (relative, plus a little).
constexpr float kSlack = 1e-3f;

// A half-space a·(p, 1) >= 0 of model space: the model origin lies a.w / |a.xyz| inside it, so
// a sphere around the origin is wholly outside once that is below minus its radius.
bool beyond(const glm::vec4& plane, float radius) {
    const float length = glm::length(glm::vec3(plane));
    return plane.w < -(radius * (1.0f + kSlack) + kSlack) * length;
}

}  // namespace

float meshRadius(const Mesh* mesh) {
    float radiusSquared = 0.0f;
    if (!mesh) return 0.0f;
    const std::vector<float>& p = mesh->positions;
    for (size_t i = 0; i + 2 < p.size(); i += 4) {
        radiusSquared =
            std::max(radiusSquared, p[i] * p[i] + p[i + 1] * p[i + 1] + p[i + 2] * p[i + 2]);
    }
    return std::sqrt(radiusSquared);
}

ScreenArea pixelArea(int x0, int y0, int x1, int y1, int width, int height) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    return {2.0f * static_cast<float>(x0) / w - 1.0f, 2.0f * static_cast<float>(y0) / h - 1.0f,
            2.0f * static_cast<float>(x1) / w - 1.0f, 2.0f * static_cast<float>(y1) / h - 1.0f};
}

bool outsideView(const glm::mat4& modelViewProjection, float radius, const ScreenArea& area) {
    // Rows of the matrix: clip = (x, y, z, w) of a model point p is (row0·p, ..., row3·p).
    const glm::mat4 rows = glm::transpose(modelViewProjection);
    const glm::vec4 x = rows[0], y = rows[1], z = rows[2], w = rows[3];
    // Inside: left <= x/w <= right, bottom <= y/w <= top, -1 <= z/w <= 1.
    const glm::vec4 planes[6] = {
        x - area.left * w, area.right * w - x, y - area.bottom * w, area.top * w - y, w + z, w - z};
    return std::any_of(std::begin(planes), std::end(planes),
                       [radius](const glm::vec4& plane) { return beyond(plane, radius); });
}

LightList lightsReaching(const LightBlock& block, glm::vec3 centre, float radius, float cutoff) {
    LightList list;
    const float reach = (radius + cutoff) * (1.0f + kSlack) + kSlack;
    for (int i = 0; i < kLightOrbCount; ++i) {
        const LightEntry& light = block.lights[i];
        if (light.colorA.w <= 0.0f) continue;
        const glm::vec3 offset = glm::vec3(light.position) - centre;
        if (glm::dot(offset, offset) <= reach * reach) list.index[list.count++] = i;
    }
    return list;
}

void nearToFar(const std::vector<glm::vec4>& spheres, glm::vec3 eye, std::vector<size_t>& order) {
    order.resize(spheres.size());
    std::iota(order.begin(), order.end(), size_t{0});
    auto nearest = [&](size_t i) {
        return glm::length(glm::vec3(spheres[i]) - eye) - spheres[i].w;
    };
    // Insertion sort: stable, and unlike std::stable_sort it never allocates; the lists are a
    // handful of objects long.
    for (size_t i = 1; i < order.size(); ++i) {
        const size_t moving = order[i];
        const float key = nearest(moving);
        size_t j = i;
        for (; j > 0 && nearest(order[j - 1]) > key; --j) order[j] = order[j - 1];
        order[j] = moving;
    }
}

}  // namespace Rendering
