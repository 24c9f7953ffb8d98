// SDL keys as Windows virtual-key codes, the codes the engine's key events
// and hot keys carry.
#pragma once

#include <cstdint>

namespace window {

struct VirtualKey {
    int code = 0;           // 0: no virtual key for this key
    bool extended = false;  // the key sits off the main block (arrows, right Ctrl, ...)
};

// Letters, digits and US punctuation follow the layout's key code; keys the
// layout gives no such code for (and all other keys) follow the scancode.
// Keypad digits and the decimal point give their numbers while NumLock is
// on, else the editing key printed beside them.
VirtualKey MapKey(int32_t keycode, int32_t scancode, bool numLock);

}  // namespace window
