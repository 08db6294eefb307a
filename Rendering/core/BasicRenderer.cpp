#include "Rendering/core/BasicRenderer.h"

#include <algorithm>

#include "Rendering/core/Camera.h"
#include "Rendering/core/Culling.h"
#include "Rendering/core/ProgramCreator.h"
#include "Rendering/core/SceneObject.h"
#include "Rendering/core/ShaderCompiler.h"

namespace Rendering {

namespace {
constexpr GLsizeiptr kLightBlockSize = sizeof(LightBlock);
constexpr GLsizeiptr kMaterialBlockSize = sizeof(SceneObject::material);
// Beyond this distance a point light adds nothing to a surface: three deviations of the
// Gaussian falloff in lightGauss.frag, where about 1 % of the light would be left. The shader
// ignores lights farther than this from a fragment, and the renderer leaves out lights farther
// than this from every point of an object.
constexpr float kLightCutoff = 15.0f;
static_assert(kMaterialBlockSize == 36, "Material block must match the shader layout");

GLuint createUniformBuffer(GLuint bindingPoint, GLsizeiptr size) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, buffer);
    glBufferData(GL_UNIFORM_BUFFER, size, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    glBindBufferRange(GL_UNIFORM_BUFFER, bindingPoint, buffer, 0, size);
    return buffer;
}

// A program that lacks the block (or failed to link) has no index to bind; binding
// GL_INVALID_INDEX would only raise an error.
GLuint bindBlock(GLuint program, const char* name, GLuint bindingPoint) {
    GLuint index = glGetUniformBlockIndex(program, name);
    if (index != GL_INVALID_INDEX) glUniformBlockBinding(program, index, bindingPoint);
    return index;
}
}  // namespace

void BasicRenderer::init() {
    createProgram();
    for (SceneObject* object : objects) {
        if (!object) continue;
        uploadBuffers(object);
        createVertexArray(program, object);
        createTexture(texture, object, textureShare);
    }
    setupUniformBlocks();
    mvpLocation = glGetUniformLocation(program, "modelViewProjectionMatrix");
    world2modelLocation = glGetUniformLocation(program, "world2model");
    camPosLocation = glGetUniformLocation(program, "camPosWorldSpace");
    texLocation = glGetUniformLocation(program, "tex");
    lightCutoffLocation = glGetUniformLocation(program, "lightCutoff");
    lightCountLocation = glGetUniformLocation(program, "lightCount");
    lightIndexLocation = glGetUniformLocation(program, "lightIndex");
    if (lightCutoffLocation >= 0) {
        glUseProgram(program);
        glUniform1f(lightCutoffLocation, kLightCutoff);
        glUseProgram(0);
    }
    for (SceneObject* object : objects) {
        if (object) modelRadius(object);
    }
}

void BasicRenderer::createProgram() {
    ProgramCreator creator;
    for (ShaderCompiler* shader : shaders) {
        if (shader) creator.addShader(*shader);
    }
    program = creator.link();
}

void BasicRenderer::setupUniformBlocks() {
    lightBlockIndex = bindBlock(program, "Light", lightBindingPoint);
    lightBuffer = createUniformBuffer(lightBindingPoint, kLightBlockSize);
    materialBlockIndex = bindBlock(program, "Material", materialBindingPoint);
    materialBuffer = createUniformBuffer(materialBindingPoint, kMaterialBlockSize);
}

void BasicRenderer::draw() {
    updateLightBlock();
    glUseProgram(program);
    planDraws();
    lastDraw = {drawList.size(), 0};
    for (size_t k : drawOrder) {
        // Every object keeps its list index, and with it its texture unit, whatever the order.
        const size_t i = drawList[k];
        selectLights(objects[i]);
        drawObject(static_cast<int>(i), objects[i]);
    }
    glUseProgram(0);
}

