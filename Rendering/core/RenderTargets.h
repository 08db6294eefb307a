#pragma once

#include <glm/glm.hpp>

namespace Rendering {

// The largest width and height a render target may have on this GL: the least of what it
// reports for textures (GL_MAX_TEXTURE_SIZE), renderbuffers (GL_MAX_RENDERBUFFER_SIZE) and
// viewports (GL_MAX_VIEWPORT_DIMS). Asked of the GL once, on the first call (which needs a
// current context).
glm::ivec2 renderTargetLimit();

// The size a render target that follows the framebuffer takes: the framebuffer's size, no
// larger than `limit` on either side. Every renderer sizing targets from the framebuffer goes
// through here.
glm::ivec2 fitRenderTarget(glm::ivec2 framebuffer, glm::ivec2 limit = renderTargetLimit());

}  // namespace Rendering
