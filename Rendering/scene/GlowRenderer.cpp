#include "Rendering/scene/GlowRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "Rendering/core/Camera.h"
#include "Rendering/core/ProgramCreator.h"
#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/scene/Scene.h"
#include "platform/Input.h"

namespace Rendering {

namespace {

// Texture units of the passes; far above the 17 the scene objects use.
constexpr int kGlowFirstUnit = 20;
constexpr int kGlowSecondUnit = 21;
constexpr int kDofUnit = 27;
constexpr int kCompositeSceneUnit = 10;
constexpr int kCompositeGlowUnit = 11;
constexpr int kCompositeDofUnit = 12;

// "depthLayer": the blur is full this far behind the focus, and (negative) this far in front
// of it, rising along a gentle curve; the focus itself is the alien's view-space depth.
constexpr float kFocusFarRange = 600.0f;
constexpr float kFocusNearRange = -300.0f;
constexpr float kFocusCurve = 1.1f;
// The same sharp zone and visibility threshold as glowStep_1.frag.
constexpr float kSharpDepth = 20.0f;
constexpr float kMinBlur = 1.0f / 64.0f;

// How far, in pixels, each blur reaches beyond what it blurs (kernels of dof.frag and
// glowStep_2_3.frag, plus a pixel for linear filtering).
constexpr int kDofReach = 7;
constexpr int kGlowReach = 14;

constexpr std::array<float, 24> kFullScreenQuad = {
    -1.0f, -1.0f, 0.0f, 1.0f, 1.0f,  -1.0f, 0.0f, 1.0f, 1.0f,  1.0f,  0.0f, 1.0f,
    1.0f,  1.0f,  0.0f, 1.0f, -1.0f, 1.0f,  0.0f, 1.0f, -1.0f, -1.0f, 0.0f, 1.0f};

GLuint linkProgram(const std::vector<ShaderCompiler*>& shaders, std::initializer_list<int> picks) {
    ProgramCreator creator;
    for (int pick : picks) {
        if (static_cast<size_t>(pick) < shaders.size() && shaders[pick]) {
            creator.addShader(*shaders[pick]);
        }
    }
    return creator.link();
}

void attach(GLenum attachment, GLuint texture) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture, 0);
}

void bindTextureUnit(int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}

bool overlap(const GlowRenderer::PixelRect& a, const GlowRenderer::PixelRect& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

GlowRenderer::PixelRect unite(const GlowRenderer::PixelRect& a, const GlowRenderer::PixelRect& b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

GlowRenderer::PixelRect widen(const GlowRenderer::PixelRect& r, int margin, int width, int height) {
    return {std::max(r.x0 - margin, 0), std::max(r.y0 - margin, 0), std::min(r.x1 + margin, width),
            std::min(r.y1 + margin, height)};
}

void scissor(const GlowRenderer::PixelRect& r) {
    glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
}

// Each pass is a debug group of its name, where the driver offers debug groups.
void beginPass(const char* name) {
    if (glPushDebugGroup) glPushDebugGroup(GL_DEBUG_SOURCE_APPLICATION, 0, -1, name);
}

void endPass() {
    if (glPopDebugGroup) glPopDebugGroup();
}

}  // namespace

GlowRenderer::PixelRect GlowRenderer::sphereBounds(const glm::mat4& view,
                                                   const glm::mat4& projection, float nearPlane,
                                                   glm::vec3 centre, float radius, int width,
                                                   int height, int margin) {
    const glm::vec3 c = glm::vec3(view * glm::vec4(centre, 1.0f));
    // Wholly behind the near plane: nothing to see. Reaching through it: anywhere on screen.
    if (c.z - radius >= -nearPlane) return {};
    if (c.z + radius > -nearPlane) return {0, 0, width, height};
    // The corners of the sphere's view-space box project around everything the sphere covers.
    glm::vec2 low(1e30f), high(-1e30f);
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 offset((corner & 1) ? radius : -radius, (corner & 2) ? radius : -radius,
                               (corner & 4) ? radius : -radius);
        const glm::vec4 clip = projection * glm::vec4(c + offset, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        low = glm::min(low, ndc);
        high = glm::max(high, ndc);
    }
    const glm::vec2 size(static_cast<float>(width), static_cast<float>(height));
    const glm::vec2 lowPixel = glm::floor((low * 0.5f + 0.5f) * size);
    const glm::vec2 highPixel = glm::ceil((high * 0.5f + 0.5f) * size);
    // Far outside the frame the floats would not fit an int.
    const glm::vec2 limit = size + static_cast<float>(margin) + 1.0f;
    PixelRect r{static_cast<int>(glm::clamp(lowPixel.x, -limit.x, limit.x)),
                static_cast<int>(glm::clamp(lowPixel.y, -limit.y, limit.y)),
                static_cast<int>(glm::clamp(highPixel.x, -limit.x, limit.x)),
                static_cast<int>(glm::clamp(highPixel.y, -limit.y, limit.y))};
    r = widen(r, margin, width, height);
    return r.empty() ? PixelRect{} : r;
}

void GlowRenderer::mergeOverlapping(std::vector<PixelRect>& rects) {
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < rects.size() && !merged; ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                if (!overlap(rects[i], rects[j])) continue;
                rects[i] = unite(rects[i], rects[j]);
                rects.erase(rects.begin() + static_cast<long>(j));
                merged = true;
                break;
            }
        }
    }
}

