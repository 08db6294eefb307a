#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// The table comes from the asset manifest: every entry must be a shader file of the sources
// whose type follows from its path, and compiling walks the names from "dofTwo" to
// "vertexFont".
TEST(ShaderTable, TwelveShaderFilesInNameOrderWithTypesFromTheirPaths) {
    RendererSet set;
    set.fillShaderTable();
    ASSERT_EQ(set.shaderFiles.size(), 12u);
    EXPECT_EQ(set.shaderFiles.begin()->first, "dofTwo");
    EXPECT_EQ(set.shaderFiles.rbegin()->first, "vertexFont");
    for (const auto& [name, path] : set.shaderFiles) {
        EXPECT_TRUE(std::filesystem::is_regular_file(FYREL_SOURCE_DIR "/" + path)) << path;
        GLenum type = name.rfind("vertex", 0) == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER;
        EXPECT_EQ(RendererSet::shaderTypeForPath(path), type) << path;
    }
    // ".vert" anywhere in the path counts, not only as the ending.
    EXPECT_EQ(RendererSet::shaderTypeForPath("x.vert.frag"), GLenum(GL_VERTEX_SHADER));
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
