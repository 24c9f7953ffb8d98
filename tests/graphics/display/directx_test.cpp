#include "graphics/display/directx.h"

#include <gtest/gtest.h>

#include <cmath>

#include "displaytesting.h"

namespace {

using display::Result;

class TDXContextTest : public DisplayTest {
protected:
    TDXContext mContext{mDevice, mHost};
};

TEST_F(TDXContextTest, CreateRefusesWhatTheDesktopCannotHold) {
    struct Case {
        const char* name;
        display::DesktopMode desktop;
        bool embedded, fullScreen;
        bool created;
        const char* screen;  // the screen asked of the device, or null for none
        bool tooFewColors;
    } cases[] = {
        {"window inside the desktop", {1024, 768, -1}, false, false, true, "CreateScreen(800x600 window)", false},
        {"window as large as the desktop", {800, 600, -1}, false, false, false, nullptr, false},
        {"window as wide as the desktop", {800, 768, -1}, false, false, false, nullptr, false},
        {"full screen on a small desktop", {800, 600, -1}, false, true, true, "CreateScreen(800x600 full)", false},
        {"embedded on a small desktop", {800, 600, -1}, true, false, true, "CreateScreen(800x600 window)", false},
        {"embedded never full screen", {1024, 768, -1}, true, true, true, "CreateScreen(800x600 window)", false},
        {"16 colours", {1024, 768, 16}, false, true, false, nullptr, true},
        {"256 colours in a window", {1024, 768, 256}, false, false, false, nullptr, false},
        {"256 colours full screen", {1024, 768, 256}, false, true, true, "CreateScreen(800x600 full)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::RecordingDevice device;
        TFakeDisplayHost host;
        device.SetDesktop(c.desktop);
        host.embedded = c.embedded;
        TDXContext context(device, host);
        EXPECT_EQ(context.Create(mWindow, c.fullScreen, 800, 600, 32, kDisplayFlagDefault), c.created);
        EXPECT_EQ(context.HasDevice(), c.created);
        EXPECT_EQ(device.Count("CreateScreen"), c.screen ? 1 : 0);
        if (c.screen) {
            EXPECT_EQ(device.Count(c.screen), 1);
        }
        EXPECT_EQ(context.HasTooFewColors(), c.tooFewColors);
        EXPECT_EQ(context.IsPaletteDesktop(), c.desktop.colorCount != -1);
    }
}

TEST_F(TDXContextTest, AWindowOutOfVideoMemoryRefusesLaterWindows) {
    mDevice.Script("CreateScreen", Result::OutOfVideoMemory);
    EXPECT_FALSE(mContext.Create(mWindow, false, 800, 600, 32, kDisplayFlagDefault));
    EXPECT_TRUE(mContext.IsWindowShortOfVideoMemory());
    EXPECT_EQ(mHost.outOfVideoMemoryCalls, 2);  // reported by the screen object and by the context
    EXPECT_TRUE(Logged("File .\\directx.cpp"));

    mDevice.ClearCalls();
    EXPECT_FALSE(mContext.Create(mWindow, false, 800, 600, 32, kDisplayFlagDefault));
    EXPECT_EQ(mDevice.Count("CreateScreen"), 0);
    EXPECT_TRUE(mContext.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault));
}

TEST_F(TDXContextTest, CreateChecksTheDeviceItGot) {
    struct Case {
        const char* name;
        display::DeviceDesc desc;
        bool embedded;
        bool created;
        const char* logged;
    } cases[] = {
        {"software device", {0, 0, 4096, 4096, 4096, 0, 0, 1}, false, false,
         "TDXContext::Create failed! Could not find a hardware renderer."},
        {"software device while embedded", {0, 0, 4096, 4096, 4096, 0, 0, 1}, true, true, "Device identifier:"},
        {"512 texels wide", {1, 1, 512, 4096, 4096, 0, 0, 1}, false, false,
         "TDXContext::Create - context does not support 1024x1024 textures! Failing!"},
        {"512 texels high", {1, 1, 4096, 512, 4096, 0, 0, 1}, false, false,
         "TDXContext::Create - context does not support 1024x1024 textures! Failing!"},
        {"1024 texels", {1, 1, 1024, 1024, 1024, 0, 0, 1}, false, true, "Device identifier:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::RecordingDevice device;
        TFakeDisplayHost host;
        device.SetDeviceDesc(c.desc);
        host.embedded = c.embedded;
        TDXContext context(device, host);
        EXPECT_EQ(context.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault), c.created);
        EXPECT_TRUE(Logged(c.logged));
        EXPECT_EQ(device.Count("DestroyScreen"), c.created ? 0 : 1);
    }
}

TEST_F(TDXContextTest, TheDriverIsLoggedWithItsTextsAsArguments) {
    display::Identifier identifier;
    identifier.driver = "Intel %s%n%d";
    identifier.description = "Intel 82845G graphics";
    identifier.versionHigh = 3;
    identifier.versionLow = 0x21;
    identifier.vendorId = 0x8086;
    identifier.guid[3] = 0xabc;
    mDevice.SetIdentifier(identifier);
    ASSERT_TRUE(mContext.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault));

