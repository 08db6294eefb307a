#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <glm/gtc/constants.hpp>

// Procedural noise for the asset generator. Everything is a pure function of its inputs and a
// fixed seed, so every run writes the same bytes no matter how the work is spread over threads.
namespace assetgen {

// Short names for the generator's many angles, in its working precision.
constexpr float kPi = glm::pi<float>();
constexpr float kTwoPi = glm::two_pi<float>();

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline Vec3 operator*(float s, Vec3 a) {
    return a * s;
}
inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vec3 a) {
    return std::sqrt(dot(a, a));
}
inline Vec3 normalize(Vec3 a) {
    float l = length(a);
    return l > 0 ? a * (1.0f / l) : a;
}

inline uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}
inline uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    return hash32(static_cast<uint32_t>(x) * 0x8da6b343U ^ static_cast<uint32_t>(y) * 0xd8163841U ^
                  static_cast<uint32_t>(z) * 0xcb1ab31fU ^ seed * 0x9e3779b9U);
}
// Uniform in [0, 1).
inline float hashUnit(uint32_t h) {
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

// Small deterministic generator for scattering things (stars, craters, notes).
class Rng {
  public:
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}
    uint32_t next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<uint32_t>((state * 0x2545F4914F6CDD1DULL) >> 32);
    }
    float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
    // Uniformly distributed direction on the unit sphere.
    Vec3 direction() {
        float z = range(-1.0f, 1.0f);
        float a = range(0.0f, kTwoPi);
        float r = std::sqrt(std::max(0.0f, 1.0f - z * z));
        return {r * std::cos(a), z, r * std::sin(a)};
    }

  private:
    uint64_t state;
};

inline float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}
inline float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}
inline float clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline float smoothstep(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

// Twelve cube-edge gradients (four repeated to make sixteen) as in improved Perlin noise, read
// from a table: a switch on a random hash mispredicts on nearly every call.
inline float gradDot(uint32_t h, float x, float y, float z) {
    static constexpr float g[16][3] = {{1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0},
                                       {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
                                       {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1},
                                       {1, 1, 0}, {-1, 1, 0}, {0, -1, 1}, {0, -1, -1}};
    const float* v = g[h & 15u];
    return v[0] * x + v[1] * y + v[2] * z;
}

// floor() without the library call the baseline instruction set would need.
inline int32_t fastFloor(float v) {
    int32_t i = static_cast<int32_t>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

// Fixed shuffle of 0..255, doubled so lookups chained by addition need no wrap.
inline const uint8_t* permutation() {
    static const auto table = [] {
        std::array<uint8_t, 512> t{};
        for (int i = 0; i < 256; ++i) t[size_t(i)] = static_cast<uint8_t>(i);
        Rng rng(0x5eed);
        for (int i = 255; i > 0; --i) std::swap(t[size_t(i)], t[rng.next() % uint32_t(i + 1)]);
        for (int i = 0; i < 256; ++i) t[size_t(i + 256)] = t[size_t(i)];
        return t;
    }();
    return table.data();
}

// Gradient noise in about [-1, 1]. Each seed looks at the noise through its own offset.
inline float perlin(Vec3 p, uint32_t seed) {
    const uint32_t hs = hash32(seed * 0x9e3779b9U + 0x7f4a7c15U);
    p.x += static_cast<float>(hs & 255u);
    p.y += static_cast<float>((hs >> 8) & 255u);
    p.z += static_cast<float>((hs >> 16) & 255u);
    const int32_t ix = fastFloor(p.x), iy = fastFloor(p.y), iz = fastFloor(p.z);
    const float x = p.x - static_cast<float>(ix), y = p.y - static_cast<float>(iy),
                z = p.z - static_cast<float>(iz);
    const uint8_t* perm = permutation();
    const int X = ix & 255, Y = iy & 255, Z = iz & 255;
    const int A = perm[X] + Y, B = perm[X + 1] + Y;
    const int AA = perm[A] + Z, AB = perm[A + 1] + Z, BA = perm[B] + Z, BB = perm[B + 1] + Z;
    const float u = fade(x), v = fade(y), w = fade(z);
    float n000 = gradDot(perm[AA], x, y, z), n100 = gradDot(perm[BA], x - 1, y, z);
    float n010 = gradDot(perm[AB], x, y - 1, z), n110 = gradDot(perm[BB], x - 1, y - 1, z);
    float n001 = gradDot(perm[AA + 1], x, y, z - 1), n101 = gradDot(perm[BA + 1], x - 1, y, z - 1);
    float n011 = gradDot(perm[AB + 1], x, y - 1, z - 1);
    float n111 = gradDot(perm[BB + 1], x - 1, y - 1, z - 1);
    float nx00 = lerp(n000, n100, u), nx10 = lerp(n010, n110, u);
    float nx01 = lerp(n001, n101, u), nx11 = lerp(n011, n111, u);
    return lerp(lerp(nx00, nx10, v), lerp(nx01, nx11, v), w);
}

// Fractal sum; each octave is shifted so lattice artefacts of the octaves do not line up.
inline float fbm(Vec3 p, int octaves, uint32_t seed, float gain = 0.5f, float lacunarity = 2.0f) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * perlin(p, seed + static_cast<uint32_t>(i) * 101u);
        norm += amp;
        p = Vec3{p.x * lacunarity + 17.3f, p.y * lacunarity - 9.1f, p.z * lacunarity + 5.7f};
        amp *= gain;
    }
    return sum / norm;
}

// Ridged variant: sharp creases where the noise crosses zero.
inline float ridged(Vec3 p, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * (1.0f - std::fabs(perlin(p, seed + static_cast<uint32_t>(i) * 131u)));
        norm += amp;
        p = Vec3{p.x * 2.0f + 3.1f, p.y * 2.0f + 7.7f, p.z * 2.0f - 1.3f};
        amp *= 0.5f;
    }
    return sum / norm;
}

struct Cells {
    float f1 = 0, f2 = 0;  // distances to the nearest and second nearest feature point
    uint32_t id = 0;       // hash of the nearest cell, for per-cell variation
};

// Cellular (Worley) noise with one jittered feature point per lattice cell.
inline Cells worley(Vec3 p, uint32_t seed, float jitter = 0.9f) {
    int32_t ix = fastFloor(p.x), iy = fastFloor(p.y), iz = fastFloor(p.z);
    float fx = static_cast<float>(ix), fy = static_cast<float>(iy), fz = static_cast<float>(iz);
    float best1 = 1e9f, best2 = 1e9f;
    uint32_t bestId = 0;
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                uint32_t h = hash3(ix + dx, iy + dy, iz + dz, seed);
                float ox = 0.5f + jitter * (hashUnit(h) - 0.5f);
                float oy = 0.5f + jitter * (hashUnit(hash32(h ^ 0x68bc21ebU)) - 0.5f);
                float oz = 0.5f + jitter * (hashUnit(hash32(h ^ 0x02e5be93U)) - 0.5f);
                float qx = fx + static_cast<float>(dx) + ox - p.x;
                float qy = fy + static_cast<float>(dy) + oy - p.y;
                float qz = fz + static_cast<float>(dz) + oz - p.z;
                float d = qx * qx + qy * qy + qz * qz;
                if (d < best1) {
                    best2 = best1;
                    best1 = d;
                    bestId = h;
                } else if (d < best2) {
                    best2 = d;
                }
            }
    return {std::sqrt(best1), std::sqrt(best2), bestId};
}

}  // namespace assetgen
