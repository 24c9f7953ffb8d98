// What the display classes ask of the platform: time, sleeping, message
// boxes, the run's hosting, the game window and its activation, the view
// scale, the out-of-video-memory switch, the mouse position, and the frame
// services around a display change. TFakeDisplayHost stands in for the
// platform in tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/rect.h"

struct SDL_Window;
class TTask;

enum class TMessageBoxIcon { kNone, kWarning, kError };

class TDisplayHost {
public:
    virtual ~TDisplayHost() = default;

    // Platform milliseconds; wraps around after 2^32.
    virtual uint32_t Timer() const = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual void MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) = 0;
    // Ends the process with the code; never returns on the real platform.
    virtual void ExitProcess(int code) = 0;
    // The pump later yields a quit event.
    virtual void PostQuit() = 0;

    // Running inside a parent window given on the command line ("-wnd="
    // without "--axtest").
    virtual bool IsEmbedded() const = 0;
    // Run by a portal that keeps folders and log ("-pq=").
    virtual bool IsHosted() const = 0;
    // The Zylom portal handler is installed.
    virtual bool IsZylomHost() const = 0;
    // Embedded with a recorded parent window.
    virtual bool HasExternalParent() const = 0;
    virtual bool IsExternalParentAlive() const = 0;
    // Makes the game window a child filling the parent's client area, or
    // detaches it for full screen.
    virtual void AttachToParent(bool attach) = 0;

    virtual SDL_Window* GetGameWindow() const = 0;
    // Gives the game window the frame of a full-screen or a windowed display.
    virtual void StyleGameWindow(bool fullScreen) = 0;
    // Shows the game window after a display change: a window at the origin
    // is centred on its monitor; full screen also takes the activation.
    virtual void ShowGameWindow(bool fullScreen) = 0;
    // The platform's active flag.
    virtual bool IsActive() const = 0;
    // Active as the display counts it: the active flag alone before the
    // first activation message, afterwards that flag and the last message.
    virtual bool IsActivationGateOpen() const = 0;
    // The game window is the foreground window.
    virtual bool IsForeground() const = 0;
    // Deactivated while full screen: the display waits.
    virtual bool IsSuspended() const = 0;

    // Display pixels to window pixels (the "viewportscale" setting); may be
    // anything the setting held, callers guard against values <= 0.
    virtual float GetViewScale() const = 0;
    // Render targets draw unscaled: the scale is set for their time and then
    // restored from the copy the platform keeps.
    virtual void SetViewScale(float scale) = 0;
    virtual void RestoreViewScale() = 0;

    // Switches the display to low-memory video.
    virtual void OutOfVideoMemory() = 0;
    // The mouse position in desktop coordinates.
    virtual TPoint GetCursorPosition() const = 0;
    // Gives the platform the built-in cursor (an empty cursor image).
    virtual void SetDefaultCursor() = 0;
    // The window system's cursor, which it draws and moves: 32-bit ARGB
    // pixels, rows from the top. No pixels hide the cursor.
    virtual void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) = 0;

    // The pump raises one display notice for the change.
    virtual void SetDisplayChanged() = 0;
    // The window manager redraws the whole screen at its next frame.
    virtual void Invalidate() = 0;
    // A movie covers the screen: frames are not presented.
    virtual bool IsFrozen() const = 0;
    // Runs the platform's restore task list once.
    virtual void RunRestoreTasks() = 0;
    // The restore list owns a task while it holds it; Remove hands it back
    // and is false when the list no longer has it.
    virtual void AddRestoreTask(TTask* task) = 0;
    virtual bool RemoveRestoreTask(TTask* task) = 0;
};

class TFakeDisplayHost : public TDisplayHost {
public:
    struct Box {
        std::string text, caption;
        TMessageBoxIcon icon;
    };
    struct Cursor {
        std::vector<uint32_t> pixels;
        int width, height, hotX, hotY;
    };

    uint32_t Timer() const override { return now; }
    // Sleeping moves the fake time on.
    void Sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
    }
    void MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) override {
        boxes.push_back({text, caption, icon});
    }
    // Recorded instead of exiting.
    void ExitProcess(int code) override { exitCodes.push_back(code); }
    void PostQuit() override { ++quitsPosted; }

    bool IsEmbedded() const override { return embedded; }
    bool IsHosted() const override { return hosted; }
    bool IsZylomHost() const override { return zylom; }
    bool HasExternalParent() const override { return externalParent; }
    bool IsExternalParentAlive() const override { return externalParentAlive; }
    void AttachToParent(bool attach) override { attached.push_back(attach); }

    SDL_Window* GetGameWindow() const override { return window; }
    void StyleGameWindow(bool fullScreen) override { styled.push_back(fullScreen); }
    void ShowGameWindow(bool fullScreen) override { shown.push_back(fullScreen); }
    bool IsActive() const override { return active; }
    bool IsActivationGateOpen() const override { return activationGateOpen; }
    bool IsForeground() const override { return foreground; }
    bool IsSuspended() const override { return suspended; }

    float GetViewScale() const override { return viewScale; }
    void SetViewScale(float scale) override { viewScale = scale; }
    void RestoreViewScale() override { viewScale = savedViewScale; }

    void OutOfVideoMemory() override { ++outOfVideoMemoryCalls; }
    TPoint GetCursorPosition() const override { return cursor; }
    void SetDefaultCursor() override { ++defaultCursorCalls; }
    void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) override {
        std::vector<uint32_t> pixels;
        if (argb) pixels.assign(argb, argb + static_cast<size_t>(width) * height);
        cursors.push_back({std::move(pixels), width, height, hotX, hotY});
    }

    void SetDisplayChanged() override { ++displayChanges; }
    void Invalidate() override { ++invalidations; }
    bool IsFrozen() const override { return frozen; }
    void RunRestoreTasks() override { ++restoreTaskRuns; }
    // Kept, never run or deleted here.
    void AddRestoreTask(TTask* task) override {
        if (std::find(restoreTasks.begin(), restoreTasks.end(), task) == restoreTasks.end()) restoreTasks.push_back(task);
    }
    bool RemoveRestoreTask(TTask* task) override {
        auto found = std::find(restoreTasks.begin(), restoreTasks.end(), task);
        if (found == restoreTasks.end()) return false;
        restoreTasks.erase(found);
        return true;
    }

    uint32_t now = 0;
    bool embedded = false;
    bool hosted = false;
    bool zylom = false;
    bool externalParent = false;
    bool externalParentAlive = true;
    // Any non-null window: the recording device never touches it.
    SDL_Window* window = reinterpret_cast<SDL_Window*>(this);
    bool active = true;
    bool activationGateOpen = true;
    bool foreground = true;
    bool suspended = false;
    bool frozen = false;
    float viewScale = 1.0f;
    float savedViewScale = 1.0f;
    TPoint cursor;

    std::vector<uint32_t> sleeps;
    std::vector<Box> boxes;
    std::vector<int> exitCodes;
    std::vector<bool> attached;
    std::vector<bool> styled;
    std::vector<bool> shown;
    int quitsPosted = 0;
    int outOfVideoMemoryCalls = 0;
    int defaultCursorCalls = 0;
    int displayChanges = 0;
    int invalidations = 0;
    int restoreTaskRuns = 0;
    std::vector<Cursor> cursors;
    std::vector<TTask*> restoreTasks;
};
