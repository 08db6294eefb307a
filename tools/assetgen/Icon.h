#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Fyrel's icon: the alien's head in front of a small ringed planet, drawn for each size on its
// own so that the small ones keep bold shapes instead of being shrunk from the large one.
namespace assetgen {

// Square picture with straight (not premultiplied) alpha, top row first, RGBA bytes.
struct IconPicture {
    int size = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* pixel(int x, int y) const { return &rgba[(size_t(y) * size + x) * 4]; }
    bool savePng(const std::string& path) const;
};

IconPicture drawIcon(int size);

}  // namespace assetgen
