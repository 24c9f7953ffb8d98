// A window for tests: it hands out the events queued into it and records
// what was asked of it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/window/window.h"

namespace window {

class ScriptedWindow : public Window {
public:
    bool Create(const WindowSetup& setup) override;
    std::string GetLastError() const override { return failCreate ? "scripted failure" : ""; }
    bool PollEvent(NativeEvent& event) override;
    bool IsQuitWaiting() override;
    std::string GetLoss() const override { return loss; }

    void SetTitle(const std::string& utf8) override { title = utf8; }
    bool HasFocus() const override { return focused; }
    void TakeFocus() override { ++focusRequests; }
    void ShowCursor(bool show) override { cursorShown = show; }
    void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) override;
    void CaptureMouse(bool capture) override { captured = capture; }
    void GetPointer(int& x, int& y) const override;

    bool PutClipboardText(const std::string& utf8) override;
    std::string GetClipboardText() const override { return clipboard; }

    void* GetNativeHandle() const override { return nullptr; }

    void Queue(const NativeEvent& event) { events.push_back(event); }

    // What the tests set.
    bool failCreate = false;
    bool clipboardRefuses = false;
    bool focused = false;
    std::string loss;
    // Moves handed out set it too.
    int pointerX = 0;
    int pointerY = 0;
    std::deque<NativeEvent> events;

    // What the window was asked.
    bool created = false;
    WindowSetup setup;
    std::string title;
    std::string clipboard;
    bool captured = false;
    bool cursorShown = true;
    // The last colour cursor: its pixels, size and hot spot.
    std::vector<uint32_t> cursorPixels;
    int cursorWidth = 0, cursorHeight = 0, cursorHotX = 0, cursorHotY = 0;
    int focusRequests = 0;
};

}  // namespace window
