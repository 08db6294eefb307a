#include "tools/assetgen/Planets.h"

#include <cmath>
#include <vector>

namespace assetgen {

namespace {

constexpr float kDeg = kPi / 180.0f;

float latitudeOf(Vec3 d) {
    return std::asin(std::max(-1.0f, std::min(1.0f, d.y)));
}

Vec3 directionAt(float lat, float lon) {
    return {std::cos(lat) * std::cos(lon), std::sin(lat), -std::cos(lat) * std::sin(lon)};
}

// Tangent frame at a landmark: x points east (the way u grows), y north. Features drawn in it
// look upright and unmirrored on the globe.
struct Frame {
    Vec3 centre, east, north;
    explicit Frame(Landmark m) {
        centre = directionAt(m.lat, m.lon);
        east = Vec3{-std::sin(m.lon), 0.0f, -std::cos(m.lon)};
        north = cross(centre, east);
    }
    bool facing(Vec3 d) const { return dot(d, centre) > 0.2f; }
    float x(Vec3 d) const { return dot(d, east); }
    float y(Vec3 d) const { return dot(d, north); }
};

Vec3 scaled(Vec3 d, float sx, float sy, float sz) {
    return {d.x * sx, d.y * sy, d.z * sz};
}

// Heights of the map's texels, then light from the north-west baked in from their slopes, so
// relief reads on the globe whichever way the game's lights fall.
Picture shadeRelief(const std::vector<float>& height, const std::vector<Rgb>& albedo, int w, int h,
                    float strength) {
    Picture map(w, h);
    const float step = kTwoPi / static_cast<float>(w);
    const Vec3 light = normalize(Vec3{-0.55f, 0.55f, 0.63f});
    for (int row = 0; row < h; ++row) {
        float theta = (static_cast<float>(row) + 0.5f) / static_cast<float>(h) * kPi;
        float across = std::max(0.08f, std::sin(theta));
        int up = std::max(0, row - 1), down = std::min(h - 1, row + 1);
        for (int x = 0; x < w; ++x) {
            int left = (x + w - 1) % w, right = (x + 1) % w;
            size_t at = size_t(row) * w + x;
            float gEast = (height[size_t(row) * w + right] - height[size_t(row) * w + left]) /
                          (2.0f * step * across);
            // Memory rows run from north to south.
            float gNorth = (height[size_t(up) * w + x] - height[size_t(down) * w + x]) /
                           (static_cast<float>(down - up) * step);
            // Light fixed to east and north has no meaning at a pole, where north spins round;
            // fade the relief out there rather than pinch it.
            float k = strength * smoothstep(0.02f, 0.12f, std::sin(theta));
            Vec3 n = normalize(Vec3{-k * gEast, -k * gNorth, 1.0f});
            float shade = std::max(0.0f, dot(n, light)) / light.z;
            shade = 0.25f + 0.75f * shade;
            map.set(x, row, albedo[at] * shade);
        }
    }
    return map;
}

struct Crater {
    float height = 0, brightness = 0;
};

// Bowl-shaped craters with raised rims, one chance per lattice cell; summing every nearby cell
// lets neighbours overlap the way real crater fields do.
Crater craterField(Vec3 p, uint32_t seed, float chance) {
    Crater out;
    int ix = fastFloor(p.x), iy = fastFloor(p.y), iz = fastFloor(p.z);
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                uint32_t hsh = hash3(ix + dx, iy + dy, iz + dz, seed);
                if (hashUnit(hsh) > chance) continue;
                uint32_t h2 = hash32(hsh ^ 0x5bd1e995U);
                // Four bytes of one hash place the crater and size it.
                float ox = 0.2f + 0.6f / 255.0f * float(h2 & 255u);
                float oy = 0.2f + 0.6f / 255.0f * float((h2 >> 8) & 255u);
                float oz = 0.2f + 0.6f / 255.0f * float((h2 >> 16) & 255u);
                float radius = 0.15f + 0.3f / 255.0f * float(h2 >> 24);
                float qx = float(ix + dx) + ox - p.x, qy = float(iy + dy) + oy - p.y,
                      qz = float(iz + dz) + oz - p.z;
                float d2 = qx * qx + qy * qy + qz * qz;
                float reach = 1.6f * radius;
                if (d2 > reach * reach) continue;
                float t = std::sqrt(d2) / radius;
                if (t < 1.0f) out.height += (t * t - 1.0f) * radius;
                float rim = 1.0f - ((t - 1.0f) / 0.45f) * ((t - 1.0f) / 0.45f);
                if (rim > 0) out.height += 0.45f * radius * rim * rim;
                if ((hsh & 7u) == 0u) out.brightness += 1.0f - smoothstep(0.6f, 1.6f, t);
            }
    return out;
}

}  // namespace

