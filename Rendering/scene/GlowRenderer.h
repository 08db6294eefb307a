#pragma once

#include <array>
#include <glm/glm.hpp>
#include <vector>

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/Culling.h"
#include "infra/GL.h"

struct Scene;

namespace Rendering {

// Post-processing at the end of every frame: draws the alien, planets and orbs again into an
// offscreen framebuffer (glow source and depth-of-field weights over a copy of the window),
// blurs both in two passes each and blends the result over the picture in the window.
//
// On a software rasteriser every shaded pixel counts, so the passes run only inside the
// screen rectangles that can change: around each visible orb, and around each surface that
// reaches out of focus. A frame with neither costs next to nothing. Told not to skip unseen
// work, every such object makes its passes cover the whole screen, as they first did.
//
// Each pass is a GL debug group named after it ("scene", "glow-x", ...) where the driver offers
// debug groups, so GL debuggers show the passes and the benchmark can time them. The GL state
// the passes change is put back as it was, apart from what the frame loop relies on afterwards:
// the viewport on the whole framebuffer and the depth test on.
class GlowRenderer : public BasicRenderer {
  public:
    // The colour targets (RGBA8) the passes render into; they share one depth-stencil buffer.
    static constexpr int kColourTargets = 6;
    // Bytes the targets and the depth-stencil buffer (24 + 8 bits) take at a framebuffer size.
    static double targetBytes(int width, int height) {
        return (kColourTargets + 1) * 4.0 * width * height;
    }

    GlowRenderer() = default;

    void init() override;
    void createProgram() override;
    void draw();
    // Deletes the programs, framebuffer, renderbuffer, targets and quad as well as the objects'
    // GPU resources (context must be current).
    void releaseGpuObjects();

    // Size of the window's framebuffer the passes render at, handed over by the frame loop
    // before each draw(); until then 1024 x 768. A size of 0 (a minimised window) draws nothing.
    void setFramebufferSize(int width, int height);
    int targetWidth() const { return width; }
    int targetHeight() const { return height; }

    Scene* scene = nullptr;
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
    GLuint sceneTarget = 0;
    GLuint glowPassTarget = 0;
    GLuint glowResultTarget = 0;
    GLuint dofSourceTarget = 0;
    GLuint dofPassTarget = 0;
    GLuint dofResultTarget = 0;
    GLuint scenePassProgram = 0;
    GLuint glowBlurProgram = 0;
    GLuint compositeProgram = 0;
    GLuint dofBlurProgram = 0;
    GLint compositeTexLocation = -1;  // "tex1"
    GLint glowTextureLocation = -1;
    GLint dofTextureLocation = -1;
    GLint tex3Location = -1;
    GLint blurDirectionLocation = -1;  // in glowBlurProgram
    GLint shouldDiscardLocation = -1;
    GLint depthLayerLocation = -1;
    GLint compositeGlowLocation = -1;     // "tex2"
    GLint dofBlurDirectionLocation = -1;  // "blurDirection" in dofBlurProgram
    GLint glowStrengthLocation = -1;      // brightness of the orb being drawn
    // The full-screen quad every pass after the scene pass draws.
    GLuint quadBuffer = 0;
    GLuint quadVertexArray = 0;
    // Set when init found the framebuffer complete.
    bool framebufferComplete = false;

  private:
    // A colour target and the attachment the passes write it through.
    struct Target {
        GLuint* texture;
        GLenum attachment;
    };
    // One pass of a two-pass blur: reads `input` on texture `unit`, writes `output` inside
    // `rects`, along `direction` (1 across, 0 up).
    struct BlurPass {
        const char* name;
        GLuint program;
        GLint directionLocation;
        GLint textureLocation;
        int direction;
        GLuint input;
        int unit;
        GLenum output;
        const std::vector<PixelRect>* rects;
    };
    std::array<Target, kColourTargets> targets();
    std::array<BlurPass, 4> blurPasses() const;

    void createTargets();
    void allocateTargets();
    void uploadObjects();
    void lookUpUniforms();
    // Fills the rectangle lists for this frame; false when nothing needs drawing.
    bool findRegions();
    void considerObject(SceneObject* object, bool isOrb, const glm::mat4& view,
                        const glm::mat4& projection, float focusDepth);
    // The smallest rectangle around this frame's regions (there is at least one).
    PixelRect regionBounds() const;
    // False while the window is minimised; otherwise takes over the framebuffer's size.
    bool takeFramebufferSize();
    void attachTargets();
    void copyAndClear();
    void copyWindow();
    void scenePass();
    void blurPass(const BlurPass& pass);
    void compositePass();
    float orbBrightness(const SceneObject* orb) const;

    // Target size; follows the window's framebuffer, never 0. The targets are reallocated at
    // the next frame that draws once it differs from the allocated size.
    int width = 1024;
    int height = 768;
    int allocatedWidth = 0;
    int allocatedHeight = 0;
    int requestedWidth = 1024;
    int requestedHeight = 768;
    float focusDepth = 0.0f;
    // This frame's regions, kept between frames so that drawing allocates nothing.
    std::vector<PixelRect> dofRects;
    std::vector<PixelRect> glowRects;
    std::vector<PixelRect> compositeRects;
};

}  // namespace Rendering
