// The millisecond timer the engine measures time with. Code reads the
// process-wide current timer; tests replace it with a FakeTimer they move by hand.
#pragma once

#include <atomic>
#include <cstdint>

namespace os {

class Timer {
public:
    virtual ~Timer() = default;
    // Milliseconds from an arbitrary origin; wraps around after 2^32.
    virtual uint32_t Milliseconds() const = 0;
};

// Monotonic time of the system (steady clock).
class SteadyTimer : public Timer {
public:
    uint32_t Milliseconds() const override;
};

// A timer that moves only when told to.
class FakeTimer : public Timer {
public:
    explicit FakeTimer(uint32_t start = 0) : mNow(start) {}
    uint32_t Milliseconds() const override { return mNow.load(); }
    void Set(uint32_t milliseconds) { mNow.store(milliseconds); }
    void Advance(uint32_t milliseconds) { mNow.fetch_add(milliseconds); }

private:
    std::atomic<uint32_t> mNow;
};

// The current timer: the steady timer unless replaced.
Timer& CurrentTimer();
// Replaces the current timer (not owned); null restores the steady timer.
void SetCurrentTimer(Timer* timer);
// Shorthand for CurrentTimer().Milliseconds().
uint32_t TimeMilliseconds();

}  // namespace os
