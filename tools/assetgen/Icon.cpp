#include "tools/assetgen/Icon.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>

#include "tools/assetgen/Picture.h"

namespace assetgen {

namespace {

// Points on the icon's canvas, which spans [0, 1] both ways with y growing downwards.
struct Vec2 {
    float x = 0, y = 0;
};
Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}
float length(Vec2 a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}
// p as seen from a frame at `origin` turned by `angle` (radians, clockwise on screen).
Vec2 inFrame(Vec2 p, Vec2 origin, float angle) {
    const Vec2 d = p - origin;
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * d.x + s * d.y, -s * d.x + c * d.y};
}

// Signed distances in canvas units, negative inside.
float circle(Vec2 p, Vec2 centre, float radius) {
    return length(p - centre) - radius;
}
// Of an axis-aligned ellipse around the origin; first-order, exact enough near the edge,
// which is all that outlines and coverage need.
float ellipse(Vec2 p, Vec2 radii) {
    const float kx = p.x / radii.x, ky = p.y / radii.y;
    const float k = std::sqrt(kx * kx + ky * ky);
    const float gradient = std::sqrt(kx * kx / (radii.x * radii.x) + ky * ky / (radii.y * radii.y));
    return gradient > 0 ? (k - 1.0f) * k / gradient : -std::min(radii.x, radii.y);
}
// Of a line from a to b drawn `halfWidth` wide with round ends.
float stroke(Vec2 p, Vec2 a, Vec2 b, float halfWidth) {
    const Vec2 ab = b - a, ap = p - a;
    const float t = std::clamp((ap.x * ab.x + ap.y * ab.y) / (ab.x * ab.x + ab.y * ab.y), 0.f, 1.f);
    return length(ap - ab * t) - halfWidth;
}

// Premultiplied colour of one sample, painted back to front.
struct Paint {
    Rgb colour;
    float alpha = 0;
    void over(Rgb c, float a = 1.0f) {
        colour = c * a + colour * (1.0f - a);
        alpha = a + alpha * (1.0f - a);
    }
};

const Rgb kOutline = rgb8(16, 34, 28);
const Rgb kSkinLight = rgb8(140, 214, 104), kSkinDark = rgb8(52, 140, 60);
const Rgb kStalk = rgb8(92, 172, 84);
const Rgb kTipLow = rgb8(196, 242, 104), kTipHigh = rgb8(250, 255, 196);
const Rgb kEyeDeep = rgb8(12, 14, 28), kEyeSheen = rgb8(34, 48, 86);
const Rgb kCatchLight = rgb8(252, 252, 255), kFillLight = rgb8(190, 205, 235);
const Rgb kMouth = rgb8(72, 24, 40), kBlush = rgb8(226, 150, 140);
const Rgb kPlanetLit = rgb8(236, 132, 66), kPlanetShadow = rgb8(128, 48, 34);
const Rgb kPlanetBand = rgb8(176, 76, 44);
const Rgb kRingLight = rgb8(242, 218, 164), kRingDark = rgb8(186, 150, 104);
const Rgb kHighlight = rgb8(236, 255, 214);

// What a size shows and how bold it draws. Below 64 pixels the fine detail (shading, bands,
// cheeks, smile) would only blur; at 32 pixels and below the main shapes are put on the pixel
// grid so their edges stay crisp, and thin parts are widened to whole pixels. Below 32 the
// planet loses its ring, and at 16 the eyes stand upright: there is no room for either.
struct Style {
    float pixel;    // one pixel, in canvas units
    float outline;  // the dark edge around every shape
    bool detailed;
    bool onGrid;
    bool ring;
    float eyeTilt;    // radians; the tops lean outwards, as the model's eyes look slightly apart
    int catchLights;  // per eye
    float stalkHalfWidth, tipRadius, ringHalfWidth;
};

Style styleFor(int size) {
    Style s;
    s.pixel = 1.0f / static_cast<float>(size);
    s.outline = std::max(0.8f, static_cast<float>(size) / 60.0f) * s.pixel;
    s.detailed = size >= 64;
    s.onGrid = size <= 32;
    s.ring = size >= 32;
    s.eyeTilt = size >= 24 ? 0.30f : 0.0f;
    s.catchLights = size >= 48 ? 2 : size >= 24 ? 1 : 0;
    s.stalkHalfWidth = std::max(0.022f, 0.55f * s.pixel);
    s.tipRadius = std::max(0.055f, 1.1f * s.pixel);
    s.ringHalfWidth = std::max(0.02f, 0.55f * s.pixel);
    return s;
}

// Where everything sits: the head low on the left, the planet behind it at the upper right.
struct Layout {
    Vec2 head, headRadii;
    Vec2 eyes[2], eyeRadii;
    Vec2 stalkBases[2], stalkTips[2];
    Vec2 planet, planetRadii;
};
constexpr float kRingTilt = -0.42f;
const Vec2 kRingRadii{0.25f, 0.062f};