Picture neptuneMap() {
    Picture map(kPlanetWidth, kPlanetHeight);
    const Frame spot(kNeptuneSpot);
    auto coarse = [&](Vec3 d) {
        float lat = latitudeOf(d);
        float warp = 0.10f * fbm(d * 2.5f, 4, 11);
        float band = 0.5f + 0.5f * std::sin((lat + warp) * 10.0f);
        Rgb c = mix(rgb8(26, 50, 148), rgb8(52, 96, 212), 0.3f + 0.5f * band);
        c = c * (0.78f + 0.22f * std::cos(lat));
        if (spot.facing(d)) {
            float x = spot.x(d), y = spot.y(d);
            float r = std::sqrt((x / 0.20f) * (x / 0.20f) + (y / 0.10f) * (y / 0.10f));
            r += 0.12f * fbm(d * 11.0f, 3, 14);
            float dark = 1.0f - smoothstep(0.7f, 1.0f, r);
            c = mix(c, rgb8(10, 18, 70), 0.88f * dark);
            // The bright companion clouds trail along the storm's southern rim.
            float cx = (x - 0.04f) / 0.16f, cy = (y + 0.115f) / 0.028f;
            float companion = 1.0f - smoothstep(0.4f, 1.0f, std::sqrt(cx * cx + cy * cy));
            c = mix(c, rgb8(230, 240, 255), 0.85f * companion);
        }
        return c;
    };
    fillSphereMapLayered(map, coarse, [&](Vec3 d, Rgb c) {
        c = c * (0.95f + 0.1f * (0.5f + 0.5f * fbm(d * 9.0f, 3, 12)));
        float streak = fbm(scaled(d, 3.0f, 26.0f, 3.0f), 5, 13);
        float cloud =
            smoothstep(0.22f, 0.5f, streak) * (1.0f - smoothstep(0.7f, 0.9f, std::fabs(d.y)));
        if (spot.facing(d)) {  // the storm clears the high haze above it
            float x = spot.x(d) / 0.2f, y = spot.y(d) / 0.1f;
            cloud *= smoothstep(0.6f, 1.1f, std::sqrt(x * x + y * y));
        }
        return mix(c, rgb8(205, 225, 255), 0.65f * cloud);
    });
    return map;
}

