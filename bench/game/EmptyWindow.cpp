// The memory floor of any GL program here: a window with its context and the driver, drawing
// nothing of the game. It clears and presents frames; with `drawing` it also draws one small
// triangle with the simplest program each frame, which makes the driver load its shader
// compiler as any program that draws must.

#include "bench/game/BenchCommon.h"
#include "infra/GL.h"
#include "platform/Window.h"

namespace bench {

namespace {

const char* const kVertexSource =
    "#version 330 core\n"
    "void main() {\n"
    "    gl_Position = vec4(vec2(gl_VertexID & 1, gl_VertexID >> 1) * 0.1, 0.0, 1.0);\n"
    "}\n";
const char* const kFragmentSource =
    "#version 330 core\n"
    "out vec4 colour;\n"
    "void main() { colour = vec4(1.0); }\n";

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint simplestProgram() {
    const GLuint program = glCreateProgram();
    const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexSource);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentSource);
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return program;
}

}  // namespace

int runEmptyWindowMode(int width, int height, bool drawing) {
    if (!platform::initWindowLibrary()) return 1;
    platform::Window* window = platform::Window::open(width, height, "Fyrel empty window");
    if (!window || !initGLLoader()) return 1;
    GLuint program = 0, vertexArray = 0;
    if (drawing) {
        program = simplestProgram();
        glGenVertexArrays(1, &vertexArray);
    }
    for (int frame = 0; frame < 30; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (drawing) {
            glUseProgram(program);
            glBindVertexArray(vertexArray);
            glDrawArrays(GL_TRIANGLES, 0, 3);
        }
        window->swapBuffers();
    }
    if (drawing) {
        glDeleteVertexArrays(1, &vertexArray);
        glDeleteProgram(program);
    }
    platform::terminateWindowLibrary();
    return 0;
}

}  // namespace bench
