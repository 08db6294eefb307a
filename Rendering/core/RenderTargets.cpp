#include "Rendering/core/RenderTargets.h"

#include "infra/GL.h"

namespace Rendering {

glm::ivec2 renderTargetLimit() {
    static const glm::ivec2 limit = [] {
        GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
        glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
        const int side = glm::min(texture, renderbuffer);
        return glm::ivec2(glm::min(side, viewport[0]), glm::min(side, viewport[1]));
    }();
    return limit;
}

glm::ivec2 fitRenderTarget(glm::ivec2 framebuffer, glm::ivec2 limit) {
    return glm::min(framebuffer, limit);
}

}  // namespace Rendering
