#pragma once

namespace platform {

// SIGINT (Ctrl+C in the terminal) and SIGTERM (kill, a desktop session ending) ask the game to
// end like its close button does, so that it shuts down cleanly and then ends by the signal
// itself: a calling script sees that it was interrupted, and the shell shows 128 + signal.

// Installs handlers that only note the signal. A second signal of the same kind ends the process
// at once, in case the clean shutdown hangs.
void catchStopSignals();
// The signal that asked the game to stop, or 0.
int stopSignal();
// Flushes standard output and error, then ends the process by `signal` with its default action.
[[noreturn]] void endBySignal(int signal);

}  // namespace platform
