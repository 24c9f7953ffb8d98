// The host window channel: a host (a portal page or an embedding program)
// and the game exchange window-message records. A handle names a host
// window; the game posts records to it and polls the records sent to it.
#pragma once

#include <cstdint>

namespace host {

// A host window; 0 is none.
using Handle = int;
constexpr Handle kNoWindow = 0;

// The message a host and the game exchange their notices with.
constexpr uint32_t kUserMessage = 0x400;

// One window message: three 32-bit words.
struct Record {
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;

    bool operator==(const Record& other) const = default;
};

class Channel {
public:
    virtual ~Channel() = default;
    // True while the window exists.
    virtual bool IsAlive(Handle window) const = 0;
    // Queues a record for the window; false when it was dropped (no such
    // window, or the window takes no more).
    virtual bool Post(Handle window, uint32_t message, uint32_t wParam, uint32_t lParam) = 0;
    // Takes the next whole record sent to the game; false when none waits.
    // Never blocks.
    virtual bool Poll(Record& record) = 0;
};

}  // namespace host
