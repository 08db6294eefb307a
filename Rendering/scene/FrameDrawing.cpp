#include "Rendering/scene/FrameDrawing.h"

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/core/DebugGroup.h"
#include "Rendering/scene/TextRenderer.h"
#include "infra/GL.h"

namespace Rendering {

void setWireframe(bool wireframe) {
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}

void clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

namespace {
void drawSky(BasicRenderer& sky) {
    // The sky sphere is seen from inside: its inward faces must be front faces under culling.
    glFrontFace(GL_CW);
    sky.draw();
    glFrontFace(GL_CCW);
}
}  // namespace

void drawSceneAndText(BasicRenderer& sky, BasicRenderer& lit, TextRenderer& text) {
    // Everything lies well inside the sky sphere and is opaque, so under the depth test the
    // order of the two makes the same picture. Drawn last, the sky is shaded only where no
    // object covers it.
    if (lit.skipUnseen) {
        labelled("lit", [&] { lit.draw(); });
        labelled("sky", [&] { drawSky(sky); });
    } else {
        labelled("sky", [&] { drawSky(sky); });
        labelled("lit", [&] { lit.draw(); });
    }
    // The text overlay is drawn without depth test, over whatever the scene left.
    labelled("text", [&] {
        glDisable(GL_DEPTH_TEST);
        text.draw();
        glEnable(GL_DEPTH_TEST);
    });
}

}  // namespace Rendering
