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

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// Smallest and largest `across / depth` over a disk (centre `across`, `depth`; the sphere seen
// along one screen axis) cut off in front of the near plane: attained where a line from the eye
// touches the disk, or where the disk meets the near plane. x / depth is all a perspective
// projection makes of a point along x, so this bounds the sphere's picture along that axis.
glm::vec2 slopeRange(float across, float depth, float radius, float nearPlane) {
    glm::vec2 range(1e30f, -1e30f);
    auto include = [&](glm::vec2 point) {  // (across, depth), in front of the near plane
        const float slope = point.x / point.y;
        range = {std::min(range.x, slope), std::max(range.y, slope)};
    };
    const glm::vec2 centre(across, depth);
    const float distance2 = glm::dot(centre, centre);
    if (distance2 > radius * radius) {  // the eye is outside: two lines touch the disk
        const glm::vec2 foot = centre * (1.0f - radius * radius / distance2);
        const glm::vec2 side = glm::vec2(-depth, across) *
                               (radius * std::sqrt(distance2 - radius * radius) / distance2);
        for (const glm::vec2& touch : {foot - side, foot + side}) {
            if (touch.y >= nearPlane) include(touch);
        }
    }
    const float cut = radius * radius - (nearPlane - depth) * (nearPlane - depth);
    if (cut > 0.0f) {
        include({across - std::sqrt(cut), nearPlane});
        include({across + std::sqrt(cut), nearPlane});
    }
    return range;
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

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

PixelRect widen(const PixelRect& r, int margin, int width, int height) {
    return {std::max(r.x0 - margin, 0), std::max(r.y0 - margin, 0), std::min(r.x1 + margin, width),
            std::min(r.y1 + margin, height)};
}

PixelRect sphereBounds(const glm::mat4& view, const glm::mat4& projection, float nearPlane,
                       glm::vec3 centre, float radius, int width, int height, int margin) {
    const glm::vec3 c = glm::vec3(view * glm::vec4(centre, 1.0f));
    // Wholly behind the near plane: nothing to see.
    if (c.z - radius >= -nearPlane) return {};
    glm::vec2 low(1e30f), high(-1e30f);
    // The sphere's own outline: a big sphere near the eye covers far less than the corners of
    // its box would say, and one reaching through the near plane need not cover all.
    for (int axis = 0; axis < 2; ++axis) {
        const glm::vec2 slopes = slopeRange(c[axis], -c.z, radius, nearPlane);
        if (slopes.x > slopes.y) return {0, 0, width, height};  // grazing the near plane
        low[axis] = projection[axis][axis] * slopes.x - projection[2][axis];
        high[axis] = projection[axis][axis] * slopes.y - projection[2][axis];
    }
    const glm::vec2 size(static_cast<float>(width), static_cast<float>(height));
    const glm::vec2 lowPixel = glm::floor((low * 0.5f + 0.5f) * size);
    const glm::vec2 highPixel = glm::ceil((high * 0.5f + 0.5f) * size);
    // Far outside the frame the floats would not fit an int.
    const glm::vec2 limit = size + static_cast<float>(margin) + 1.0f;
    PixelRect r{static_cast<int>(glm::clamp(lowPixel.x, -limit.x, limit.x)),
                static_cast<int>(glm::clamp(lowPixel.y, -limit.y, limit.y)),
                static_cast<int>(glm::clamp(highPixel.x, -limit.x, limit.x)),
                static_cast<int>(glm::clamp(highPixel.y, -limit.y, limit.y))};
    r = widen(r, margin, width, height);
    return r.empty() ? PixelRect{} : r;
}

void mergeOverlapping(std::vector<PixelRect>& rects) {
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < rects.size() && !merged; ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                if (!overlap(rects[i], rects[j])) continue;
                rects[i] = unite(rects[i], rects[j]);
                rects.erase(rects.begin() + static_cast<long>(j));
                merged = true;
                break;
            }
        }
    }
}

float largestBlur(float depth, float radius, float focus) {
    const float behind = focus - (depth - radius);
    const float ahead = (depth + radius) - focus;
    const float spread = std::max(std::max(behind - kSharpDepth, 0.0f) / kFocusFarRange,
                                  std::max(ahead - kSharpDepth, 0.0f) / -kFocusNearRange);
    return std::min(std::pow(spread, kFocusCurve), 1.0f);
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
