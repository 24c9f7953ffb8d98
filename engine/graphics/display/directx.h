// The device context under the display back end: it owns the screen object,
// checks that the device can run the game, records what the driver reports,
// presents frames and converts points between display and desktop.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/task.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "graphics/display/ddutil.h"
#include "graphics/display/displayhost.h"
#include "platform/display/device.h"

struct SDL_Window;
class TTexture;

// Source unit named in the error lines of this file.
inline constexpr const char* kDirectxUnit = ".\\directx.cpp";

class TDXContext;

// Sets the cursor images again whenever the platform runs its restore list.
class MouseTextureListener : public TTask {
public:
    explicit MouseTextureListener(TDXContext& context) : mContext(context) {}
    // Always true: the task stays on the list.
    bool DoTask() override;

private:
    TDXContext& mContext;
};

class TDXContext {
public:
    TDXContext(display::Device& device, TDisplayHost& host);
    virtual ~TDXContext();
    TDXContext(const TDXContext&) = delete;
    TDXContext& operator=(const TDXContext&) = delete;

    // Builds screen and device; flags are the creation flags of ddutil.h.
    bool Create(SDL_Window* window, bool fullScreen, int width, int height, int depth, uint32_t flags);
    void Release();
    display::Result Present();

    // Reads the desktop's size and colour count.
    void UpdateDesktopMode();
    const display::DesktopMode& GetDesktopMode() const { return mDesktop; }
    // The desktop has 16 colours or fewer.
    bool HasTooFewColors() const { return mTooFewColors; }
    // A window once ran out of video memory; windows are refused from then on.
    bool IsWindowShortOfVideoMemory() const { return mWindowShortOfVideoMemory; }
    // The desktop has a palette (256 colours or fewer).
    bool IsPaletteDesktop() const { return mDesktop.colorCount != -1; }
    bool CanWaitForVerticalBlank() const { return mCanWaitForVerticalBlank; }
    void SetVSync(bool on);

    // Display pixels to desktop pixels by the view scale, and back.
    TPoint DisplayToScreen(const TPoint& point) const;
    TPoint ScreenToDisplay(const TPoint& point) const;
    // The mouse position in display coordinates.
    TPoint GetMousePosition();

    // The cursor image goes to the window system, which draws and moves it.
    // A custom image leaves out its magenta pixels (red and blue 248 or
    // more, green 0); the system image (flags not 0) shows where its alpha
    // is not 0, or, while "activex" is "1", as it is. Nothing happens
    // without a device.
    void SetMouseImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags);
    // Sets the custom and then the system image again, each when it is set
    // and the system image is not the hardware cursor.
    void RestoreMouseImage();
    bool HasMouseImage() const { return mCustomCursor.image || mSystemCursor.image; }
    void ShowMouseCursor(bool show) { mMouseShown = show; }
    bool IsMouseCursorShown() const { return mMouseShown; }
    // The mouse has a position from its first move until it leaves the window.
    void MouseMoved() { mMouseInside = true; }
    void MouseLeft() { mMouseInside = false; }
    bool IsMouseInside() const { return mMouseInside; }

    // What the driver reported, appended at each successful Create.
    const TString& GetDescription() const { return mDescription; }
    bool HasDevice() const { return mHasDevice; }
    CDisplay& GetDisplay() { return mDisplay; }
    display::Device& GetDevice() { return mDevice; }

private:
    // A point of the window where Present shows the back buffer, in back buffer pixels.
    TPoint ShownToBackBuffer(const TPoint& point) const;
    struct TCursorImage {
        std::shared_ptr<TTexture> image;
        TPoint hotSpot;
    };

    bool PassesDesktopGate(bool fullScreen, int width, int height);
    // The image's pixels, each passed through the rule, to the window system.
    void ShowCursor(const TCursorImage& cursor, uint32_t (*rule)(uint32_t));
    bool CreateScreen(SDL_Window* window, bool fullScreen, int width, int height, int depth, uint32_t flags);
    bool CheckDevice(const display::DeviceDesc& desc);
    void RecordIdentifier();
    // The view scale; values that cannot scale anything count as 1.
    float ViewScale() const;

    display::Device& mDevice;
    TDisplayHost& mHost;
    CDisplay mDisplay;
    TString mDescription;
    display::DesktopMode mDesktop;
    bool mHasDevice = false;
    bool mTooFewColors = false;
    bool mWindowShortOfVideoMemory = false;
    bool mCanWaitForVerticalBlank = false;
    bool mVSync = false;
    TCursorImage mCustomCursor;
    TCursorImage mSystemCursor;
    // The system image is shown as it is ("activex").
    bool mHardwareCursor = false;
    // On the platform's restore list from the first image on; the list owns it.
    MouseTextureListener* mListener = nullptr;
    bool mMouseShown = true;
    bool mMouseInside = false;
};