    EXPECT_TRUE(Logged("Device identifier:  \n  Driver: 'Intel %s%n%d'\n  Description: 'Intel 82845G graphics'\n"
                       "  Version: 3:21\n  Vendor ID: 8086 (32902)\n"));
    EXPECT_TRUE(Logged("  GUID:      0:0:0:abc\n"));
    EXPECT_NE(mContext.GetDescription().Find("Intel 82845G graphics"), -1);
    EXPECT_EQ(GetSetting("brokenindexedverts", ""), "1");
    // The capability records as bytes: 3 and 8 words of 4 bytes each.
    EXPECT_TRUE(Logged("DDCAPS: FFFFFFFFFFFFFFFF01000000\n"));
    EXPECT_TRUE(Logged("D3DDESC: 01000000010000000010000000100000001000000000000000000000" "01000000\n"));
}

TEST_F(TDXContextTest, OnlyTheKnownIntelChipsAreMarkedForBrokenIndexedVertices) {
    const char* descriptions[] = {"Intel GMA965", "Intel 82810 chip", "Other 82845G", "llvmpipe"};
    for (const char* description : descriptions) {
        SCOPED_TRACE(description);
        ClearSettings();
        display::Identifier identifier;
        identifier.description = description;
        mDevice.SetIdentifier(identifier);
        ASSERT_TRUE(mContext.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault));
        EXPECT_EQ(GetSetting("brokenindexedverts", "absent"), "absent");
    }
    display::Identifier identifier;
    identifier.description = "Intel GMA 965 (rev 2)";
    mDevice.SetIdentifier(identifier);
    ASSERT_TRUE(mContext.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault));
    EXPECT_EQ(GetSetting("brokenindexedverts", "absent"), "1");
}

TEST_F(TDXContextTest, EmbeddedWindowsAreScaledByTheViewScale) {
    mHost.embedded = true;
    mHost.viewScale = 1.5f;
    ASSERT_TRUE(mContext.Create(mWindow, false, 800, 600, 32, kDisplayFlagDefault | kDisplayFlagPlaced));
    EXPECT_EQ(mDevice.Count("CreateScreen(1200x900 window placed)"), 1);
}

TEST_F(TDXContextTest, PointsConvertByTheViewScaleAndBadScalesCountAsOne) {
    struct Case {
        const char* name;
        float scale;
        TPoint toScreen;  // of (101, 50)
        TPoint toDisplay;  // of (101, 50)
        TPoint mouse;  // cursor (300, 200) in a window at (100, 40)
    } cases[] = {
        {"scale 2", 2.0f, {202, 100}, {50, 25}, {100, 80}},
        {"scale 1.5 rounds up", 1.5f, {152, 75}, {67, 33}, {133, 106}},
        {"scale 0", 0.0f, {101, 50}, {101, 50}, {200, 160}},
        {"negative scale", -2.0f, {101, 50}, {101, 50}, {200, 160}},
        {"not a number", std::nanf(""), {101, 50}, {101, 50}, {200, 160}},
    };
    mDevice.SetWindowBounds({100, 40, 900, 640});
    ASSERT_TRUE(mContext.Create(mWindow, false, 800, 600, 32, kDisplayFlagDefault));
    mHost.cursor = TPoint(300, 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mHost.viewScale = c.scale;
        EXPECT_EQ(mContext.DisplayToScreen(TPoint(101, 50)), c.toScreen);
        EXPECT_EQ(mContext.ScreenToDisplay(TPoint(101, 50)), c.toDisplay);
        EXPECT_EQ(mContext.GetMousePosition(), c.mouse);
    }
}

// A letterboxed full screen: the 800x600 back buffer shown at 1280x960 from
// (320, 60) of a 1920x1080 desktop.
TEST_F(TDXContextTest, TheMouseIsReadInBackBufferPixelsOfALetterboxedScreen) {
    ASSERT_TRUE(mContext.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault));
    mDevice.SetPresentRect({320, 60, 1600, 1020});
    mHost.viewScale = 1.0f;
    struct Case {
        TPoint cursor;
        TPoint mouse;
    } cases[] = {
        {{320, 60}, {0, 0}},
        {{960, 540}, {400, 300}},
        {{1600, 1020}, {800, 600}},
        {{0, 0}, {-200, -37}},
    };
    for (const Case& c : cases) {
        mHost.cursor = c.cursor;
        EXPECT_EQ(mContext.GetMousePosition(), c.mouse) << c.cursor.x << "," << c.cursor.y;
    }
}

TEST_F(TDXContextTest, PresentAndVSyncGoToTheDevice) {
    EXPECT_EQ(mContext.Present(), Result::NoObject);
    mContext.SetVSync(true);
    EXPECT_EQ(mDevice.Count("SetVSync"), 0);
    ASSERT_TRUE(mContext.Create(mWindow, true, 800, 600, 32, kDisplayFlagDefault));
    EXPECT_TRUE(mDevice.GetVSync());
    EXPECT_TRUE(mContext.CanWaitForVerticalBlank());
    mDevice.Script("Present", Result::SurfaceLost);
    EXPECT_EQ(mContext.Present(), Result::SurfaceLost);
    EXPECT_EQ(mContext.Present(), Result::Ok);
    mContext.SetVSync(false);
    EXPECT_FALSE(mDevice.GetVSync());

    mContext.Release();
    EXPECT_FALSE(mContext.HasDevice());
    EXPECT_EQ(mDevice.Count("DestroyScreen"), 1);
}

}  // namespace
