// The start-up floor: the work no start-up can avoid, each piece done once and in the simplest
// way. Every picture is decoded once, every distinct picture is uploaded once with its mipmaps,
// and every program the game links is compiled and drawn with once (the driver compiles at the
// first draw). Run in a fresh process so that the shader cache is whatever the parent chose.

#include <FreeImage.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "Rendering/core/ProgramCreator.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/ShaderTable.h"
#include "app/RendererSet.h"
#include "bench/game/BenchCommon.h"
#include "infra/GL.h"
#include "infra/Picture.h"
#include "infra/StartupHeap.h"
#include "platform/Window.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Bytes a texture of this size takes with its whole mipmap chain, at four bytes a texel (how
// the driver keeps 24-bit pictures).
double mipmappedBytes(double width, double height) {
    double bytes = 0.0;
    for (;;) {
        bytes += width * height * 4.0;
        if (width <= 1.0 && height <= 1.0) break;
        width = width > 1.0 ? std::floor(width / 2.0) : 1.0;
        height = height > 1.0 ? std::floor(height / 2.0) : 1.0;
    }
    return bytes;
}

struct Decoded {
    std::vector<ImageInfo> images;
    double seconds = 0.0;
    double keptBytes = 0.0;
};

Decoded decodeAll(const std::vector<std::string>& files) {
    Decoded decoded;
    const auto start = Clock::now();
    for (const std::string& file : files) {
        ImageInfo image;
        loadTexture(file.c_str(), image);
        decoded.images.push_back(image);
    }
    decoded.seconds = secondsSince(start);
    for (const ImageInfo& image : decoded.images) {
        // Rows are padded to four bytes.
        decoded.keptBytes += static_cast<double>((image.width * 3 + 3) / 4 * 4) * image.height;
    }
    return decoded;
}

double uploadAll(const std::vector<ImageInfo>& images, std::vector<GLuint>& textures) {
    const auto start = Clock::now();
    for (const ImageInfo& image : images) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, static_cast<GLsizei>(image.width),
                     static_cast<GLsizei>(image.height), 0, GL_BGR, GL_UNSIGNED_BYTE, image.pixels);
        glGenerateMipmap(GL_TEXTURE_2D);
        textures.push_back(texture);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glFinish();
    return secondsSince(start);
}

// Every program linked and used for one small triangle; the blocks read a zeroed buffer.
double compileAndDrawAll(std::vector<GLuint>& programs) {
    const auto start = Clock::now();
    RendererSet set;
    set.loadShaders();
    GLuint blocks = 0, vertexArray = 0;
    glGenBuffers(1, &blocks);
    glBindBuffer(GL_UNIFORM_BUFFER, blocks);
    const std::vector<char> zeros(512, 0);
    glBufferData(GL_UNIFORM_BUFFER, 512, zeros.data(), GL_STATIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, blocks);
    glBindBufferBase(GL_UNIFORM_BUFFER, 1, blocks);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    for (Rendering::ShaderNames names : Rendering::programs::all) {
        ProgramCreator creator;
        for (const char* name : names) creator.addShader(*set.compiledShaders.at(name));
        const GLuint program = creator.link();
        for (auto [block, point] : {std::pair{"Light", 0u}, std::pair{"Material", 1u}}) {
            const GLuint index = glGetUniformBlockIndex(program, block);
            if (index != GL_INVALID_INDEX) glUniformBlockBinding(program, index, point);
        }
        glUseProgram(program);
        glDrawArrays(GL_TRIANGLES, 0, 3);
        glFinish();
        programs.push_back(program);
    }
    const double seconds = secondsSince(start);
    glUseProgram(0);
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteBuffers(1, &blocks);
    set.releaseGpuObjects();
    return seconds;
}

}  // namespace

int runFloorMode(bool gameHeap) {
    if (gameHeap) prepareStartupHeap(kGameStartupHeap);
    if (!platform::initWindowLibrary()) return 1;
    if (!platform::Window::open(1024, 768, "Fyrel floor") || !initGLLoader()) return 1;
    glViewport(0, 0, 1024, 768);

    Decoded decoded = decodeAll(pictureFiles());
    std::vector<GLuint> textures;
    const double upload = uploadAll(decoded.images, textures);
    std::vector<GLuint> programs;
    const double compile = compileAndDrawAll(programs);

    double textureBytes = 0.0;
    for (const ImageInfo& image : decoded.images) {
        textureBytes += mipmappedBytes(image.width, image.height);
    }
    printValues("fyrel-floor", {{"decode", decoded.seconds},
                                {"upload", upload},
                                {"programs", compile},
                                {"pictures", static_cast<double>(decoded.images.size())},
                                {"kept_bytes", decoded.keptBytes},
                                {"texture_bytes", textureBytes}});

    glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
    for (GLuint program : programs) glDeleteProgram(program);
    releaseAllPictures();
    platform::terminateWindowLibrary();
    return 0;
}

}  // namespace bench
