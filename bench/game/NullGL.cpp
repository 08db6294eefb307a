#include "bench/game/NullGL.h"

#include <dlfcn.h>

#include "infra/GL.h"

namespace {

bool nullCalls = false;

namespace saved {
#define FYREL_GL(type, name) type name = nullptr;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL
}  // namespace saved

// A do-nothing function of exactly the entry point's type, so calls through the table stay
// well-defined.
template <typename F>
struct Stub;
template <typename R, typename... A>
struct Stub<R (*)(A...)> {
    static R call(A...) { return R(); }
};

}  // namespace

namespace nullgl {

Scope::Scope() {
#define FYREL_GL(type, name)     \
    saved::name = fyrelgl::name; \
    fyrelgl::name = &Stub<type>::call;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL
    nullCalls = true;
}

Scope::~Scope() {
#define FYREL_GL(type, name) fyrelgl::name = saved::name;
#include "infra/GLEntryPoints.inc"
#undef FYREL_GL
    nullCalls = false;
}

bool active() {
    return nullCalls;
}

}  // namespace nullgl

// The 1.0/1.1 functions the game calls are linked straight from the GL library. Defined here,
// they take precedence for this executable; outside a Scope they forward to the library.
#define FYREL_DIRECT(ret, name, params, args)                                 \
    extern "C" ret name params {                                              \
        using Fn = ret(*) params;                                             \
        static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, #name)); \
        if (nullCalls) return ret();                                          \
        return real args;                                                     \
    }

FYREL_DIRECT(void, glCullFace, (GLenum mode), (mode))
FYREL_DIRECT(void, glFrontFace, (GLenum mode), (mode))
FYREL_DIRECT(void, glPolygonMode, (GLenum face, GLenum mode), (face, mode))
FYREL_DIRECT(void, glScissor, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))
FYREL_DIRECT(void, glTexParameteri, (GLenum target, GLenum pname, GLint param),
             (target, pname, param))
FYREL_DIRECT(void, glTexImage2D,
             (GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
              GLenum format, GLenum type, const void* pixels),
             (target, level, internal, w, h, border, format, type, pixels))
FYREL_DIRECT(void, glDrawBuffer, (GLenum buf), (buf))
FYREL_DIRECT(void, glClear, (GLbitfield mask), (mask))
FYREL_DIRECT(void, glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
FYREL_DIRECT(void, glDisable, (GLenum cap), (cap))
FYREL_DIRECT(void, glEnable, (GLenum cap), (cap))
FYREL_DIRECT(void, glBlendFunc, (GLenum s, GLenum d), (s, d))
FYREL_DIRECT(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))
FYREL_DIRECT(void, glGetIntegerv, (GLenum pname, GLint* data), (pname, data))
FYREL_DIRECT(void, glGetFloatv, (GLenum pname, GLfloat* data), (pname, data))
FYREL_DIRECT(GLboolean, glIsEnabled, (GLenum cap), (cap))
FYREL_DIRECT(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))
FYREL_DIRECT(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))
FYREL_DIRECT(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices),
             (mode, count, type, indices))
FYREL_DIRECT(void, glBindTexture, (GLenum target, GLuint texture), (target, texture))
