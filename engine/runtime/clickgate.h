// Drops the mouse buttons of the click that activated the window, so that
// it does not also press whatever lies under the pointer.
#pragma once

#include <cstdint>

class TClickGate {
public:
    // Buttons are dropped for this long after an activating click (ms).
    static constexpr uint32_t kActivationDelay = 400;

    // The window was activated with the pointer inside it.
    void Activated(uint32_t now);
    // Whether a button message is dropped. An up ends the activation mark
    // first; while a movie plays the mark drops nothing; while input is
    // blocked everything is dropped.
    bool Drops(bool down, uint32_t now, bool moviePlaying, bool inputBlocked);

private:
    bool mJustActivated = false;
    uint32_t mActivationTime = 0;
};
