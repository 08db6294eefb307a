#include "platform/Signals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace platform {

namespace {
// Atomic rather than volatile sig_atomic_t: the signal may be handled on any of the process's
// threads (audio, decoding, the driver's), and the frame loop reads it on the main thread.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "a signal handler may only use lock-free atomics");

void onStopSignal(int signal) {
    caught.store(signal);
}
}  // namespace

void catchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Calls in progress go on; SA_RESETHAND lets the next signal of the kind end the process.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int stopSignal() {
    return caught.load();
}

void endBySignal(int signal) {
    // The default action ends the process without flushing what is still buffered.
    std::cout.flush();
    std::fflush(nullptr);
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    // Not reached for SIGINT or SIGTERM; a signal whose default is to go on ends here.
    _exit(128 + signal);
}

}  // namespace platform
