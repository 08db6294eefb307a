#pragma once

#include <array>
#include <glm/glm.hpp>
#include <map>
#include <string>
#include <vector>

#include "Rendering/scene/Font.h"
#include "Rendering/scene/TextLayout.h"
#include "infra/GL.h"

struct ShaderCompiler;

namespace Rendering {

// Draws text items character by character from the image font's glyph pictures, placed in
// pixels of a 1024 x 768 frame with the origin at the bottom left and shown at the whole-number
// scale that suits the framebuffer (TextLayout.h), whose size the frame loop hands it.
class TextRenderer {
  public:
    TextRenderer() = default;
    virtual ~TextRenderer() = default;
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Links the program, makes the glyph textures and the quad; needs a current context.
    virtual void init();
    void createProgram();
    void createGlyphTextures();
    void setFont(const ImageFont* font);
    void addShader(ShaderCompiler* shader) { shaders.push_back(shader); }
    void draw();
    // The size of the framebuffer drawn into; until set, the text's own frame. A size of 0 (a
    // minimised window) draws nothing.
    void setFramebufferSize(int width, int height) {
        fbWidth = width;
        fbHeight = height;
    }
    // Deletes the program, glyph textures and quad (context must be current).
    void releaseGpuObjects();

    // The six (x, y, z, w) vertices of a glyph quad in normalised device coordinates, covering
    // the bottom-left glyphWidth x glyphHeight pixels of the frame.
    static std::array<float, 24> glyphQuad(int glyphWidth, int glyphHeight);

    GLuint program = 0;
    GLint fontTextureLocation = -1;
    GLint positionLocation = -1;
    GLint worldViewLocation = -1;
    int glyphHeight = kGlyphHeight;
    int glyphWidth = kGlyphWidth;
    std::vector<TextItem*>* texts = nullptr;
    std::vector<ShaderCompiler*> shaders;
    std::map<std::string, unsigned char*> pictures;
    std::map<std::string, GLuint> glyphTextures;
    glm::mat4 worldView{1.0f};
    // One quad serves every character of every frame.
    GLuint quadBuffer = 0;
    GLuint quadVertexArray = 0;
    // Character k of a line uses texture unit k; longer lines wrap around the units there are.
    GLint textureUnitCount = 48;
    int fbWidth = kTextFrameWidth;
    int fbHeight = kTextFrameHeight;
};

}  // namespace Rendering
