#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/Picture.h"

// The player's alien: a mesh built from smooth ellipsoid parts, each part unwrapped onto its
// own patch of the skin picture, and that skin painted from the same geometry so painted
// features (eyes, mouth, belly) land where the mesh puts them.
namespace assetgen {

constexpr int kSkinSize = 1024;

struct AlienMesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<std::array<float, 2>> uvs;  // v = 0 at the bottom of the skin picture
    std::vector<uint32_t> indices;          // counter-clockwise seen from outside
};

// A part's patch of the skin picture, in pixels from the top-left as a viewer shows it.
struct SkinPatch {
    std::string part;
    int x0, y0, x1, y1;
};

AlienMesh buildAlienMesh();
// Every patch once (mirrored parts that share their twin's patch are not repeated).
std::vector<SkinPatch> alienSkinPatches();
Picture paintAlienSkin();
// Collada 1.4.1 with one mesh, one material and the skin as its diffuse texture.
std::string alienCollada(const AlienMesh& mesh, const std::string& skinFile);

}  // namespace assetgen
