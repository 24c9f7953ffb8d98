// The platform as the display handler sees it: the clock, message boxes, the
// run's hosting, the game window, the view scale, the cursor and the frame
// services around a display change, all answered from the facade and its
// platform data.
#pragma once

#include "graphics/display/displayhost.h"

class TPlatform;
class TPlatformData;

class TPlatformDisplayHost : public TDisplayHost {
public:
    TPlatformDisplayHost(TPlatform& platform, TPlatformData& data) : mPlatform(platform), mData(data) {}

    uint32_t Timer() const override;
    void Sleep(uint32_t milliseconds) override;
    // Logged, and shown over the game window when there is one.
    void MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) override;
    void ExitProcess(int code) override;
    void PostQuit() override;

    bool IsEmbedded() const override;
    bool IsHosted() const override;
    bool IsZylomHost() const override;
    bool HasExternalParent() const override;
    bool IsExternalParentAlive() const override;
    // The parent is another process's socket, not a window this one can
    // join: the game window stays a window of its own.
    void AttachToParent(bool /*attach*/) override {}

    SDL_Window* GetGameWindow() const override;
    void StyleGameWindow(bool fullScreen) override;
    void ShowGameWindow(bool fullScreen) override;
    bool IsActive() const override;
    bool IsActivationGateOpen() const override;
    bool IsForeground() const override;
    bool IsSuspended() const override;

    float GetViewScale() const override;
    void SetViewScale(float scale) override;
    void RestoreViewScale() override;

    void OutOfVideoMemory() override;
    TPoint GetCursorPosition() const override;
    void SetDefaultCursor() override;
    void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) override;

    void SetDisplayChanged() override;
    void Invalidate() override;
    bool IsFrozen() const override;
    void RunRestoreTasks() override;
    void AddRestoreTask(TTask* task) override;
    bool RemoveRestoreTask(TTask* task) override;

private:
    TPlatform& mPlatform;
    TPlatformData& mData;
};