Picture jupiterMap() {
    struct Band {
        float north, south;  // latitude in degrees
        Rgb colour;
    };
    const Rgb cream = rgb8(236, 224, 196), paleOrange = rgb8(226, 190, 145);
    const Rgb brown = rgb8(150, 96, 62), orange = rgb8(186, 120, 72), darkBrown = rgb8(120, 78, 56);
    const Band bands[] = {
        {40, 34, paleOrange},   {34, 27, brown},   {27, 20, cream},   {20, 8, darkBrown},
        {8, -7, cream},         {-7, -19, orange}, {-19, -27, cream}, {-27, -33, brown},
        {-33, -40, paleOrange}, {-40, -46, brown},
    };
    const Rgb polar = rgb8(158, 138, 118);
    Picture map(kPlanetWidth, kPlanetHeight);
    const Frame spot(kJupiterRedSpot);
    const Landmark ovalSpots[] = {{-0.56f, 1.0f}, {-0.56f, 2.2f}, {-0.57f, 5.3f}, {0.47f, 3.3f}};
    std::vector<Frame> ovals;
    for (Landmark o : ovalSpots) ovals.emplace_back(o);
    auto coarse = [&](Vec3 d) {
        float latDeg = latitudeOf(d) / kDeg;
        // Band edges churn: warp latitude by noise stretched along the flow.
        // Warping the warp curls the band edges into swirls and festoons.
        Vec3 q = scaled(d, 5.0f, 14.0f, 5.0f);
        Vec3 curl{fbm(q * 0.7f + Vec3{3, 1, 2}, 3, 25), fbm(q * 0.7f + Vec3{7, 5, 1}, 3, 26), 0};
        float warp = fbm(q + curl * 1.6f, 5, 21);
        float fine = fbm(scaled(d, 14.0f, 30.0f, 14.0f), 3, 22);
        float w = latDeg + 3.6f * warp + 1.2f * fine;
        Rgb c = polar;
        for (const Band& b : bands) {
            float weight = smoothstep(b.south - 1.5f, b.south + 1.5f, w) *
                           (1.0f - smoothstep(b.north - 1.5f, b.north + 1.5f, w));
            c = mix(c, b.colour, weight);
        }
        c = c * (0.85f + 0.15f * std::sqrt(std::max(0.0f, 1.0f - d.y * d.y)));
        c = c * (0.9f + 0.2f * (0.5f + 0.5f * fbm(d * 3.0f, 3, 27)));
        for (const Frame& o : ovals) {
            if (!o.facing(d)) continue;
            float x = o.x(d) / 0.045f, y = o.y(d) / 0.028f;
            c = mix(c, rgb8(245, 240, 228),
                    1.0f - smoothstep(0.6f, 1.0f, std::sqrt(x * x + y * y)));
        }
        if (spot.facing(d)) {
            float ex = spot.x(d) / 0.19f, ey = spot.y(d) / 0.09f;
            float r = std::sqrt(ex * ex + ey * ey);
            float turn = std::atan2(ey, ex) + 2.5f * r;
            float swirl =
                fbm(Vec3{3.0f * r * std::cos(turn), 3.0f * r * std::sin(turn), 0.5f}, 4, 24);
            float hollow = smoothstep(0.9f, 1.05f, r) * (1.0f - smoothstep(1.2f, 1.55f, r));
            c = mix(c, rgb8(240, 226, 200), 0.7f * hollow);
            float inside = 1.0f - smoothstep(0.85f, 1.0f, r + 0.06f * swirl);
            Rgb red =
                mix(rgb8(212, 112, 74), rgb8(168, 66, 48), clamp01(0.3f + 0.6f * r + 0.5f * swirl));
            c = mix(c, red, inside);
        }
        return c;
    };
    fillSphereMapLayered(map, coarse, [](Vec3 d, Rgb c) {
        return c * (0.92f + 0.16f * (0.5f + 0.5f * fbm(scaled(d, 6.0f, 60.0f, 6.0f), 4, 23)));
    });
    return map;
}

Picture marsMap() {
    Picture map(kPlanetWidth, kPlanetHeight);
    auto coarse = [&](Vec3 d) {
        float h = fbm(d * 2.2f, 6, 31);
        Vec3 warp{fbm(d * 3.0f, 3, 37), fbm(d * 3.0f + Vec3{5, 1, 2}, 3, 38), 0.0f};
        float darkNoise = fbm(d * 1.6f + warp * 0.6f, 5, 32) - 0.12f * d.y;
        float dark = smoothstep(0.02f, 0.22f, darkNoise);
        Rgb c = mix(rgb8(172, 84, 46), rgb8(210, 128, 80), clamp01(0.5f + 1.6f * h));
        c = mix(c, rgb8(88, 52, 38), 0.78f * dark);
        float capNorth = smoothstep(0.9f, 0.93f, d.y + 0.025f * fbm(d * 9.0f, 4, 35));
        float capSouth = smoothstep(0.93f, 0.955f, -d.y + 0.02f * fbm(d * 9.0f, 4, 36));
        return mix(c, rgb8(246, 244, 240), std::max(capNorth, capSouth));
    };
    fillSphereMapLayered(map, coarse, [](Vec3 d, Rgb c) {
        return c * (0.9f + 0.18f * (0.5f + 0.5f * fbm(d * 16.0f, 4, 34)));
    });
    return map;
}

