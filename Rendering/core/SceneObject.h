#pragma once

#include <cstdint>
#include <glm/glm.hpp>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "Model/Mesh.h"
#include "infra/GL.h"

// One placed drawable with its orientation, material and GPU handles.
struct SceneObject {
    virtual ~SceneObject() = default;

    GLuint positionBuffer = 0;
    GLuint indexBuffer = 0;
    // Two kinds of GL name in turn: after uploadBuffers the texture-coordinate BUFFER, after
    // createTexture the TEXTURE made from the mesh's picture (the buffer then moves on to
    // texCoordBuffer). Use texCoordBufferOf() for the buffer at either time.
    GLuint texture = 0;
    GLuint normalBuffer = 0;
    GLuint vertexArray = 0;
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    glm::vec3 forward{0.0f, 0.0f, 1.0f};
    glm::vec3 right{1.0f, 0.0f, 0.0f};
    glm::vec3 position{0.0f};
    glm::vec3 scale{1.0f};
    Mesh* mesh = nullptr;
    glm::mat4 modelViewProjection{1.0f};
    glm::mat4 worldToModel{1.0f};
    // Contents of the "Material" block: diffuse rgba, specular rgba, own glow.
    float material[9] = {};
    bool visible = true;
    // The texture-coordinate buffer once createTexture has taken over `texture`; 0 before.
    GLuint texCoordBuffer = 0;
    // Set when `texture` belongs to a TextureShare, which deletes it; the object only uses it.
    bool textureShared = false;
};

// A generated sphere; it owns its mesh.
struct SphereObject : SceneObject {
    ~SphereObject() override;
    float radius = 0.0f;
};

struct LightSource {
    glm::vec4 position{0.0f};
    SceneObject* object = nullptr;  // when set, the light sits on this object
    glm::vec4 colorA{0.0f};
    glm::vec4 colorB{0.0f};
};

// The light orbs of the scene, each carrying one point light: the one home of their number. The
// "Light" block and the shaders' light arrays are sized from it (the shader compiler defines
// LIGHT_COUNT), the game counts the orbs by it, and the build reads it from this line for the
// texts that name it.
constexpr int kLightOrbCount = 8;

// CPU copy of the "Light" uniform block (std140): the header, then one entry per light.
struct LightEntry {
    glm::vec4 position;
    glm::vec4 colorA;
    glm::vec4 colorB;
};
struct LightBlock {
    // The scene's ambient light ("ambientLight" in the shaders): rgb its colour, w its strength,
    // the brightness of the whole scene, which the end of the game lowers.
    glm::vec4 header{0.0f};
    LightEntry lights[kLightOrbCount] = {};

    float& sceneBrightness() { return header.w; }
    float sceneBrightness() const { return header.w; }
};
static_assert(sizeof(LightBlock) == sizeof(glm::vec4) * (1 + 3 * kLightOrbCount),
              "Light block must match the std140 shader layout");

// Textures of the pictures several objects show, or several renderers draw: each picture is
// uploaded (and its mipmaps made) once, and every later object with the same pixels gets the
// same texture. Owns those textures.
class TextureShare {
  public:
    TextureShare() = default;
    ~TextureShare() = default;
    TextureShare(const TextureShare&) = delete;
    TextureShare& operator=(const TextureShare&) = delete;

    // The texture made earlier from exactly these pixels at this size, or 0.
    GLuint find(const unsigned char* pixels, uint32_t width, uint32_t height) const;
    void add(const unsigned char* pixels, uint32_t width, uint32_t height, GLuint texture);
    size_t size() const { return textures.size(); }
    // Deletes every texture (context must be current).
    void release();

  private:
    using Key = std::pair<const unsigned char*, std::pair<uint32_t, uint32_t>>;
    std::map<Key, GLuint> textures;
};

// The texture-coordinate buffer of an uploaded object, before or after createTexture.
GLuint texCoordBufferOf(const SceneObject* object);

// Resets every field of a scene object to its start value.
SceneObject* initSceneObject(SceneObject* object);
// GPU upload; a current GL context is required.
void uploadBuffers(SceneObject* object);
void createVertexArray(GLuint program, SceneObject* object);
// `textureName` is the renderer's working texture field; it is overwritten. With a share, a
// picture that is already on the GPU is not uploaded again: its texture is reused.
void createTexture(GLuint& textureName, SceneObject* object, TextureShare* share = nullptr);
// Uploads and deletes a tiny picture of each of the given shapes (width, height) the game uploads.
// The driver builds its mipmap generator for each shape on first use, which costs more than all the
// real uploads; done early, that overlaps the pictures' decoding.
void warmUpTextureUploads(std::initializer_list<std::pair<uint32_t, uint32_t>> shapes);
// A vertex array over one buffer of (x, y, z, w) vertices fed to `positionLocation` (skipped
// when negative); leaves no buffer or array bound. Renderers use it for their fixed quads.
void createQuad(const float* vertices, GLsizeiptr bytes, GLint positionLocation, GLuint& buffer,
                GLuint& vertexArray);
// Releases the object's buffers, vertex array and texture and zeroes their fields (context
// must be current). uploadBuffers does this itself for an object that is uploaded again.
void releaseGpuObjects(SceneObject* object);
