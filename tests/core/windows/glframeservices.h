// Frame services whose frame calls go to the renderer and its display on
// OpenGL, as the platform's do; the clock and task list are the test's.
#pragma once

#include <cstdint>

#include "core/app/frameservices.h"
#include "core/app/tasklist.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"

class GlFrameServices : public TFrameServices {
public:
    GlFrameServices(TRenderer& renderer, TDxDisplayHandler& display) : mRenderer(renderer), mDisplay(display) {}

    uint32_t Timer() const override { return now; }
    void PostQuit(int) override {}
    bool IsFrameDone() const override { return mDisplay.IsFrameDone(); }
    bool IsActiveWindow() const override { return true; }
    bool IsHosted() const override { return false; }
    bool IsRelativeMouse() const override { return false; }
    TTaskList& GetTaskList() override { return tasks; }
    bool CanDraw() const override { return mDisplay.IsDeviceReady(); }
    bool BeginDraw() override { return mRenderer.BeginDraw(true); }
    void EndDraw(bool present) override { mRenderer.EndDraw(present); }
    bool BeginRenderTarget(TTexture*) override { return false; }
    void EndRenderTarget() override {}

    uint32_t now = 1000;
    TTaskList tasks;

private:
    TRenderer& mRenderer;
    TDxDisplayHandler& mDisplay;
};
