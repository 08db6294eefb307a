#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "infra/GL.h"

// Pixels read back from the window: RGBA8, bottom row first. Single pixels are only reached
// through at(), which checks the coordinates, so a wrong camera or size fails the test with a
// message instead of reading past the end of the buffer.
class Pixels {
  public:
    // Black pixels for the width x height rectangle whose lower left corner is (x, y).
    Pixels(int x, int y, int width, int height);
    int width() const { return columns; }
    int height() const { return rows; }
    // RGBA of the pixel in column x, row y of the rectangle (0, 0 is its lower left corner).
    // Outside it: a test failure (reported once per read) and a black pixel.
    const uint8_t* at(int x, int y) const;
    // Every pixel in order, for comparisons of whole frames.
    const std::vector<uint8_t>& bytes() const { return rgba; }
    uint8_t* data() { return rgba.data(); }

  private:
    int left, bottom, columns, rows;
    std::vector<uint8_t> rgba;
    mutable bool outsideReported = false;
};

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
    // The back buffer's pixels in the rectangle whose lower left corner is (x, y). A rectangle
    // that does not lie inside the window's framebuffer fails the test and reads as black.
    Pixels readPixels(int x, int y, int width, int height);
    // Writes the whole back buffer as <FYREL_ARTIFACT_DIR>/<name>.png; returns the path.
    std::string savePNG(const std::string& name);
    void swap();
    // Gives the window a framebuffer of this size (also larger than the screen: the back buffer
    // is read, not the screen) and the viewport to match; false when the window system did not
    // follow. Every test starts at 1024 x 768.
    static bool resizeWindow(int width, int height);
    // Sets the GL state the frame loop keeps between frames (depth test, back-face culling).
    static void resetFrameState();
};
