// The game's one top-level window and its event queue. SdlWindow is the real
// one; ScriptedWindow plays queued events back for tests.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window/nativeevent.h"

namespace window {

struct WindowSetup {
    std::string title;  // UTF-8
    int x = 0;
    int y = 0;
    // Size of the client area.
    int width = 0;
    int height = 0;
    bool shown = false;
};

class Window {
public:
    virtual ~Window() = default;

    // Makes the window; false when it cannot be made, GetLastError says why.
    virtual bool Create(const WindowSetup& setup) = 0;
    virtual std::string GetLastError() const = 0;
    // Takes the next waiting event; false when none waits.
    virtual bool PollEvent(NativeEvent& event) = 0;
    // A quit request is among the waiting events.
    virtual bool IsQuitWaiting() = 0;
    // Empty while the window system serves the window; else how it failed
    // under it (the window destroyed from outside, the connection lost).
    virtual std::string GetLoss() const = 0;

    virtual void SetTitle(const std::string& utf8) = 0;
    // The window has the keyboard focus.
    virtual bool HasFocus() const = 0;
    virtual void TakeFocus() = 0;
    virtual void ShowCursor(bool show) = 0;
    // Makes the cursor from 32-bit ARGB pixels, rows from the top, with its
    // hot spot, and shows it; the window system moves it. No pixels hide it.
    virtual void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) = 0;
    // While captured, mouse events arrive even outside the window.
    virtual void CaptureMouse(bool capture) = 0;
    // The pointer in window pixels, where the last move handed out left it.
    virtual void GetPointer(int& x, int& y) const = 0;

    // UTF-8 text; false when the clipboard refused it.
    virtual bool PutClipboardText(const std::string& utf8) = 0;
    // Empty when the clipboard holds no text.
    virtual std::string GetClipboardText() const = 0;

    // The window of the window system (an SDL_Window for the display), or null.
    virtual void* GetNativeHandle() const = 0;
};

}  // namespace window
