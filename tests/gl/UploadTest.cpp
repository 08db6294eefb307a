#include <FreeImage.h>

#include <memory>
#include <string>
#include <vector>

#include "Rendering/core/SceneObject.h"
#include "Rendering/scene/Font.h"
#include "Rendering/scene/SphereGenerator.h"
#include "infra/Picture.h"
#include "tests/gl/GLTestFixture.h"

namespace {

const char* const kVertexSource = R"(#version 330
in vec4 position;
in vec3 normal;
in vec2 texIn;
out vec2 uv;
out vec3 surfaceNormal;
void main() {
    uv = texIn;
    surfaceNormal = normal;
    // Unit sphere seen from +z, filling 80% of the 1024 x 768 frame's height, round on screen.
    gl_Position = vec4(position.x * 0.6, position.y * 0.8, -position.z * 0.8, 1.0);
}
)";

const char* const kFragmentSource = R"(#version 330
in vec2 uv;
in vec3 surfaceNormal;
uniform sampler2D tex;
out vec4 color;
void main() {
    // Unit normals pass; missing or garbled normals would leave holes.
    if (length(surfaceNormal) < 0.5) discard;
    color = vec4(texture(tex, uv).rgb, 1.0);
}
)";

// The same without normals: the program simply has no "normal" attribute.
const char* const kVertexWithoutNormal = R"(#version 330
in vec4 position;
in vec2 texIn;
out vec2 uv;
void main() {
    uv = texIn;
    gl_Position = vec4(position.xyz * 0.5, 1.0);
}
)";
const char* const kPlainFragment = R"(#version 330
in vec2 uv;
uniform sampler2D tex;
out vec4 color;
void main() { color = texture(tex, uv); }
)";

GLuint compile(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        ADD_FAILURE() << "shader does not compile: " << log;
    }
    return shader;
}

GLuint linkProgram(const char* vertexSource, const char* fragmentSource) {
    const GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    EXPECT_TRUE(ok) << "program does not link";
    return program;
}

struct Rgb {
    int r, g, b;
};
const Rgb kRed{255, 0, 0}, kYellow{255, 255, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0},
    kGrey{128, 128, 128};

// The test picture, 66 x 32 (rows of 198 bytes, stored padded to 200). Memory row 0 is the
// picture's bottom row in a viewer. The half of the rows that comes first in memory
// (v < 0.5) is red/yellow, the rest blue/green; in each half u in [0.5, 0.75) is the first
// colour and u in [0.75, 1) the second. The other half of u is grey.
Rgb pictureColour(int x, int row) {
    const float u = (x + 0.5f) / 66.0f;
    const bool firstRows = row < 16;
    if (u < 0.5f) return kGrey;
    if (u < 0.75f) return firstRows ? kRed : kBlue;
    return firstRows ? kYellow : kGreen;
}

std::string writeTestPicture() {
    FIBITMAP* bitmap = FreeImage_Allocate(66, 32, 24);
    for (int row = 0; row < 32; ++row) {
        BYTE* bytes = FreeImage_GetScanLine(bitmap, row);
        for (int x = 0; x < 66; ++x) {
            const Rgb c = pictureColour(x, row);
            bytes[3 * x + FI_RGBA_RED] = static_cast<BYTE>(c.r);
            bytes[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(c.g);
            bytes[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(c.b);
        }
    }
    const std::string path = testing::TempDir() + "fyrel_upload_picture.png";
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0));
    FreeImage_Unload(bitmap);
    return path;
}

GLuint countLive(GLboolean (*isObject)(GLuint)) {
    GLuint live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += isObject(name) ? 1 : 0;
    return live;
}
GLboolean isBuffer(GLuint name) {
    return glIsBuffer(name);
}
GLboolean isVertexArray(GLuint name) {
    return glIsVertexArray(name);
}
GLboolean isTexture(GLuint name) {
    return glIsTexture(name);
}

}  // namespace

class Upload : public GLTest {
  protected:
    void TearDown() override {
        if (object) releaseGpuObjects(object.get());
        if (program) glDeleteProgram(program);
        GLTest::TearDown();
    }

    // Uploads `object` the way a renderer does at start-up.
    void uploadLikeARenderer() {
        uploadBuffers(object.get());
        createVertexArray(program, object.get());
        createTexture(rendererTexture, object.get());
    }

