#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "infra/GL.h"

// Test fixture with a real OpenGL context: one visible 1024 x 768 window per test suite
// (under Xvfb in CI), the entry-point table loaded, and GL debug output recorded.
// Every test fails if the GL reported an error while it ran.
class GLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Errors seen since the test started (debug-output messages of type error, and glGetError).
    std::vector<std::string> glErrors();
    // RGBA8 pixels of the back buffer (or the bound read framebuffer), bottom row first.
    std::vector<uint8_t> readPixels(int x, int y, int width, int height);
    // Writes the current 1024 x 768 back buffer as <FYREL_ARTIFACT_DIR>/<name>.png; returns the path.
    std::string savePNG(const std::string& name);
    void swap();
    // Sets the GL state the frame loop keeps between frames (depth test, back-face culling).
    static void resetFrameState();
};
