// The input and system event record that the platform produces and the
// window system routes.
#pragma once

#include <cstdint>

struct TPlatformEvent {
    enum : int32_t {
        kIdle = 1,
        kNothing = 2,
        kCloseRequest = 3,
        kQuit = 4,
        kMouseDown = 5,      // left button
        kMouseButton = 6,    // other buttons and the wheel; param is the button code
        kMouseUp = 7,        // left button
        kMouseMove = 8,
        kMouseCancel = 9,
        kMouseHover = 10,     // the pointer rested in the window
        kKeyDown = 11,       // param virtual key, extra 1 shift, 2 ctrl, 4 alt, 8 extended
        kKeyUp = 12,
        kChar = 13,          // 8-bit character
        kWideChar = 14,      // Unicode code point
        kRedraw = 15,
        kDisplayNotice = 17,
        kActivation = 18,
        kFullScreenToggled = 19,
    };

    int32_t type = kNothing;
    int32_t param = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t extra = 0;

    // Mouse events carry a point in the coordinates of their receiver.
    bool IsMouse() const {
        return (type >= kMouseDown && type <= kMouseMove) || type == kMouseHover;
    }
};
