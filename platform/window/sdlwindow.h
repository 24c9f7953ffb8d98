// The game window on SDL2 with an OpenGL surface for the display.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

union SDL_Event;
struct SDL_Window;
struct SDL_Cursor;
struct SDL_SysWMmsg;

namespace window {

class SdlWindow : public Window {
public:
    SdlWindow() = default;
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool Create(const WindowSetup& setup) override;
    std::string GetLastError() const override { return mLastError; }
    bool PollEvent(NativeEvent& event) override;
    bool IsQuitWaiting() override;
    std::string GetLoss() const override;

    void SetTitle(const std::string& utf8) override;
    bool HasFocus() const override;
    void TakeFocus() override;
    void ShowCursor(bool show) override;
    void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) override;
    void CaptureMouse(bool capture) override;
    void GetPointer(int& x, int& y) const override;

    bool PutClipboardText(const std::string& utf8) override;
    std::string GetClipboardText() const override;

    void* GetNativeHandle() const override { return mWindow; }

    // The SDL event as a native event; events of other windows are kOther.
    static NativeEvent Translate(const SDL_Event& event, uint32_t windowId, SDL_Window* window);

private:
    bool Fail();
    // On X11, takes the error handlers so that a lost window is reported
    // instead of ending the process.
    void WatchWindowSystem();
    void NoteWindowSystemEvent(const SDL_SysWMmsg& message);

    SDL_Window* mWindow = nullptr;
    // The colour cursor in use; freed when replaced and with the window.
    SDL_Cursor* mCursor = nullptr;
    bool mVideoStarted = false;
    // Where the last move handed out put the pointer; until the first,
    // SDL's own record.
    bool mPointerKnown = false;
    int mPointerX = 0;
    int mPointerY = 0;
    bool mOnX11 = false;
    unsigned long mX11Window = 0;
    std::string mLastError;
};

}  // namespace window
