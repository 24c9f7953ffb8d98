// One event of the window system, as the platform's pump reads it.
#pragma once

#include <cstdint>

namespace window {

enum class EventKind {
    kOther,        // nothing the pump acts on
    kQuit,         // the process was asked to end (SIGINT, SIGTERM)
    kClose,        // the window's close button
    kExposed,      // the window must be drawn again
    kMinimized,
    kRestored,     // shown again after being minimized, or maximized
    kFocusGained,
    kFocusLost,
    kMouseEnter,
    kMouseLeave,
    kMouseMove,
    kButtonDown,
    kButtonUp,
    kWheel,
    kKeyDown,
    kKeyUp,
    kText,
};

enum class Button { kLeft, kRight, kMiddle, kExtra1, kExtra2, kUnknown };

// Modifier bits of an event.
enum : uint32_t {
    kModShift = 1,
    kModCtrl = 2,
    kModAlt = 4,
};

struct NativeEvent {
    EventKind kind = EventKind::kOther;
    // Modifier keys held when the event happened.
    uint32_t modifiers = 0;
    // Pointer in window pixels for mouse events.
    int32_t x = 0;
    int32_t y = 0;
    // kFocusGained: the pointer was inside the window.
    bool pointerInside = false;
    Button button = Button::kUnknown;
    // kWheel: positive y turns away from the user, x is sideways.
    int32_t wheelX = 0;
    int32_t wheelY = 0;
    // Key events: the virtual-key code (0 for keys without one).
    int32_t key = 0;
    bool extended = false;
    // kText: UTF-8 text as the input method gave it, NUL-terminated.
    char text[32] = {};
};

}  // namespace window
