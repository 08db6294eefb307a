#include <gtest/gtest.h>

#include <csignal>

#include "platform/Signals.h"

// The first Ctrl+C (or SIGTERM) only asks the game to end cleanly; should that hang, a second
// one ends the process at once, as the signal's default does.
TEST(StopSignals, TheFirstIsNotedAndASecondEndsTheProcessAtOnce) {
    for (int signal : {SIGINT, SIGTERM}) {
        EXPECT_EXIT(
            {
                platform::catchStopSignals();
                std::raise(signal);
                if (platform::stopSignal() != signal) std::_Exit(3);
                std::raise(signal);
                std::_Exit(0);
            },
            testing::KilledBySignal(signal), "")
            << "signal " << signal;
    }
}
