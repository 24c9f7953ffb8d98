#include "platform/window/scriptedwindow.h"

namespace window {

bool ScriptedWindow::Create(const WindowSetup& windowSetup) {
    if (failCreate) return false;
    setup = windowSetup;
    title = windowSetup.title;
    created = true;
    return true;
}

bool ScriptedWindow::PollEvent(NativeEvent& event) {
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    if (event.kind == EventKind::kMouseMove) {
        pointerX = event.x;
        pointerY = event.y;
    }
    return true;
}

bool ScriptedWindow::IsQuitWaiting() {
    for (const NativeEvent& event : events) {
        if (event.kind == EventKind::kQuit) return true;
    }
    return false;
}

void ScriptedWindow::GetPointer(int& x, int& y) const {
    x = pointerX;
    y = pointerY;
}

void ScriptedWindow::SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) {
    cursorPixels.clear();
    if (argb && width > 0 && height > 0) cursorPixels.assign(argb, argb + static_cast<size_t>(width) * height);
    cursorWidth = width;
    cursorHeight = height;
    cursorHotX = hotX;
    cursorHotY = hotY;
}

bool ScriptedWindow::PutClipboardText(const std::string& utf8) {
    if (clipboardRefuses) return false;
    clipboard = utf8;
    return true;
}

}  // namespace window
