#include "Rendering/scene/Font.h"

#include <string>
#include <vector>

#include "infra/Log.h"

namespace {

struct FontFile {
    std::string key;
    std::string path;
};

// Built once and kept for the whole run: picturePaths points into these strings.
const std::vector<FontFile>& fontFiles() {
    static const std::vector<FontFile> files = [] {
        std::vector<FontFile> list;
        for (char c = 'a'; c <= 'z'; ++c) {
            list.push_back({std::string(1, c), std::string("fyrelFont/letters/") + c + ".jpg"});
        }
        for (char c = '0'; c <= '9'; ++c) {
            list.push_back({std::string(1, c), std::string("fyrelFont/numbers/") + c + ".jpg"});
        }
        list.push_back({" ", "fyrelFont/sonderzeichen/space.jpg"});
        list.push_back({":", "fyrelFont/sonderzeichen/colon.jpg"});
        return list;
    }();
    return files;
}

}  // namespace

ImageFont::ImageFont() {
    for (const FontFile& file : fontFiles()) picturePaths[file.key] = file.path.c_str();
    loadPictures();
}

ImageFont::~ImageFont() {
    delete image;
}

void ImageFont::loadPictures() {
    delete image;
    image = new ImageInfo();
    for (const auto& [key, path] : picturePaths) {
        unsigned char* pixels = loadTexture(path, *image);
        // The glyph upload reads a full glyph; a smaller picture would be read past its end.
        if (pixels && (image->width < static_cast<uint32_t>(glyphWidth) ||
                       image->height < static_cast<uint32_t>(glyphHeight))) {
            logError("ImageFont", std::string("picture smaller than one glyph: ") + path);
            pixels = nullptr;
        }
        pictures[key] = pixels;
    }
}

std::vector<std::string> fontPictureFiles() {
    // The font loads by key order (its map), which is not the table's order.
    std::map<std::string, std::string> byKey;
    for (const FontFile& file : fontFiles()) byKey[file.key] = file.path;
    std::vector<std::string> paths;
    for (const auto& entry : byKey) paths.push_back(entry.second);
    return paths;
}
