#include "Rendering/scene/TextRenderer.h"

#include <glm/gtc/type_ptr.hpp>

#include "Rendering/core/ProgramCreator.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/scene/Font.h"
#include "Rendering/core/SceneObject.h"
#include "Rendering/scene/TextLayout.h"
#include "platform/Input.h"

namespace Rendering {

namespace {
// Device coordinates span two units per axis.
constexpr float kHalfFrameWidth = kTextFrameWidth / 2;
constexpr float kHalfFrameHeight = kTextFrameHeight / 2;

// The framebuffer the text is drawn into; without an input source, the text's own frame.
void framebufferSize(int& width, int& height) {
    width = kTextFrameWidth;
    height = kTextFrameHeight;
    if (const platform::Input* in = platform::input()) in->framebufferSize(width, height);
}
}  // namespace

std::array<float, 24> TextRenderer::glyphQuad(int glyphWidth, int glyphHeight) {
    const float right = static_cast<float>(glyphWidth) / kHalfFrameWidth - 1.0f;
    const float top = static_cast<float>(glyphHeight) / kHalfFrameHeight - 1.0f;
    return {-1.0f, -1.0f, 0.0f, 1.0f, right, -1.0f, 0.0f, 1.0f, right, top,   0.0f, 1.0f,
            right, top,   0.0f, 1.0f, -1.0f, top,   0.0f, 1.0f, -1.0f, -1.0f, 0.0f, 1.0f};
}

void TextRenderer::setFont(const ImageFont* font) {
    // A scene without a font simply shows no text.
    if (!font) return;
    glyphHeight = font->glyphHeight;
    glyphWidth = font->glyphWidth;
    pictures = font->pictures;
}

void TextRenderer::init() {
    createProgram();
    createGlyphTextures();
    positionLocation = glGetAttribLocation(program, "position");
    worldViewLocation = glGetUniformLocation(program, "worldViewMatrix");
    fontTextureLocation = glGetUniformLocation(program, "fontTexture");
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &textureUnitCount);
    if (textureUnitCount < 1) textureUnitCount = 1;

    const std::array<float, 24> quad = glyphQuad(glyphWidth, glyphHeight);
    createQuad(quad.data(), sizeof(quad), positionLocation, quadBuffer, quadVertexArray);
}

void TextRenderer::createProgram() {
    ProgramCreator creator;
    for (ShaderCompiler* shader : shaders) creator.addShader(*shader);
    program = creator.link();
}

void TextRenderer::createGlyphTextures() {
    // The pictures keep the decoder's rows, padded to four bytes (18 bytes of a 6-pixel row
    // become 20); an unpack alignment of four reads them as they are.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (const auto& [key, pixels] : pictures) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, glyphWidth, glyphHeight, 0, GL_BGR, GL_UNSIGNED_BYTE,
                     pixels);
        glGenerateMipmap(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
        glyphTextures[key] = name;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
}

void TextRenderer::draw() {
    int fbWidth = 0, fbHeight = 0;
    framebufferSize(fbWidth, fbHeight);
    // A minimised window has nothing to show.
    if (!texts || fbWidth <= 0 || fbHeight <= 0) return;
    const int scale = textScale(fbWidth, fbHeight);
    bool bound = false;
    for (const TextItem* item : *texts) {
        if (!item || !item->visible) continue;
        const std::string& text = item->text;
        for (size_t k = 0; k < text.size(); ++k) {
            // A character the font lacks gets texture 0 and leaves a blank of one glyph width.
            const GLuint glyph = glyphTextures[std::string(1, text[k])];
            if (glyph == 0) continue;
            if (!bound) {
                glUseProgram(program);
                glBindVertexArray(quadVertexArray);
                bound = true;
            }
            const int index = static_cast<int>(k);
            const GlyphCell cell =
                glyphCell(*item, index, glyphWidth, glyphHeight, fbWidth, fbHeight);
            worldView = glyphMatrix(cell, scale, fbWidth, fbHeight);
            glUniformMatrix4fv(worldViewLocation, 1, GL_FALSE, glm::value_ptr(worldView));
            const GLint unit = index % textureUnitCount;
            glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
            glBindTexture(GL_TEXTURE_2D, glyph);
            glUniform1i(fontTextureLocation, unit);
            glDrawArrays(GL_TRIANGLES, 0, 6);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
    }
    if (bound) {
        glUseProgram(0);
        glBindVertexArray(0);
        glBindBuffer(GL_UNIFORM_BUFFER, 0);
    }
}

void TextRenderer::releaseGpuObjects() {
    for (auto& [key, name] : glyphTextures) {
        if (name != 0) glDeleteTextures(1, &name);
        name = 0;
    }
    glyphTextures.clear();
    if (quadBuffer != 0) glDeleteBuffers(1, &quadBuffer);
    if (quadVertexArray != 0) glDeleteVertexArrays(1, &quadVertexArray);
    if (program != 0) glDeleteProgram(program);
    quadBuffer = 0;
    quadVertexArray = 0;
    program = 0;
}

}  // namespace Rendering
