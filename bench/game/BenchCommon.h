#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "platform/Input.h"

// Shared by the parts of the game benchmark. The benchmark runs its measurements in child
// processes (the real game, and itself in a measuring mode); each child prints lines of
// "<tag> key=value key=value ..." on standard output, which the parent collects.
namespace bench {

using Values = std::map<std::string, double>;

struct Stats {
    double median = 0.0;
    double p90 = 0.0;
    size_t count = 0;
};

Stats statsOf(std::vector<double> samples);

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Prints one tagged line of values and flushes it.
void printValues(const std::string& tag, const Values& values);
// The values of the first line that starts with `tag`; empty when there is none.
Values parseValues(const std::string& output, const std::string& tag);

// Keeps the bot playing for as long as a measurement runs: whenever every orb is taken (the
// scene then goes dark and only the play-again line shows) it presses Enter, so the next game
// starts at once. Everything else comes from the input it wraps. Install with platform::setInput
// after the harness has installed the bot.
class PlayOn : public platform::Input {
  public:
    PlayOn(const platform::Input& inner, const int& remainingOrbs)
        : inner(inner), remainingOrbs(remainingOrbs) {}
    bool keyDown(platform::Key key) const override { return inner.keyDown(key); }
    bool keyPressed(platform::Key key) const override {
        return (key == platform::Key::Enter && remainingOrbs == 0) || inner.keyPressed(key);
    }
    void cursorPosition(int& x, int& y) const override { inner.cursorPosition(x, y); }
    int wheelPosition() const override { return inner.wheelPosition(); }
    void windowSize(int& width, int& height) const override { inner.windowSize(width, height); }
    void framebufferSize(int& width, int& height) const override {
        inner.framebufferSize(width, height);
    }
    bool iconified() const override { return inner.iconified(); }
    double time() const override { return inner.time(); }

  private:
    const platform::Input& inner;
    const int& remainingOrbs;
};

// Every picture file the game reads, the font's too, relative to the runnable folder.
std::vector<std::string> pictureFiles();

// Makes the open window's framebuffer width x height and waits until the window system has
// done it (the X server must be at least that large); false when it does not happen.
bool resizeWindow(int width, int height);

// The measuring modes, each run in a child process with the runnable folder as working directory.
int runFloorMode(bool gameHeap);
int runFramesMode(int rounds, int width, int height, const std::string& pngDir);
int runStagesMode(int frames, int skip, int width, int height, bool straightforward);
int runEmptyWindowMode(int width, int height, bool drawing);

}  // namespace bench
