#include "graphics/display/ddutil.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "displaytesting.h"

namespace {

using display::Result;

class CDisplayTest : public DisplayTest {
protected:
    CDisplay mDisplay{mDevice, mHost};
};

TEST_F(CDisplayTest, FullScreenWalksTheAdaptersUntilNoneIsLeft) {
    struct Case {
        const char* name;
        int adapters;
        int failures;  // screens that fail to be created, in order
        bool createdBefore;
        Result result;
        int adaptersTried;
        bool box;
    } cases[] = {
        {"first adapter works", 1, 0, false, Result::Ok, 1, false},
        {"front buffer retried without antialiasing", 1, 1, false, Result::Ok, 1, false},
        {"second adapter works", 2, 2, false, Result::Ok, 2, false},
        {"none works", 1, 2, false, Result::Failed, 2, true},
        {"none works after an earlier display", 1, 2, true, Result::Failed, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::RecordingDevice device;
        TFakeDisplayHost host;
        CDisplay screen(device, host);
        if (c.createdBefore) {
            ASSERT_EQ(screen.CreateWindowedDisplay(mWindow, 640, 480, 0), Result::Ok);
        }
        device.SetAdapterCount(c.adapters);
        for (int i = 0; i < c.failures; ++i) device.Script("CreateScreen", Result::Failed);
        device.ClearCalls();

        EXPECT_EQ(screen.CreateFullScreenDisplay(mWindow, 800, 600, 32, kDisplayFlagDefault), c.result);
        EXPECT_EQ(device.Count("SelectAdapter"), c.adaptersTried);
        EXPECT_EQ(screen.HasScreen(), c.result == Result::Ok);
        EXPECT_EQ(host.boxes.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(host.boxes[0].caption, "Error");
        }
    }
    EXPECT_TRUE(Logged("Failed to create a DirectDraw device after trying all GUIDs"));
}

TEST_F(CDisplayTest, TheAdapterIndexComesFromTheAttemptWord) {
    mDevice.SetAdapterCount(3);
    ASSERT_EQ(mDisplay.CreateFullScreenDisplay(mWindow, 800, 600, 32, (2u << 16) | kDisplayFlagDefault), Result::Ok);
    EXPECT_EQ(mDevice.Count("SelectAdapter"), 1);
    EXPECT_EQ(mDevice.Count("SelectAdapter(2)"), 1);
    EXPECT_EQ(mDisplay.GetBounds(), TRect(0, 0, 1024, 768));
    EXPECT_FALSE(mDisplay.IsWindowed());
}

TEST_F(CDisplayTest, ColourDepthFollowsVideoMemoryAndTheModesOnOffer) {
    struct Case {
        const char* name;
        uint32_t videoMemory;
        std::vector<int> depths;
        int requested;
        int modeDepth;
        const char* logged;
    } cases[] = {
        {"requested depth on offer", 0xFFFFFFFF, {16, 32}, 32, 32, "Created screen at 32 bpp."},
        {"under 16 MB of video memory", 0x0FFFFFF, {32, 16}, 32, 16, "Created screen at 16 bpp."},
        {"16 bits preferred to other depths", 0xFFFFFFFF, {8, 32, 16}, 24, 16, "Created screen at 24 bpp."},
        {"else the first above 14 bits", 0xFFFFFFFF, {8, 32}, 24, 32, "Created screen at 24 bpp."},
        {"no modes at all", 0xFFFFFFFF, {}, 32, 32, "Created screen at 32 bpp."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mDevice.SetDisplayCaps({c.videoMemory, c.videoMemory, 1});
        mDevice.SetModeDepths(c.depths);
        ASSERT_EQ(mDisplay.CreateFullScreenDisplay(mWindow, 800, 600, c.requested, 0), Result::Ok);
        EXPECT_EQ(mDevice.GetDisplayModeDepth(), c.modeDepth);
        EXPECT_TRUE(Logged(c.logged));
    }
}

TEST_F(CDisplayTest, AFailingAntialiasedFrontBufferIsRetriedPlain) {
    mDevice.Script("CreateScreen", Result::Failed);
    ASSERT_EQ(mDisplay.CreateFullScreenDisplay(mWindow, 800, 600, 32, kDisplayFlagDefault | kDisplayFlagAntialias),
              Result::Ok);
    EXPECT_EQ(mDevice.Count("CreateScreen(800x600 full antialias)"), 1);
    EXPECT_EQ(mDevice.Count("CreateScreen(800x600 full)"), 1);
    EXPECT_TRUE(Logged("FAILED to create front buffer with DDSCAPS2_ENABLEALPHACHANNEL"));
    EXPECT_FALSE(Logged("DX Error"));
}

TEST_F(CDisplayTest, AFailedModeIsLoggedAndTheNextAdapterTried) {
    mDevice.SetAdapterCount(2);
    mDevice.Script("SetDisplayMode", Result::UnsupportedMode);
    ASSERT_EQ(mDisplay.CreateFullScreenDisplay(mWindow, 800, 600, 32, 0), Result::Ok);
    EXPECT_TRUE(Logged("Failed to create screen at 32 bpp."));
    EXPECT_TRUE(Logged("DX Error:  (0x8876024e), File .\\ddutil, Line "));
    EXPECT_EQ(mDevice.Count("SelectAdapter(1)"), 1);
}

TEST_F(CDisplayTest, WindowedDisplaysKeepTheWindowBoundsAndReportFailures) {
    mDevice.SetWindowBounds({100, 50, 900, 650});
    ASSERT_EQ(mDisplay.CreateWindowedDisplay(mWindow, 800, 600, kDisplayFlagPlaced | kDisplayFlagAntialias),
              Result::Ok);
    EXPECT_EQ(mDevice.Count("CreateScreen(800x600 window antialias placed)"), 1);
    EXPECT_TRUE(mDisplay.IsWindowed());
    mDevice.SetWindowBounds({120, 70, 920, 670});
    EXPECT_EQ(mDisplay.GetWindowOrigin(), TPoint(120, 70));
    EXPECT_EQ(mDisplay.GetWindow(), mWindow);

    mDevice.Script("CreateScreen", Result::OutOfVideoMemory);
    EXPECT_EQ(mDisplay.CreateWindowedDisplay(mWindow, 800, 600, 0), Result::OutOfVideoMemory);
    EXPECT_FALSE(mDisplay.HasScreen());
    EXPECT_EQ(mHost.outOfVideoMemoryCalls, 1);
    EXPECT_TRUE(Logged("DX Error:  (0x8876017c), File .\\ddutil, Line "));
}

TEST_F(CDisplayTest, PresentGivesUpOnADeviceThatStaysBusy) {
    ASSERT_EQ(mDisplay.CreateWindowedDisplay(mWindow, 800, 600, 0), Result::Ok);
    struct Case {
        const char* name;
        int busyAnswers;
        Result result;
        int presents;
    } cases[] = {
        {"busy three times", 3, Result::Ok, 4},
        {"busy without end", 1000, Result::StillDrawing, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::RecordingDevice device;
        TFakeDisplayHost host;
        CDisplay screen(device, host);
        ASSERT_EQ(screen.CreateWindowedDisplay(mWindow, 800, 600, 0), Result::Ok);
        for (int i = 0; i < c.busyAnswers; ++i) device.Script("Present", Result::StillDrawing);
        EXPECT_EQ(screen.Present(), c.result);
        EXPECT_EQ(device.Count("Present"), c.presents);
        EXPECT_EQ(host.sleeps, std::vector<uint32_t>(c.presents - 1, 1));
    }
}

TEST_F(CDisplayTest, PresentRestoresALostBackBuffer) {
    EXPECT_EQ(mDisplay.Present(), Result::NoObject);
    ASSERT_EQ(mDisplay.CreateWindowedDisplay(mWindow, 800, 600, 0), Result::Ok);
    mDevice.Script("Present", Result::SurfaceLost);
    EXPECT_EQ(mDisplay.Present(), Result::SurfaceLost);
    EXPECT_EQ(mDevice.Count("RestoreSurface(1)"), 1);
}

TEST_F(CDisplayTest, SurfacesAreMadeOnTheScreenAndReleasedWithTheirHolder) {
    std::unique_ptr<CDisplaySurface> surface;
    EXPECT_EQ(mDisplay.CreateSurface(&surface, 32, 16, nullptr, nullptr), Result::NoObject);
    ASSERT_EQ(mDevice.SetDisplayMode(800, 600, 16), Result::Ok);
    ASSERT_EQ(mDisplay.CreateFullScreenDisplay(mWindow, 800, 600, 16, 0), Result::Ok);
    EXPECT_EQ(mDisplay.CreateSurface(nullptr, 32, 16, nullptr, nullptr), Result::InvalidArgument);

    ASSERT_EQ(mDisplay.CreateSurface(&surface, 32, 16, nullptr, nullptr), Result::Ok);
    EXPECT_EQ(surface->GetDesc().format, display::Format::R5G6B5);
    EXPECT_EQ(surface->GetDesc().kind, display::SurfaceKind::Simple);
    EXPECT_EQ(surface->GetDesc().width, 32);
    display::SurfaceId id = surface->GetSurface();
    surface.reset();
    display::SurfaceDesc desc;
    EXPECT_FALSE(mDevice.GetSurfaceDesc(id, desc));

    const display::Format format = display::Format::A8R8G8B8;
    const display::SurfaceKind kind = display::SurfaceKind::RenderTarget;
    ASSERT_EQ(mDisplay.CreateSurface(&surface, 8, 8, &format, &kind), Result::Ok);
    EXPECT_EQ(surface->GetDesc().format, format);
    EXPECT_EQ(surface->GetDesc().kind, kind);

    mDevice.Script("CreateSurface", Result::OutOfVideoMemory);
    std::unique_ptr<CDisplaySurface> refused;
    EXPECT_EQ(mDisplay.CreateSurface(&refused, 8, 8, nullptr, nullptr), Result::OutOfVideoMemory);
    EXPECT_EQ(refused, nullptr);
}

TEST_F(CDisplayTest, DestroyObjectsDropsTheScreenOnce) {
    ASSERT_EQ(mDisplay.CreateWindowedDisplay(mWindow, 800, 600, 0), Result::Ok);
    EXPECT_EQ(mDisplay.DestroyObjects(), 0);
    EXPECT_EQ(mDisplay.DestroyObjects(), 0);
    EXPECT_EQ(mDevice.Count("DestroyScreen"), 1);
    EXPECT_FALSE(mDisplay.HasScreen());
    EXPECT_TRUE(mDisplay.WasCreatedOnce());
}

}  // namespace