// On the pixel grid: a point to the nearest pixel corner, a shape's extent to whole pixels.
float snapped(float v, const Style& s) {
    return s.onGrid ? std::round(v / s.pixel) * s.pixel : v;
}
Vec2 snapped(Vec2 v, const Style& s) {
    return {snapped(v.x, s), snapped(v.y, s)};
}
void snapExtent(float& centre, float& radius, const Style& s) {
    const float low = snapped(centre - radius, s), width = snapped(2.0f * radius, s);
    centre = low + 0.5f * width;
    radius = 0.5f * width;
}
void snapShape(Vec2& centre, Vec2& radii, const Style& s) {
    snapExtent(centre.x, radii.x, s);
    snapExtent(centre.y, radii.y, s);
}

Layout layoutFor(const Style& s) {
    Layout l;
    l.head = {0.43f, 0.655f};
    l.headRadii = {0.37f, 0.295f};
    snapShape(l.head, l.headRadii, s);
    l.planet = {0.73f, 0.29f};
    l.planetRadii = {0.17f, 0.17f};
    snapShape(l.planet, l.planetRadii, s);
    for (int i = 0; i < 2; ++i) {
        const float side = i == 0 ? -1.0f : 1.0f;
        l.eyeRadii = {0.12f, 0.15f};
        l.eyes[i] = l.head + Vec2{side * 0.165f, -0.04f};
        snapShape(l.eyes[i], l.eyeRadii, s);
        l.stalkBases[i] = snapped(l.head + Vec2{side * 0.10f, -0.25f}, s);
        l.stalkTips[i] = snapped(l.head + Vec2{side * 0.19f, -0.50f}, s);
    }
    return l;
}

// The ring around the planet; its far half (above the planet's centre line) is drawn behind
// the planet, the near half in front.
void paintRing(Paint& paint, Vec2 p, const Style& s, const Layout& l, bool nearHalf) {
    if (!s.ring) return;
    const Vec2 local = inFrame(p, l.planet, kRingTilt);
    if ((local.y > 0) != nearHalf) return;
    const float d = std::fabs(ellipse(local, kRingRadii)) - s.ringHalfWidth;
    if (d < s.outline) paint.over(kOutline);
    if (d >= 0) return;
    paint.over(s.detailed ? mix(kRingDark, kRingLight, 0.5f - 0.5f * local.x / kRingRadii.x)
                          : kRingLight);
}

void paintPlanet(Paint& paint, Vec2 p, const Style& s, const Layout& l) {
    const float d = ellipse(p - l.planet, l.planetRadii);
    if (d < s.outline) paint.over(kOutline);
    if (d >= 0) return;
    // Lit from the upper left, like the alien.
    const Vec2 n{(p.x - l.planet.x) / l.planetRadii.x, (p.y - l.planet.y) / l.planetRadii.y};
    const float nz = std::sqrt(std::max(0.0f, 1.0f - n.x * n.x - n.y * n.y));
    const float light = std::max(0.0f, (-0.5f * n.x - 0.6f * n.y + 0.62f * nz) / 0.99f);
    // Small sizes keep the shadow light, or the few pixels left of the planet turn brown.
    const float shadow = s.detailed ? 0.2f : 0.5f;
    Rgb c = mix(kPlanetShadow, kPlanetLit, std::clamp(shadow + (1.0f - shadow) * light, 0.f, 1.f));
    if (s.detailed) {
        const float across = inFrame(p, l.planet, kRingTilt).y / l.planetRadii.y;
        const float band = smoothstep(0.55f, 0.8f, std::sin(across * 9.0f + 1.0f));
        c = mix(c, kPlanetBand * (0.5f + 0.5f * light), 0.45f * band);
    }
    paint.over(c);
}

// Head and antennae share one outline, so a stalk's edge never cuts into the head.
void paintAlienOutline(Paint& paint, Vec2 p, const Style& s, const Layout& l) {
    bool inside = ellipse(p - l.head, l.headRadii) < s.outline;
    for (int i = 0; i < 2; ++i) {
        inside = inside ||
                 stroke(p, l.stalkBases[i], l.stalkTips[i], s.stalkHalfWidth) < s.outline ||
                 circle(p, l.stalkTips[i], s.tipRadius) < s.outline;
    }
    if (inside) paint.over(kOutline);
}

void paintAntennae(Paint& paint, Vec2 p, const Style& s, const Layout& l) {
    for (int i = 0; i < 2; ++i) {
        if (stroke(p, l.stalkBases[i], l.stalkTips[i], s.stalkHalfWidth) < 0) paint.over(kStalk);
        if (circle(p, l.stalkTips[i], s.tipRadius) < 0) {
            const float up = (l.stalkTips[i].y - p.y) / s.tipRadius;
            paint.over(s.detailed ? mix(kTipLow, kTipHigh, 0.5f + 0.5f * up) : kTipHigh);
        }
    }
}

