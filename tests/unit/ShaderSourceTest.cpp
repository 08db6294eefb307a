#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Rendering/core/ShaderCompiler.h"
#include "app/RendererSet.h"

TEST(ShaderSource, EveryLineGetsANewlineAndAFinalNewlineAnEmptyLine) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "fyrel-shader-source.frag").string();
    ShaderCompiler compiler(path, GL_FRAGMENT_SHADER);
    const std::pair<std::string, std::string> cases[] = {
        {"a\n", "a\n\n"}, {"a", "a\n"}, {"", "\n"}, {"one\n\ntwo", "one\n\ntwo\n"}};
    for (const auto& [contents, expected] : cases) {
        std::ofstream(path, std::ios::binary) << contents;
        EXPECT_EQ(compiler.readSource(), expected) << "contents: " << contents;
    }

    // A file that cannot be opened ends the read at once, naming the path.
    std::filesystem::remove(path);
    testing::internal::CaptureStdout();
    EXPECT_EQ(compiler.readSource(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERR   ShaderCompiler: shader source could not be opened; path: " + path + "\n");
}

TEST(ShaderTable, ElevenShadersInNameOrderWithTypesFromTheirPaths) {
    RendererSet set;
    set.fillShaderTable();
    using Table = std::vector<std::pair<std::string, std::string>>;
    const Table expected = {
        {"dofTwo", "shaders/dof.frag"},
        {"fragmentGlowFour", "shaders/glowStep_4.frag"},
        {"fragmentGlowOne", "shaders/glowStep_1.frag"},
        {"fragmentGlowTwo", "shaders/glowStep_2_3.frag"},
        {"fragmentShiny", "shaders/basic.frag"},
        {"fragmentSky", "shaders/sky.frag"},
        {"fragmentText", "shaders/font.frag"},
        {"lightGauss", "shaders/lightGauss.frag"},
        {"vertex", "shaders/basic.vert"},
        {"vertexBasic", "shaders/glowStep_1_2_3_4.vert"},
        {"vertexFont", "shaders/font.vert"},
    };
    EXPECT_EQ(Table(set.shaderFiles.begin(), set.shaderFiles.end()), expected);

    for (const auto& [name, path] : set.shaderFiles) {
        GLenum type = name.rfind("vertex", 0) == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER;
        EXPECT_EQ(RendererSet::shaderTypeForPath(path), type) << path;
    }
    // ".vert" anywhere in the path counts, not only as the ending.
    EXPECT_EQ(RendererSet::shaderTypeForPath("x.vert.frag"), GLenum(GL_VERTEX_SHADER));
}
