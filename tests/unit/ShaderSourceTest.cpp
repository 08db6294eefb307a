#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "Rendering/core/ShaderCompiler.h"
#include "Rendering/core/ShaderTable.h"
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

// Every shader of the table is a source file compiled as the kind of shader its code is: only a
// vertex shader sets gl_Position.
TEST(ShaderTable, EachShaderIsASourceFileGivenTheTypeItsCodeIsWrittenFor) {
    RendererSet set;
    set.fillShaderTable();
    ASSERT_FALSE(set.shaderFiles.empty());
    for (const auto& [name, path] : set.shaderFiles) {
        std::ifstream file(FYREL_SOURCE_DIR "/" + path);
        ASSERT_TRUE(file.is_open()) << path;
        const std::string source{std::istreambuf_iterator<char>(file), {}};
        const bool vertex = source.find("gl_Position") != std::string::npos;
        EXPECT_EQ(RendererSet::shaderTypeForPath(path),
                  GLenum(vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER))
            << name << ": " << path;
    }
}

// Each program names shaders of the table: one vertex shader, first, then fragment shaders.
// The glow renderer's one list holds every shader of its four programs.
TEST(ShaderTable, EveryProgramIsAVertexShaderAndFragmentShadersOfTheTable) {
    RendererSet set;
    set.fillShaderTable();
    auto typeOf = [&set](const std::string& name) {
        return RendererSet::shaderTypeForPath(set.shaderFiles.at(name));
    };
    for (Rendering::ShaderNames program : Rendering::programs::all) {
        ASSERT_GE(program.size(), 2u);
        for (const char* name : program) ASSERT_EQ(set.shaderFiles.count(name), 1u) << name;
        EXPECT_EQ(typeOf(*program.begin()), GLenum(GL_VERTEX_SHADER)) << *program.begin();
        for (auto name = program.begin() + 1; name != program.end(); ++name) {
            EXPECT_EQ(typeOf(*name), GLenum(GL_FRAGMENT_SHADER)) << *name;
        }
    }
    const std::set<std::string> handed(Rendering::programs::glowRenderer.begin(),
                                       Rendering::programs::glowRenderer.end());
    for (Rendering::ShaderNames program :
         {Rendering::programs::glowScene, Rendering::programs::glowBlur,
          Rendering::programs::glowComposite, Rendering::programs::dofBlur}) {
        for (const char* name : program) EXPECT_EQ(handed.count(name), 1u) << name;
    }
}