Picture mercuryMap() {
    const int w = kPlanetWidth, h = kPlanetHeight, cw = w / 2, ch = h / 2;
    // Large craters and the albedo are smooth enough for half resolution; small craters are not.
    std::vector<float> broadHeight(size_t(cw) * ch), broadAlbedo(size_t(cw) * ch);
    forEachSphereTexel(cw, ch, [&](int x, int row, Vec3 d) {
        Crater big = craterField(d * 3.0f, 41, 0.55f);
        Crater mid = craterField(d * 7.0f, 42, 0.6f);
        size_t at = size_t(row) * cw + x;
        broadHeight[at] = big.height / 3.0f + mid.height / 7.0f + 0.01f * fbm(d * 10.0f, 4, 45);
        float bright = 0.5f * big.brightness + 0.6f * mid.brightness;
        broadAlbedo[at] = 0.62f + 0.12f * fbm(d * 2.5f, 5, 46) + 0.18f * std::min(1.0f, bright);
    });
    std::vector<float> height(size_t(w) * h);
    std::vector<Rgb> albedo(size_t(w) * h);
    forEachSphereTexel(w, h, [&](int x, int row, Vec3 d) {
        Crater small = craterField(d * 16.0f, 43, 0.65f);
        Crater tiny = craterField(d * 36.0f, 44, 0.7f);
        size_t at = size_t(row) * w + x;
        height[at] =
            halfGridAt(broadHeight, cw, ch, x, row) + small.height / 16.0f + tiny.height / 36.0f;
        float a =
            halfGridAt(broadAlbedo, cw, ch, x, row) + 0.14f * std::min(1.0f, small.brightness);
        albedo[at] = rgb8(158, 152, 144) * (std::min(1.0f, a) * 1.25f);
    });
    return shadeRelief(height, albedo, w, h, 3.0f);
}

Picture uranusMap() {
    Picture map(kPlanetWidth, kPlanetHeight);
    fillSphereMapLayered(
        map,
        [&](Vec3 d) {
            float lat = latitudeOf(d);
            float band = 0.5f + 0.5f * std::sin(lat * 8.0f + 0.4f * fbm(d * 3.0f, 3, 51));
            Rgb c = mix(rgb8(158, 212, 220), rgb8(184, 231, 236), 0.6f * band);
            c = mix(c, rgb8(204, 240, 242), 0.5f * smoothstep(0.55f, 0.95f, -d.y));
            return c * (1.0f + 0.015f * fbm(d * 6.0f, 3, 52));
        },
        [](Vec3, Rgb c) { return c; });
    return map;
}

Picture venusMap() {
    Picture map(kPlanetWidth, kPlanetHeight);
    const Ramp clouds{{0.0f, rgb8(168, 118, 58)},
                      {0.45f, rgb8(214, 172, 102)},
                      {0.75f, rgb8(236, 206, 140)},
                      {1.0f, rgb8(248, 232, 186)}};
    auto coarse = [&](Vec3 d) {
        float lat = latitudeOf(d);
        // The cloud deck races round faster at the equator: twist longitude with latitude, a
        // smooth map of the sphere onto itself, so swirls shear into chevrons.
        float twist = 1.6f * std::cos(lat) * std::cos(lat);
        float s = std::sin(twist), co = std::cos(twist);
        Vec3 q{d.x * co - d.z * s, d.y, d.x * s + d.z * co};
        q = q * 2.0f;
        Vec3 warp{fbm(q, 4, 61), fbm(q + Vec3{5.2f, 1.3f, 2.8f}, 4, 62),
                  fbm(q + Vec3{1.7f, 9.2f, 4.4f}, 4, 63)};
        float v = fbm(q * 1.5f + warp * 1.8f, 6, 64);
        v += 0.18f * std::sin(lat * 6.0f + 3.0f * v);
        return clouds(clamp01(0.5f + 0.9f * v));
    };
    fillSphereMapLayered(map, coarse, [](Vec3 d, Rgb c) {
        return c * (0.97f + 0.06f * (0.5f + 0.5f * fbm(d * 24.0f, 2, 65)));
    });
    return map;
}