float GlowRenderer::largestBlur(float depth, float radius, float focus) {
    const float behind = focus - (depth - radius);
    const float ahead = (depth + radius) - focus;
    const float spread = std::max(std::max(behind - kSharpDepth, 0.0f) / kFocusFarRange,
                                  std::max(ahead - kSharpDepth, 0.0f) / -kFocusNearRange);
    return std::min(std::pow(spread, kFocusCurve), 1.0f);
}

void GlowRenderer::createProgram() {
    scenePassProgram = linkProgram(shaders, {0, 1, 5});
    glowBlurProgram = linkProgram(shaders, {2, 3});
    compositeProgram = linkProgram(shaders, {2, 4});
    dofBlurProgram = linkProgram(shaders, {2, 6});
    shouldDiscardLocation = glGetUniformLocation(scenePassProgram, "shouldDiscard");
}

void GlowRenderer::setFramebufferSize(int newWidth, int newHeight) {
    requestedWidth = newWidth;
    requestedHeight = newHeight;
}

void GlowRenderer::allocateTargets() {
    for (GLuint target : {sceneTarget, dofSourceTarget, dofPassTarget, dofResultTarget,
                          glowPassTarget, glowResultTarget}) {
        glBindTexture(GL_TEXTURE_2D, target);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

void GlowRenderer::init() {
    createProgram();

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const std::array<std::pair<GLuint*, int>, 6> targets = {{{&sceneTarget, 1},
                                                             {&dofSourceTarget, 2},
                                                             {&dofPassTarget, 3},
                                                             {&dofResultTarget, 6},
                                                             {&glowPassTarget, 4},
                                                             {&glowResultTarget, 5}}};
    for (const auto& [target, attachment] : targets) {
        glGenTextures(1, target);
        glBindTexture(GL_TEXTURE_2D, *target);
        // Without these the default minifying filter asks for mipmaps the targets never get,
        // and every pass would sample an incomplete texture as black.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glGenRenderbuffers(1, &depthBuffer);
    allocateTargets();
    for (const auto& [target, attachment] : targets) {
        attach(GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(attachment), *target);
    }
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    framebufferComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!framebufferComplete) std::cout << "FOOOOOOOOOOOOOOOOOOOOOOOO" << std::flush;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    for (SceneObject* object : objects) {
        if (!object) continue;
        uploadBuffers(object);
        createVertexArray(scenePassProgram, object);
        createTexture(texture, object, textureShare);
        boundingRadius(object);
    }
    // The base renderer's block set-up and drawObject work on `program`.
    program = scenePassProgram;
    setupUniformBlocks();
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

    // All three pass programs share one vertex shader that fixes "position" at location 0.
    const GLint positionLocation = glGetAttribLocation(compositeProgram, "position");
    createQuad(kFullScreenQuad.data(), sizeof(kFullScreenQuad), positionLocation, quadBuffer,
               quadVertexArray);
}

float GlowRenderer::boundingRadius(SceneObject* object) {
    auto found = meshRadius.find(object);
    if (found == meshRadius.end()) {
        float radius = 0.0f;
        if (object->mesh) {
            const std::vector<float>& p = object->mesh->positions;
            for (size_t i = 0; i + 2 < p.size(); i += 4) {
                radius = std::max(radius, glm::length(glm::vec3(p[i], p[i + 1], p[i + 2])));
            }
        }
        found = meshRadius.emplace(object, radius).first;
    }
    const glm::vec3 scale = glm::abs(object->scale);
    return found->second * std::max(scale.x, std::max(scale.y, scale.z));
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
    if (isOrb && orbBrightness(object) > 0.0f) {
        const PixelRect r = sphereBounds(view, projection, camera->nearPlane, object->position,
                                         radius, width, height, kGlowReach);
        if (!r.empty()) glowRects.push_back(r);
    }
    if (largestBlur(depth, radius, focus) >= kMinBlur) {
        const PixelRect r = sphereBounds(view, projection, camera->nearPlane, object->position,
                                         radius, width, height, kDofReach);
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

void GlowRenderer::draw() {
    if (const platform::Input* in = platform::input()) {
        int fbWidth = 0, fbHeight = 0;
        in->framebufferSize(fbWidth, fbHeight);
        setFramebufferSize(fbWidth, fbHeight);
    }
    // A minimised window has nothing to show; the targets keep their last size.
    if (requestedWidth <= 0 || requestedHeight <= 0) return;
    if (requestedWidth != width || requestedHeight != height) {
        width = requestedWidth;
        height = requestedHeight;
        allocateTargets();
    }
    glViewport(0, 0, width, height);
    glEnable(GL_DEPTH_TEST);
    // Nothing glows and everything is in focus: the window already shows the final picture.
    if (!findRegions()) return;

    // Wireframe (F2) is for the scene; the screen-filling passes must still cover their pixels.
    GLint polygonModes[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    // The passes detach what they have written so that the next pass may read it.
    attach(GL_COLOR_ATTACHMENT1, sceneTarget);
    attach(GL_COLOR_ATTACHMENT2, dofSourceTarget);
    attach(GL_COLOR_ATTACHMENT3, dofPassTarget);
    attach(GL_COLOR_ATTACHMENT4, glowPassTarget);
    attach(GL_COLOR_ATTACHMENT5, glowResultTarget);
    attach(GL_COLOR_ATTACHMENT6, dofResultTarget);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    beginPass("copy+clear");
    copyWindow();
    // Outside this frame's regions every target reads as zero: nothing to add there. The
    // depth-of-field source keeps the copied colours; only its weights start at zero. No pass
    // reads further than a blur's reach beyond the regions, so clearing more would only cost
    // (seven full-screen targets written every frame).
    glEnable(GL_SCISSOR_TEST);
    scissor(widen(regionBounds(), kGlowReach, width, height));
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    const GLenum all[6] = {GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2, GL_COLOR_ATTACHMENT3,
                           GL_COLOR_ATTACHMENT4, GL_COLOR_ATTACHMENT5, GL_COLOR_ATTACHMENT6};
    glDrawBuffers(6, all);
    glColorMaski(1, GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    endPass();

    glEnable(GL_DEPTH_TEST);
    beginPass("scene");
    scenePass(focusDepth);
    endPass();
    glDisable(GL_DEPTH_TEST);

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBindVertexArray(quadVertexArray);
    beginPass("dof-x");
    blurPass(dofBlurProgram, dofBlurDirectionLocation, dofTextureLocation, 1, dofSourceTarget,
             kDofUnit, GL_COLOR_ATTACHMENT3, dofPassTarget, dofRects);
    endPass();
    beginPass("dof-y");
    blurPass(dofBlurProgram, dofBlurDirectionLocation, dofTextureLocation, 0, dofPassTarget,
             kDofUnit, GL_COLOR_ATTACHMENT6, dofResultTarget, dofRects);
    endPass();
    beginPass("glow-x");
    blurPass(glowBlurProgram, blurDirectionLocation, glowTextureLocation, 1, sceneTarget,
             kGlowFirstUnit, GL_COLOR_ATTACHMENT4, glowPassTarget, glowRects);
    endPass();
    beginPass("glow-y");
    blurPass(glowBlurProgram, blurDirectionLocation, glowTextureLocation, 0, glowPassTarget,
             kGlowSecondUnit, GL_COLOR_ATTACHMENT5, glowResultTarget, glowRects);
    endPass();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    beginPass("composite");
    compositePass();
    endPass();
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonModes[0]));
    glBindVertexArray(0);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_DEPTH_TEST);
}

void GlowRenderer::copyWindow() {
    // The softened picture is made from exactly what the other renderers drew.
    if (dofRects.empty()) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT2);
    for (const PixelRect& r : dofRects) {
        glBlitFramebuffer(r.x0, r.y0, r.x1, r.y1, r.x0, r.y0, r.x1, r.y1, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

GlowRenderer::PixelRect GlowRenderer::regionBounds() const {
    PixelRect bounds = compositeRects.front();
    for (const PixelRect& r : compositeRects) bounds = unite(bounds, r);
    return bounds;
}

void GlowRenderer::scenePass(float focus) {
    scissor(regionBounds());

    // The colour mask set for the clear stays: only the blur weight goes into the
    // depth-of-field source, its colour is the window's.
    const GLenum outputs[2] = {GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2};
    glDrawBuffers(2, outputs);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);

    program = scenePassProgram;
    updateLightBlock();
    glUseProgram(scenePassProgram);
    glUniform4f(depthLayerLocation, kFocusFarRange, focus, kFocusNearRange, kFocusCurve);

    // Alien and planets hide the orbs behind them but glow black themselves.
    glUniform1i(shouldDiscardLocation, 1);
    glUniform1f(glowStrengthLocation, 0.0f);
    if (scene->alien && scene->alien->visible) drawObject(0, scene->alien);
    const int planetCount = static_cast<int>(scene->planets.size());
    for (int i = 0; i < planetCount; ++i) {
        SceneObject* planet = scene->planets[i];
        if (planet && planet->visible) drawObject(i + 1, planet);
    }
    glUniform1i(shouldDiscardLocation, 0);
    for (size_t j = 0; j < scene->lightOrbs.size(); ++j) {
        SceneObject* orb = scene->lightOrbs[j];
        if (!orb || !orb->visible) continue;
        glUniform1f(glowStrengthLocation, orbBrightness(orb));
        drawObject(static_cast<int>(j) + planetCount + 1, orb);
    }

    glColorMaski(1, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    attach(GL_COLOR_ATTACHMENT1, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
    attach(GL_COLOR_ATTACHMENT2, 0);
}

void GlowRenderer::blurPass(GLuint passProgram, GLint directionLocation, GLint textureLocation,
                            int direction, GLuint input, int unit, GLenum output,
                            GLuint outputTexture, const std::vector<PixelRect>& rects) {
    if (!rects.empty()) {
        attach(output, outputTexture);
        glDrawBuffer(output);
        glUseProgram(passProgram);
        glUniform1i(directionLocation, direction);
        bindTextureUnit(unit, input);
        glUniform1i(textureLocation, unit);
        for (const PixelRect& r : rects) {
            scissor(r);
            glDrawArrays(GL_TRIANGLES, 0, 6);
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        glUseProgram(0);
    }
    attach(output, 0);
}

void GlowRenderer::compositePass() {
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
    for (GLuint* target : {&sceneTarget, &dofSourceTarget, &dofPassTarget, &dofResultTarget,
                           &glowPassTarget, &glowResultTarget}) {
        if (*target) glDeleteTextures(1, target);
        *target = 0;
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
