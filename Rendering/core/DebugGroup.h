#pragma once

#include "infra/GL.h"

namespace Rendering {

// Runs one drawing step inside a GL debug group of its name, where the driver offers debug
// groups: GL debuggers then show the steps, and the benchmark times them.
template <typename Step>
void labelled(const char* name, Step step) {
    if (glPushDebugGroup) glPushDebugGroup(GL_DEBUG_SOURCE_APPLICATION, 0, -1, name);
    step();
    if (glPopDebugGroup) glPopDebugGroup();
}

}  // namespace Rendering
