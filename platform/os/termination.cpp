#include "platform/os/termination.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace os {

namespace {

const unsigned kGraceSeconds = 1;

// Only what a signal handler may touch: lock-free atomics.
std::atomic<int> gSignal{0};
std::atomic<bool> gRequestPending{false};

void OnSignal(int signal) {
    int expected = 0;
    if (!gSignal.compare_exchange_strong(expected, signal)) _exit(128 + signal);
    gRequestPending.store(true);
    // A script that never returns keeps the loop from ever seeing the
    // request: the alarm ends the process then.
    alarm(kGraceSeconds);
}

void OnGraceOver(int) {
    _exit(128 + gSignal.load());
}

void Handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallTerminationHandlers() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    Handle(SIGALRM, OnGraceOver);
    Handle(SIGTERM, OnSignal);
    Handle(SIGINT, OnSignal);
}

bool TakeTerminationRequest() {
    return gRequestPending.exchange(false);
}

}  // namespace os
