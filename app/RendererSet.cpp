#include "app/RendererSet.h"

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/scene/Scene.h"
#include "Rendering/scene/TextRenderer.h"

namespace {
struct ShaderFile {
    const char* name;
    const char* path;
};

// Every shader the renderers link, by the name they ask for it.
constexpr ShaderFile kShaderTable[] = {
    {"vertex", "shaders/basic.vert"},
    {"vertexBasic", "shaders/glowStep_1_2_3_4.vert"},
    {"vertexFont", "shaders/font.vert"},
    {"fragmentGlowOne", "shaders/glowStep_1.frag"},
    {"fragmentGlowTwo", "shaders/glowStep_2_3.frag"},
    {"fragmentGlowFour", "shaders/glowStep_4.frag"},
    {"fragmentShiny", "shaders/basic.frag"},
    {"fragmentSky", "shaders/sky.frag"},
    {"fragmentText", "shaders/font.frag"},
    {"lightGauss", "shaders/lightGauss.frag"},
    {"dofTwo", "shaders/dof.frag"},
};
}  // namespace

RendererSet::RendererSet() {
    transformer = new Rendering::BasicTransformer;
    skyRenderer = new Rendering::BasicRenderer;
    litRenderer = new Rendering::BasicRenderer;
    glowRenderer = new Rendering::GlowRenderer;
    textRenderer = new Rendering::TextRenderer;
}

RendererSet::~RendererSet() {
    delete skyRenderer;
    delete litRenderer;
    delete transformer;
    delete glowRenderer;
    delete textRenderer;
    for (auto& entry : compiledShaders) delete entry.second;
}

void RendererSet::registerScene() {
    if (!scene) return;
    transformer->addObject(scene->sky);
    transformer->addObject(scene->alien);
    transformer->addObjects(scene->planets);
    transformer->addObjects(scene->lightOrbs);
    transformer->setCamera(scene->camera);
}

void RendererSet::fillShaderTable() {
    for (const ShaderFile& file : kShaderTable) shaderFiles[file.name] = file.path;
}

GLenum RendererSet::shaderTypeForPath(const std::string& path) {
    return path.find(".vert") != std::string::npos ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER;
}

void RendererSet::loadShaders() {
    fillShaderTable();
    for (const auto& entry : shaderFiles) {
        // The compiler keeps a reference to the path held in the map entry.
        auto* compiler = new ShaderCompiler(entry.second, shaderTypeForPath(entry.second));
        compiler->compile();
        ShaderCompiler*& slot = compiledShaders[entry.first];
        delete slot;
        slot = compiler;
    }
}

ShaderCompiler* RendererSet::shader(const std::string& name) const {
    auto found = compiledShaders.find(name);
    return found != compiledShaders.end() ? found->second : nullptr;
}

void RendererSet::setupRenderers() {
    if (!scene) return;

    // 1. Sky renderer: the sky sphere alone.
    skyRenderer->addObject(scene->sky);
    skyRenderer->addShader(shader("vertex"));
    skyRenderer->addShader(shader("fragmentSky"));
    skyRenderer->lights.insert(skyRenderer->lights.end(), scene->lights.begin(),
                               scene->lights.end());
    skyRenderer->camera = scene->camera;
    skyRenderer->lightBlock = scene->lightBlock;
    skyRenderer->textureShare = &textures;
    skyRenderer->init();

    // 2. Lit renderer: alien, planets, light orbs; the list index is the texture unit.
    litRenderer->addObject(scene->alien);
    for (SceneObject* planet : scene->planets) litRenderer->addObject(planet);
    for (SceneObject* orb : scene->lightOrbs) litRenderer->addObject(orb);
    litRenderer->addShader(shader("vertex"));
    litRenderer->addShader(shader("fragmentShiny"));
    litRenderer->addShader(shader("lightGauss"));
    litRenderer->lights.insert(litRenderer->lights.end(), scene->lights.begin(),
                               scene->lights.end());
    litRenderer->camera = scene->camera;
    litRenderer->lightBlock = scene->lightBlock;
    litRenderer->textureShare = &textures;
    litRenderer->init();

    // 3. Glow renderer: planets, alien, light orbs; the whole scene; the shaders "vertex",
    // "fragmentGlowOne", "vertexBasic", "fragmentGlowTwo", "fragmentGlowFour", "lightGauss",
    // "dofTwo" in that order; lights, light block, camera; then its own init.
    for (SceneObject* planet : scene->planets) glowRenderer->addObject(planet);
    glowRenderer->addObject(scene->alien);
    for (SceneObject* orb : scene->lightOrbs) glowRenderer->addObject(orb);
    glowRenderer->scene = scene;
    for (const char* name : {"vertex", "fragmentGlowOne", "vertexBasic", "fragmentGlowTwo",
                             "fragmentGlowFour", "lightGauss", "dofTwo"}) {
        glowRenderer->addShader(shader(name));
    }
    glowRenderer->lights.insert(glowRenderer->lights.end(), scene->lights.begin(),
                                scene->lights.end());
    glowRenderer->lightBlock = scene->lightBlock;
    glowRenderer->camera = scene->camera;
    glowRenderer->textureShare = &textures;
    glowRenderer->init();

    // 4. Text renderer: the scene's texts (by pointer) and font; "vertexFont", "fragmentText".
    textRenderer->texts = &scene->texts;
    textRenderer->setFont(scene->font);
    textRenderer->addShader(shader("vertexFont"));
    textRenderer->addShader(shader("fragmentText"));
    textRenderer->init();
}

void RendererSet::releaseGpuObjects() {
    skyRenderer->releaseGpuObjects();
    litRenderer->releaseGpuObjects();
    glowRenderer->releaseGpuObjects();
    textRenderer->releaseGpuObjects();
    textures.release();
    for (auto& entry : compiledShaders) {
        if (entry.second->shaderId) glDeleteShader(entry.second->shaderId);
        entry.second->shaderId = 0;
    }
}
