#include "Rendering/scene/Font.h"

#include <string>
#include <vector>

#include "infra/Assets.h"
#include "infra/Log.h"

ImageFont::ImageFont() {
    for (const assets::File& file : assets::filesOf(assets::Kind::Glyph)) {
        picturePaths[file.name] = file.path;
    }
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
    // The font loads by key order (its map), which is not the manifest's order.
    std::map<std::string, std::string> byKey;
    for (const assets::File& file : assets::filesOf(assets::Kind::Glyph)) {
        byKey[file.name] = file.path;
    }
    std::vector<std::string> paths;
    for (const auto& entry : byKey) paths.push_back(entry.second);
    return paths;
}
