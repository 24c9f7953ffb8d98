// What the window manager asks of the platform and the display: the clock,
// quitting, the window's state, the platform task list and the frame calls.
#pragma once

#include <cstdint>

class TTaskList;
class TTexture;

class TFrameServices {
public:
    virtual ~TFrameServices() = default;

    // Platform milliseconds; wraps around after 2^32.
    virtual uint32_t Timer() const = 0;
    // Asks the pump to yield a quit event later.
    virtual void PostQuit(int exitCode) = 0;
    // False while the previous frame is still being presented.
    virtual bool IsFrameDone() const = 0;
    virtual bool IsActiveWindow() const = 0;
    // Embedded in a host window, or run by a portal ("-pq="): frames keep
    // their pace while the window is inactive.
    virtual bool IsHosted() const = 0;
    // Mouse moves report motion rather than a position.
    virtual bool IsRelativeMouse() const = 0;
    // The platform task list, run on idle ticks and in every frame.
    virtual TTaskList& GetTaskList() = 0;

    // False while the display is lost or broken.
    virtual bool CanDraw() const = 0;
    // Opens a frame on the screen; false when none can be drawn now.
    virtual bool BeginDraw() = 0;
    virtual void EndDraw(bool present) = 0;
    // Draws into the texture until EndRenderTarget; false when refused.
    virtual bool BeginRenderTarget(TTexture* target) = 0;
    virtual void EndRenderTarget() = 0;
};
