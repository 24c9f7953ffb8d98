// The one object through which engine and game reach the platform: clock,
// sleeping, quitting, events, the window, full screen, web pages, the
// clipboard, the cursor and the platform task list. A thin facade over
// TPlatformData; it also serves the window manager's frame calls.
#pragma once

#include <cstdint>
#include <memory>

#include "core/app/frameservices.h"
#include "core/app/platformevent.h"
#include "foundation/tstring.h"

class TPlatformData;
class TTask;
class TTaskList;
class TTexture;

class TPlatform : public TFrameServices {
public:
    // Becomes the instance until it is destroyed.
    explicit TPlatform(std::unique_ptr<TPlatformData> data);
    ~TPlatform() override;
    TPlatform(const TPlatform&) = delete;
    TPlatform& operator=(const TPlatform&) = delete;

    // Null before construction and after teardown.
    static TPlatform* GetInstance();
    TPlatformData& GetData() { return *mData; }

    uint32_t Timer() const override;
    void Sleep(uint32_t milliseconds);
    // The exit code is not kept: the pump's quit event ends the game loop.
    void PostQuit(int exitCode) override;
    void GetEvent(TPlatformEvent& event);

    void OpenWindow();
    // The text is UTF-8 in UTF-8 mode, else Windows-1252.
    void SetWindowTitle(const TString& title);
    bool IsActiveWindow() const override;
    bool IsFullScreen() const;
    bool SetFullScreen(bool on);
    // Opens the address in a browser: embedded, in the program given by
    // "-host=" when there is one; else in the desktop's browser.
    bool OpenBrowser(const TString& address);

    // Texts in the engine's encoding, as SetWindowTitle; false when the
    // clipboard refused the text.
    bool PutClipboardText(const TString& text);
    // Empty when the clipboard holds no text.
    TString GetClipboardText() const;

    // Tells the display only when the state changes.
    void ShowSystemCursor(bool show);
    // The cursor image with its hot spot goes to the display.
    void SetCursor(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags);

    // The platform task list (owns its tasks), run on idle ticks and in frames.
    void AddTask(TTask* task);
    bool RemoveTask(TTask* task);
    TTaskList& GetTaskList() override;

    // Frame services for the window manager.
    bool IsHosted() const override;
    // No part of the game asks for relative mouse motion.
    bool IsRelativeMouse() const override { return false; }
    // False without a display.
    bool IsFrameDone() const override;
    bool CanDraw() const override;
    bool BeginDraw() override;
    void EndDraw(bool present) override;
    // False for a texture that is not shared (the renderer holds its target).
    bool BeginRenderTarget(TTexture* target) override;
    void EndRenderTarget() override;

private:
    std::unique_ptr<TPlatformData> mData;
    bool mSystemCursorShown = true;
    std::shared_ptr<TTexture> mCursorImage;
    int mCursorHotX = 0;
    int mCursorHotY = 0;
};
