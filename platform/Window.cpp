#include "platform/Window.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iterator>
#include <string>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <vector>
#endif

namespace platform {

namespace {
bool libraryReady = false;
Window* openWindow = nullptr;
std::string lastLibraryError;

void noteLibraryError(int, const char* description) {
    lastLibraryError = description ? description : "";
}

constexpr KeyBinding kKeyBindings[] = {
    {Key::Escape, GLFW_KEY_ESCAPE, "Escape", true},
    {Key::F2, GLFW_KEY_F2, "F2", true},
    {Key::F5, GLFW_KEY_F5, "F5", true},
    {Key::Space, GLFW_KEY_SPACE, "space", true},
    {Key::W, GLFW_KEY_W, "w", false},
    {Key::A, GLFW_KEY_A, "a", false},
    {Key::S, GLFW_KEY_S, "s", false},
    {Key::D, GLFW_KEY_D, "d", false},
    {Key::F1, GLFW_KEY_F1, "F1", true},
    {Key::F11, GLFW_KEY_F11, "F11", true},
    {Key::P, GLFW_KEY_P, "p", true},
    {Key::Enter, GLFW_KEY_ENTER, "Return", true},
    {Key::M, GLFW_KEY_M, "m", true},
    {Key::Minus, GLFW_KEY_MINUS, "minus", true},
    {Key::Plus, GLFW_KEY_EQUAL, "equal", true},
    {Key::PadMinus, GLFW_KEY_KP_SUBTRACT, "KP_Subtract", true},
    {Key::PadPlus, GLFW_KEY_KP_ADD, "KP_Add", true},
};
constexpr bool inKeyOrder() {
    for (size_t i = 0; i < std::size(kKeyBindings); ++i) {
        if (kKeyBindings[i].key != static_cast<Key>(i)) return false;
    }
    return std::size(kKeyBindings) == static_cast<size_t>(Key::Count);
}
static_assert(inKeyOrder(), "kKeyBindings needs one row per key, in the order of Key");

// Leak reports are made at exit and name the library that allocated each block, but the GL
// driver is unloaded when the window library shuts down, and its blocks would then show up as
// "<unknown module>". Sanitizer builds therefore keep every loaded DRI driver mapped.
void keepGraphicsDriverLoaded() {
#if defined(__SANITIZE_ADDRESS__)
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so")) {
                static_cast<std::vector<std::string>*>(found)->push_back(info->dlpi_name);
            }
            return 0;
        },
        &drivers);
    // The handles are never closed on purpose.
    for (const std::string& path : drivers)
        dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
#endif
}

// Empty when the monitor's video mode cannot be read.
ScreenRect monitorRect(GLFWmonitor* monitor) {
    ScreenRect rect;
    glfwGetMonitorPos(monitor, &rect.x, &rect.y);
    if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
        rect.width = mode->width;
        rect.height = mode->height;
    }
    return rect;
}

ScreenRect centredOn(const ScreenRect& monitor, int width, int height) {
    return {monitor.x + (monitor.width - width) / 2, monitor.y + (monitor.height - height) / 2,
            width, height};
}

long long overlap(const ScreenRect& a, const ScreenRect& b) {
    const long long width = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long height = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? width * height : 0;
}
}  // namespace

int monitorHolding(const ScreenRect& window, const std::vector<ScreenRect>& monitors) {
    int best = monitors.empty() ? -1 : 0;
    long long bestArea = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long area = overlap(window, monitors[i]);
        if (area > bestArea) {
            best = static_cast<int>(i);
            bestArea = area;
        }
    }
    return best;
}

ScreenRect primaryWorkArea() {
    ScreenRect area;
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        glfwGetMonitorWorkarea(monitor, &area.x, &area.y, &area.width, &area.height);
    }
    return area;
}

