// The calls the platform makes into the display back end: device state,
// the display mode and the mouse cursor. The display handler implements it;
// while there is no display the platform answers for it.
#pragma once

#include <memory>

#include "foundation/rect.h"

class TTexture;

class TDisplayLink {
public:
    virtual ~TDisplayLink() = default;

    // The device can draw; false while it is lost or broken.
    virtual bool IsDeviceReady() const = 0;
    // Rebuilds a lost or broken device.
    virtual void Restore() = 0;
    virtual void SetDisplay(int width, int height, bool fullScreen) = 0;
    virtual bool IsFullScreen() const = 0;
    // Switches the mode; false when the switch failed.
    virtual bool SetFullScreen(bool on) = 0;
    // False while the last frame is still being presented.
    virtual bool IsFrameDone() const = 0;
    // The application lost its activation.
    virtual void Deactivated() = 0;

    // The cursor in display coordinates; false when it has no position.
    virtual bool GetMousePosition(TPoint& position) const = 0;
    virtual void MouseMoved() = 0;
    virtual void MouseLeft() = 0;
    virtual void ShowMouseCursor(bool show) = 0;
    virtual void SetMouseImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) = 0;
    // Sets the system cursor over the window: the cursor's icon while the
    // system cursor is shown and it has one, else none.
    virtual void UpdateSystemCursor() = 0;
};