Picture saturnMap() {
    Picture map(kPlanetWidth, kPlanetHeight);
    const Ramp bands{
        {0.0f, rgb8(196, 164, 106)}, {0.5f, rgb8(226, 200, 144)}, {1.0f, rgb8(244, 230, 188)}};
    auto coarse = [&](Vec3 d) {
        float latDeg = latitudeOf(d) / kDeg;
        float w = latDeg + 0.8f * fbm(scaled(d, 4.0f, 10.0f, 4.0f), 4, 71);
        float sig = 0.5f * std::sin(w * 0.35f) + 0.3f * std::sin(w * 0.9f + 1.0f) +
                    0.2f * std::sin(w * 2.3f + 2.0f);
        Rgb c = bands(clamp01(0.5f + 0.5f * sig));
        c = mix(c, rgb8(246, 234, 196), 0.5f * (1.0f - smoothstep(6.0f, 12.0f, std::fabs(latDeg))));
        return mix(c, rgb8(172, 160, 128), 0.6f * smoothstep(60.0f, 85.0f, std::fabs(latDeg)));
    };
    fillSphereMapLayered(map, coarse, [](Vec3 d, Rgb c) {
        return c * (0.96f + 0.08f * (0.5f + 0.5f * fbm(scaled(d, 5.0f, 50.0f, 5.0f), 3, 72)));
    });
    return map;
}

Picture plutoMap() {
    Picture map(kPlanetWidth, kPlanetHeight);
    const Frame heart(kPlutoHeart);
    const float heartLon = kPlutoHeart.lon;
    auto coarse = [&](Vec3 d) {
        float lat = latitudeOf(d);
        float n = fbm(d * 2.0f, 6, 81);
        Rgb c = mix(rgb8(208, 186, 152), rgb8(138, 94, 64), smoothstep(-0.05f, 0.25f, n));
        // A dark reddish belt along the equator, west of the heart.
        float lon = std::atan2(-d.z, d.x);
        float rel = std::remainder(lon - (heartLon - 1.5f), kTwoPi);
        float edge = 0.08f * fbm(d * 6.0f, 3, 84);
        float belt = smoothstep(-0.45f, -0.3f, lat + edge) *
                     (1.0f - smoothstep(-0.05f, 0.08f, lat + edge)) *
                     (1.0f - smoothstep(0.7f, 1.1f, std::fabs(rel)));
        c = mix(c, rgb8(98, 52, 38), 0.85f * belt);
        c = mix(c, rgb8(150, 124, 104), 0.5f * smoothstep(0.7f, 0.95f, d.y));
        if (heart.facing(d)) {
            float x = heart.x(d) / 0.3f, y = heart.y(d) / 0.3f + 0.12f;
            float r2 = x * x + y * y - 1.0f;
            float f = r2 * r2 * r2 - x * x * y * y * y + 0.05f * fbm(d * 12.0f, 3, 82);
            float plain = 1.0f - smoothstep(-0.04f, 0.04f, f);
            Rgb ice = x < 0.0f ? rgb8(238, 240, 238) : rgb8(246, 236, 220);
            c = mix(c, ice, plain);
        }
        return c;
    };
    fillSphereMapLayered(map, coarse, [&](Vec3 d, Rgb c) {
        // The heart's plain is smooth ice; elsewhere the ground is rough.
        float rough = 0.9f + 0.2f * (0.5f + 0.5f * fbm(d * 14.0f, 3, 83));
        if (heart.facing(d)) {
            float x = heart.x(d) / 0.3f, y = heart.y(d) / 0.3f + 0.12f;
            float r2 = x * x + y * y - 1.0f;
            float f = r2 * r2 * r2 - x * x * y * y * y;
            rough += (1.0f - rough) * (1.0f - smoothstep(-0.1f, 0.05f, f));
        }
        return c * rough;
    });
    return map;
}

