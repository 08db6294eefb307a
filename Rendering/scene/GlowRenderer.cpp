#include "Rendering/scene/GlowRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "Rendering/core/Camera.h"
#include "Rendering/core/Culling.h"
#include "Rendering/core/DebugGroup.h"
#include "Rendering/core/ProgramCreator.h"
#include "Rendering/core/RenderTargets.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/scene/SceneryCreator.h"

namespace Rendering {

namespace {

// Texture units the passes read their inputs on. Every pass binds its inputs just before it
// draws and unbinds them after, so these units may be ones the scene objects use as well
// (those take 0 to 16): the blur passes' units lie above them, the composite's among them.
constexpr int kGlowFirstUnit = 20;
constexpr int kGlowSecondUnit = 21;
constexpr int kDofUnit = 27;
constexpr int kCompositeSceneUnit = 10;
constexpr int kCompositeGlowUnit = 11;
constexpr int kCompositeDofUnit = 12;

// Colour attachments of the offscreen framebuffer, one per target.
constexpr GLenum kSceneAttachment = GL_COLOR_ATTACHMENT1;
constexpr GLenum kDofSourceAttachment = GL_COLOR_ATTACHMENT2;
constexpr GLenum kDofPassAttachment = GL_COLOR_ATTACHMENT3;
constexpr GLenum kGlowPassAttachment = GL_COLOR_ATTACHMENT4;
constexpr GLenum kGlowResultAttachment = GL_COLOR_ATTACHMENT5;
constexpr GLenum kDofResultAttachment = GL_COLOR_ATTACHMENT6;

// How far, in pixels, each blur reaches beyond what it blurs (kernels of dof.frag and
// glowStep_2_3.frag, plus a pixel for linear filtering).
constexpr int kDofReach = 7;
constexpr int kGlowReach = 14;

constexpr std::array<float, 24> kFullScreenQuad = {
    -1.0f, -1.0f, 0.0f, 1.0f, 1.0f,  -1.0f, 0.0f, 1.0f, 1.0f,  1.0f,  0.0f, 1.0f,
    1.0f,  1.0f,  0.0f, 1.0f, -1.0f, 1.0f,  0.0f, 1.0f, -1.0f, -1.0f, 0.0f, 1.0f};

void attach(GLenum attachment, GLuint texture) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture, 0);
}

void bindTextureUnit(int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}

void scissor(const PixelRect& r) {
    glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
}

void setEnabled(GLenum capability, GLboolean enabled) {
    if (enabled) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// The context state the passes change, captured before the first and put back after the last,
// so that the frame loop and the other renderers never see it. Left out is what is set before
// every use anyway: the offscreen framebuffer's own draw buffers and attachments, uniform-buffer
// ranges, and the 2D textures of units other than the active one (each pass unbinds its own).
struct SavedGLState {
    GLint drawFramebuffer = 0, readFramebuffer = 0, renderbuffer = 0;
    GLint program = 0, vertexArray = 0, activeTexture = GL_TEXTURE0, texture = 0;
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    GLint scissorBox[4] = {};
    GLint blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLint blendSourceAlpha = GL_ONE, blendDestinationAlpha = GL_ZERO;
    GLfloat clearColour[4] = {};
    // Of draw buffer 1: the clear narrows it to alpha.
    GLboolean colourMask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    GLboolean depthTest = GL_FALSE, scissorTest = GL_FALSE, blend = GL_FALSE;

    static SavedGLState capture() {
        SavedGLState saved;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &saved.drawFramebuffer);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &saved.readFramebuffer);
        glGetIntegerv(GL_RENDERBUFFER_BINDING, &saved.renderbuffer);
        glGetIntegerv(GL_CURRENT_PROGRAM, &saved.program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &saved.vertexArray);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &saved.activeTexture);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &saved.texture);
        glGetIntegerv(GL_POLYGON_MODE, saved.polygonMode);
        glGetIntegerv(GL_SCISSOR_BOX, saved.scissorBox);
        glGetIntegerv(GL_BLEND_SRC_RGB, &saved.blendSource);
        glGetIntegerv(GL_BLEND_DST_RGB, &saved.blendDestination);
        glGetIntegerv(GL_BLEND_SRC_ALPHA, &saved.blendSourceAlpha);
        glGetIntegerv(GL_BLEND_DST_ALPHA, &saved.blendDestinationAlpha);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, saved.clearColour);
        glGetBooleani_v(GL_COLOR_WRITEMASK, 1, saved.colourMask);
        saved.depthTest = glIsEnabled(GL_DEPTH_TEST);
        saved.scissorTest = glIsEnabled(GL_SCISSOR_TEST);
        saved.blend = glIsEnabled(GL_BLEND);
        return saved;
    }

    void restore() const {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
        glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(renderbuffer));
        glUseProgram(static_cast<GLuint>(program));
        glBindVertexArray(static_cast<GLuint>(vertexArray));
        glActiveTexture(static_cast<GLenum>(activeTexture));
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        // The game sets both faces alike (F2), and the core profile knows no other way.
        glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
        glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
        glBlendFuncSeparate(static_cast<GLenum>(blendSource), static_cast<GLenum>(blendDestination),
                            static_cast<GLenum>(blendSourceAlpha),
                            static_cast<GLenum>(blendDestinationAlpha));
        glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
        glColorMaski(1, colourMask[0], colourMask[1], colourMask[2], colourMask[3]);
        setEnabled(GL_DEPTH_TEST, depthTest);
        setEnabled(GL_SCISSOR_TEST, scissorTest);
        setEnabled(GL_BLEND, blend);
    }
};

}  // namespace

