#include "platform/os/termination.h"

#include <semaphore.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace os {

namespace {

// Only what a signal handler may touch: lock-free atomics and a semaphore.
std::atomic<int> gSignal{0};
std::atomic<bool> gRequestPending{false};
sem_t gSignalled;

void OnSignal(int signal) {
    int expected = 0;
    if (!gSignal.compare_exchange_strong(expected, signal)) _exit(128 + signal);
    gRequestPending.store(true);
    sem_post(&gSignalled);
}

// Gives the main loop its grace time to leave normally, then ends the
// process: a script that never returns keeps the loop from ever seeing the
// request.
void Watch(std::chrono::milliseconds grace) {
    while (sem_wait(&gSignalled) != 0) {
    }
    std::this_thread::sleep_for(grace);
    _exit(128 + gSignal.load());
}

}  // namespace

void InstallTerminationHandlers(std::chrono::milliseconds grace) {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    sem_init(&gSignalled, 0, 0);
    // Detached: it sleeps until a signal comes, and ends with the process.
    std::thread(Watch, grace).detach();
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool TakeTerminationRequest() {
    return gRequestPending.exchange(false);
}

}  // namespace os
