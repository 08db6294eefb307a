#include <filesystem>
#include <fstream>
#include <string>

#include "Rendering/core/ProgramCreator.h"
#include "Rendering/core/SceneObject.h"
#include "Rendering/core/ShaderCompiler.h"
#include "app/RendererSet.h"
#include "tests/gl/GLTestFixture.h"

namespace {

// Broken shaders make the driver report errors through debug output as well; in these tests
// they are the point, not faults of the code under test.
struct MutedCompilerMessages {
    MutedCompilerMessages() { mute(GL_FALSE); }
    ~MutedCompilerMessages() { mute(GL_TRUE); }
    static void mute(GLboolean enabled) {
        if (!hasDebugOutput) return;
        glDebugMessageControlARB(GL_DEBUG_SOURCE_SHADER_COMPILER_ARB, GL_DONT_CARE, GL_DONT_CARE, 0,
                                 nullptr, enabled);
    }
};

int count(const std::string& text, const std::string& part) {
    int found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

const std::string kVertexPath = FYREL_SOURCE_DIR "/shaders/basic.vert";
const std::string kSkyPath = FYREL_SOURCE_DIR "/shaders/sky.frag";
const std::string kShinyPath = FYREL_SOURCE_DIR "/shaders/basic.frag";
const std::string kLightGaussPath = FYREL_SOURCE_DIR "/shaders/lightGauss.frag";

}  // namespace

using ShaderCompile = GLTest;

TEST_F(ShaderCompile, SkyAndLitProgramsLinkWithFixedLocationsAndBlockLayouts) {
    ShaderCompiler vertex(kVertexPath, GL_VERTEX_SHADER), sky(kSkyPath, GL_FRAGMENT_SHADER),
        shiny(kShinyPath, GL_FRAGMENT_SHADER), lightGauss(kLightGaussPath, GL_FRAGMENT_SHADER);
    for (ShaderCompiler* shader : {&vertex, &sky, &shiny, &lightGauss}) {
        EXPECT_EQ(shader->compile(), 0) << shader->path;
    }
    ProgramCreator skyCreator, litCreator;
    for (ShaderCompiler* shader : {&vertex, &sky}) skyCreator.addShader(*shader);
    for (ShaderCompiler* shader : {&vertex, &shiny, &lightGauss}) litCreator.addShader(*shader);
    testing::internal::CaptureStdout();
    GLuint skyProgram = skyCreator.link(), litProgram = litCreator.link();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    for (GLuint program : {skyProgram, litProgram}) {
        SCOPED_TRACE(program == skyProgram ? "sky" : "lit");
        EXPECT_EQ(glGetAttribLocation(program, "position"), 0);
        EXPECT_EQ(glGetAttribLocation(program, "texIn"), 2);
        EXPECT_GE(glGetUniformLocation(program, "modelViewProjectionMatrix"), 0);
        EXPECT_GE(glGetUniformLocation(program, "tex"), 0);
        GLint size = 0;
        glGetActiveUniformBlockiv(program, glGetUniformBlockIndex(program, "Light"),
                                  GL_UNIFORM_BLOCK_DATA_SIZE, &size);
        // Sized from the number of light orbs, which the compiler hands every shader.
        EXPECT_EQ(size, static_cast<GLint>(sizeof(LightBlock)));
        const char* names[] = {"ambientLight", "lightData[0]", "materialDiffuse",
                               "materialSpecular", "materialGlow"};
        GLuint indices[5];
        GLint offsets[5];
        glGetUniformIndices(program, 5, names, indices);
        glGetActiveUniformsiv(program, 5, indices, GL_UNIFORM_OFFSET, offsets);
        EXPECT_EQ(std::vector<GLint>(offsets, offsets + 5), (std::vector<GLint>{0, 16, 0, 16, 32}));
    }
    // The sky needs no normals or eye, so only the lit program is sure to keep them.
    EXPECT_EQ(glGetAttribLocation(litProgram, "normal"), 1);
    EXPECT_GE(glGetUniformLocation(litProgram, "world2model"), 0);
    EXPECT_GE(glGetUniformLocation(litProgram, "camPosWorldSpace"), 0);
    GLuint lightIndex = GL_INVALID_INDEX;
    const char* lightIndexName = "lightIndex";
    glGetUniformIndices(litProgram, 1, &lightIndexName, &lightIndex);
    GLint lightIndexSize = 0;
    glGetActiveUniformsiv(litProgram, 1, &lightIndex, GL_UNIFORM_SIZE, &lightIndexSize);
    EXPECT_EQ(lightIndexSize, kLightOrbCount);
    glDeleteProgram(skyProgram);
    glDeleteProgram(litProgram);
    for (ShaderCompiler* shader : {&vertex, &sky, &shiny, &lightGauss}) {
        glDeleteShader(shader->shaderId);
    }
}

TEST_F(ShaderCompile, BrokenShaderIsReportedAndItsProgramFailsToLink) {
    MutedCompilerMessages muted;
    const std::string path =
        (std::filesystem::temp_directory_path() / "fyrel-broken.frag").string();
    std::ofstream(path) << "#version 330 core\nvoid main() { gl_FragColor = nonsense; }";
    ShaderCompiler vertex(kVertexPath, GL_VERTEX_SHADER), broken(path, GL_FRAGMENT_SHADER);
    ASSERT_EQ(vertex.compile(), 0);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(broken.compile(), 1);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERR   ShaderCompiler: shader didn't compile; path: " + path + "\n");
    EXPECT_EQ(errors.rfind("Compile failure in shader:\n", 0), 0u) << errors;
    EXPECT_NE(errors.find("nonsense"), std::string::npos) << "the driver's log names the fault";

    GLuint program = 0;
    {
        ProgramCreator creator;
        creator.addShader(vertex);
        creator.addShader(broken);
        testing::internal::CaptureStdout();
        program = creator.link();
    }
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.rfind("ERR   ProgramCreator: ", 0), 0u) << log;
    EXPECT_EQ(count(log, "ERR   "), 1) << log;
    // The linker held copies sharing the shader objects; they outlive it.
    EXPECT_TRUE(glIsProgram(program));
    EXPECT_TRUE(glIsShader(vertex.shaderId));
    glDeleteProgram(program);
    glDeleteShader(vertex.shaderId);
    glDeleteShader(broken.shaderId);
    std::filesystem::remove(path);
}

