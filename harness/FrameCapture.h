#pragma once

#include <string>
#include <vector>

class MainGame;

// What the capture looks at after each frame.
struct CaptureObservation {
    bool jumping = false;
    bool transferring = false;
    int remaining = 0;
};

// Decides which pictures a frame gives: "start" (first frame), "jump" (a few frames into the
// first jump), "transfer" (a few frames into the first flight to another planet), "orb-N" (the
// frame the N-th orb is collected), "end" (when the scene has dimmed for a while after the
// last orb; the run is over then) and, every `every` frames, "frames/NNNNNN" for an animation.
class CaptureSchedule {
  public:
    static constexpr int kJumpDelay = 2;
    static constexpr int kTransferDelay = 6;
    static constexpr int kEndDelay = 200;  // the light sinks by 0.001 a frame from 0.3

    explicit CaptureSchedule(int every = 0, int endDelay = kEndDelay)
        : every(every), endDelay(endDelay) {}

    // Once per drawn frame; names without file ending, in the order they were decided.
    std::vector<std::string> next(const CaptureObservation& seen);
    // True once "end" was given.
    bool finished() const { return done; }

  private:
    int every;
    int endDelay;
    long frame = 0;
    int total = -1;
    int lastRemaining = -1;
    int jumpFrames = 0;
    int transferFrames = 0;
    bool jumpTaken = false;
    bool transferTaken = false;
    long wonFrames = 0;
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