void GlowRenderer::createProgram() {
    // Each program takes its members from the handed list by name.
    scenePassProgram = linkProgram(shaders, programs::glowRenderer, programs::glowScene);
    glowBlurProgram = linkProgram(shaders, programs::glowRenderer, programs::glowBlur);
    compositeProgram = linkProgram(shaders, programs::glowRenderer, programs::glowComposite);
    dofBlurProgram = linkProgram(shaders, programs::glowRenderer, programs::dofBlur);
    shouldDiscardLocation = glGetUniformLocation(scenePassProgram, "shouldDiscard");
}

void GlowRenderer::setFramebufferSize(int newWidth, int newHeight) {
    requestedWidth = newWidth;
    requestedHeight = newHeight;
}

std::array<GlowRenderer::Target, GlowRenderer::kColourTargets> GlowRenderer::targets() {
    return {{{&sceneTarget, kSceneAttachment},
             {&dofSourceTarget, kDofSourceAttachment},
             {&dofPassTarget, kDofPassAttachment},
             {&dofResultTarget, kDofResultAttachment},
             {&glowPassTarget, kGlowPassAttachment},
             {&glowResultTarget, kGlowResultAttachment}}};
}

// Each blur runs across (direction 1) from its source, then up (direction 0) from the first
// pass's result, and only inside its own rectangles.
std::array<GlowRenderer::BlurPass, 4> GlowRenderer::blurPasses() const {
    return {{{"dof-x", dofBlurProgram, dofBlurDirectionLocation, dofTextureLocation, 1,
              dofSourceTarget, kDofUnit, kDofPassAttachment, &dofRects},
             {"dof-y", dofBlurProgram, dofBlurDirectionLocation, dofTextureLocation, 0,
              dofPassTarget, kDofUnit, kDofResultAttachment, &dofRects},
             {"glow-x", glowBlurProgram, blurDirectionLocation, glowTextureLocation, 1, sceneTarget,
              kGlowFirstUnit, kGlowPassAttachment, &glowRects},
             {"glow-y", glowBlurProgram, blurDirectionLocation, glowTextureLocation, 0,
              glowPassTarget, kGlowSecondUnit, kGlowResultAttachment, &glowRects}}};
}