TEST_F(ShaderCompile, LoadShadersCompilesInNameOrderAndGoesOnPastMissingFiles) {
    // All files broken and "vertexBasic" missing: every compile leaves its ERR line in turn.
    MutedCompilerMessages muted;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "fyrel-shader-order";
    std::filesystem::create_directories(dir / "shaders");
    RendererSet set;
    set.fillShaderTable();
    std::string expected;
    for (const auto& [name, path] : set.shaderFiles) {
        if (name == "vertexBasic") {
            std::filesystem::remove(dir / path);
            expected +=
                "ERR   ShaderCompiler: shader source could not be opened; path: " + path + "\n";
        } else {
            std::ofstream(dir / path) << "broken";
        }
        expected += "ERR   ShaderCompiler: shader didn't compile; path: " + path + "\n";
    }

    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    set.loadShaders();
    EXPECT_EQ(count(testing::internal::GetCapturedStderr(), "Compile failure in shader:\n"), 11);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    std::filesystem::current_path(previous);

    ASSERT_EQ(set.compiledShaders.size(), 11u);
    for (const auto& [name, compiler] : set.compiledShaders) {
        // Failed shaders are kept like good ones, each referring to its table entry's path.
        EXPECT_EQ(&compiler->path, &set.shaderFiles.at(name));
        GLint type = 0;
        glGetShaderiv(compiler->shaderId, GL_SHADER_TYPE, &type);
        EXPECT_EQ(GLenum(type), RendererSet::shaderTypeForPath(compiler->path)) << name;
    }
    set.releaseGpuObjects();
    std::filesystem::remove_all(dir);
}