// Cheeks and a small smile; `local` is relative to the head's centre.
void paintFace(Paint& paint, Vec2 local) {
    for (float side : {-1.0f, 1.0f}) {
        const float dx = (local.x - side * 0.24f) / 0.07f, dy = (local.y - 0.13f) / 0.045f;
        paint.over(kBlush, 0.45f * std::exp(-(dx * dx + dy * dy)));
    }
    const float curve = 0.19f - 4.0f * local.x * local.x;
    if (std::fabs(local.y - curve) < 0.011f && std::fabs(local.x) < 0.065f) paint.over(kMouth);
}

void paintHead(Paint& paint, Vec2 p, const Style& s, const Layout& l) {
    const Vec2 local = p - l.head;
    if (ellipse(local, l.headRadii) >= 0) return;
    const float ly = local.y / l.headRadii.y;
    Rgb c = mix(kSkinLight, kSkinDark, std::clamp(0.5f + 0.5f * ly, 0.0f, 1.0f));
    if (s.detailed) {
        const float lx = local.x / l.headRadii.x;
        c = c * (1.0f - 0.18f * smoothstep(0.55f, 1.0f, lx * lx + ly * ly));
        const float hx = (lx + 0.45f) / 0.28f, hy = (ly + 0.6f) / 0.18f;
        c = mix(c, kHighlight, 0.35f * std::exp(-(hx * hx + hy * hy)));
    }
    paint.over(c);
    if (s.detailed) paintFace(paint, local);
}

void paintEyes(Paint& paint, Vec2 p, const Style& s, const Layout& l) {
    const Vec2 radii = l.eyeRadii;
    for (int i = 0; i < 2; ++i) {
        const Vec2 local = inFrame(p, l.eyes[i], (i == 0 ? -1.0f : 1.0f) * s.eyeTilt);
        if (ellipse(local, radii) >= 0) continue;
        const float ly = local.y / radii.y;
        paint.over(mix(kEyeDeep, kEyeSheen, 0.8f * smoothstep(-0.2f, 0.9f, ly)));
        const Vec2 key{-0.32f * radii.x, -0.42f * radii.y}, fill{0.34f * radii.x, 0.5f * radii.y};
        const float keyRadius = std::max(0.3f * radii.x, 0.7f * s.pixel);
        if (s.catchLights >= 1 && circle(local, key, keyRadius) < 0) paint.over(kCatchLight);
        if (s.catchLights >= 2 && circle(local, fill, 0.13f * radii.x) < 0) paint.over(kFillLight);
    }
}

Paint paintAt(Vec2 p, const Style& s, const Layout& l) {
    Paint paint;
    paintRing(paint, p, s, l, false);
    paintPlanet(paint, p, s, l);
    paintRing(paint, p, s, l, true);
    paintAlienOutline(paint, p, s, l);
    paintAntennae(paint, p, s, l);
    paintHead(paint, p, s, l);
    paintEyes(paint, p, s, l);
    return paint;
}

uint8_t toByte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

IconPicture drawIcon(int size) {
    const Style style = styleFor(size);
    const Layout layout = layoutFor(style);
    // Shapes are tested at 6 x 6 points per pixel, which smooths edges without blurring them.
    constexpr int kSamples = 6;
    IconPicture icon;
    icon.size = size;
    icon.rgba.resize(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Paint sum;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const Vec2 p{(static_cast<float>(x) + (i + 0.5f) / kSamples) * style.pixel,
                                 (static_cast<float>(y) + (j + 0.5f) / kSamples) * style.pixel};
                    const Paint sample = paintAt(p, style, layout);
                    sum.colour = sum.colour + sample.colour;
                    sum.alpha += sample.alpha;
                }
            }
            uint8_t* out = &icon.rgba[(size_t(y) * size + x) * 4];
            const float alpha = sum.alpha / (kSamples * kSamples);
            const Rgb c = sum.alpha > 0 ? sum.colour * (1.0f / sum.alpha) : Rgb{};
            out[0] = toByte(c.r);
            out[1] = toByte(c.g);
            out[2] = toByte(c.b);
            out[3] = toByte(alpha);
        }
    }
    return icon;
}

bool IconPicture::savePng(const std::string& path) const {
    makeParentDirs(path);
    FIBITMAP* bitmap = FreeImage_Allocate(size, size, 32);
    if (!bitmap) return false;
    for (int y = 0; y < size; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, size - 1 - y);  // scan line 0 is the bottom
        for (int x = 0; x < size; ++x) {
            const uint8_t* p = pixel(x, y);
            line[x * 4 + FI_RGBA_RED] = p[0];
            line[x * 4 + FI_RGBA_GREEN] = p[1];
            line[x * 4 + FI_RGBA_BLUE] = p[2];
            line[x * 4 + FI_RGBA_ALPHA] = p[3];
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_Z_BEST_COMPRESSION);
    FreeImage_Unload(bitmap);
    return ok;
}

}  // namespace assetgen
