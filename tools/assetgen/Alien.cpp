#include "tools/assetgen/Alien.h"

#include <cmath>
#include <cstdio>

namespace assetgen {

namespace {

enum class Kind { Head, Eye, Body, Arm, Hand, Leg, Foot, Stalk, Tip };
// Wrap: longitude across, latitude down the patch. Planar: the part seen from the front, which
// keeps an eye round on the skin picture.
enum class Mapping { Wrap, Planar };

// A patch of the skin picture in pixels, measured from the top-left as a viewer shows it.
struct Patch {
    int x0, y0, x1, y1;
};

struct Part {
    Kind kind;
    Vec3 centre;
    Vec3 e1, e2, e3;  // right-handed frame; e2 is the pole axis, e3 the front
    Vec3 radii;       // along e1, e2, e3
    int rings, segments;
    Mapping mapping;
    Patch patch;
    bool paired;       // also built mirrored across x = 0
    bool sharedPatch;  // the mirrored copy reuses the patch (else mirrorPatch)
    Patch mirrorPatch{0, 0, 0, 0};
};

constexpr int kGutter = 4;

// Unit direction in the part's frame for pole angle theta and longitude phi; phi = 0 is the
// back of the part, so the front sits in the middle of a wrapped patch.
Vec3 localDirection(float theta, float phi) {
    return {std::sin(theta) * std::sin(phi), std::cos(theta), -std::sin(theta) * std::cos(phi)};
}

Vec3 surfacePoint(const Part& p, Vec3 l) {
    return p.centre + p.e1 * (p.radii.x * l.x) + p.e2 * (p.radii.y * l.y) +
           p.e3 * (p.radii.z * l.z);
}

Vec3 surfaceNormal(const Part& p, Vec3 l) {
    return normalize(p.e1 * (l.x / p.radii.x) + p.e2 * (l.y / p.radii.y) +
                     p.e3 * (l.z / p.radii.z));
}

Vec3 mirrorX(Vec3 v) {
    return {-v.x, v.y, v.z};
}

struct UvRect {
    float u0, v0, u1, v1;  // v1 is the patch's top edge
};

UvRect uvRect(const Patch& patch, int inset) {
    const float s = static_cast<float>(kSkinSize);
    return {
        static_cast<float>(patch.x0 + inset) / s, 1.0f - static_cast<float>(patch.y1 - inset) / s,
        static_cast<float>(patch.x1 - inset) / s, 1.0f - static_cast<float>(patch.y0 + inset) / s};
}

constexpr int kEyeInset = 8;

std::array<float, 2> uvOf(const Part& p, const Patch& patch, float theta, float phi, Vec3 l) {
    if (p.mapping == Mapping::Planar) {
        UvRect r = uvRect(patch, kEyeInset);
        return {0.5f * (r.u0 + r.u1) + 0.5f * (r.u1 - r.u0) * l.x,
                0.5f * (r.v0 + r.v1) + 0.5f * (r.v1 - r.v0) * l.y};
    }
    UvRect r = uvRect(patch, kGutter);
    return {r.u0 + (r.u1 - r.u0) * phi / kTwoPi, r.v1 - (r.v1 - r.v0) * theta / kPi};
}

// Frame whose pole axis runs along `axis`, front as close to `front` as the axis allows.
void frameAlong(Vec3 axis, Vec3 front, Vec3& e1, Vec3& e2, Vec3& e3) {
    e2 = normalize(axis);
    e3 = normalize(front - e2 * dot(front, e2));
    e1 = cross(e2, e3);
}

Part ellipsoid(Kind kind, Vec3 centre, Vec3 radii, int rings, int segments, Patch patch) {
    Part p{kind,  centre,   {1, 0, 0},     {0, 1, 0}, {0, 0, 1}, radii,
           rings, segments, Mapping::Wrap, patch,     false,     true};
    return p;
}

Part limb(Kind kind, Vec3 from, Vec3 to, float thickness, int rings, int segments, Patch patch) {
    Vec3 mid = (from + to) * 0.5f;
    float half = length(to - from) * 0.5f;
    Part p = ellipsoid(kind, mid, {thickness, half * 1.08f, thickness}, rings, segments, patch);
    frameAlong(to - from, Vec3{0, 0, 1}, p.e1, p.e2, p.e3);
    return p;
}

std::vector<Part> alienParts() {
    const Patch head{0, 0, 640, 320}, eyePosX{640, 0, 832, 192}, eyeNegX{832, 0, 1024, 192};
    const Patch body{0, 320, 512, 640}, arm{640, 192, 1024, 352}, hand{512, 352, 768, 512};
    const Patch leg{768, 352, 1024, 608}, foot{512, 512, 768, 704}, stalk{768, 608, 1024, 704};
    const Patch tip{0, 640, 256, 896};

    std::vector<Part> parts;
    parts.push_back(ellipsoid(Kind::Head, {0, 2.3f, 0}, {0.7f, 0.55f, 0.6f}, 20, 32, head));
    parts.push_back(ellipsoid(Kind::Body, {0, 1.25f, 0}, {0.55f, 0.58f, 0.45f}, 16, 28, body));

    Part eye = ellipsoid(Kind::Eye, {0.27f, 2.4f, 0.48f}, {0.2f, 0.25f, 0.15f}, 12, 20, eyePosX);
    const float yaw = 0.26f;  // eyes look slightly outwards
    frameAlong(Vec3{0, 1, 0}, Vec3{std::sin(yaw), 0, std::cos(yaw)}, eye.e1, eye.e2, eye.e3);
    eye.mapping = Mapping::Planar;
    eye.paired = true;
    eye.sharedPatch = false;
    eye.mirrorPatch = eyeNegX;
    parts.push_back(eye);

    auto pair = [&](Part p) {
        p.paired = true;
        parts.push_back(p);
    };
    pair(ellipsoid(Kind::Leg, {0.25f, 0.5f, 0}, {0.15f, 0.42f, 0.15f}, 10, 14, leg));
    pair(ellipsoid(Kind::Foot, {0.28f, 0.13f, 0.12f}, {0.2f, 0.13f, 0.32f}, 8, 14, foot));
    pair(limb(Kind::Arm, {0.45f, 1.6f, 0}, {0.85f, 1.0f, 0.15f}, 0.11f, 10, 12, arm));
    pair(ellipsoid(Kind::Hand, {0.88f, 0.95f, 0.17f}, {0.14f, 0.14f, 0.14f}, 8, 10, hand));
    pair(limb(Kind::Stalk, {0.18f, 2.75f, 0}, {0.36f, 3.08f, -0.04f}, 0.035f, 6, 8, stalk));
    pair(ellipsoid(Kind::Tip, {0.37f, 3.12f, -0.045f}, {0.085f, 0.085f, 0.085f}, 8, 10, tip));
    return parts;
}

void addPart(AlienMesh& mesh, const Part& p, bool mirrored) {
    const Patch& patch = mirrored && !p.sharedPatch ? p.mirrorPatch : p.patch;
    const uint32_t base = static_cast<uint32_t>(mesh.positions.size());
    const int rings = p.rings, segs = p.segments;
    auto emit = [&](float theta, float phi) {
        Vec3 l = localDirection(theta, phi);
        Vec3 pos = surfacePoint(p, l), n = surfaceNormal(p, l);
        if (mirrored) {
            pos = mirrorX(pos);
            n = mirrorX(n);
        }
        mesh.positions.push_back(pos);
        mesh.normals.push_back(n);
        mesh.uvs.push_back(uvOf(p, patch, theta, phi, l));
    };
    for (int i = 1; i < rings; ++i)
        for (int j = 0; j <= segs; ++j)
            emit(kPi * float(i) / float(rings), kTwoPi * float(j) / float(segs));
    // One pole vertex per segment, at the segment's middle longitude, so the wrap stays
    // undistorted up to the pole.
    for (int j = 0; j < segs; ++j) emit(0.0f, kTwoPi * (float(j) + 0.5f) / float(segs));
    for (int j = 0; j < segs; ++j) emit(kPi, kTwoPi * (float(j) + 0.5f) / float(segs));

    auto ring = [&](int i, int j) { return base + uint32_t((i - 1) * (segs + 1) + j); };
    const uint32_t north = base + uint32_t((rings - 1) * (segs + 1));
    const uint32_t south = north + uint32_t(segs);
    auto triangle = [&](uint32_t a, uint32_t b, uint32_t c) {
        // Wind every triangle counter-clockwise seen from outside: mirrored copies would
        // otherwise come out inside-out.
        Vec3 face =
            cross(mesh.positions[b] - mesh.positions[a], mesh.positions[c] - mesh.positions[a]);
        Vec3 out = mesh.normals[a] + mesh.normals[b] + mesh.normals[c];
        if (dot(face, out) < 0) std::swap(b, c);
        mesh.indices.insert(mesh.indices.end(), {a, b, c});
    };
    for (int j = 0; j < segs; ++j) {
        triangle(north + uint32_t(j), ring(1, j), ring(1, j + 1));
        for (int i = 1; i < rings - 1; ++i) {
            triangle(ring(i, j), ring(i + 1, j), ring(i + 1, j + 1));
            triangle(ring(i, j), ring(i + 1, j + 1), ring(i, j + 1));
        }
        triangle(south + uint32_t(j), ring(rings - 1, j + 1), ring(rings - 1, j));
    }
}

// ---- skin ----

Rgb baseSkin(Vec3 p) {
    Rgb c = mix(rgb8(58, 146, 62), rgb8(128, 206, 98), clamp01(p.y / 3.1f));
    return c * (0.94f + 0.12f * (0.5f + 0.5f * fbm(p * 3.0f, 3, 201)));
}

float spotAmount(Vec3 p) {
    Cells s = worley(p * 3.6f, 202, 0.8f);
    float r = 0.16f + 0.12f * hashUnit(s.id);
    return (hashUnit(hash32(s.id)) < 0.7f) ? 1.0f - smoothstep(r - 0.05f, r, s.f1) : 0.0f;
}

Rgb skinColour(Kind kind, Vec3 l, Vec3 p, Vec3 n) {
    Rgb c = baseSkin(p);
    float spots = spotAmount(p);
    const Rgb spotColour = rgb8(44, 112, 58);
    switch (kind) {
        case Kind::Head: {
            float face = smoothstep(0.25f, 0.6f, l.z) * (1.0f - smoothstep(0.35f, 0.6f, l.y));
            c = mix(c, spotColour, 0.7f * spots * (1.0f - face));
            for (float side : {-1.0f, 1.0f}) {  // cheeks
                float dx = (l.x - side * 0.5f) / 0.16f, dy = (l.y + 0.28f) / 0.12f;
                float blush = (l.z > 0) ? std::exp(-(dx * dx + dy * dy)) : 0.0f;
                c = mix(c, rgb8(226, 150, 140), 0.45f * blush);
            }
            if (l.z > 0) {  // a small smile below the eyes
                float curve = -0.44f + 1.2f * l.x * l.x;
                float mouth = (1.0f - smoothstep(0.016f, 0.03f, std::fabs(l.y - curve))) *
                              (1.0f - smoothstep(0.16f, 0.2f, std::fabs(l.x)));
                c = mix(c, rgb8(72, 24, 40), mouth);
            }
            break;
        }
        case Kind::Eye: {
            // Glossy black with a cool sheen towards the bottom and two catch-lights from the
            // upper left, placed by the eyeball's normal so both eyes agree.
            c = mix(rgb8(12, 14, 28), rgb8(34, 48, 86), smoothstep(0.2f, -0.7f, n.y) * 0.8f);
            float key = dot(n, normalize(Vec3{-0.42f, 0.5f, 0.76f}));
            float fill = dot(n, normalize(Vec3{0.25f, -0.3f, 0.92f}));
            c = mix(c, rgb8(252, 252, 255), smoothstep(0.955f, 0.97f, key));
            c = mix(c, rgb8(190, 205, 235), smoothstep(0.993f, 0.996f, fill));
            break;
        }
        case Kind::Body: {
            float bx = l.x / 0.62f, by = (l.y + 0.12f) / 0.8f;
            float belly =
                (l.z > 0) ? 1.0f - smoothstep(0.75f, 1.0f, std::sqrt(bx * bx + by * by)) : 0.0f;
            c = mix(c, spotColour, 0.7f * spots * (1.0f - belly));
            c = mix(c, rgb8(204, 236, 164), belly);
            break;
        }
        case Kind::Tip:
            c = mix(rgb8(196, 242, 104), rgb8(250, 255, 196), clamp01(0.5f + 0.5f * n.y));
            break;
        case Kind::Foot:
            c = mix(c * 0.82f, spotColour, 0.5f * spots);
            break;
        case Kind::Hand:
            c = c * 1.06f;
            break;
        default:
            c = mix(c, spotColour, 0.7f * spots);
            break;
    }
    return c;
}

void paintPatch(Picture& skin, const Part& p, bool mirrored) {
    const Patch& patch = mirrored && !p.sharedPatch ? p.mirrorPatch : p.patch;
    const float s = static_cast<float>(kSkinSize);
    for (int y = patch.y0; y < patch.y1; ++y) {
        const int row = kSkinSize - 1 - y;  // picture rows are stored bottom first
        const float v = (static_cast<float>(row) + 0.5f) / s;
        for (int x = patch.x0; x < patch.x1; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / s;
            Vec3 l;
            if (p.mapping == Mapping::Planar) {
                UvRect r = uvRect(patch, kEyeInset);
                float lx = (u - 0.5f * (r.u0 + r.u1)) / (0.5f * (r.u1 - r.u0));
                float ly = (v - 0.5f * (r.v0 + r.v1)) / (0.5f * (r.v1 - r.v0));
                float rr = lx * lx + ly * ly;
                if (rr > 1.0f) {  // just outside the rim: repeat the rim so filtering finds it
                    float k = 1.0f / std::sqrt(rr);
                    lx *= k;
                    ly *= k;
                    rr = 1.0f;
                }
                l = {lx, ly, std::sqrt(std::max(0.0f, 1.0f - rr))};
            } else {
                UvRect r = uvRect(patch, kGutter);
                float phi = clamp01((u - r.u0) / (r.u1 - r.u0)) * kTwoPi;
                float theta = clamp01((r.v1 - v) / (r.v1 - r.v0)) * kPi;
                l = localDirection(theta, phi);
            }
            Vec3 pos = surfacePoint(p, l), n = surfaceNormal(p, l);
            if (mirrored) {
                pos = mirrorX(pos);
                n = mirrorX(n);
                l.x = -l.x;
            }
            skin.set(x, row, skinColour(p.kind, l, pos, n));
        }
    }
}

void appendFloats(std::string& out, const float* values, size_t count) {
    char buf[32];
    for (size_t i = 0; i < count; ++i) {
        int n =
            std::snprintf(buf, sizeof buf, i ? " %.6g" : "%.6g", static_cast<double>(values[i]));
        out.append(buf, static_cast<size_t>(n));
    }
}

}  // namespace

std::vector<SkinPatch> alienSkinPatches() {
    const char* names[] = {"head", "eye", "body", "arm", "hand", "leg", "foot", "stalk", "tip"};
    std::vector<SkinPatch> out;
    for (const Part& p : alienParts()) {
        const std::string name = names[static_cast<int>(p.kind)];
        out.push_back({name, p.patch.x0, p.patch.y0, p.patch.x1, p.patch.y1});
        if (p.paired && !p.sharedPatch)
            out.push_back({name + " (mirrored)", p.mirrorPatch.x0, p.mirrorPatch.y0,
                           p.mirrorPatch.x1, p.mirrorPatch.y1});
    }
    return out;
}

AlienMesh buildAlienMesh() {
    AlienMesh mesh;
    for (const Part& p : alienParts()) {
        addPart(mesh, p, false);
        if (p.paired) addPart(mesh, p, true);
    }
    return mesh;
}

Picture paintAlienSkin() {
    Picture skin(kSkinSize, kSkinSize);
    const Rgb filler = rgb8(92, 172, 84);
    skin.fill([&](int, int) { return filler; });
    for (const Part& p : alienParts()) {
        paintPatch(skin, p, false);
        if (p.paired && !p.sharedPatch) paintPatch(skin, p, true);
    }
    return skin;
}

std::string alienCollada(const AlienMesh& mesh, const std::string& skinFile) {
    const size_t n = mesh.positions.size();
    std::vector<float> positions, normals, uvs;
    for (size_t i = 0; i < n; ++i) {
        positions.insert(positions.end(),
                         {mesh.positions[i].x, mesh.positions[i].y, mesh.positions[i].z});
        normals.insert(normals.end(), {mesh.normals[i].x, mesh.normals[i].y, mesh.normals[i].z});
        uvs.insert(uvs.end(), {mesh.uvs[i][0], mesh.uvs[i][1]});
    }
    auto source = [&](const std::string& id, const std::vector<float>& data, int stride,
                      const char* params) {
        std::string s = "        <source id=\"" + id + "\">\n          <float_array id=\"" + id +
                        "-array\" count=\"" + std::to_string(data.size()) + "\">";
        appendFloats(s, data.data(), data.size());
        s += "</float_array>\n          <technique_common>\n            <accessor source=\"#" + id +
             "-array\" count=\"" + std::to_string(data.size() / size_t(stride)) + "\" stride=\"" +
             std::to_string(stride) + "\">\n" + params +
             "            </accessor>\n          </technique_common>\n        </source>\n";
        return s;
    };
    const char* xyz =
        "              <param name=\"X\" type=\"float\"/>\n"
        "              <param name=\"Y\" type=\"float\"/>\n"
        "              <param name=\"Z\" type=\"float\"/>\n";
    const char* st =
        "              <param name=\"S\" type=\"float\"/>\n"
        "              <param name=\"T\" type=\"float\"/>\n";

    std::string dae =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
        "  <asset>\n"
        "    <contributor><authoring_tool>fyrel assetgen</authoring_tool></contributor>\n"
        "    <created>2024-01-01T00:00:00</created>\n"
        "    <modified>2024-01-01T00:00:00</modified>\n"
        "    <unit name=\"meter\" meter=\"1\"/>\n"
        "    <up_axis>Y_UP</up_axis>\n"
        "  </asset>\n"
        "  <library_images>\n"
        "    <image id=\"alienSkin\" name=\"alienSkin\"><init_from>" +
        skinFile +
        "</init_from></image>\n"
        "  </library_images>\n"
        "  <library_effects>\n"
        "    <effect id=\"alienSkinEffect\">\n"
        "      <profile_COMMON>\n"
        "        <newparam sid=\"skinSurface\"><surface "
        "type=\"2D\"><init_from>alienSkin</init_from></surface></newparam>\n"
        "        <newparam "
        "sid=\"skinSampler\"><sampler2D><source>skinSurface</source></sampler2D></newparam>\n"
        "        <technique sid=\"common\">\n"
        "          <phong>\n"
        "            <diffuse><texture texture=\"skinSampler\" texcoord=\"UVSET0\"/></diffuse>\n"
        "            <specular><color>0.2 0.2 0.2 1</color></specular>\n"
        "            <shininess><float>20</float></shininess>\n"
        "          </phong>\n"
        "        </technique>\n"
        "      </profile_COMMON>\n"
        "    </effect>\n"
        "  </library_effects>\n"
        "  <library_materials>\n"
        "    <material id=\"alienSkinMaterial\" name=\"alienSkin\"><instance_effect "
        "url=\"#alienSkinEffect\"/></material>\n"
        "  </library_materials>\n"
        "  <library_geometries>\n"
        "    <geometry id=\"alienMesh\" name=\"alien\">\n"
        "      <mesh>\n";
    dae += source("alienMesh-positions", positions, 3, xyz);
    dae += source("alienMesh-normals", normals, 3, xyz);
    dae += source("alienMesh-texcoords", uvs, 2, st);
    dae +=
        "        <vertices id=\"alienMesh-vertices\">\n"
        "          <input semantic=\"POSITION\" source=\"#alienMesh-positions\"/>\n"
        "        </vertices>\n"
        "        <triangles material=\"alienSkinSymbol\" count=\"" +
        std::to_string(mesh.indices.size() / 3) +
        "\">\n"
        "          <input semantic=\"VERTEX\" source=\"#alienMesh-vertices\" offset=\"0\"/>\n"
        "          <input semantic=\"NORMAL\" source=\"#alienMesh-normals\" offset=\"0\"/>\n"
        "          <input semantic=\"TEXCOORD\" source=\"#alienMesh-texcoords\" offset=\"0\" "
        "set=\"0\"/>\n"
        "          <p>";
    for (size_t i = 0; i < mesh.indices.size(); ++i) {
        if (i) dae += ' ';
        dae += std::to_string(mesh.indices[i]);
    }
    dae +=
        "</p>\n"
        "        </triangles>\n"
        "      </mesh>\n"
        "    </geometry>\n"
        "  </library_geometries>\n"
        "  <library_visual_scenes>\n"
        "    <visual_scene id=\"Scene\" name=\"Scene\">\n"
        "      <node id=\"alien\" name=\"alien\" type=\"NODE\">\n"
        "        <matrix sid=\"transform\">1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</matrix>\n"
        "        <instance_geometry url=\"#alienMesh\" name=\"alien\">\n"
        "          <bind_material>\n"
        "            <technique_common>\n"
        "              <instance_material symbol=\"alienSkinSymbol\" "
        "target=\"#alienSkinMaterial\">\n"
        "                <bind_vertex_input semantic=\"UVSET0\" input_semantic=\"TEXCOORD\" "
        "input_set=\"0\"/>\n"
        "              </instance_material>\n"
        "            </technique_common>\n"
        "          </bind_material>\n"
        "        </instance_geometry>\n"
        "      </node>\n"
        "    </visual_scene>\n"
        "  </library_visual_scenes>\n"
        "  <scene><instance_visual_scene url=\"#Scene\"/></scene>\n"
        "</COLLADA>\n";
    return dae;
}

}  // namespace assetgen
