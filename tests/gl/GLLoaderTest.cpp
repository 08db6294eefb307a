#include <FreeImage.h>

#include "tests/gl/GLTestFixture.h"

using GLLoader = GLTest;

TEST_F(GLLoader, ResolvesEveryEntryPointOnThisDriver) {
    EXPECT_GT(glEntryPointCount(), 0);
    EXPECT_EQ(glResolvedEntryPointCount(), glEntryPointCount());
    EXPECT_EQ(hasDebugOutput, 1);
    // Optional, and offered here (GL_KHR_debug): the glow renderer's passes are labelled.
    EXPECT_NE(glPushDebugGroup, nullptr);
    EXPECT_NE(glPopDebugGroup, nullptr);
}

TEST_F(GLLoader, ResolvedEntryPointsReachTheDriver) {
    // Table slots must hold the matching functions, not just any non-null address.
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, 64, nullptr, GL_STATIC_DRAW);
    GLint size = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 64);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
}

// Every GL test relies on the fixture noticing errors, so make sure it does.
TEST_F(GLLoader, FixtureRecordsDebugOutputErrors) {
    glEnable(0x1234);
    std::vector<std::string> errors = glErrors();
    ASSERT_FALSE(errors.empty());
    // The debug message arrives before glGetError is asked, so it is listed first.
    EXPECT_EQ(errors.front().find("glGetError"), std::string::npos) << errors.front();
    EXPECT_NE(errors.back().find("glGetError 1280"), std::string::npos) << errors.back();
    SetUp();  // forgets the provoked error
}

TEST_F(GLLoader, ReadsBackAndSavesTheFrame) {
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const Pixels frame = readPixels(512, 384, 1, 1);
    const uint8_t* pixel = frame.at(0, 0);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_NEAR(pixel[1], 128, 1);
    EXPECT_EQ(pixel[2], 0);

    std::string path = savePNG("gl_loader_clear");
    FIBITMAP* picture = FreeImage_Load(FIF_PNG, path.c_str(), PNG_DEFAULT);
    ASSERT_NE(picture, nullptr) << path;
    EXPECT_EQ(FreeImage_GetWidth(picture), 1024u);
    EXPECT_EQ(FreeImage_GetHeight(picture), 768u);
    RGBQUAD colour{};
    FreeImage_GetPixelColor(picture, 10, 10, &colour);
    EXPECT_EQ(colour.rgbRed, 255);
    EXPECT_NEAR(colour.rgbGreen, 128, 1);
    EXPECT_EQ(colour.rgbBlue, 0);
    FreeImage_Unload(picture);
    swap();
}
