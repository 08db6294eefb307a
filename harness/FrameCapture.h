#pragma once

#include <string>
#include <vector>

class MainGame;

// What the capture looks at after each frame.
struct CaptureObservation {
    bool jumping = false;
    bool transferring = false;
    int remaining = 0;
    double playSeconds = 0.0;  // game time, so that the pictures are the same at any frame rate
};

// Decides which pictures a frame gives: "start" (first frame), "jump" (a moment into the first
// jump), "transfer" (a moment into the first flight to another planet), "orb-N" (the frame the
// N-th orb is collected), "end" (when the scene has dimmed for a while after the last orb; the
// run is over then) and, every `every` frames, "frames/NNNNNN" for an animation.
class CaptureSchedule {
  public:
    // Seconds of play.
    static constexpr double kJumpDelay = 0.1;
    static constexpr double kTransferDelay = 0.5;
    static constexpr double kEndDelay = 3.3;  // the light has sunk from 0.3 to about 0.1

    explicit CaptureSchedule(int every = 0, double endDelay = kEndDelay)
        : every(every), endDelay(endDelay) {}

    // Once per drawn frame; names without file ending, in the order they were decided.
    std::vector<std::string> next(const CaptureObservation& seen);
    // True once "end" was given.
    bool finished() const { return done; }

  private:
    int every;
    double endDelay;
    long frame = 0;
    int total = -1;
    int lastRemaining = -1;
    // When the current jump, flight and end began (seconds of play); negative: not under way.
    double jumpSince = -1.0;
    double transferSince = -1.0;
    double wonSince = -1.0;
    bool jumpTaken = false;
    bool transferTaken = false;
    bool done = false;
};

// Saves chosen frames of the running game as PNG pictures into a folder.
class FrameCapture {
  public:
    // Every N-th frame (`every` > 0) is also kept, at half size, under <directory>/frames.
    FrameCapture(std::string directory, int every);

    // After the frame is drawn, before the swap: reads the back buffer when the frame is one
    // to keep. After the end picture it asks the window to close.
    void afterDraw(const MainGame& game);

  private:
    std::string directory;
    CaptureSchedule schedule;
    std::vector<unsigned char> pixels;
    bool failed = false;

    void save(const std::string& name, int width, int height);
};
