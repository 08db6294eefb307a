#pragma once

#include <glm/glm.hpp>

struct TextItem;

namespace Rendering {

// Text items are laid out in a 1024 x 768 frame; any other framebuffer shows that frame's text
// at a whole-number scale, each item keeping its distance to its anchor.
constexpr int kTextFrameWidth = 1024;
constexpr int kTextFrameHeight = 768;

// A rectangle of framebuffer pixels: left and bottom edge, width and height.
struct GlyphCell {
    int left = 0, bottom = 0, width = 0, height = 0;
    bool operator==(const GlyphCell& other) const {
        return left == other.left && bottom == other.bottom && width == other.width &&
               height == other.height;
    }
};

// How many framebuffer pixels one picture pixel of a glyph covers, in each direction: the
// largest whole number for which the 1024 x 768 frame still fits, at least 1. Whole numbers keep
// the glyphs sharp and never stretched.
int textScale(int framebufferWidth, int framebufferHeight);

// Where character `index` of `item` lands in a framebuffer of the given size.
GlyphCell glyphCell(const TextItem& item, int index, int glyphWidth, int glyphHeight,
                    int framebufferWidth, int framebufferHeight);

// The matrix that moves the glyph quad (the bottom-left glyph of the frame in device
// coordinates) onto `cell`, scaled by `scale` about the quad's corner (-1, -1). In a 1024 x 768
// framebuffer it is a pure translation.
glm::mat4 glyphMatrix(const GlyphCell& cell, int scale, int framebufferWidth,
                      int framebufferHeight);

}  // namespace Rendering