void BasicRenderer::planDraws() {
    drawList.clear();
    drawSpheres.clear();
    for (size_t i = 0; i < objects.size(); ++i) {
        SceneObject* object = objects[i];
        if (!object || !object->visible) continue;
        if (skipUnseen && outsideView(object->modelViewProjection, modelRadius(object))) continue;
        drawList.push_back(i);
        drawSpheres.emplace_back(object->position, boundingRadius(object));
    }
    if (skipUnseen && camera) {
        nearToFar(drawSpheres, camera->eye, drawOrder);
    } else {
        drawOrder.resize(drawList.size());
        for (size_t k = 0; k < drawOrder.size(); ++k) drawOrder[k] = k;
    }
}

void BasicRenderer::selectLights(const SceneObject* object) {
    if (lightCountLocation < 0) return;
    LightList list;
    if (skipUnseen && lightBlock) {
        list = lightsReaching(*lightBlock, object->position, boundingRadius(object), kLightCutoff);
    } else {
        for (int i = 0; i < kLightOrbCount; ++i) list.index[i] = i;
        list.count = kLightOrbCount;
    }
    lastDraw.lights += static_cast<size_t>(list.count);
    glUniform1i(lightCountLocation, list.count);
    if (list.count > 0) glUniform1iv(lightIndexLocation, list.count, list.index.data());
}

float BasicRenderer::modelRadius(const SceneObject* object) {
    auto found = meshRadii.find(object);
    if (found == meshRadii.end()) found = meshRadii.emplace(object, meshRadius(object->mesh)).first;
    return found->second;
}

float BasicRenderer::boundingRadius(const SceneObject* object) {
    const glm::vec3 scale = glm::abs(object->scale);
    return modelRadius(object) * std::max(scale.x, std::max(scale.y, scale.z));
}

void BasicRenderer::updateLightBlock() {
    if (!lightBlock) return;
    for (int i = 0; i < kLightOrbCount; ++i) {
        LightEntry& entry = lightBlock->lights[i];
        // Missing lights stay dark: zero brightness makes the shaders skip them.
        if (static_cast<size_t>(i) >= lights.size() || !lights[i]) {
            entry = LightEntry{glm::vec4(0.0f), glm::vec4(0.0f), glm::vec4(0.0f)};
            continue;
        }
        const LightSource& light = *lights[i];
        entry.position = light.object ? glm::vec4(light.object->position, 1.0f) : light.position;
        entry.colorA = light.colorA;
        entry.colorB = light.colorB;
    }
    glBindBufferRange(GL_UNIFORM_BUFFER, lightBindingPoint, lightBuffer, 0, kLightBlockSize);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, kLightBlockSize, lightBlock);
}

void BasicRenderer::drawObject(int index, SceneObject* object) {
    if (camera) glUniform3fv(camPosLocation, 1, &camera->eye[0]);
    glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, &object->modelViewProjection[0][0]);
    glUniformMatrix4fv(world2modelLocation, 1, GL_FALSE, &object->worldToModel[0][0]);
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(index));
    glBindTexture(GL_TEXTURE_2D, object->texture);
    glUniform1i(texLocation, index);
    glBindVertexArray(object->vertexArray);
    glBindBufferRange(GL_UNIFORM_BUFFER, materialBindingPoint, materialBuffer, 0,
                      kMaterialBlockSize);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, kMaterialBlockSize, object->material);
    GLsizei count = object->mesh ? static_cast<GLsizei>(object->mesh->indices.size()) : 0;
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, nullptr);
    if (drawOneObjectAtATime) glFinish();
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
}

void BasicRenderer::releaseGpuObjects() {
    for (SceneObject* object : objects) {
        if (object) ::releaseGpuObjects(object);
    }
    if (lightBuffer) glDeleteBuffers(1, &lightBuffer);
    if (materialBuffer) glDeleteBuffers(1, &materialBuffer);
    if (program) glDeleteProgram(program);
    lightBuffer = 0;
    materialBuffer = 0;
    program = 0;
    texture = 0;
}

}  // namespace Rendering
