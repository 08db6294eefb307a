#include "Rendering/scene/FrameDrawing.h"

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/scene/TextRenderer.h"
#include "infra/GL.h"

namespace Rendering {

void setWireframe(bool wireframe) {
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}

void clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawSceneAndText(BasicRenderer& sky, BasicRenderer& lit, TextRenderer& text) {
    // The sky sphere is seen from inside: its inward faces must be front faces under culling.
    glFrontFace(GL_CW);
    sky.draw();
    glFrontFace(GL_CCW);
    lit.draw();
    // The text overlay is drawn without depth test, over whatever the scene left.
    glDisable(GL_DEPTH_TEST);
    text.draw();
    glEnable(GL_DEPTH_TEST);
}

}  // namespace Rendering
