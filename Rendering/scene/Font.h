#pragma once

#include <map>
#include <string>
#include <vector>

#include "infra/Picture.h"

// One line of on-screen text, placed in pixels of a 1024 x 768 frame from the bottom left.
struct TextItem {
    explicit TextItem(std::string text) : text(std::move(text)) {}
    std::string text;
    int x = 0;
    int y = 0;
};

// One picture per character, 6 x 14 pixels each.
struct ImageFont {
    ImageFont();
    ~ImageFont();
    ImageFont(const ImageFont&) = delete;
    ImageFont& operator=(const ImageFont&) = delete;

    void loadPictures();

    // Scratch record that every picture decoding fills in turn.
    ImageInfo* image = nullptr;
    int glyphHeight = 14;
    int glyphWidth = 6;
    std::map<std::string, const char*> picturePaths;
    std::map<std::string, unsigned char*> pictures;
};

// The paths of the font's pictures, in the order the font loads them.
std::vector<std::string> fontPictureFiles();
