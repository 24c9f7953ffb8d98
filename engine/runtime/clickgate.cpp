#include "runtime/clickgate.h"

void TClickGate::Activated(uint32_t now) {
    mJustActivated = true;
    mActivationTime = now;
}

bool TClickGate::Drops(bool down, uint32_t now, bool moviePlaying, bool inputBlocked) {
    if (!down) mJustActivated = false;
    // Unsigned difference: right across the timer's wrap-around.
    bool activating = mJustActivated && !moviePlaying && now - mActivationTime < kActivationDelay;
    return activating || inputBlocked;
}
