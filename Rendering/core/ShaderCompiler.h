#pragma once

#include <string>

#include "infra/GL.h"

// Reads and compiles one shader file. Copies share the GL shader object.
struct ShaderCompiler {
    ShaderCompiler(const std::string& path, GLenum type);

    // 0 when the shader compiled, 1 when not (ERR line plus the driver's log on stderr).
    int compile();
    std::string readSource();
    // Deletes the GL shader object (context must be current); copies must not use it after.
    void deleteShader();

    const std::string& path;
    GLenum type;
    GLuint shaderId = 0;
    std::string logName = "ShaderCompiler";
};
