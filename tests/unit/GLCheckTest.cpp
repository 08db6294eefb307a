#include <gtest/gtest.h>

#include <set>
#include <string>

#include "infra/GL.h"

namespace {
std::set<std::string> offered;
bool offers(const char* extension) {
    return offered.count(extension) > 0;
}

struct Outcome {
    int result;
    std::string errors;
};

Outcome check(int major, int minor, std::set<std::string> extensions) {
    offered = std::move(extensions);
    hasDebugOutput = 0;
    hasTextureFilterAnisotropic = 0;
    testing::internal::CaptureStderr();
    int result = checkGLContext(major, minor, offers);
    return {result, testing::internal::GetCapturedStderr()};
}

const char* const versionRefusal32 =
    "Error: OpenGL version 3.3 not supported.\n"
    "       Your version is 3.2.\n"
    "       Try updating your graphics driver.\n";
const char* const shader5Refusal =
    "Error: OpenGL extension ARB_gpu_shader5 not supported.\n"
    "       Your version is 4.0.\n"
    "       Try updating your graphics driver.\n";
}  // namespace

TEST(GLCheck, RefusesVersionsBelowThreeThree) {
    Outcome outcome = check(3, 2, {"GL_ARB_gpu_shader5", "GL_ARB_debug_output"});
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.errors, versionRefusal32);
    // Refused before the optional extensions are looked at.
    EXPECT_EQ(hasDebugOutput, 0);

    outcome = check(2, 9, {"GL_ARB_gpu_shader5"});
    EXPECT_EQ(outcome.result, 0);
    EXPECT_NE(outcome.errors.find("       Your version is 2.9.\n"), std::string::npos);
}

TEST(GLCheck, RefusesAContextWithoutGpuShader5) {
    Outcome outcome = check(4, 0, {"GL_ARB_debug_output", "GL_EXT_texture_filter_anisotropic"});
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.errors, shader5Refusal);
    EXPECT_EQ(hasDebugOutput, 0);
    EXPECT_EQ(hasTextureFilterAnisotropic, 0);
}

TEST(GLCheck, AcceptsThreeThreeAndAnyFourWithFlagsFromTheOptionalExtensions) {
    Outcome outcome = check(3, 3, {"GL_ARB_gpu_shader5"});
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.errors, "");
    EXPECT_EQ(hasDebugOutput, 0);
    EXPECT_EQ(hasTextureFilterAnisotropic, 0);

    EXPECT_EQ(check(4, 0, {"GL_ARB_gpu_shader5", "GL_ARB_debug_output"}).result, 1);
    EXPECT_EQ(hasDebugOutput, 1);
    EXPECT_EQ(hasTextureFilterAnisotropic, 0);

    check(4, 5, {"GL_ARB_gpu_shader5", "GL_EXT_texture_filter_anisotropic"});
    EXPECT_EQ(hasDebugOutput, 0);
    EXPECT_EQ(hasTextureFilterAnisotropic, 1);
}

// Nothing is looked up before a context exists: a call through the table then would crash.
TEST(GLCheck, TheTableStartsEmpty) {
    EXPECT_GT(glEntryPointCount(), 0);
    EXPECT_EQ(glResolvedEntryPointCount(), 0);
}
