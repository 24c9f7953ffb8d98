// The characters waiting to be handed out, one per pump call: typed text
// and the control characters that Backspace, Tab, Enter and Escape type.
#pragma once

#include <cstdint>
#include <deque>

#include "core/app/platformevent.h"

class TTextInput {
public:
    explicit TTextInput(bool utf8Mode) : mUtf8Mode(utf8Mode) {}

    // Queues the characters of UTF-8 text; malformed sequences and control
    // characters are left out.
    void QueueText(const char* utf8);
    // Queues a control character, as the key that types it does.
    void QueueControl(int32_t code) { mCodes.push_back(static_cast<uint32_t>(code)); }
    bool IsEmpty() const { return mCodes.empty(); }
    // The next character: type 14 with the code point in UTF-8 mode, else
    // type 13 with its Windows-1252 byte (type 2 when the code page lacks
    // it). False when none waits.
    bool Next(TPlatformEvent& event);

private:
    bool mUtf8Mode;
    std::deque<uint32_t> mCodes;
};