bool initWindowLibrary() {
    // Allowed before glfwInit, so that its own failure is explained too.
    glfwSetErrorCallback(noteLibraryError);
    // A busy X server now and then turns a connection away (EAGAIN); that is no reason to give
    // up on the game, so a few more attempts are made before the failure counts.
    for (int attempt = 0; !libraryReady && attempt < 10; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        libraryReady = glfwInit() == GLFW_TRUE;
    }
    return libraryReady;
}

void terminateWindowLibrary() {
    delete openWindow;
    if (libraryReady) glfwTerminate();
    libraryReady = false;
}

std::string windowLibraryError() {
    return lastLibraryError;
}

void contextVersion(int& major, int& minor) {
    GLFWwindow* context = glfwGetCurrentContext();
    major = context ? glfwGetWindowAttrib(context, GLFW_CONTEXT_VERSION_MAJOR) : 0;
    minor = context ? glfwGetWindowAttrib(context, GLFW_CONTEXT_VERSION_MINOR) : 0;
}

bool extensionSupported(const char* name) {
    return glfwExtensionSupported(name) == GLFW_TRUE;
}

GLProc procAddress(const char* name) {
    return glfwGetProcAddress(name);
}

std::vector<KeyBinding> keyBindings() {
    return {std::begin(kKeyBindings), std::end(kKeyBindings)};
}

Window* Window::open(int width, int height, const char* title, bool fullScreen, bool hidden) {
    if (!libraryReady || openWindow) return nullptr;
    // Framebuffer bits only: the context version is left to the platform's default, and the
    // version check after loading decides whether it will do.
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_STENCIL_BITS, 8);
    glfwWindowHint(GLFW_VISIBLE, hidden ? GLFW_FALSE : GLFW_TRUE);
    GLFWmonitor* monitor = fullScreen ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode) glfwWindowHint(GLFW_REFRESH_RATE, mode->refreshRate);
    GLFWwindow* handle = mode ? glfwCreateWindow(mode->width, mode->height, title, monitor, nullptr)
                              : glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (!handle) return nullptr;
    glfwMakeContextCurrent(handle);
    keepGraphicsDriverLoaded();
    openWindow = new Window(handle);
    if (mode) openWindow->windowed = centredOn(monitorRect(monitor), width, height);
    if (!input()) setInput(openWindow);
    return openWindow;
}

Window* Window::current() {
    return openWindow;
}

Window::Window(GLFWwindow* handle) : handle(handle) {
    glfwSetWindowUserPointer(handle, this);
    // The wheel is only reported as scroll events, so its position is kept here.
    glfwSetScrollCallback(handle, onScroll);
    // Presses are noted as they arrive, so that one released again before the frame reads it
    // is not lost.
    glfwSetKeyCallback(handle, onKey);
    glfwSetFramebufferSizeCallback(handle, onFramebufferSize);
}

Window::~Window() {
    if (input() == this) setInput(nullptr);
    if (openWindow == this) openWindow = nullptr;
    glfwDestroyWindow(handle);
}

bool Window::keyDown(Key key) const {
    const KeyBinding& binding = kKeyBindings[static_cast<size_t>(key)];
    return glfwGetKey(handle, binding.glfwKey) == GLFW_PRESS ||
           (binding.tapCounts && keyPressed(key));
}

bool Window::keyPressed(Key key) const {
    return pressedInPoll[static_cast<size_t>(key)];
}

void Window::cursorPosition(int& x, int& y) const {
    double fx = 0.0, fy = 0.0;
    glfwGetCursorPos(handle, &fx, &fy);
    x = static_cast<int>(std::floor(fx));
    y = static_cast<int>(std::floor(fy));
}

int Window::wheelPosition() const {
    return static_cast<int>(std::lround(wheel));
}

void Window::windowSize(int& width, int& height) const {
    glfwGetWindowSize(handle, &width, &height);
}

void Window::windowedSize(int& width, int& height) const {
    if (!isFullScreen()) return windowSize(width, height);
    width = windowed.width;
    height = windowed.height;
}

