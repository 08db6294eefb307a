#include "Rendering/core/ShaderCompiler.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "Rendering/core/SceneObject.h"
#include "infra/Log.h"

ShaderCompiler::ShaderCompiler(const std::string& path, GLenum type) : path(path), type(type) {}

namespace {
// After the #version line, which must come first; #line keeps the driver's line numbers those
// of the file.
std::string withDefinitions(std::string source) {
    const size_t firstLine = source.find('\n');
    if (firstLine == std::string::npos) return source;
    source.insert(firstLine + 1,
                  "#define LIGHT_COUNT " + std::to_string(kLightOrbCount) + "\n#line 2\n");
    return source;
}
}  // namespace

int ShaderCompiler::compile() {
    std::string source = withDefinitions(readSource());
    shaderId = glCreateShader(type);
    const GLchar* text = source.c_str();
    glShaderSource(shaderId, 1, &text, nullptr);
    glCompileShader(shaderId);

    GLint status = 0;
    glGetShaderiv(shaderId, GL_COMPILE_STATUS, &status);
    if (status != 0) return 0;

    logError(logName, "shader didn't compile; path: " + path);
    GLint length = 0;
    glGetShaderiv(shaderId, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> infoLog(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    glGetShaderInfoLog(shaderId, length, nullptr, infoLog.data());
    std::fprintf(stderr, "Compile failure in shader:\n%s\n", infoLog.data());
    return 1;
}

void ShaderCompiler::deleteShader() {
    if (shaderId) glDeleteShader(shaderId);
    shaderId = 0;
}

std::string ShaderCompiler::readSource() {
    std::ifstream file(path);
    // An unopened stream never reaches end of file; give the compiler an empty source so it
    // fails like any broken shader and start-up goes on.
    if (!file.is_open()) {
        logError(logName, "shader source could not be opened; path: " + path);
        return std::string();
    }
    // Every line gets its newline back, and a file that ends with one gets an extra empty line
    // from the last read; good() rather than !eof() also ends the loop on a read error.
    std::string source;
    std::string line;
    while (file.good()) {
        std::getline(file, line);
        source += line;
        source += '\n';
    }
    return source;
}
