#include "tests/gl/GLTestFixture.h"

#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/Window.h"

namespace {
std::vector<std::string> recordedErrors;
bool contextReady = false;

void APIENTRY onDebugMessage(GLenum, GLenum type, GLuint, GLenum, GLsizei length,
                             const GLchar* message, const void*) {
    if (type != GL_DEBUG_TYPE_ERROR_ARB) return;
    recordedErrors.emplace_back(message, length > 0 ? static_cast<size_t>(length)
                                                    : std::char_traits<char>::length(message));
}

std::string artifactDir() {
    const char* dir = std::getenv("FYREL_ARTIFACT_DIR");
    return dir && *dir ? dir : FYREL_ARTIFACT_DIR;
}
}  // namespace

void GLTest::SetUpTestSuite() {
    // A visible window: under Xvfb nobody sees it, and only a mapped window's back buffer is
    // sure to read back.
    if (!platform::initWindowLibrary()) return;
    platform::Window* window = platform::Window::open(1024, 768, "Fyrel GL test");
    if (!window) return;
    contextReady = initGLLoader() == 1;
    if (!contextReady) return;
    if (hasDebugOutput) {
        // Without a debug context Mesa reports nothing until the output is switched on.
        if (platform::extensionSupported("GL_KHR_debug")) glEnable(GL_DEBUG_OUTPUT);
        // Synchronous, so a message arrives inside the call that caused it.
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS_ARB);
        glDebugMessageCallbackARB(onDebugMessage, nullptr);
        glDebugMessageControlARB(GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, 0, nullptr, GL_TRUE);
    }
    resetFrameState();
}

void GLTest::TearDownTestSuite() {
    platform::terminateWindowLibrary();
    contextReady = false;
}

void GLTest::SetUp() {
    ASSERT_NE(platform::Window::current(), nullptr) << "no window with an OpenGL context";
    ASSERT_TRUE(contextReady) << "the context offers no OpenGL 3.3 with GL_ARB_gpu_shader5";
    while (glGetError() != GL_NO_ERROR) {
    }
    recordedErrors.clear();
}

void GLTest::TearDown() {
    platform::Window* window = platform::Window::current();
    if (!window) return;
    // A test that scripted the input, resized or closed the window must not leak that into the
    // next.
    platform::setInput(window);
    int width = 0, height = 0;
    window->framebufferSize(width, height);
    if ((width != 1024 || height != 768) && !resizeWindow(1024, 768)) {
        ADD_FAILURE() << "the window does not go back to 1024 x 768";
    }
    for (const std::string& error : glErrors()) ADD_FAILURE() << "GL error: " << error;
    resetFrameState();
}

std::vector<std::string> GLTest::glErrors() {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        recordedErrors.push_back("glGetError " + std::to_string(error));
    }
    return recordedErrors;
}

Pixels::Pixels(int x, int y, int width, int height)
    : left(x),
      bottom(y),
      columns(std::max(width, 0)),
      rows(std::max(height, 0)),
      rgba(static_cast<size_t>(columns) * rows * 4, 0) {}

const uint8_t* Pixels::at(int x, int y) const {
    static const uint8_t black[4] = {0, 0, 0, 0};
    if (x >= 0 && y >= 0 && x < columns && y < rows) {
        return &rgba[(static_cast<size_t>(y) * columns + x) * 4];
    }
    if (!outsideReported) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") lies outside the " << columns << " x "
                      << rows << " pixels read at (" << left << ", " << bottom << ")";
        outsideReported = true;
    }
    return black;
}

Pixels GLTest::readPixels(int x, int y, int width, int height) {
    Pixels pixels(x, y, width, height);
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    int windowWidth = 0, windowHeight = 0;
    platform::Window::current()->framebufferSize(windowWidth, windowHeight);
    if (readFramebuffer != 0) {
        ADD_FAILURE() << "readPixels reads the window, but framebuffer " << readFramebuffer
                      << " is bound for reading";
    } else if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > windowWidth ||
               y + height > windowHeight) {
        ADD_FAILURE() << "reading " << width << " x " << height << " pixels at (" << x << ", " << y
                      << ") leaves the " << windowWidth << " x " << windowHeight << " framebuffer";
    } else {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    return pixels;
}

std::string GLTest::savePNG(const std::string& name) {
    int width = 0, height = 0;
    platform::Window::current()->framebufferSize(width, height);
    // FreeImage keeps 24-bit pixels as blue-green-red, bottom row first: GL's order with BGR.
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* bitmap =
        FreeImage_ConvertFromRawBits(pixels.data(), width, height, width * 3, 24, FI_RGBA_RED_MASK,
                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    std::filesystem::create_directories(artifactDir());
    std::string path = artifactDir() + "/" + name + ".png";
    bool saved = bitmap && FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT);
    if (bitmap) FreeImage_Unload(bitmap);
    EXPECT_TRUE(saved) << "could not write " << path;
    return path;
}

void GLTest::swap() {
    platform::Window::current()->swapBuffers();
}

bool GLTest::resizeWindow(int width, int height) {
    platform::Window* window = platform::Window::current();
    window->setSize(width, height);
    for (int attempt = 0; attempt < 200; ++attempt) {
        window->swapBuffers();  // processes the events that bring the new size
        int w = 0, h = 0;
        window->framebufferSize(w, h);
        if (w == width && h == height) {
            // The driver gives its buffers the new size at the next swap.
            window->swapBuffers();
            glViewport(0, 0, width, height);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void GLTest::resetFrameState() {
    glViewport(0, 0, 1024, 768);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
}
