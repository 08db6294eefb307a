#include "tools/assetgen/Preview.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <array>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "infra/Assets.h"
#include "tools/assetgen/FontGlyphs.h"
#include "tools/assetgen/Picture.h"
#include "tools/assetgen/Planets.h"

namespace assetgen {

namespace {

// Sheet addressed from the top-left like a viewer; stored bottom row first like every picture.
class Sheet {
  public:
    Sheet(int w, int h) : pic(w, h) {
        pic.fill([](int, int) { return rgb8(24, 24, 30); });
    }
    void put(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < pic.width() && y < pic.height())
            pic.set(x, pic.height() - 1 - y, c);
    }
    // A picture as a viewer shows the file, scaled to w x h.
    void blit(const Picture& src, int x0, int y0, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgb sum;
                for (int s = 0; s < 4; ++s) {  // 2 x 2 samples per target pixel
                    float fx = (x + 0.25f + 0.5f * float(s % 2)) / float(w) * float(src.width());
                    float fy = (y + 0.25f + 0.5f * float(s / 2)) / float(h) * float(src.height());
                    int sx = std::min(src.width() - 1, int(fx));
                    int row = src.height() - 1 - std::min(src.height() - 1, int(fy));
                    sum = sum + src.get(sx, row) * 0.25f;
                }
                put(x0 + x, y0 + y, sum);
            }
    }
    Picture pic;
};

Rgb sampleTexture(const Picture& tex, float u, float t, bool wrapU) {
    // t runs over memory rows: t = 0 is the first row in memory, as in the game's texture upload.
    float fx = u * float(tex.width()) - 0.5f, fy = t * float(tex.height()) - 0.5f;
    int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    float ax = fx - float(x0), ay = fy - float(y0);
    auto at = [&](int x, int y) {
        x = wrapU ? ((x % tex.width()) + tex.width()) % tex.width()
                  : std::max(0, std::min(tex.width() - 1, x));
        y = std::max(0, std::min(tex.height() - 1, y));
        return tex.get(x, y);
    };
    return mix(mix(at(x0, y0), at(x0 + 1, y0), ax), mix(at(x0, y0 + 1), at(x0 + 1, y0 + 1), ax),
               ay);
}

// A sphere textured as the game's sphere generator does it (v = 0 at +y, u from +x to -z),
// seen from outside towards the point at (lat, lon) with north up.
void drawGlobe(Sheet& sheet, const Picture& map, int x0, int y0, int size, float lat, float lon) {
    Vec3 centre{std::cos(lat) * std::cos(lon), std::sin(lat), -std::cos(lat) * std::sin(lon)};
    Vec3 east{-std::sin(lon), 0, -std::cos(lon)};
    Vec3 north = cross(centre, east);
    const Vec3 light = normalize(Vec3{-0.4f, 0.45f, 0.8f});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float sx = (x + 0.5f) / float(size) * 2 - 1, sy = 1 - (y + 0.5f) / float(size) * 2;
            float r2 = sx * sx + sy * sy;
            if (r2 >= 1) continue;
            Vec3 view{sx, sy, std::sqrt(1 - r2)};
            Vec3 n = east * view.x + north * view.y + centre * view.z;
            float v = std::acos(std::max(-1.0f, std::min(1.0f, n.y))) / kPi;
            float phi = std::atan2(-n.z, n.x);
            if (phi < 0) phi += kTwoPi;
            float shade = 0.3f + 0.7f * std::max(0.0f, dot(view, light));
            sheet.put(x0 + x, y0 + y, sampleTexture(map, phi / kTwoPi, v, true) * shade);
        }
}

struct Font {
    std::map<char, Picture> glyphs;
    // Characters as the game draws them: a glyph's first row in memory at the bottom.
    int draw(Sheet& sheet, const std::string& text, int x, int baselineY, int scale) const {
        for (char ch : text) {
            auto it = glyphs.find(ch);
            if (it != glyphs.end())
                for (int row = 0; row < kGlyphHeight; ++row)
                    for (int col = 0; col < kGlyphWidth; ++col)
                        for (int s = 0; s < scale * scale; ++s)
                            sheet.put(x + col * scale + s % scale,
                                      baselineY - row * scale - s / scale,
                                      it->second.get(col, row));
            x += kGlyphWidth * scale;
        }
        return x;
    }
};

struct Model {
    std::vector<Vec3> positions, normals;
    std::vector<std::array<float, 2>> uvs;
    std::vector<unsigned> indices;
};

