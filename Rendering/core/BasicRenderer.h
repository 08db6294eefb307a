#pragma once

#include <glm/glm.hpp>
#include <map>
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
    // Radius around the model origin that holds the object's mesh (measured once per object),
    // and around its position in the world, scale included.
    float modelRadius(const SceneObject* object);
    float boundingRadius(const SceneObject* object);
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
    // Skip the work that cannot change a pixel: objects wholly outside the view and lights too
    // far from an object to reach it are left out. Off, every visible object is drawn with
    // every light: the straightforward way, which tests compare against.
    bool skipUnseen = true;
    // Opaque objects go near to far, so that the depth test spares the shading of what they
    // hide; off, in list order. Where two surfaces meet (planets passing through each other),
    // the pixels on the seam hold equal depths, and there whichever is drawn first stays: the
    // order may change those pixels, which is why it is a switch of its own.
    bool sortNearToFar = true;
    // What the last draw() drew: objects, and lights handed to them summed over the objects.
    struct DrawCounts {
        size_t objects = 0;
        size_t lights = 0;
    };
    DrawCounts lastDraw;
    GLint lightCutoffLocation = -1;
    GLint lightCountLocation = -1;
    GLint lightIndexLocation = -1;
    // Spheres' pictures are looked up by direction, other models' by their texture coordinates.
    GLint sphereMappedLocation = -1;

  private:
    // The objects to draw this frame, as indices into `objects`, in drawing order.
    void planDraws();
    // Hands the lit shader the lights that can reach the object (all of them with skipUnseen
    // off).
    void selectLights(const SceneObject* object);

    // Measured by modelRadius.
    std::map<const SceneObject*, float> meshRadii;
    std::vector<size_t> drawList;
    std::vector<glm::vec4> drawSpheres;
    std::vector<size_t> drawOrder;
};

}  // namespace Rendering
