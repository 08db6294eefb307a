#pragma once

#include <vector>

namespace platform {

// Pixels as the window system takes them: 8-bit red, green, blue and alpha (not premultiplied),
// the top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

}  // namespace platform