bool loadModel(const std::string& path, Model& model) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        path, aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices | aiProcess_Triangulate);
    if (!scene || scene->mNumMeshes == 0) {
        std::fprintf(stderr, "preview: %s: %s\n", path.c_str(), importer.GetErrorString());
        return false;
    }
    const aiMesh* m = scene->mMeshes[0];
    if (!m->mNormals || !m->mTextureCoords[0]) return false;
    for (unsigned i = 0; i < m->mNumVertices; ++i) {
        model.positions.push_back({m->mVertices[i].x, m->mVertices[i].y, m->mVertices[i].z});
        model.normals.push_back({m->mNormals[i].x, m->mNormals[i].y, m->mNormals[i].z});
        model.uvs.push_back({m->mTextureCoords[0][i].x, m->mTextureCoords[0][i].y});
    }
    for (unsigned f = 0; f < m->mNumFaces; ++f)
        if (m->mFaces[f].mNumIndices == 3)
            model.indices.insert(model.indices.end(), m->mFaces[f].mIndices,
                                 m->mFaces[f].mIndices + 3);
    return true;
}

// Orthographic z-buffered render with back faces culled (counter-clockwise is front, as in the
// game), supersampled twice in each direction.
void drawModel(Sheet& sheet, const Model& model, const Picture& skin, int x0, int y0, int size,
               float yawDeg, float pitchDeg) {
    const int ss = 2, n = size * ss;
    float yaw = yawDeg * kPi / 180, pitch = pitchDeg * kPi / 180;
    Vec3 toCamera{std::sin(yaw) * std::cos(pitch), std::sin(pitch),
                  std::cos(yaw) * std::cos(pitch)};
    Vec3 right = normalize(cross(Vec3{0, 1, 0}, toCamera));
    Vec3 up = cross(toCamera, right);
    const float scale = float(n) / 3.8f;  // world units across the view
    const Vec3 centre{0, 1.6f, 0};
    const Vec3 light = normalize(right * -0.4f + up * 0.6f + toCamera * 0.7f);
    std::vector<float> depth(size_t(n) * n, -1e9f);
    std::vector<Rgb> colour(size_t(n) * n, rgb8(24, 24, 30));
    struct P {
        float x, y, z;
    };
    std::vector<P> screen(model.positions.size());
    for (size_t i = 0; i < screen.size(); ++i) {
        Vec3 q = model.positions[i] - centre;
        screen[i] = {float(n) / 2 + dot(q, right) * scale, float(n) / 2 - dot(q, up) * scale,
                     dot(q, toCamera)};
    }
    for (size_t t = 0; t + 2 < model.indices.size(); t += 3) {
        unsigned ia = model.indices[t], ib = model.indices[t + 1], ic = model.indices[t + 2];
        P a = screen[ia], b = screen[ib], c = screen[ic];
        // Screen y grows downwards, so a counter-clockwise front face has negative area here.
        float area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        if (area >= 0) continue;
        int minX = std::max(0, int(std::floor(std::min({a.x, b.x, c.x}))));
        int maxX = std::min(n - 1, int(std::ceil(std::max({a.x, b.x, c.x}))));
        int minY = std::max(0, int(std::floor(std::min({a.y, b.y, c.y}))));
        int maxY = std::min(n - 1, int(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = minY; y <= maxY; ++y)
            for (int x = minX; x <= maxX; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float wa = ((b.x - px) * (c.y - py) - (c.x - px) * (b.y - py)) / area;
                float wb = ((c.x - px) * (a.y - py) - (a.x - px) * (c.y - py)) / area;
                float wc = 1 - wa - wb;
                if (wa < 0 || wb < 0 || wc < 0) continue;
                float z = wa * a.z + wb * b.z + wc * c.z;
                size_t at = size_t(y) * n + x;
                if (z <= depth[at]) continue;
                depth[at] = z;
                Vec3 nrm = normalize(model.normals[ia] * wa + model.normals[ib] * wb +
                                     model.normals[ic] * wc);
                float u = wa * model.uvs[ia][0] + wb * model.uvs[ib][0] + wc * model.uvs[ic][0];
                float v = wa * model.uvs[ia][1] + wb * model.uvs[ib][1] + wc * model.uvs[ic][1];
                float shade = 0.35f + 0.75f * std::max(0.0f, dot(nrm, light));
                colour[at] = sampleTexture(skin, u, v, false) * shade;
            }
    }
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum;
            for (int s = 0; s < ss * ss; ++s)
                sum = sum + colour[size_t(y * ss + s / ss) * n + size_t(x * ss + s % ss)] *
                                (1.0f / (ss * ss));
            sheet.put(x0 + x, y0 + y, sum);
        }
}

}  // namespace

