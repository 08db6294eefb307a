#pragma once

namespace platform {

// SIGINT (Ctrl+C in the terminal) and SIGTERM (kill, a desktop session ending) ask the game to
// end like its close button does, so that it shuts down cleanly and exits with 128 + signal.

// Installs handlers that only note the signal. A second signal of the same kind ends the process
// at once, in case the clean shutdown hangs.
void catchStopSignals();
// The signal that asked the game to stop, or 0.
int stopSignal();

}  // namespace platform