Picture skyMap() {
    // The soft glow is smooth, so it is computed coarse and stretched; stars are splatted sharp.
    const int cw = kSkyWidth / 4, ch = kSkyHeight / 4;
    std::vector<Rgb> glow(size_t(cw) * ch);
    const Vec3 bandAxis = normalize(Vec3{0.35f, 0.8f, 0.45f});
    struct Nebula {
        Vec3 centre;
        float size;
        Rgb colour;
    };
    const Nebula nebulae[] = {
        {normalize(Vec3{0.8f, 0.2f, -0.5f}), 0.35f, rgb8(150, 40, 110)},
        {normalize(Vec3{-0.6f, -0.3f, 0.7f}), 0.45f, rgb8(30, 110, 130)},
        {normalize(Vec3{-0.2f, 0.7f, -0.7f}), 0.3f, rgb8(70, 55, 160)},
        {normalize(Vec3{0.3f, -0.8f, 0.4f}), 0.4f, rgb8(120, 45, 70)},
    };
    forEachSphereTexel(cw, ch, [&](int x, int row, Vec3 d) {
        float off = dot(d, bandAxis);
        float band = std::exp(-off * off / (2.0f * 0.13f * 0.13f));
        float clumps = 0.5f + 0.5f * fbm(d * 4.0f, 5, 91);
        float lanes = smoothstep(0.05f, 0.3f, fbm(d * 7.0f, 4, 92));
        float milky =
            band * clumps * (1.0f - 0.7f * lanes * std::exp(-off * off / (2.0f * 0.05f * 0.05f)));
        Rgb c = rgb8(3, 3, 7) + rgb8(200, 190, 175) * (0.3f * milky);
        for (const Nebula& n : nebulae) {
            float a = std::acos(std::max(-1.0f, std::min(1.0f, dot(d, n.centre))));
            float fall = std::exp(-a * a / (2.0f * n.size * n.size));
            if (fall < 0.01f) continue;
            float wisps = smoothstep(-0.1f, 0.5f, fbm(d * 5.0f + n.centre * 3.0f, 5, 93));
            c = c + n.colour * (0.4f * fall * wisps);
        }
        glow[size_t(row) * cw + x] = c;
    });

    Picture sky(kSkyWidth, kSkyHeight);
    for (int row = 0; row < kSkyHeight; ++row) {
        float fy = (static_cast<float>(row) + 0.5f) / 4.0f - 0.5f;
        int y0 = std::max(0, std::min(ch - 1, static_cast<int>(std::floor(fy))));
        int y1 = std::min(ch - 1, y0 + 1);
        float ty = clamp01(fy - static_cast<float>(y0));
        for (int x = 0; x < kSkyWidth; ++x) {
            float fx = (static_cast<float>(x) + 0.5f) / 4.0f - 0.5f;
            int x0 = static_cast<int>(std::floor(fx));
            float tx = fx - static_cast<float>(x0);
            int xa = (x0 + cw) % cw, xb = (x0 + 1 + cw) % cw;
            Rgb top = mix(glow[size_t(y0) * cw + xa], glow[size_t(y0) * cw + xb], tx);
            Rgb bottom = mix(glow[size_t(y1) * cw + xa], glow[size_t(y1) * cw + xb], tx);
            sky.set(x, row, mix(top, bottom, ty));
        }
    }

    const Rgb starColours[] = {rgb8(170, 195, 255), rgb8(215, 225, 255), rgb8(255, 255, 255),
                               rgb8(255, 244, 220), rgb8(255, 222, 170), rgb8(255, 190, 140),
                               rgb8(255, 160, 120)};
    const float pixelAngle = kTwoPi / static_cast<float>(kSkyWidth);
    auto splat = [&](Vec3 d, float brightness, float sigma, Rgb colour) {
        float theta = std::acos(std::max(-1.0f, std::min(1.0f, d.y)));
        float phi = std::atan2(-d.z, d.x);
        if (phi < 0) phi += kTwoPi;
        float px = phi / kTwoPi * kSkyWidth - 0.5f;
        float py = theta / kPi * kSkyHeight - 0.5f;
        float sy = sigma / pixelAngle;
        float sx = sy / std::max(0.02f, std::sin(theta));
        int rx = std::min(kSkyWidth / 2, static_cast<int>(std::ceil(3.0f * sx)));
        int ry = static_cast<int>(std::ceil(3.0f * sy));
        int cx = static_cast<int>(std::floor(px)), cy = static_cast<int>(std::floor(py));
        for (int yy = cy - ry; yy <= cy + ry + 1; ++yy) {
            if (yy < 0 || yy >= kSkyHeight) continue;
            float dy = (static_cast<float>(yy) - py) / sy;
            for (int xx = cx - rx; xx <= cx + rx + 1; ++xx) {
                float dx = (static_cast<float>(xx) - px) / sx;
                float g = brightness * std::exp(-0.5f * (dx * dx + dy * dy));
                if (g < 0.004f) continue;
                int wx = ((xx % kSkyWidth) + kSkyWidth) % kSkyWidth;
                uint8_t* p = sky.pixel(wx, yy);
                p[0] = static_cast<uint8_t>(std::min(255.0f, p[0] + 255.0f * g * colour.r));
                p[1] = static_cast<uint8_t>(std::min(255.0f, p[1] + 255.0f * g * colour.g));
                p[2] = static_cast<uint8_t>(std::min(255.0f, p[2] + 255.0f * g * colour.b));
            }
        }
    };
    Rng rng(2024);
    for (int i = 0; i < 26000; ++i) {
        Vec3 d = rng.direction();
        float m = rng.unit();
        float brightness = 0.18f + 0.9f * m * m * m * m * m * m;
        float sigma = pixelAngle * (0.42f + 0.9f * m * m * m);
        Rgb colour = starColours[rng.next() % 7];
        splat(d, brightness, sigma, colour);
        if (m > 0.985f) splat(d, 0.12f, pixelAngle * 5.0f, colour);  // halo of the brightest
    }
    // Faint stars crowd into the milky band.
    for (int placed = 0; placed < 22000;) {
        Vec3 d = rng.direction();
        float off = dot(d, bandAxis);
        if (rng.unit() > std::exp(-off * off / (2.0f * 0.1f * 0.1f))) continue;
        ++placed;
        splat(d, 0.1f + 0.25f * rng.unit(), pixelAngle * 0.45f, starColours[1 + rng.next() % 4]);
    }
    return sky;
}

Picture sunMap() {
    Picture map(kSunWidth, kSunHeight);
    const Ramp heat{{0.0f, rgb8(196, 70, 8)},
                    {0.35f, rgb8(240, 130, 20)},
                    {0.65f, rgb8(255, 200, 60)},
                    {0.88f, rgb8(255, 240, 170)},
                    {1.0f, rgb8(255, 254, 240)}};
    fillSphereMap(map, [&](Vec3 d) {
        Cells g = worley(d * 28.0f + Vec3{0.3f, 0.1f, 0.7f} * fbm(d * 6.0f, 3, 101), 102);
        float granule = smoothstep(0.0f, 0.35f, g.f2 - g.f1);  // dark lanes between cells
        float large = fbm(d * 4.0f, 4, 103);
        float spots = smoothstep(0.25f, 0.55f, fbm(d * 7.0f, 4, 104));
        float t = 0.25f + 0.35f * granule + 0.25f * large + 0.35f * spots;
        return heat(clamp01(t));
    });
    return map;
}

}  // namespace assetgen