bool writePreview(const std::string& dir, const std::string& pngPath) {
    auto load = [&](const std::string& name, Picture& out) {
        if (Picture::load(dir + "/" + name, out)) return true;
        std::fprintf(stderr, "preview: cannot read %s/%s\n", dir.c_str(), name.c_str());
        return false;
    };
    Font font;
    for (const Glyph& g : fontGlyphs()) {
        Picture p(1, 1);
        if (!load(g.path, p)) return false;
        font.glyphs.emplace(g.key[0], p);
    }

    Sheet sheet(2048, 1680);
    const int label = 2;  // font scale of the captions
    struct Planet {
        const char* name;
        const char* file;
        Landmark face;
    };
    const Planet planets[8] = {
        {"neptune", assets::neptuneMap, kNeptuneSpot},
        {"jupiter", assets::jupiterMap, kJupiterRedSpot},
        {"mars", assets::marsMap, {0.3f, 5.0f}},
        {"mercury", assets::mercuryMap, {0.3f, 1.0f}},
        {"uranus", assets::uranusMap, {0.3f, 0.5f}},
        {"venus", assets::venusMap, {0.3f, 2.0f}},
        {"saturn", assets::saturnMap, {0.3f, 3.0f}},
        {"pluto", assets::plutoMap, kPlutoHeart},
    };
    int y = 10;
    for (int i = 0; i < 8; ++i) {
        Picture map(1, 1);
        if (!load(planets[i].file, map)) return false;
        int x = i * 256 + 4;
        font.draw(sheet, planets[i].name, x, y + 27, label);
        sheet.blit(map, x, y + 34, 248, 124);
        // Facing the landmark a little from the north, then straight down on the north pole.
        drawGlobe(sheet, map, x + 4, y + 164, 240, std::max(0.35f, planets[i].face.lat + 0.35f),
                  planets[i].face.lon);
        drawGlobe(sheet, map, x + 64, y + 410, 120, 1.45f, planets[i].face.lon);
        drawGlobe(sheet, map, x + 64, y + 536, 120, -1.45f, planets[i].face.lon);
    }
    y += 670;
    Picture sky(1, 1), sun(1, 1), skin(1, 1);
    if (!load(assets::skyMap, sky) || !load(assets::sunMap, sun) || !load(assets::alienSkin, skin))
        return false;
    font.draw(sheet, "spacemap2", 4, y + 27, label);
    sheet.blit(sky, 4, y + 34, 1024, 512);
    font.draw(sheet, "alienuv", 1036, y + 27, label);
    sheet.blit(skin, 1036, y + 34, 512, 512);
    font.draw(sheet, "sun", 1556, y + 27, label);
    sheet.blit(sun, 1556, y + 34, 480, 240);
    drawGlobe(sheet, sun, 1676, y + 290, 240, 0.3f, 0.0f);
    y += 556;

    Model alien;
    if (!loadModel(dir + "/" + assets::alienModel, alien)) return false;
    const char* views[4] = {"front", "side", "back", "three quarter"};
    const float yaws[4] = {0, 90, 180, 35}, pitches[4] = {0, 0, 0, 15};
    for (int i = 0; i < 4; ++i) {
        font.draw(sheet, views[i], 4 + i * 388, y + 27, label);
        drawModel(sheet, alien, skin, 4 + i * 388, y + 34, 384, yaws[i], pitches[i]);
    }
    font.draw(sheet, "font", 1560, y + 27, label);
    int gx = 1560, gy = y + 100;
    for (const Glyph& g : fontGlyphs()) {
        font.draw(sheet, g.key, gx, gy, 4);
        gx += kGlyphWidth * 4 + 6;
        if (gx > 2040 - kGlyphWidth * 4) {
            gx = 1560;
            gy += kGlyphHeight * 4 + 8;
        }
    }
    font.draw(sheet, "fyrel: 8 von 8", 1560, gy + 90, 4);
    font.draw(sheet, "fyrel: 0 von 8", 1560, gy + 120, 2);
    if (!sheet.pic.savePng(pngPath)) {
        std::fprintf(stderr, "preview: cannot write %s\n", pngPath.c_str());
        return false;
    }
    std::printf("preview written to %s\n", pngPath.c_str());
    return true;
}

}  // namespace assetgen