void Window::framebufferSize(int& width, int& height) const {
    glfwGetFramebufferSize(handle, &width, &height);
}

bool Window::iconified() const {
    return glfwGetWindowAttrib(handle, GLFW_ICONIFIED) == GLFW_TRUE;
}

double Window::time() const {
    return glfwGetTime();
}

void Window::show() {
    glfwShowWindow(handle);
}

bool Window::isOpen() const {
    return !glfwWindowShouldClose(handle);
}

void Window::requestClose() {
    glfwSetWindowShouldClose(handle, GLFW_TRUE);
}

void Window::swapBuffers() {
    glfwSwapBuffers(handle);
    std::fill(std::begin(pressedInPoll), std::end(pressedInPoll), false);
    glfwPollEvents();
}

void Window::captureCursor() {
    glfwSetInputMode(handle, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
}

void Window::releaseCursor() {
    glfwSetInputMode(handle, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
}

bool Window::cursorCaptured() const {
    return glfwGetInputMode(handle, GLFW_CURSOR) == GLFW_CURSOR_DISABLED;
}

void Window::setResizeHandler(void (*handler)(int, int)) {
    resizeHandler = handler;
}

void Window::setIcon(const std::vector<RgbaImage>& sizes) {
    std::vector<GLFWimage> images;
    for (const RgbaImage& image : sizes) {
        // GLFW copies the pixels and never writes them.
        images.push_back(
            {image.width, image.height, const_cast<unsigned char*>(image.pixels.data())});
    }
    if (!images.empty()) glfwSetWindowIcon(handle, static_cast<int>(images.size()), images.data());
}

void Window::setSize(int width, int height) {
    glfwSetWindowSize(handle, width, height);
}

void Window::toggleFullScreen() {
    if (isFullScreen()) {
        glfwSetWindowMonitor(handle, nullptr, windowed.x, windowed.y, windowed.width,
                             windowed.height, GLFW_DONT_CARE);
    } else {
        int count = 0;
        GLFWmonitor** monitors = glfwGetMonitors(&count);
        std::vector<ScreenRect> rects;
        for (int i = 0; i < count; ++i) rects.push_back(monitorRect(monitors[i]));
        glfwGetWindowPos(handle, &windowed.x, &windowed.y);
        glfwGetWindowSize(handle, &windowed.width, &windowed.height);
        const int chosen = monitorHolding(windowed, rects);
        const GLFWvidmode* mode = chosen >= 0 ? glfwGetVideoMode(monitors[chosen]) : nullptr;
        if (!mode) return;
        glfwSetWindowMonitor(handle, monitors[chosen], 0, 0, mode->width, mode->height,
                             mode->refreshRate);
    }
    // The viewport follows at once rather than after the window system's notice.
    int width = 0, height = 0;
    framebufferSize(width, height);
    if (resizeHandler) resizeHandler(width, height);
}

bool Window::isFullScreen() const {
    return glfwGetWindowMonitor(handle) != nullptr;
}

void Window::onScroll(GLFWwindow* handle, double, double dy) {
    static_cast<Window*>(glfwGetWindowUserPointer(handle))->wheel += dy;
}

void Window::onKey(GLFWwindow* handle, int glfwKey, int, int action, int) {
    if (action != GLFW_PRESS) return;
    Window* window = static_cast<Window*>(glfwGetWindowUserPointer(handle));
    for (const KeyBinding& binding : kKeyBindings) {
        if (binding.glfwKey == glfwKey)
            window->pressedInPoll[static_cast<size_t>(binding.key)] = true;
    }
}

void Window::onFramebufferSize(GLFWwindow* handle, int width, int height) {
    Window* window = static_cast<Window*>(glfwGetWindowUserPointer(handle));
    if (window->resizeHandler) window->resizeHandler(width, height);
}

}  // namespace platform
