#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Geometry and picture of one drawable. Vertex k owns positions[4k..4k+3] (x, y, z, 1),
// normals[3k..3k+2] and texCoords[2k..2k+1]; indices hold three vertex numbers per triangle.
struct Mesh {
    explicit Mesh(std::string path = std::string()) : path(std::move(path)) {}

    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<uint32_t> indices;
    // Picture rows as decoded (bottom row first, blue-green-red, rows padded to 4 bytes).
    // Not owned: the picture store keeps the pixels alive.
    unsigned char* pixels = nullptr;
    uint32_t imageWidth = 0;
    uint32_t imageHeight = 0;
    std::string path;
    std::string id;
};
