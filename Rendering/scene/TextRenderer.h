#pragma once

#include <array>
#include <glm/glm.hpp>
#include <map>
#include <string>
#include <vector>

#include "infra/GL.h"

struct ImageFont;
struct ShaderCompiler;
struct TextItem;

namespace Rendering {

// Draws text items character by character from the image font's glyph pictures, placed in
// pixels of a 1024 x 768 frame with the origin at the bottom left.
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
    // Deletes the program, glyph textures and quad (context must be current).
    void releaseGpuObjects();

    // The six (x, y, z, w) vertices of a glyph quad in normalised device coordinates, covering
    // the bottom-left glyphWidth x glyphHeight pixels of the frame.
    static std::array<float, 24> glyphQuad(int glyphWidth, int glyphHeight);
    // How far character `index` of an item at pixel (x, y) moves the quad, in device units.
    static glm::vec2 glyphOffset(int x, int y, int index, int glyphWidth);

    GLuint program = 0;
    GLint fontTextureLocation = -1;
    GLint positionLocation = -1;
    GLint worldViewLocation = -1;
    int glyphHeight = 14;
    int glyphWidth = 6;
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
};

}  // namespace Rendering