void GlowRenderer::allocateTargets() {
    for (const Target& target : targets()) {
        glBindTexture(GL_TEXTURE_2D, *target.texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    allocatedWidth = width;
    allocatedHeight = height;
}

void GlowRenderer::init() {
    createProgram();
    createTargets();
    uploadObjects();
    // The base renderer's block set-up and drawObject work on `program`.
    program = scenePassProgram;
    setupUniformBlocks();
    lookUpUniforms();
    // All three pass programs share one vertex shader that fixes "position" at location 0.
    const GLint positionLocation = glGetAttribLocation(compositeProgram, "position");
    createQuad(kFullScreenQuad.data(), sizeof(kFullScreenQuad), positionLocation, quadBuffer,
               quadVertexArray);
}

void GlowRenderer::createTargets() {
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    for (const Target& target : targets()) {
        glGenTextures(1, target.texture);
        glBindTexture(GL_TEXTURE_2D, *target.texture);
        // Without these the default minifying filter asks for mipmaps the targets never get,
        // and every pass would sample an incomplete texture as black.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glGenRenderbuffers(1, &depthBuffer);
    allocateTargets();
    attachTargets();
    framebufferComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!framebufferComplete) std::cout << "FOOOOOOOOOOOOOOOOOOOOOOOO" << std::flush;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GlowRenderer::uploadObjects() {
    for (SceneObject* object : objects) {
        if (!object) continue;
        uploadBuffers(object);
        createVertexArray(scenePassProgram, object);
        createTexture(texture, object, textureShare);
        modelRadius(object);
    }
}

void GlowRenderer::lookUpUniforms() {
    mvpLocation = glGetUniformLocation(scenePassProgram, "modelViewProjectionMatrix");
    world2modelLocation = glGetUniformLocation(scenePassProgram, "world2model");
    camPosLocation = glGetUniformLocation(scenePassProgram, "camPosWorldSpace");
    texLocation = glGetUniformLocation(scenePassProgram, "tex");
    depthLayerLocation = glGetUniformLocation(scenePassProgram, "depthLayer");
    glowStrengthLocation = glGetUniformLocation(scenePassProgram, "glowStrength");
    glowTextureLocation = glGetUniformLocation(glowBlurProgram, "glowTexture");
    blurDirectionLocation = glGetUniformLocation(glowBlurProgram, "blurDirection");
    dofTextureLocation = glGetUniformLocation(dofBlurProgram, "dofTexture");
    dofBlurDirectionLocation = glGetUniformLocation(dofBlurProgram, "blurDirection");
    compositeTexLocation = glGetUniformLocation(compositeProgram, "tex1");
    compositeGlowLocation = glGetUniformLocation(compositeProgram, "tex2");
    tex3Location = glGetUniformLocation(compositeProgram, "tex3");
}

float GlowRenderer::orbBrightness(const SceneObject* orb) const {
    for (const LightSource* light : lights) {
        if (light && light->object == orb) return light->colorA.w;
    }
    return 1.0f;
}

void GlowRenderer::considerObject(SceneObject* object, bool isOrb, const glm::mat4& view,
                                  const glm::mat4& projection, float focus) {
    if (!object || !object->visible) return;
    const float radius = boundingRadius(object);
    const float depth = (view * glm::vec4(object->position, 1.0f)).z;
    auto region = [&](int reach) {
        if (!skipUnseen) return PixelRect{0, 0, width, height};
        return sphereBounds(view, projection, camera->nearPlane, object->position, radius, width,
                            height, reach);
    };
    if (isOrb && orbBrightness(object) > 0.0f) {
        const PixelRect r = region(kGlowReach);
        if (!r.empty()) glowRects.push_back(r);
    }
    if (largestBlur(depth, radius, focus) >= kMinBlur) {
        const PixelRect r = region(kDofReach);
        if (!r.empty()) dofRects.push_back(r);
    }
}

bool GlowRenderer::findRegions() {
    dofRects.clear();
    glowRects.clear();
    compositeRects.clear();
    if (!scene || !camera) return false;
    const glm::mat4& view = camera->view;
    const glm::mat4 projection = glm::perspective(glm::radians(camera->fovy), camera->aspect,
                                                  camera->nearPlane, camera->farPlane);
    focusDepth = scene->alien ? (view * glm::vec4(scene->alien->position, 1.0f)).z : 0.0f;
    considerObject(scene->alien, false, view, projection, focusDepth);
    for (SceneObject* planet : scene->planets) {
        considerObject(planet, false, view, projection, focusDepth);
    }
    for (SceneObject* orb : scene->lightOrbs)
        considerObject(orb, true, view, projection, focusDepth);
    mergeOverlapping(dofRects);
    mergeOverlapping(glowRects);
    compositeRects.insert(compositeRects.end(), dofRects.begin(), dofRects.end());
    compositeRects.insert(compositeRects.end(), glowRects.begin(), glowRects.end());
    mergeOverlapping(compositeRects);
    return !compositeRects.empty();
}

bool GlowRenderer::takeFramebufferSize() {
    if (requestedWidth <= 0 || requestedHeight <= 0) return false;
    const glm::ivec2 size = fitRenderTarget({requestedWidth, requestedHeight});
    width = size.x;
    height = size.y;
    return true;
}

void GlowRenderer::draw() {
    // A minimised window has nothing to show; the targets keep their last size.
    if (!takeFramebufferSize()) return;
    // What the frame loop relies on after this step, whether anything glows or not.
    glViewport(0, 0, width, height);
    glEnable(GL_DEPTH_TEST);
    // Nothing glows and everything is in focus: the window already shows the final picture.
    if (!findRegions()) return;

    const SavedGLState saved = SavedGLState::capture();
    if (width != allocatedWidth || height != allocatedHeight) allocateTargets();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    // The passes detach what they have written so that the next pass may read it.
    attachTargets();
    labelled("copy+clear", [this] { copyAndClear(); });
    labelled("scene", [this] { scenePass(); });
    // Wireframe (F2) is for the scene; the screen-filling passes must still cover their pixels.
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBindVertexArray(quadVertexArray);
    for (const BlurPass& pass : blurPasses()) labelled(pass.name, [&] { blurPass(pass); });
    labelled("composite", [this] { compositePass(); });
    saved.restore();
}

void GlowRenderer::attachTargets() {
    for (const Target& target : targets()) attach(target.attachment, *target.texture);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
}

void GlowRenderer::copyAndClear() {
    copyWindow();
    // Outside this frame's regions every target reads as zero: nothing to add there. The
    // depth-of-field source keeps the copied colours; only its weights start at zero. No pass
    // reads further than a blur's reach beyond the regions, so clearing more would only cost
    // (seven full-screen targets written every frame).
    glEnable(GL_SCISSOR_TEST);
    scissor(widen(regionBounds(), kGlowReach, width, height));
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    std::array<GLenum, kColourTargets> all{};
    const std::array<Target, kColourTargets> list = targets();
    for (size_t i = 0; i < list.size(); ++i) all[i] = list[i].attachment;
    glDrawBuffers(static_cast<GLsizei>(all.size()), all.data());
    // Draw buffer 1, here and in the scene pass, is the depth-of-field source.
    glColorMaski(1, GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlowRenderer::copyWindow() {
    // The softened picture is made from exactly what the other renderers drew; a scissor
    // would cut the copy.
    glDisable(GL_SCISSOR_TEST);
    if (dofRects.empty()) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glDrawBuffer(kDofSourceAttachment);
    for (const PixelRect& r : dofRects) {
        glBlitFramebuffer(r.x0, r.y0, r.x1, r.y1, r.x0, r.y0, r.x1, r.y1, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

PixelRect GlowRenderer::regionBounds() const {
    PixelRect bounds = compositeRects.front();
    for (const PixelRect& r : compositeRects) bounds = unite(bounds, r);
    return bounds;
}

void GlowRenderer::scenePass() {
    glEnable(GL_DEPTH_TEST);
    scissor(regionBounds());

    // The colour mask set for the clear stays until draw() restores it: only the blur weight
    // goes into the depth-of-field source, its colour is the window's.
    const GLenum outputs[2] = {kSceneAttachment, kDofSourceAttachment};
    glDrawBuffers(2, outputs);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);

    program = scenePassProgram;
    updateLightBlock();
    glUseProgram(scenePassProgram);
    glUniform4f(depthLayerLocation, kFocusFarRange, focusDepth, kFocusNearRange, kFocusCurve);

    // Only what reaches into the scissor rectangle can write a pixel.
    const PixelRect bounds = regionBounds();
    const ScreenArea area = pixelArea(bounds.x0, bounds.y0, bounds.x1, bounds.y1, width, height);
    auto drawn = [&](SceneObject* object) {
        return object && object->visible &&
               !(skipUnseen && outsideView(object->modelViewProjection, modelRadius(object), area));
    };
    // Alien and planets hide the orbs behind them but glow black themselves.
    glUniform1i(shouldDiscardLocation, 1);
    glUniform1f(glowStrengthLocation, 0.0f);
    if (drawn(scene->alien)) drawObject(0, scene->alien);
    const int planetCount = static_cast<int>(scene->planets.size());
    for (int i = 0; i < planetCount; ++i) {
        if (drawn(scene->planets[i])) drawObject(i + 1, scene->planets[i]);
    }
    glUniform1i(shouldDiscardLocation, 0);
    for (size_t j = 0; j < scene->lightOrbs.size(); ++j) {
        SceneObject* orb = scene->lightOrbs[j];
        if (!drawn(orb)) continue;
        glUniform1f(glowStrengthLocation, orbBrightness(orb));
        drawObject(static_cast<int>(j) + planetCount + 1, orb);
    }

    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    attach(kSceneAttachment, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
    attach(kDofSourceAttachment, 0);
    glDisable(GL_DEPTH_TEST);
}

void GlowRenderer::blurPass(const BlurPass& pass) {
    if (!pass.rects->empty()) {
        glDrawBuffer(pass.output);
        glUseProgram(pass.program);
        glUniform1i(pass.directionLocation, pass.direction);
        bindTextureUnit(pass.unit, pass.input);
        glUniform1i(pass.textureLocation, pass.unit);
        for (const PixelRect& r : *pass.rects) {
            scissor(r);
            glDrawArrays(GL_TRIANGLES, 0, 6);
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        glUseProgram(0);
    }
    attach(pass.output, 0);
}

void GlowRenderer::compositePass() {
    // Into the window, over the picture the other renderers drew.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(compositeProgram);
    bindTextureUnit(kCompositeSceneUnit, sceneTarget);
    glUniform1i(compositeTexLocation, kCompositeSceneUnit);
    bindTextureUnit(kCompositeGlowUnit, glowResultTarget);
    glUniform1i(compositeGlowLocation, kCompositeGlowUnit);
    bindTextureUnit(kCompositeDofUnit, dofResultTarget);
    glUniform1i(tex3Location, kCompositeDofUnit);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The rectangles do not overlap, so no pixel is blended twice.
    for (const PixelRect& r : compositeRects) {
        scissor(r);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }
    glDisable(GL_BLEND);

    for (int unit : {kCompositeSceneUnit, kCompositeGlowUnit, kCompositeDofUnit}) {
        bindTextureUnit(unit, 0);
    }
    glUseProgram(0);
}

void GlowRenderer::releaseGpuObjects() {
    for (const Target& target : targets()) {
        if (*target.texture) glDeleteTextures(1, target.texture);
        *target.texture = 0;
    }
    if (depthBuffer) glDeleteRenderbuffers(1, &depthBuffer);
    if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
    if (quadBuffer) glDeleteBuffers(1, &quadBuffer);
    if (quadVertexArray) glDeleteVertexArrays(1, &quadVertexArray);
    depthBuffer = framebuffer = quadBuffer = quadVertexArray = 0;
    for (GLuint* passProgram : {&glowBlurProgram, &compositeProgram, &dofBlurProgram}) {
        if (*passProgram) glDeleteProgram(*passProgram);
        *passProgram = 0;
    }
    // The base deletes `program`, which is the scene-pass program.
    program = scenePassProgram;
    scenePassProgram = 0;
    BasicRenderer::releaseGpuObjects();
}

}  // namespace Rendering
