#include "Rendering/core/ProgramCreator.h"

#include <algorithm>
#include <cstring>

#include "infra/Log.h"

GLuint linkProgram(const std::vector<ShaderCompiler*>& handed, Rendering::ShaderNames handedNames,
                   Rendering::ShaderNames program) {
    ProgramCreator creator;
    for (const char* name : program) {
        auto named = [name](const char* other) { return std::strcmp(name, other) == 0; };
        const auto at = static_cast<size_t>(
            std::find_if(handedNames.begin(), handedNames.end(), named) - handedNames.begin());
        if (at < handed.size() && handed[at]) creator.addShader(*handed[at]);
    }
    return creator.link();
}

GLuint ProgramCreator::link() {
    GLuint program = glCreateProgram();
    for (const ShaderCompiler& shader : shaders) glAttachShader(program, shader.shaderId);
    glLinkProgram(program);

    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != 0) return program;

    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string infoLog(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    glGetProgramInfoLog(program, length, nullptr, &infoLog[0]);
    infoLog.resize(infoLog.find('\0'));
    logError(logName, infoLog);
    return program;
}
