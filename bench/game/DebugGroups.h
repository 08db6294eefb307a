#pragma once

#include <functional>
#include <string>

#include "infra/GL.h"

namespace bench {

// The game labels each drawing step as a GL debug group ("sky", "lit", "text", the glow
// passes). While a watch is installed it stands in for the table's two debug-group entries,
// tells its handler where each outermost group begins and ends, and still hands both calls on
// to the driver. One watch at a time.
class DebugGroupWatch {
  public:
    // Called with the group's name, at its start (`begins`) and after its end.
    using Handler = std::function<void(const std::string& name, bool begins)>;

    explicit DebugGroupWatch(Handler handler) : handler(std::move(handler)) {}
    ~DebugGroupWatch() { uninstall(); }
    DebugGroupWatch(const DebugGroupWatch&) = delete;
    DebugGroupWatch& operator=(const DebugGroupWatch&) = delete;

    void install();
    void uninstall();

  private:
    static void APIENTRY push(GLenum source, GLuint id, GLsizei length, const GLchar* message);
    static void APIENTRY pop();

    static inline DebugGroupWatch* active = nullptr;
    Handler handler;
    PFNGLPUSHDEBUGGROUPPROC realPush = nullptr;
    PFNGLPOPDEBUGGROUPPROC realPop = nullptr;
    int depth = 0;
    std::string outermost;
};

}  // namespace bench
