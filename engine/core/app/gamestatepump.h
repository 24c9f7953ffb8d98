// The game state's share of the platform's message pump: "sessionready" on
// the first call, the loop that idles while a handler holds the game, the
// records the host window sends, and the full-screen wish sent to the host.
// The pump owns one and calls BeginEvent first on every GetEvent.
#pragma once

#include <functional>

#include "core/app/platformevent.h"

class TGameStatePump {
public:
    // Takes one message of the platform's own queue and dispatches it;
    // true when it was quit.
    using TakeMessage = std::function<bool()>;

    // Run before anything else of GetEvent: true when it yielded `event`
    // (quit). Quits when the host window is gone (with the Zylom handler or
    // "-pq="), says "sessionready" once, and while the game is held sleeps
    // 1 ms per turn and takes one host record and one message, quitting when
    // the host window goes meanwhile.
    bool BeginEvent(TPlatformEvent& event, const TakeMessage& takeMessage);

    // Takes one record the host sent; a user message (0x400) becomes
    // "windowmessage" with its wParam. False when none waited.
    bool DispatchHostRecord();

    // In portal-hosted mode the host shows the game full screen: it hears
    // the wish as a user message with 1 or 0.
    void SendFullScreen(bool on);

private:
    bool mSessionAnnounced = false;
};
