#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/assetgen/Noise.h"

namespace assetgen {

struct Rgb {
    float r = 0, g = 0, b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, float s) {
    return {a.r * s, a.g * s, a.b * s};
}
inline Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
// Colour from 0..255 components, the way designers write them.
inline Rgb rgb8(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

// Piecewise-linear colour gradient over [0, 1].
class Ramp {
  public:
    struct Stop {
        float at;
        Rgb colour;
    };
    Ramp(std::initializer_list<Stop> stops) : stops(stops) {}
    Rgb operator()(float t) const;

  private:
    std::vector<Stop> stops;
};

// 24-bit picture held the way the game receives it from the decoder: row 0 is the bottom row
// of the picture as a viewer shows it, which the game's texture upload puts at t = 0.
class Picture {
  public:
    Picture(int width, int height) : w(width), h(height), data(size_t(width) * height * 3) {}
    int width() const { return w; }
    int height() const { return h; }
    void set(int x, int row, Rgb c);
    Rgb get(int x, int row) const;
    uint8_t* pixel(int x, int row) { return &data[(size_t(row) * w + x) * 3]; }
    const uint8_t* pixel(int x, int row) const { return &data[(size_t(row) * w + x) * 3]; }
    // Fills every pixel from fn(x, row).
    void fill(const std::function<Rgb(int, int)>& fn);

    // flags are FreeImage JPEG save flags (quality, subsampling).
    bool saveJpeg(const std::string& path, int flags) const;
    bool savePng(const std::string& path) const;
    // Decodes any picture FreeImage reads, converted to 24 bits.
    static bool load(const std::string& path, Picture& out);

  private:
    int w, h;
    std::vector<uint8_t> data;  // RGB
};

// Creates the directories leading to path.
void makeParentDirs(const std::string& path);

// Unit direction of the sphere point that the game's spheres give texture coordinate (u, v):
// v = 0 at the north pole (+y), u grows from +x towards -z.
inline Vec3 sphereDirection(float u, float v) {
    float theta = v * kPi, phi = u * kTwoPi;
    float s = std::sin(theta);
    return {std::cos(phi) * s, std::cos(theta), -std::sin(phi) * s};
}

// Fills an equirectangular map from the direction each texel centre looks at, so features stay
// continuous across the u = 0/1 seam and do not pinch at the poles.
template <typename Fn>
void forEachSphereTexel(int w, int h, Fn fn);

template <typename Shade>
void fillSphereMap(Picture& map, Shade shade) {
    forEachSphereTexel(map.width(), map.height(),
                       [&](int x, int row, Vec3 d) { map.set(x, row, shade(d)); });
}

// Bilinear lookup, at texel (x, row) of a full-resolution sphere map, of a grid holding the
// same map at half resolution. Texel centres of the full map fall a quarter grid cell off the
// grid's centres; longitude wraps, latitude clamps at the poles.
template <typename T>
T halfGridAt(const std::vector<T>& grid, int cw, int ch, int x, int row) {
    int y0 = row == 0 ? 0 : (row - 1) / 2;
    float ty = row == 0 ? 0.0f : ((row % 2) ? 0.25f : 0.75f);
    int y1 = std::min(ch - 1, y0 + 1);
    int x0 = x == 0 ? cw - 1 : (x - 1) / 2;
    float tx = (x % 2) ? 0.25f : 0.75f;
    int x1 = (x0 + 1) % cw;
    T top = grid[size_t(y0) * cw + x0] * (1 - tx) + grid[size_t(y0) * cw + x1] * tx;
    T bottom = grid[size_t(y1) * cw + x0] * (1 - tx) + grid[size_t(y1) * cw + x1] * tx;
    return top * (1 - ty) + bottom * ty;
}

// Calls fn(x, row, direction) for every texel of a w x h sphere map.
template <typename Fn>
void forEachSphereTexel(int w, int h, Fn fn) {
    std::vector<float> cosPhi(static_cast<size_t>(w)), sinPhi(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) {
        float phi = (static_cast<float>(x) + 0.5f) / static_cast<float>(w) * kTwoPi;
        cosPhi[size_t(x)] = std::cos(phi);
        sinPhi[size_t(x)] = std::sin(phi);
    }
    for (int row = 0; row < h; ++row) {
        float theta = (static_cast<float>(row) + 0.5f) / static_cast<float>(h) * kPi;
        float s = std::sin(theta), c = std::cos(theta);
        for (int x = 0; x < w; ++x)
            fn(x, row, Vec3{cosPhi[size_t(x)] * s, c, -sinPhi[size_t(x)] * s});
    }
}

// As fillSphereMap, but the smooth part of the picture (features wider than a few texels) is
// computed at half resolution and stretched; detail(d, colour) then adds the fine structure at
// full resolution. Costs about a third of shading every texel fully.
template <typename Coarse, typename Detail>
void fillSphereMapLayered(Picture& map, Coarse coarse, Detail detail) {
    const int cw = map.width() / 2, ch = map.height() / 2;
    std::vector<Rgb> grid(size_t(cw) * size_t(ch));
    forEachSphereTexel(cw, ch,
                       [&](int x, int row, Vec3 d) { grid[size_t(row) * cw + x] = coarse(d); });
    forEachSphereTexel(map.width(), map.height(), [&](int x, int row, Vec3 d) {
        map.set(x, row, detail(d, halfGridAt(grid, cw, ch, x, row)));
    });
}

}  // namespace assetgen
