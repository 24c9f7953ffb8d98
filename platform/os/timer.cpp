#include "platform/os/timer.h"

#include <chrono>

namespace os {

namespace {

SteadyTimer gSteadyTimer;
std::atomic<Timer*> gCurrentTimer{&gSteadyTimer};

}  // namespace

uint32_t SteadyTimer::Milliseconds() const {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

Timer& CurrentTimer() {
    return *gCurrentTimer.load();
}

void SetCurrentTimer(Timer* timer) {
    gCurrentTimer.store(timer ? timer : &gSteadyTimer);
}

uint32_t TimeMilliseconds() {
    return CurrentTimer().Milliseconds();
}

}  // namespace os
