#pragma once

#include <map>
#include <string>

#include "Rendering/core/ShaderTable.h"
#include "Rendering/scene/SceneryCreator.h"
#include "infra/GL.h"

struct Scene;
struct ShaderCompiler;

namespace Rendering {
class BasicRenderer;
class BasicTransformer;
class GlowRenderer;
class TextRenderer;
}  // namespace Rendering

// The drawing side of the game: renderers, transformer and the shaders they are built from.
struct RendererSet {
    RendererSet();
    ~RendererSet();
    RendererSet(const RendererSet&) = delete;
    RendererSet& operator=(const RendererSet&) = delete;

    // Hands the scene's objects, in drawing order, and its camera to the transformer.
    void registerScene();
    // Lets the driver prepare for the texture uploads ahead of them (a current context only).
    void warmUpUploads();
    // Fills the shader table and compiles every shader once, in name order.
    void loadShaders();
    // Gives every renderer its objects, shaders, lights and camera, and initialises it.
    void setupRenderers();
    // Deletes the GL objects of the renderers and shaders; the context must still be current.
    void releaseGpuObjects();
    // On (the default), the renderers leave out work that cannot change a pixel and draw near to
    // far; off, they draw every visible object with every light, in list order, the sky first:
    // the game as it was drawn before, which the benchmark compares to.
    void skipUnseenWork(bool skip);

    // The table step of loadShaders: the shader names and their files from the asset manifest,
    // compiled nothing yet.
    void fillShaderTable();
    // Vertex shader for any path that mentions ".vert", fragment shader otherwise.
    static GLenum shaderTypeForPath(const std::string& path);

    Rendering::BasicRenderer* skyRenderer = nullptr;
    Rendering::BasicRenderer* litRenderer = nullptr;
    Rendering::GlowRenderer* glowRenderer = nullptr;
    Rendering::TextRenderer* textRenderer = nullptr;
    Rendering::BasicTransformer* transformer = nullptr;
    Scene* scene = nullptr;
    // Paths are referenced by the compilers, so entries must stay put once compiled.
    std::map<std::string, std::string> shaderFiles;
    std::map<std::string, ShaderCompiler*> compiledShaders;
    // The renderers draw the same pictures: each is uploaded once, for all of them.
    TextureShare textures;

  private:
    ShaderCompiler* shader(const std::string& name) const;
    // The shaders in order, the scene's lights, camera, light block and shared textures; then
    // the renderer's own init.
    void connect(Rendering::BasicRenderer& renderer, Rendering::ShaderNames shaderNames);
};