    void drawOnce() {
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(program);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, object->texture);
        glUniform1i(glGetUniformLocation(program, "tex"), 0);
        glBindVertexArray(object->vertexArray);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(object->mesh->indices.size()),
                       GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
        glBindTexture(GL_TEXTURE_2D, 0);
        glUseProgram(0);
    }

    // Screen colour at (x, y), pixels from the bottom left.
    Rgb at(int x, int y) {
        const Pixels pixels = readPixels(x, y, 1, 1);
        const uint8_t* p = pixels.at(0, 0);
        return {p[0], p[1], p[2]};
    }

    std::unique_ptr<SphereObject> object;
    GLuint program = 0;
    GLuint rendererTexture = 0;
};

void expectColour(const Rgb& seen, const Rgb& wanted, const char* where) {
    EXPECT_NEAR(seen.r, wanted.r, 24) << where;
    EXPECT_NEAR(seen.g, wanted.g, 24) << where;
    EXPECT_NEAR(seen.b, wanted.b, 24) << where;
}

TEST_F(Upload, SphereShowsItsPictureTheRightWayRound) {
    object.reset(generateSphere(new SphereObject(), 1.0f, 50, 100));
    ImageInfo image;
    object->mesh->pixels = loadTexture(writeTestPicture().c_str(), image);
    object->mesh->imageWidth = image.width;
    object->mesh->imageHeight = image.height;
    ASSERT_NE(object->mesh->pixels, nullptr);
    ASSERT_EQ(image.width, 66u);

    program = linkProgram(kVertexSource, kFragmentSource);
    uploadLikeARenderer();
    EXPECT_NE(object->texture, 0u);
    EXPECT_EQ(object->texture, rendererTexture);
    EXPECT_TRUE(glIsTexture(object->texture));
    EXPECT_TRUE(glIsBuffer(object->texCoordBuffer));

    drawOnce();
    savePNG("upload_sphere");

    // The sphere is 614 pixels tall around the frame's centre (512, 384). The first rows of
    // the picture wrap the north pole (top of the screen); u grows from left to right across
    // the visible half, so nothing is mirrored.
    expectColour(at(392, 504), kRed, "upper left");
    expectColour(at(632, 504), kYellow, "upper right");
    expectColour(at(392, 264), kBlue, "lower left");
    expectColour(at(632, 264), kGreen, "lower right");
    expectColour(at(452, 660), kRed, "left of the north pole");
    expectColour(at(572, 660), kYellow, "right of the north pole");
    expectColour(at(20, 20), Rgb{26, 26, 26}, "background");
    // Only the front half is drawn: the grey back never shows through.
    const Rgb centre = at(512, 384);
    EXPECT_FALSE(centre.r == 128 && centre.g == 128 && centre.b == 128);
    EXPECT_TRUE(glErrors().empty());
}

TEST_F(Upload, UploadingAgainReplacesReleaseFreesAndEmptyMeshesDrawNothing) {
    const GLuint buffers = countLive(isBuffer);
    const GLuint arrays = countLive(isVertexArray);
    const GLuint textures = countLive(isTexture);
    warmUpTextureUploads({{2, 2}, {kGlyphWidth, kGlyphHeight}});
    EXPECT_EQ(countLive(isTexture), textures) << "the warm-up left a texture behind";

    object.reset(generateSphere(new SphereObject(), 1.0f, 20, 20));  // no picture
    program = linkProgram(kVertexSource, kFragmentSource);
    // Two renderers list the same object; the second upload replaces the first set.
    uploadLikeARenderer();
    uploadLikeARenderer();
    EXPECT_EQ(countLive(isBuffer), buffers + 4);
    EXPECT_EQ(countLive(isVertexArray), arrays + 1);
    EXPECT_EQ(countLive(isTexture), textures + 1);
    drawOnce();
    const Rgb centre = at(512, 384);  // an empty texture samples black
    EXPECT_TRUE(centre.r == 0 && centre.g == 0 && centre.b == 0) << "sphere not drawn";

    releaseGpuObjects(object.get());
    EXPECT_EQ(countLive(isBuffer), buffers);
    EXPECT_EQ(countLive(isVertexArray), arrays);
    EXPECT_EQ(countLive(isTexture), textures);
    EXPECT_EQ(object->positionBuffer + object->indexBuffer + object->normalBuffer +
                  object->texture + object->vertexArray + object->texCoordBuffer,
              0u);

    // No indices, and a program without "normal": nothing is drawn, and nothing complains.
    glDeleteProgram(program);
    program = linkProgram(kVertexWithoutNormal, kPlainFragment);
    object->mesh->indices.clear();
    uploadLikeARenderer();
    drawOnce();
    expectColour(at(512, 384), Rgb{26, 26, 26}, "nothing drawn");
    EXPECT_TRUE(glErrors().empty());
}
