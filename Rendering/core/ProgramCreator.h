#pragma once

#include <string>
#include <vector>

#include "Rendering/core/ShaderCompiler.h"
#include "infra/GL.h"

// Links one program from copies of compiled shaders; made on the stack for each program.
struct ProgramCreator {
    void addShader(const ShaderCompiler& shader) { shaders.push_back(shader); }
    // The program name, also when linking failed (the driver's log then goes out as ERR).
    GLuint link();

    std::vector<ShaderCompiler> shaders;
    std::string logName = "ProgramCreator";
};
