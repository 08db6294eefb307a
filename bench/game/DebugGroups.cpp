#include "bench/game/DebugGroups.h"

namespace bench {

void DebugGroupWatch::install() {
    if (active == this) return;
    realPush = glPushDebugGroup;
    realPop = glPopDebugGroup;
    glPushDebugGroup = &push;
    glPopDebugGroup = &pop;
    active = this;
}

void DebugGroupWatch::uninstall() {
    if (active != this) return;
    glPushDebugGroup = realPush;
    glPopDebugGroup = realPop;
    active = nullptr;
}

void APIENTRY DebugGroupWatch::push(GLenum source, GLuint id, GLsizei length,
                                    const GLchar* message) {
    DebugGroupWatch& watch = *active;
    if (watch.depth++ == 0) {
        watch.outermost = length < 0 ? std::string(message) : std::string(message, length);
        watch.handler(watch.outermost, true);
    }
    if (watch.realPush) watch.realPush(source, id, length, message);
}

void APIENTRY DebugGroupWatch::pop() {
    DebugGroupWatch& watch = *active;
    if (watch.realPop) watch.realPop();
    if (--watch.depth == 0) watch.handler(watch.outermost, false);
}

}  // namespace bench
