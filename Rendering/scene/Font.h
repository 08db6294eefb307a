#pragma once

#include <map>
#include <string>
#include <vector>

#include "infra/Picture.h"

// What a text item keeps its distance to when the framebuffer is not 1024 x 768: its x and y
// are measured in the 1024 x 768 frame either way, and that distance grows with the text scale.
enum class TextAnchor { TopLeft, BottomLeft, Centre };

// One line of on-screen text, placed in pixels of a 1024 x 768 frame from the bottom left.
struct TextItem {
    explicit TextItem(std::string text) : text(std::move(text)) {}
    std::string text;
    int x = 0;
    int y = 0;
    TextAnchor anchor = TextAnchor::TopLeft;
    // Hidden items stay in the scene's list and are skipped when drawing.
    bool visible = true;
};

// Size of every glyph picture, in pixels.
constexpr int kGlyphWidth = 6;
constexpr int kGlyphHeight = 14;

// One picture per character, kGlyphWidth x kGlyphHeight pixels each.
struct ImageFont {
    ImageFont();
    ~ImageFont();
    ImageFont(const ImageFont&) = delete;
    ImageFont& operator=(const ImageFont&) = delete;

    void loadPictures();

    // Scratch record that every picture decoding fills in turn.
    ImageInfo* image = nullptr;
    int glyphHeight = kGlyphHeight;
    int glyphWidth = kGlyphWidth;
    std::map<std::string, const char*> picturePaths;
    std::map<std::string, unsigned char*> pictures;
};

// The paths of the font's pictures, in the order the font loads them.
std::vector<std::string> fontPictureFiles();
