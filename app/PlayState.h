#pragma once

namespace platform {
class Input;
}

// What the player switches besides steering the alien: the help panel (F1) and the pause (P, or
// the window iconified), and how long the game has been played.
struct PlayState {
    bool helpShown = false;
    bool pausedByPlayer = false;
    bool iconified = false;
    // Game time played; paused time does not count.
    double playSeconds = 0.0;

    // Restoring an iconified window resumes the game only when P did not pause it as well.
    bool paused() const { return pausedByPlayer || iconified; }
    // F1 and P toggle once per press; the pause follows the window's iconified state.
    void readInput(const platform::Input& input);
};
