#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <iostream>

#include "app/FrameLoop.h"
#include "harness/ScriptedInput.h"
#include "infra/Log.h"
#include "infra/WindowSetup.h"
#include "platform/Window.h"
#include "tests/gl/GLTestFixture.h"

using platform::Key;

namespace {
GLint polygonMode() {
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

template <typename Run>
std::string stdoutOf(Run run) {
    LogLevel saved = logThreshold;
    logThreshold = 0;
    testing::internal::CaptureStdout();
    run();
    std::cout.flush();
    logThreshold = saved;
    return testing::internal::GetCapturedStdout();
}
}  // namespace

class FrameLoop : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        platform::setInput(&keys);
    }
    ScriptedInput keys;
};

TEST_F(FrameLoop, WireframeLastsExactlyWhileF2IsHeld) {
    processInput();
    EXPECT_EQ(polygonMode(), GL_FILL);
    keys.press(Key::F2);
    processInput();
    EXPECT_EQ(polygonMode(), GL_LINE);
    EXPECT_TRUE(runFrame(nullptr));
    EXPECT_EQ(polygonMode(), GL_LINE);
    keys.press(Key::F2, false);
    processInput();
    EXPECT_EQ(polygonMode(), GL_FILL);
}

TEST_F(FrameLoop, F5FreesTheCursorForGood) {
    platform::Window* window = platform::Window::current();
    window->captureCursor();
    processInput();
    EXPECT_TRUE(window->cursorCaptured());
    keys.press(Key::F5);
    processInput();
    EXPECT_FALSE(window->cursorCaptured());
    keys.press(Key::F5, false);
    runFrame(nullptr);
    EXPECT_FALSE(window->cursorCaptured());
}

TEST_F(FrameLoop, FramesGoOnWhileNothingIsPressed) {
    for (int frame = 0; frame < 3; ++frame) EXPECT_TRUE(runFrame(nullptr));
    EXPECT_TRUE(platform::Window::current()->isOpen());
    EXPECT_EQ(stdoutOf([] { processInput(); }), "");
}

// A fresh window: one marked for closing stays marked.
class FrameLoopEscape : public FrameLoop {};

TEST_F(FrameLoopEscape, EscapeInTheFirstFrameEndsTheLoopAfterThatFrame) {
    keys.press(Key::Escape);
    long frames = 0;
    std::string out = stdoutOf([&] { frames = runFrameLoop(nullptr); });
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(out, "TRACE main: Controlls: KEY_ESC\n\n");
    // Marked, not destroyed: the context still works for the rest of the frame.
    platform::Window* window = platform::Window::current();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isOpen());
    glClear(GL_COLOR_BUFFER_BIT);
}

// setupWindow and shutdownWindow own the window, so this suite runs without the fixture's.
TEST(WindowSetup, OpensTheGameWindowWithItsInitialStateAndShutsDown) {
    std::string out = stdoutOf([] { ASSERT_EQ(setupWindow(), 0); });
    EXPECT_EQ(out,
              "INFO  main: glfw initialized!\n"
              "INFO  main: glfw window created!\n"
              "INFO  main: flextGL initialized\n");
    platform::Window* window = platform::Window::current();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform::input(), window);
    int width = 0, height = 0;
    window->windowSize(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_TRUE(window->cursorCaptured());
    EXPECT_TRUE(window->isOpen());

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    window->framebufferSize(width, height);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint cullFace = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    EXPECT_EQ(cullFace, GL_BACK);

    // A new framebuffer size reaches the viewport through the resize handler.
    glfwSetWindowSize(glfwGetCurrentContext(), 640, 480);
    for (int i = 0; i < 100 && viewport[2] != 640; ++i) {
        window->swapBuffers();
        glGetIntegerv(GL_VIEWPORT, viewport);
    }
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    out = stdoutOf([] {
        shutdownWindow();
        shutdownWindow();
    });
    EXPECT_EQ(out, "INFO  main: glfw window terminated!\nINFO  main: glfw window terminated!\n");
    EXPECT_EQ(platform::Window::current(), nullptr);
    EXPECT_EQ(platform::input(), nullptr);
}
