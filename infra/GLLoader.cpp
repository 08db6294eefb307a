#include <cstdio>
#include <string>

#include "infra/GL.h"
#include "platform/Window.h"

namespace fyrelgl {
#define FYREL_GL(type, name) type name = nullptr;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL
}  // namespace fyrelgl

int hasDebugOutput = 0;
int hasTextureFilterAnisotropic = 0;

// The counts are of the required table: a driver need not offer the optional entries.
#define FYREL_GL_OPTIONAL(type, name, extension)

int glEntryPointCount() {
    int count = 0;
#define FYREL_GL(type, name) ++count;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL
    return count;
}

int glResolvedEntryPointCount() {
    int count = 0;
#define FYREL_GL(type, name) count += name != nullptr;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL
    return count;
}

#undef FYREL_GL_OPTIONAL

void loadGLEntryPoints() {
    // A null address is stored as it is: the version check is the only guard, and a driver
    // that passes it provides everything the game calls.
#define FYREL_GL(type, name) name = reinterpret_cast<type>(platform::procAddress(#name));
    // GLX hands out an address for any name, supported or not, so an optional entry is looked
    // up only when the context lists its extension; otherwise it stays null.
#define FYREL_GL_OPTIONAL(type, name, extension)                      \
    name = platform::extensionSupported(extension)                    \
               ? reinterpret_cast<type>(platform::procAddress(#name)) \
               : nullptr;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL_OPTIONAL
#undef FYREL_GL
}

int checkGLContext(int major, int minor, bool (*supported)(const char* extension)) {
    if (major < 3 || (major == 3 && minor < 3)) {
        std::fprintf(stderr, "Error: OpenGL version 3.3 not supported.\n");
        std::fprintf(stderr, "       Your version is %d.%d.\n", major, minor);
        std::fprintf(stderr, "       Try updating your graphics driver.\n");
        return 0;
    }
    if (!supported("GL_ARB_gpu_shader5")) {
        std::fprintf(stderr, "Error: OpenGL extension ARB_gpu_shader5 not supported.\n");
        std::fprintf(stderr, "       Your version is %d.%d.\n", major, minor);
        std::fprintf(stderr, "       Try updating your graphics driver.\n");
        return 0;
    }
    if (supported("GL_ARB_debug_output")) hasDebugOutput = 1;
    if (supported("GL_EXT_texture_filter_anisotropic")) hasTextureFilterAnisotropic = 1;
    return 1;
}

int initGLLoader() {
    int major = 0, minor = 0;
    platform::contextVersion(major, minor);
    // Looked up before the checks so that a refused context still leaves a filled table.
    loadGLEntryPoints();
    return checkGLContext(major, minor, platform::extensionSupported);
}
