#include "Rendering/core/SceneObject.h"

#include <utility>
#include <vector>

SphereObject::~SphereObject() {
    delete mesh;
}

SceneObject* initSceneObject(SceneObject* object) {
    object->positionBuffer = 0;
    object->indexBuffer = 0;
    object->texture = 0;
    object->normalBuffer = 0;
    object->vertexArray = 0;
    object->up = glm::vec3(0.0f, 1.0f, 0.0f);
    object->forward = glm::vec3(0.0f, 0.0f, 1.0f);
    object->right = glm::vec3(1.0f, 0.0f, 0.0f);
    object->position = glm::vec3(0.0f);
    object->scale = glm::vec3(1.0f);
    object->mesh = nullptr;
    object->modelViewProjection = glm::mat4(1.0f);
    object->worldToModel = glm::mat4(1.0f);
    for (float& value : object->material) value = 0.0f;
    object->visible = true;
    object->texCoordBuffer = 0;
    object->textureShared = false;
    return object;
}

namespace {

template <typename T>
GLuint createArrayBuffer(const std::vector<T>& values) {
    static_assert(sizeof(T) == 4, "the GPU layout is 32-bit floats and indices");
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size() * 4), values.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return buffer;
}

bool hasGpuObjects(const SceneObject* object) {
    return object->positionBuffer != 0 || object->indexBuffer != 0 || object->texture != 0 ||
           object->normalBuffer != 0 || object->vertexArray != 0 || object->texCoordBuffer != 0;
}

// A program that does not use an attribute reports location -1; enabling that would be a GL
// error, and the attribute has nothing to read anyway.
void attachAttribute(GLuint program, const char* name, GLuint buffer, GLint size) {
    const GLint location = glGetAttribLocation(program, name);
    if (location < 0) return;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_TRUE, 0, nullptr);
}

}  // namespace

GLuint texCoordBufferOf(const SceneObject* object) {
    // It waits in `texture` until createTexture moves it aside.
    return object->texCoordBuffer != 0 ? object->texCoordBuffer : object->texture;
}

void uploadBuffers(SceneObject* object) {
    // Several renderers upload the same object and each upload replaces the handles in it.
    // Nobody else holds the replaced set, so it is freed here; then releasing the last set at
    // shutdown leaves nothing behind.
    if (hasGpuObjects(object)) releaseGpuObjects(object);

    const Mesh& mesh = *object->mesh;
    const GLuint positions = createArrayBuffer(mesh.positions);
    const GLuint texCoords = createArrayBuffer(mesh.texCoords);
    const GLuint normals = createArrayBuffer(mesh.normals);
    // Filled through the array target; it becomes the element array only inside the VAO.
    const GLuint indices = createArrayBuffer(mesh.indices);

    object->positionBuffer = positions;
    object->indexBuffer = indices;
    object->texture = texCoords;  // until createTexture puts the texture there
    object->normalBuffer = normals;
}

void createVertexArray(GLuint program, SceneObject* object) {
    if (object->vertexArray != 0) glDeleteVertexArrays(1, &object->vertexArray);

    GLuint vertexArray = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    attachAttribute(program, "position", object->positionBuffer, 4);
    attachAttribute(program, "normal", object->normalBuffer, 3);
    attachAttribute(program, "texIn", texCoordBufferOf(object), 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, object->indexBuffer);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    object->vertexArray = vertexArray;
}

namespace {

bool hasPicture(const Mesh& mesh) {
    return mesh.pixels != nullptr && mesh.imageWidth > 0 && mesh.imageHeight > 0;
}

void uploadPicture(GLuint& textureName, const Mesh& mesh) {
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

    // Without a picture the texture stays empty (0 x 0); nothing is read.
    const bool picture = hasPicture(mesh);
    const GLsizei width = picture ? static_cast<GLsizei>(mesh.imageWidth) : 0;
    const GLsizei height = picture ? static_cast<GLsizei>(mesh.imageHeight) : 0;

    // Decoded rows are padded to four bytes; make sure GL expects exactly that, whatever
    // alignment other code left behind.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_BGR, GL_UNSIGNED_BYTE,
                 picture ? mesh.pixels : nullptr);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

}  // namespace

void warmUpTextureUploads(std::initializer_list<std::pair<uint32_t, uint32_t>> shapes) {
    for (const auto& [width, height] : shapes) {
        std::vector<unsigned char> pixels(size_t{(width * 3 + 3) / 4 * 4} * height, 0);
        Mesh picture;
        picture.pixels = pixels.data();
        picture.imageWidth = width;
        picture.imageHeight = height;
        GLuint texture = 0;
        uploadPicture(texture, picture);
        glDeleteTextures(1, &texture);
    }
}

GLuint TextureShare::find(const unsigned char* pixels, uint32_t width, uint32_t height) const {
    auto found = textures.find({pixels, {width, height}});
    return found != textures.end() ? found->second : 0;
}

void TextureShare::add(const unsigned char* pixels, uint32_t width, uint32_t height,
                       GLuint texture) {
    textures[{pixels, {width, height}}] = texture;
}

void TextureShare::release() {
    for (const auto& entry : textures) glDeleteTextures(1, &entry.second);
    textures.clear();
}

void createTexture(GLuint& textureName, SceneObject* object, TextureShare* share) {
    const Mesh& mesh = *object->mesh;
    // Pictureless objects each keep their own empty texture: there is nothing to save.
    const bool shared = share != nullptr && hasPicture(mesh);
    const GLuint existing =
        shared ? share->find(mesh.pixels, mesh.imageWidth, mesh.imageHeight) : 0;
    if (existing != 0) {
        textureName = existing;
    } else {
        uploadPicture(textureName, mesh);
        if (shared) share->add(mesh.pixels, mesh.imageWidth, mesh.imageHeight, textureName);
    }

    if (object->texCoordBuffer == 0) {
        object->texCoordBuffer = object->texture;  // the buffer uploadBuffers left there
    } else if (object->texture != 0 && !object->textureShared) {
        glDeleteTextures(1, &object->texture);  // an earlier texture of this upload
    }
    object->texture = textureName;
    object->textureShared = shared;
}

void createQuad(const float* vertices, GLsizeiptr bytes, GLint positionLocation, GLuint& buffer,
                GLuint& vertexArray) {
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, bytes, vertices, GL_STATIC_DRAW);
    if (positionLocation >= 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(positionLocation));
        glVertexAttribPointer(static_cast<GLuint>(positionLocation), 4, GL_FLOAT, GL_FALSE, 0,
                              nullptr);
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void releaseGpuObjects(SceneObject* object) {
    if (!hasGpuObjects(object)) return;
    const GLuint buffers[] = {object->positionBuffer, object->indexBuffer, object->normalBuffer,
                              texCoordBufferOf(object)};
    glDeleteBuffers(4, buffers);  // zero names are ignored
    if (object->texCoordBuffer != 0 && object->texture != 0 && !object->textureShared) {
        glDeleteTextures(1, &object->texture);
    }
    if (object->vertexArray != 0) glDeleteVertexArrays(1, &object->vertexArray);
    object->positionBuffer = 0;
    object->indexBuffer = 0;
    object->texture = 0;
    object->normalBuffer = 0;
    object->vertexArray = 0;
    object->texCoordBuffer = 0;
    object->textureShared = false;
}
