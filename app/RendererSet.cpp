#include "app/RendererSet.h"

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/ShaderTable.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/scene/Scene.h"
#include "Rendering/scene/TextRenderer.h"
#include "infra/Assets.h"

namespace programs = Rendering::programs;

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
    for (const assets::File& file : assets::filesOf(assets::Kind::Shader)) {
        shaderFiles[file.name] = file.path;
    }
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

void RendererSet::connect(Rendering::BasicRenderer& renderer, Rendering::ShaderNames shaderNames) {
    for (const char* name : shaderNames) renderer.addShader(shader(name));
    renderer.lights.insert(renderer.lights.end(), scene->lights.begin(), scene->lights.end());
    renderer.camera = scene->camera;
    renderer.lightBlock = scene->lightBlock;
    renderer.textureShare = &textures;
    renderer.drawOneObjectAtATime = rasterisesInSoftware();
    renderer.init();
}

void RendererSet::warmUpUploads() {
    warmUpTextureUploads({{2, 2}, {kGlyphWidth, kGlyphHeight}});
}

void RendererSet::setupRenderers() {
    if (!scene) return;

    // 1. Sky renderer: the sky sphere alone.
    skyRenderer->addObject(scene->sky);
    connect(*skyRenderer, programs::sky);

    // 2. Lit renderer: alien, planets, light orbs; the list index is the texture unit.
    litRenderer->addObject(scene->alien);
    for (SceneObject* planet : scene->planets) litRenderer->addObject(planet);
    for (SceneObject* orb : scene->lightOrbs) litRenderer->addObject(orb);
    connect(*litRenderer, programs::lit);

    // 3. Glow renderer: planets, alien, light orbs and the whole scene; one list of shaders
    // for its four programs.
    for (SceneObject* planet : scene->planets) glowRenderer->addObject(planet);
    glowRenderer->addObject(scene->alien);
    for (SceneObject* orb : scene->lightOrbs) glowRenderer->addObject(orb);
    glowRenderer->scene = scene;
    connect(*glowRenderer, programs::glowRenderer);

    // 4. Text renderer: the scene's texts (by pointer) and font.
    textRenderer->texts = &scene->texts;
    textRenderer->setFont(scene->font);
    for (const char* name : programs::text) textRenderer->addShader(shader(name));
    textRenderer->init();
}

void RendererSet::skipUnseenWork(bool skip) {
    for (Rendering::BasicRenderer* renderer :
         {skyRenderer, litRenderer, static_cast<Rendering::BasicRenderer*>(glowRenderer)}) {
        renderer->skipUnseen = skip;
    }
}

void RendererSet::releaseGpuObjects() {
    skyRenderer->releaseGpuObjects();
    litRenderer->releaseGpuObjects();
    glowRenderer->releaseGpuObjects();
    textRenderer->releaseGpuObjects();
    textures.release();
    for (auto& entry : compiledShaders) entry.second->deleteShader();
}
