#pragma once

#include <string>
#include <vector>

#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/ShaderTable.h"
#include "infra/GL.h"

// Links one program from copies of compiled shaders; made on the stack for each program.
struct ProgramCreator {
    void addShader(const ShaderCompiler& shader) { shaders.push_back(shader); }
    // The program name, also when linking failed (the driver's log then goes out as ERR).
    GLuint link();

    std::vector<ShaderCompiler> shaders;
    std::string logName = "ProgramCreator";
};

// Links `program` from the shaders a renderer was handed, which came in the order `handedNames`.
// A shader that is missing from the list is left out.
GLuint linkProgram(const std::vector<ShaderCompiler*>& handed, Rendering::ShaderNames handedNames,
                   Rendering::ShaderNames program);
