#include "Rendering/scene/TextLayout.h"

#include <algorithm>

#include "Rendering/scene/Font.h"

namespace Rendering {

int textScale(int framebufferWidth, int framebufferHeight) {
    return std::max(
        1, std::min(framebufferWidth / kTextFrameWidth, framebufferHeight / kTextFrameHeight));
}

GlyphCell glyphCell(const TextItem& item, int index, int glyphWidth, int glyphHeight,
                    int framebufferWidth, int framebufferHeight) {
    const int k = textScale(framebufferWidth, framebufferHeight);
    const int x = item.x + index * glyphWidth;
    GlyphCell cell{0, 0, glyphWidth * k, glyphHeight * k};
    switch (item.anchor) {
        case TextAnchor::TopLeft:
            cell.left = x * k;
            cell.bottom = framebufferHeight - (kTextFrameHeight - item.y) * k;
            break;
        case TextAnchor::BottomLeft:
            cell.left = x * k;
            cell.bottom = item.y * k;
            break;
        case TextAnchor::Centre:
            cell.left = framebufferWidth / 2 + (x - kTextFrameWidth / 2) * k;
            cell.bottom = framebufferHeight / 2 + (item.y - kTextFrameHeight / 2) * k;
            break;
    }
    return cell;
}

glm::mat4 glyphMatrix(const GlyphCell& cell, int scale, int framebufferWidth,
                      int framebufferHeight) {
    // The quad's corner (-1, -1) goes to the cell's corner; the quad grows from there.
    const float moveX = static_cast<float>(2 * cell.left) / static_cast<float>(framebufferWidth);
    const float moveY = static_cast<float>(2 * cell.bottom) / static_cast<float>(framebufferHeight);
    const float scaleX =
        static_cast<float>(kTextFrameWidth * scale) / static_cast<float>(framebufferWidth);
    const float scaleY =
        static_cast<float>(kTextFrameHeight * scale) / static_cast<float>(framebufferHeight);
    // p -> scale * (p + 1) - 1 + move. A scale of exactly 1 adds exactly 0 to the move, so the
    // 1024 x 768 matrix is the plain translation, bit for bit.
    glm::mat4 matrix(1.0f);
    matrix[0][0] = scaleX;
    matrix[1][1] = scaleY;
    matrix[3][0] = moveX + (scaleX - 1.0f);
    matrix[3][1] = moveY + (scaleY - 1.0f);
    return matrix;
}

}  // namespace Rendering
