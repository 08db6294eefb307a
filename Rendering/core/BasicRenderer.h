#pragma once

#include <vector>

#include "infra/GL.h"

struct Camera;
struct LightBlock;
struct LightSource;
struct SceneObject;
struct ShaderCompiler;
class TextureShare;

namespace Rendering {

// Draws lit, textured scene objects with one program and the "Light"/"Material" blocks.
class BasicRenderer {
  public:
    BasicRenderer() = default;
    virtual ~BasicRenderer() = default;
    BasicRenderer(const BasicRenderer&) = delete;
    BasicRenderer& operator=(const BasicRenderer&) = delete;

    virtual void init();
    virtual void createProgram();

    void addObject(SceneObject* object) { objects.push_back(object); }
    void addShader(ShaderCompiler* shader) { shaders.push_back(shader); }
    void draw();
    void setupUniformBlocks();
    void updateLightBlock();
    void drawObject(int index, SceneObject* object);
    // Deletes the GL objects this renderer made (context must be current).
    void releaseGpuObjects();

    GLuint program = 0;
    std::vector<SceneObject*> objects;
    GLint mvpLocation = -1;
    GLint world2modelLocation = -1;
    GLint texLocation = -1;
    GLint camPosLocation = -1;
    GLuint lightBlockIndex = 0;
    GLuint lightBindingPoint = 0;
    GLuint materialBlockIndex = 0;
    GLuint materialBindingPoint = 1;
    // Working field of createTexture: the last texture it made or reused during init. The
    // objects keep their own; nothing reads this one afterwards.
    GLuint texture = 0;
    GLuint lightBuffer = 0;
    GLuint materialBuffer = 0;
    std::vector<ShaderCompiler*> shaders;
    std::vector<LightSource*> lights;
    LightBlock* lightBlock = nullptr;
    Camera* camera = nullptr;
    // When set, pictures already on the GPU (from another object or renderer) are reused.
    TextureShare* textureShare = nullptr;
};

}  // namespace Rendering
