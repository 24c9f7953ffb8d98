#include "graphics/display/dxdisplayhandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "displaytesting.h"
#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "graphics/render/renderer.h"

namespace {

using display::Result;

const char* const kWindow = "CreateScreen(800x600 window)";
const char* const kFull = "CreateScreen(800x600 full)";

// Counts how often the display asks it to let go of its device resources
// and to take them back.
class CountingAsset : public TAsset {
public:
    void Release() override { ++releases; }
    void Restore() override { ++restores; }
    int releases = 0;
    int restores = 0;
};

class DxDisplayHandlerTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        SetDataFolders("", mCommon.Path().c_str(), "");
    }
    void TearDown() override {
        mHandler.reset();
        SetAssetManager(nullptr);
        SetDataFolders("", "", "");
        DisplayTest::TearDown();
    }

    TDxDisplayHandler& Handler() {
        if (!mHandler) mHandler = std::make_unique<TDxDisplayHandler>(mDevice, mHost);
        return *mHandler;
    }
    // A fresh log for what comes next.
    void NewLog() { SetLogFolder(mLogFolder.Path().c_str()); }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(Handler().BeginDraw(true));
            Handler().EndDraw(true);
        }
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const TFakeDisplayHost::Box& box : mHost.boxes) texts.push_back(box.text);
        return texts;
    }
    void UseAssets() {
        SetAssetManager(&mAssets);
        mAssets.RegisterAsset("counted", mAsset);
    }

    TempFolder mCommon;
    std::unique_ptr<TDxDisplayHandler> mHandler;
    TAssetManager mAssets;
    std::shared_ptr<CountingAsset> mAsset = std::make_shared<CountingAsset>();
};

// How a SetDisplay(800, 600, ...) comes out under the given circumstances.
struct SetDisplayCase {
    const char* name;
    // Set up device, host and handler before the call.
    std::function<void(display::RecordingDevice&, TFakeDisplayHost&, TDxDisplayHandler&)> prepare;
    bool fullScreen, force, quiet;
    std::vector<std::string> screens;  // screens asked of the device, in order
    int modeDepth;                      // depth of the full-screen mode set last, 0 for none
    std::vector<std::string> logs;
    std::vector<std::string> boxes;  // texts, each by its start
    std::vector<int> exitCodes;
    int quits;
    bool broken;
    bool fullScreenAfter;
};

void Nothing(display::RecordingDevice&, TFakeDisplayHost&, TDxDisplayHandler&) {}

// The platform reads the desktop again when it changes.
void SetDesktop(display::RecordingDevice& device, TDxDisplayHandler& handler, const display::DesktopMode& mode) {
    device.SetDesktop(mode);
    handler.UpdateDesktopMode();
}

TEST_F(DxDisplayHandlerTest, SetDisplayTable) {
    const char* fullScreenFailed = "Failed to initialize full screen mode.";
    const char* noAdapter = "Sorry, but this product isn't compatible";
    SetDisplayCase cases[] = {
        {"desktop window", Nothing, false, false, false, {kWindow}, 0, {}, {}, {}, 0, false, false},
        {"desktop too small", [](auto& device, auto&, auto& handler) { SetDesktop(device, handler, {800, 600, -1, 60}); }, false, false,
         false, {kFull}, 32, {"SetDisplay Forcing Fullscreen (SMALL)"}, {}, {}, 0, false, true},
        {"palette desktop", [](auto& device, auto&, auto& handler) { SetDesktop(device, handler, {1024, 768, 256, 60}); }, false, false,
         false, {kFull}, 32, {"SetDisplay Forcing Fullscreen (PALLETTED)"}, {}, {}, 0, false, true},
        {"scaled window too large",
         [](auto&, auto& host, auto&) { host.viewScale = 1.5f; },
         false, false, false, {kFull}, 32, {"(SMALL)"}, {}, {}, 0, false, true},
        {"hosted window skips the size check",
         [](auto&, auto& host, auto&) {
             host.hosted = true;
             host.viewScale = 1.5f;
         },
         false, false, false, {kWindow}, 0, {}, {}, {}, 0, false, false},
        {"antialias retried once without",
         [](auto& device, auto&, auto& handler) {
             handler.OnRenderHint("hint_antialias", "1");
             device.Script("CreateScreen", Result::Failed);
         },
         false, false, false, {"CreateScreen(800x600 window antialias)", kWindow}, 0, {}, {}, {}, 0, false, false},
        {"window fails: full screen",
         [](auto& device, auto&, auto&) { device.Script("CreateScreen", Result::Failed); },
         false, false, false, {kWindow, kFull}, 32, {}, {"Failed to initialize windowed mode. Trying full screen."},
         {}, 0, false, true},
        {"full screen fails: a window",
         [](auto& device, auto&, auto&) { device.Script("SetDisplayMode", Result::Failed); },
         true, false, false, {kWindow}, 0, {}, {noAdapter, fullScreenFailed}, {}, 0, false, false},
        {"full screen fails quietly",
         [](auto& device, auto&, auto&) { device.Script("SetDisplayMode", Result::Failed); },
         true, false, true, {kWindow}, 0, {}, {noAdapter}, {}, 0, false, false},
        {"both fail",
         [](auto& device, auto&, auto&) {
             device.Script("CreateScreen", Result::Failed);
             device.Script("SetDisplayMode", Result::Failed);
         },
         false, false, false, {kWindow}, 0, {"ERROR FALLBACK FAILED"},
         {"Failed to initialize windowed mode.", noAdapter, "Failed to initialize window. Please try"}, {}, 1,
         false, true},
        {"inactive: broken, no fallback",
         [](auto& device, auto& host, auto&) {
             host.activationGateOpen = false;
             device.Script("CreateScreen", Result::Failed);
         },
         false, true, false, {kWindow}, 0, {"SetDisplay marking DirectX Broken: INACTIVE, FOREGROUND"}, {}, {}, 0,
         true, false},
        {"background: broken, no fallback",
         [](auto& device, auto& host, auto&) {
             host.foreground = false;
             device.Script("CreateScreen", Result::Failed);
         },
         false, false, false, {kWindow}, 0, {"SetDisplay marking DirectX Broken: ACTIVE, BACKGROUND"}, {}, {}, 0,
         true, false},
        {"inactive without force: nothing", [](auto&, auto& host, auto&) { host.activationGateOpen = false; }, false,
         false, false, {}, 0, {}, {}, {}, 0, false, false},
        {"same mode unchanged",
         [](auto& device, auto&, auto& handler) {
             handler.SetDisplay(800, 600, false, false, false, false);
             device.ClearCalls();
         },
         false, false, false, {}, 0, {}, {}, {}, 0, false, false},
        {"same mode forced",
         [](auto& device, auto&, auto& handler) {
             handler.SetDisplay(800, 600, false, false, false, false);
             device.ClearCalls();
         },
         false, true, false, {kWindow}, 0, {}, {}, {}, 0, false, false},
        {"portal: quiet even when fatal",
         [](auto& device, auto& host, auto& handler) {
             host.zylom = true;
             SetDesktop(device, handler, {1024, 768, 16, 60});
         },
         true, false, false, {}, 0, {}, {}, {-1}, 0, false, true},
        {"portal: windowed", [](auto&, auto& host, auto&) { host.zylom = true; }, true, false, false, {kWindow}, 0, {},
         {}, {}, 0, false, false},
        {"too few colours", [](auto& device, auto&, auto& handler) { SetDesktop(device, handler, {1024, 768, 16, 60}); }, true, false,
         false, {}, 0, {}, {"DirectX requires that you have your screen set to 256 color mode"}, {-1}, 0, false,
         true},
        {"suspended", [](auto&, auto& host, auto&) { host.suspended = true; }, false, false, false, {}, 0, {}, {}, {},
         0, false, false},
        {"embedded: attached and placed",
         [](auto&, auto& host, auto&) {
             host.embedded = true;
             host.externalParent = true;
         },
         false, false, false, {"CreateScreen(800x600 window placed)"}, 0, {}, {}, {}, 0, false, false},
        {"embedded: the parent is gone",
         [](auto&, auto& host, auto&) {
             host.embedded = true;
             host.externalParent = true;
             host.externalParentAlive = false;
         },
         false, false, false, {}, 0, {"Error: mExternalWindowParent is lost, exiting!"}, {}, {-1}, 0, false, false},
        {"embedded: palette desktop is fatal",
         [](auto& device, auto& host, auto& handler) {
             host.embedded = true;
             host.externalParent = true;
             SetDesktop(device, handler, {1024, 768, 256, 60});
         },
         false, false, false, {}, 0, {}, {"You cannot run this application when your video mode is 8 bits or less."},
         {-1}, 0, false, false},
        {"embedded: a failure marks broken",
         [](auto& device, auto& host, auto&) {
             host.embedded = true;
             host.externalParent = true;
             device.Script("CreateScreen", Result::Failed);
         },
         false, false, false, {"CreateScreen(800x600 window placed)"}, 0, {}, {}, {}, 0, true, false},
        {"full screen failing again after one worked: broken",
         [](auto& device, auto&, auto& handler) {
             handler.SetDisplay(800, 600, true, false, false, false);
             device.ClearCalls();
             device.Script("SetDisplayMode", Result::Failed);
         },
         true, true, false, {}, 0, {}, {}, {}, 0, true, true},
    };
    for (const SetDisplayCase& c : cases) {
        SCOPED_TRACE(c.name);
        display::RecordingDevice device;
        TFakeDisplayHost host;
        TDxDisplayHandler handler(device, host);
        c.prepare(device, host, handler);
        NewLog();
        handler.SetDisplay(800, 600, c.fullScreen, c.force, c.quiet, false);

        std::vector<std::string> screens;
        for (const std::string& call : device.GetCalls()) {
            if (call.rfind("CreateScreen", 0) == 0) screens.push_back(call);
        }
        EXPECT_EQ(screens, c.screens);
        if (c.modeDepth) {
            EXPECT_EQ(device.GetDisplayModeDepth(), c.modeDepth);
        }
        for (const std::string& line : c.logs) EXPECT_TRUE(Logged(line)) << line;
        EXPECT_EQ(host.boxes.size(), c.boxes.size());
        for (size_t i = 0; i < std::min(c.boxes.size(), host.boxes.size()); ++i) {
            EXPECT_EQ(host.boxes[i].text.rfind(c.boxes[i], 0), 0u) << host.boxes[i].text;
        }
        EXPECT_EQ(host.exitCodes, c.exitCodes);
        EXPECT_EQ(host.quitsPosted, c.quits);
        EXPECT_EQ(handler.IsBroken(), c.broken);
        EXPECT_EQ(handler.IsFullScreen(), c.fullScreenAfter);
    }
}

TEST_F(DxDisplayHandlerTest, SuccessInstallsTheDeviceAndTellsThePlatform) {
    UseAssets();
    mDevice.SetDeviceDesc({1, 1, 4096, 4096, 8, 0, 0, 0});
    Handler().SetDisplay(800, 600, false, false, false, false);
    EXPECT_TRUE(Handler().IsDeviceReady());
    EXPECT_EQ(mHost.displayChanges, 1);
    EXPECT_EQ(mHost.styled, std::vector<bool>{false});
    EXPECT_EQ(mHost.shown, std::vector<bool>{false});
    EXPECT_EQ(mHost.defaultCursorCalls, 1);
    EXPECT_EQ(mHost.restoreTaskRuns, 1);
    EXPECT_GE(mHost.invalidations, 1);
    EXPECT_EQ(mAsset->releases, 1);
    EXPECT_EQ(mAsset->restores, 1);
    EXPECT_EQ(mDevice.Count("Present"), 1);  // the cleared frame
    EXPECT_EQ(GetSetting("monitorfrequency", ""), "60");
    // Square textures: an aspect ratio limit below 64; no specular Gouraud.
    EXPECT_TRUE(Handler().IsSquareTexturesOnly());
    EXPECT_TRUE(Handler().GetState().noSpecularGouraud);
    EXPECT_EQ(mDevice.GetStates(), DefaultDrawStates());
    EXPECT_EQ(Handler().GetScreenRect(), TRect(0, 0, 800, 600));

    Handler().SetVSync(true);
    EXPECT_TRUE(mDevice.GetVSync());

    // The default cursor is handed over once per process.
    Handler().SetDisplay(800, 600, true, false, false, false);
    EXPECT_EQ(mHost.defaultCursorCalls, 1);
    EXPECT_TRUE(Handler().IsFullScreen());
}

// A host whose message boxes call back into the display, as a window
// message pumped during a box could.
class ReenteringHost : public TFakeDisplayHost {
public:
    void MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) override {
        TFakeDisplayHost::MessageBox(text, caption, icon);
        if (handler) handler->SetDisplay(640, 480, false, true, false, false);
    }
    TDxDisplayHandler* handler = nullptr;
};

TEST_F(DxDisplayHandlerTest, ANestedSetDisplayWaitsAndReturns) {
    ReenteringHost host;
    TDxDisplayHandler handler(mDevice, host);
    host.handler = &handler;
    // The window fails, its box calls in, then full screen is set up.
    mDevice.Script("CreateScreen", Result::Failed);
    handler.SetDisplay(800, 600, false, false, false, false);
    EXPECT_EQ(host.sleeps, std::vector<uint32_t>{50});
    EXPECT_EQ(mDevice.Count("CreateScreen"), 2);
    EXPECT_TRUE(handler.IsFullScreen());
    EXPECT_EQ(handler.GetScreenRect(), TRect(0, 0, 800, 600));
}

TEST_F(DxDisplayHandlerTest, TheMouseHasAPositionWhileItIsOverTheWindow) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    mDevice.SetWindowBounds({100, 50, 900, 650});
    mHost.cursor = TPoint(130, 70);
    TPoint position;
    EXPECT_FALSE(Handler().GetMousePosition(position));
    Handler().MouseMoved();
    EXPECT_TRUE(Handler().GetMousePosition(position));
    EXPECT_EQ(position, TPoint(30, 20));
    Handler().MouseLeft();
    EXPECT_FALSE(Handler().GetMousePosition(position));
}

TEST_F(DxDisplayHandlerTest, SetFullScreenRefusesWindowsTheDesktopCannotHold) {
    Handler().SetDisplay(800, 600, true, false, false, false);
    EXPECT_TRUE(Handler().SetFullScreen(false));
    EXPECT_FALSE(Handler().IsFullScreen());

    mDevice.SetDesktop({800, 600, -1, 60});
    Handler().UpdateDesktopMode();
    Handler().SetDisplay(800, 600, true, false, false, false);
    EXPECT_FALSE(Handler().SetFullScreen(false));
    EXPECT_TRUE(Handler().IsFullScreen());
}

TEST_F(DxDisplayHandlerTest, AFailedFallbackIsFatalForLaterSetUps) {
    mDevice.Script("CreateScreen", Result::Failed);
    mDevice.Script("SetDisplayMode", Result::Failed);
    Handler().SetDisplay(800, 600, false, false, false, false);
    EXPECT_TRUE(Logged("ERROR FALLBACK FAILED"));
    EXPECT_EQ(mHost.quitsPosted, 1);
    EXPECT_TRUE(mHost.exitCodes.empty());
    Handler().SetDisplay(640, 480, false, true, false, false);
    EXPECT_EQ(mHost.exitCodes, std::vector<int>{-1});
}

TEST_F(DxDisplayHandlerTest, TheHostedRunOutOfVideoMemoryExits) {
    mHost.hosted = true;
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().OnOutOfVideoMemory();
    Handler().SetDisplay(800, 600, false, true, false, false);
    ASSERT_EQ(mHost.boxes.size(), 1u);
    EXPECT_EQ(mHost.boxes[0].text.rfind("You cannot run this application at your current screen resolution or bit "
                                        "depth (out of memory).", 0),
              0u);
    EXPECT_EQ(mHost.boxes[0].icon, TMessageBoxIcon::kWarning);
    EXPECT_EQ(mHost.exitCodes, std::vector<int>{-1});
}

TEST_F(DxDisplayHandlerTest, OutOfVideoMemorySwitchesThisAndLaterRunsToLowMemoryVideo) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().OnOutOfVideoMemory();
    EXPECT_TRUE(Logged("OutOfVideoMemory triggered!"));
    EXPECT_TRUE(Handler().IsBroken());
    EXPECT_NE(mCommon.Read("display.xml").find("LowMemoryVideo=\"1\""), std::string::npos);

    // The next Restore rebuilds full screen at 16 bits with one notice.
    Handler().Restore();
    EXPECT_TRUE(Logged("TPlatformData::Restore: mDirectDraw NULL. Calling SetDisplay()"));
    EXPECT_TRUE(Logged("SetDisplay Forcing Fullscreen (MEMORY)"));
    EXPECT_TRUE(Handler().IsFullScreen());
    EXPECT_EQ(mDevice.GetDisplayModeDepth(), 16);
    EXPECT_FALSE(Handler().IsBroken());
    Handler().SetDisplay(800, 600, true, true, false, false);
    ASSERT_EQ(mHost.boxes.size(), 1u);
    EXPECT_EQ(mHost.boxes[0].caption, "Reconfiguring");
    // A second report changes nothing.
    Handler().OnOutOfVideoMemory();
    EXPECT_FALSE(Handler().IsBroken());

    // The next run reads the file.
    mHandler.reset();
    NewLog();
    TDxDisplayHandler next(mDevice, mHost);
    EXPECT_TRUE(next.GetState().lowMemoryVideo);
    EXPECT_TRUE(Logged("Low memory video card setting enabled!"));
}

TEST_F(DxDisplayHandlerTest, AnUnwritableSettingsFileStillSwitchesThisRun) {
    SetDataFolders("", "", "");
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().OnOutOfVideoMemory();
    EXPECT_TRUE(Logged("ERROR: OnOutOfVideoMemory: no folder for common:display.xml"));
    EXPECT_TRUE(Handler().GetState().lowMemoryVideo);
}

TEST_F(DxDisplayHandlerTest, DisplaySettingsReadWithAtoi) {
    struct Case {
        const char* name;
        const char* content;  // null: no file
        bool hosted;
        bool lowMemory;
    } cases[] = {
        {"no file", nullptr, false, false},
        {"on", "<Settings LowMemoryVideo=\"1\"/>", false, true},
        {"any non-zero number", "<Settings LowMemoryVideo=\"7\"/>", false, true},
        {"zero", "<Settings LowMemoryVideo=\"0\"/>", false, false},
        {"not a number", "<Settings LowMemoryVideo=\"yes\"/>", false, false},
        {"no attribute", "<Settings/>", false, false},
        {"other root", "<Display LowMemoryVideo=\"1\"/>", false, false},
        {"malformed", "<Settings LowMemoryVideo=", false, false},
        {"hosted runs do not read it", "<Settings LowMemoryVideo=\"1\"/>", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((mCommon / "display.xml").c_str());
        if (c.content) mCommon.Write("display.xml", c.content);
        TFakeDisplayHost host;
        host.hosted = c.hosted;
        TDxDisplayHandler handler(mDevice, host);
        EXPECT_EQ(handler.GetState().lowMemoryVideo, c.lowMemory);
    }
}

TEST_F(DxDisplayHandlerTest, RestoreTable) {
    struct Case {
        const char* name;
        int frames;
        std::function<void(display::RecordingDevice&, TFakeDisplayHost&)> prepare;
        int screensMade;   // new screens asked of the device
        int assetRestores;
        bool broken;
        const char* log;
    } cases[] = {
        {"a loss within three frames rebuilds", 2, [](auto&, auto&) {}, 1, 1, false,
         "TPlatformData::Restore: Working count too small (2). Calling SetDisplay()"},
        {"a later loss restores the surfaces", 3, [](auto&, auto&) {}, 0, 1, false, nullptr},
        {"wrong mode rebuilds", 3,
         [](auto& device, auto&) { device.Script("RestoreAllSurfaces", Result::WrongMode); }, 1, 1, false,
         "Restore: RestoreAllSurfaces resulted in DDERR_WRONGMODE. Calling SetDisplay."},
        {"failed surfaces rebuild", 3,
         [](auto& device, auto&) { device.Script("RestoreAllSurfaces", Result::Failed); }, 1, 1, false,
         "RestoreAllSurfaces failed!"},
        {"inactive stays broken", 2, [](auto&, auto& host) { host.active = false; }, 0, 0, true, nullptr},
        {"inactive with a lost device stays broken", 3,
         [](auto& device, auto& host) {
             host.active = false;
             device.Script("TestCooperativeLevel", Result::SurfaceLost);
         },
         0, 0, true, nullptr},
        {"exclusive mode taken back", 3,
         [](auto& device, auto&) {
             device.Script("TestCooperativeLevel", Result::NoExclusiveMode);
             device.Script("TestCooperativeLevel", Result::NoExclusiveMode);
         },
         1, 1, false, "Restore: Test Cooperative level failed. Calling SetDisplay"},
        {"cooperative level in the wrong mode rebuilds", 3,
         [](auto& device, auto&) { device.Script("TestCooperativeLevel", Result::WrongMode); }, 1, 1, false,
         nullptr},
        {"suspended waits", 3, [](auto&, auto& host) { host.suspended = true; }, 0, 0, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::RecordingDevice device;
        TFakeDisplayHost host;
        TDxDisplayHandler handler(device, host);
        auto asset = std::make_shared<CountingAsset>();
        TAssetManager assets;
        assets.RegisterAsset("counted", asset);
        SetAssetManager(&assets);
        handler.SetDisplay(800, 600, false, false, false, false);
        for (int i = 0; i < c.frames; ++i) {
            ASSERT_TRUE(handler.BeginDraw(true));
            handler.EndDraw(true);
        }
        handler.MarkBroken();
        EXPECT_FALSE(handler.BeginDraw(true));
        asset->restores = 0;
        int screens = device.Count("CreateScreen");
        c.prepare(device, host);
        NewLog();
        handler.Restore();
        EXPECT_EQ(device.Count("CreateScreen") - screens, c.screensMade);
        EXPECT_EQ(asset->restores, c.assetRestores);
        EXPECT_EQ(handler.IsBroken(), c.broken);
        if (c.log) {
            EXPECT_TRUE(Logged(c.log)) << Log();
        }
        EXPECT_EQ(handler.BeginDraw(true), !c.broken);
        SetAssetManager(nullptr);
    }
}

TEST_F(DxDisplayHandlerTest, ACooperativeLevelThatStaysLostIsTriedFiveTimes) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    Frames(3);
    Handler().MarkBroken();
    for (int i = 0; i < 6; ++i) mDevice.Script("TestCooperativeLevel", Result::NoExclusiveMode);
    mHost.sleeps.clear();
    Handler().Restore();
    EXPECT_EQ(mHost.sleeps, std::vector<uint32_t>(5, 100));
    EXPECT_TRUE(Handler().IsBroken());
}

TEST_F(DxDisplayHandlerTest, FramesSkipAPendingFlipAndRepairALostScene) {
    EXPECT_FALSE(Handler().BeginDraw(true));  // no display yet
    Handler().Restore();
    EXPECT_EQ(mDevice.Count("CreateScreen"), 0);
    Handler().SetDisplay(800, 600, false, false, false, false);

    mDevice.Script("GetFlipStatus", Result::StillDrawing);
    NewLog();
    EXPECT_FALSE(Handler().BeginDraw(true));
    EXPECT_EQ(Log(), "");
    mDevice.Script("GetFlipStatus", Result::StillDrawing);
    EXPECT_FALSE(Handler().IsFrameDone());
    EXPECT_TRUE(Handler().IsFrameDone());

    // A scene lost in the first frames rebuilds the device and goes on.
    mDevice.Script("BeginScene", Result::SurfaceLost);
    EXPECT_TRUE(Handler().BeginDraw(true));
    EXPECT_TRUE(Logged("TRenderer::BeginDraw: DDERR_SURFACELOST on BeginScene"));
    Handler().EndDraw(true);

    // A present that fails repairs the device.
    Frames(3);
    mDevice.Script("Present", Result::SurfaceLost);
    ASSERT_TRUE(Handler().BeginDraw(true));
    Handler().EndDraw(true);
    EXPECT_TRUE(Logged("TPlatform::EndDraw: DDERR_SURFACELOST on UpdateFrame or EndScene"));
    EXPECT_EQ(mDevice.Count("RestoreAllSurfaces"), 1);

    // A failed EndScene marks broken without presenting.
    ASSERT_TRUE(Handler().BeginDraw(true));
    int presents = mDevice.Count("Present");
    mDevice.Script("EndScene", Result::SceneEndFailed);
    Handler().EndDraw(true);
    EXPECT_TRUE(Handler().IsBroken());
    EXPECT_EQ(mDevice.Count("Present"), presents);
}

TEST_F(DxDisplayHandlerTest, FrozenFramesAreNotPresented) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    mHost.frozen = true;
    int presents = mDevice.Count("Present");
    Frames(1);
    EXPECT_EQ(mDevice.Count("Present"), presents);
    mHost.frozen = false;
    Frames(1);
    EXPECT_EQ(mDevice.Count("Present"), presents + 1);
}

TEST_F(DxDisplayHandlerTest, BrokenMarksCompareTimesAcrossTheTimerWrap) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    mHost.now = 0xFFFFFF00u;
    Handler().MarkBroken();
    mHost.now += 200;  // wrapped past zero
    Handler().MarkBrokenThrottled();
    EXPECT_EQ(*Handler().GetState().brokenTime, 0xFFFFFF00u);
    mHost.now += 100;
    Handler().MarkBrokenThrottled();
    EXPECT_EQ(*Handler().GetState().brokenTime, 0xFFFFFF00u + 300);

    // The first mark is never throttled, whatever the clock reads.
    TFakeDisplayHost host;
    TDxDisplayHandler fresh(mDevice, host);
    fresh.MarkBrokenThrottled();
    EXPECT_TRUE(fresh.IsBroken());
}

TEST_F(DxDisplayHandlerTest, EmbeddedSetUpsWaitASecondAfterABrokenMark) {
    mHost.embedded = true;
    mHost.externalParent = true;
    mHost.now = 0xFFFFFE00u;
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().MarkBroken();
    int screens = mDevice.Count("CreateScreen");
    mHost.now += 900;  // wrapped past zero
    Handler().SetDisplay(800, 600, false, true, false, false);
    EXPECT_EQ(mDevice.Count("CreateScreen"), screens);
    EXPECT_TRUE(Handler().IsBroken());
    mHost.now += 100;
    Handler().SetDisplay(800, 600, false, true, false, false);
    EXPECT_EQ(mDevice.Count("CreateScreen"), screens + 1);
    EXPECT_FALSE(Handler().IsBroken());
}

TEST_F(DxDisplayHandlerTest, RenderHintsReachTheDeviceStates) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().Begin2d();
    Handler().SetBlendMode(3);
    EXPECT_EQ(mDevice.GetStates().stage.alphaOp, display::StageOp::Modulate);
    Handler().OnRenderHint("new_subtractive", "1");
    Handler().OnRenderHint("new_render_blend", "2");
    Handler().SetBlendMode(3);
    display::DrawStates states = mDevice.GetStates();
    EXPECT_EQ(states.srcBlend, display::Blend::Zero);
    EXPECT_EQ(states.destBlend, display::Blend::InvSrcColor);
    EXPECT_EQ(states.stage.alphaArg1, display::kArgTextureFactor);
    EXPECT_EQ(states.stage.colorArg2, display::kArgCurrent);
    Handler().OnRenderHint("new_subtractive", "no");
    Handler().OnRenderHint("vsync", "1");  // not a render hint: ignored
    EXPECT_FALSE(Handler().GetState().newSubtractive);
    Handler().OnRenderHint("antialias", "1");
    EXPECT_TRUE(Handler().GetState().antialias);
    EXPECT_TRUE(mDevice.GetStates().antialias);

    Handler().SetFilterMode(0);
    Handler().SetFilterMode(2);
    Handler().SetAddressMode(0, 5);
    Handler().SetCullMode(2);
    Handler().SetShadeMode(1);
    Handler().SetZEnable(true);
    states = mDevice.GetStates();
    EXPECT_EQ(states.filter, display::Filter::Point);
    EXPECT_EQ(states.addressU, display::Address::Clamp);
    EXPECT_EQ(states.addressV, display::Address::Clamp);
    EXPECT_EQ(states.cull, display::Cull::Clockwise);
    EXPECT_FALSE(states.gouraud);
    EXPECT_TRUE(states.zEnable);
    EXPECT_FALSE(states.zWrite);
    EXPECT_TRUE(states.antialias);
    Handler().OnRenderHint("antialias", "0");
    EXPECT_FALSE(mDevice.GetStates().antialias);
}

TEST_F(DxDisplayHandlerTest, AntialiasingHintsReachEachNewDevice) {
    struct Case {
        const char* name;
        const char* hint;
        const char* antialias;
        bool refused;  // the device cannot make an antialiased screen
        std::vector<std::string> screens;
        bool hintAfter, antialiasAfter;
    } cases[] = {
        {"both on", "1", "1", false, {"CreateScreen(800x600 window antialias)"}, true, true},
        {"the draw state alone", "0", "1", false, {kWindow}, false, true},
        {"the screen alone", "1", "0", false, {"CreateScreen(800x600 window antialias)"}, true, false},
        {"refused: both off", "1", "1", true, {"CreateScreen(800x600 window antialias)", kWindow}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mHandler.reset();
        mDevice.ClearCalls();
        // Without a device the hints wait for the next one.
        Handler().OnRenderHint("hint_antialias", c.hint);
        Handler().OnRenderHint("antialias", c.antialias);
        EXPECT_EQ(mDevice.Count("SetStates"), 0);
        if (c.refused) mDevice.Script("CreateScreen", Result::Failed);
        Handler().SetDisplay(800, 600, false, true, false, false);
        std::vector<std::string> screens;
        for (const std::string& call : mDevice.GetCalls()) {
            if (call.rfind("CreateScreen", 0) == 0) screens.push_back(call);
        }
        EXPECT_EQ(screens, c.screens);
        EXPECT_EQ(Handler().GetState().hintAntialias, c.hintAfter);
        EXPECT_EQ(Handler().GetState().antialias, c.antialiasAfter);
        EXPECT_EQ(mDevice.GetStates().antialias, c.antialiasAfter);
        // A rebuilt device and the blocks drawn on it keep the state.
        Handler().SetDisplay(800, 600, false, true, false, false);
        Handler().Begin2d();
        Handler().SetBlendMode(2);
        EXPECT_EQ(mDevice.GetStates().antialias, c.antialiasAfter);
        EXPECT_EQ(mDevice.Count("CreateScreen(800x600 window antialias)"), c.hintAfter ? 2 : c.refused ? 1 : 0);
    }
}

TEST_F(DxDisplayHandlerTest, TexturesBindThroughTheSurfaceSource) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().SetTextureSurfaceSource([](const TTexture&) { return display::SurfaceId(42); });
    // Any non-null texture object: the source alone reads it.
    std::shared_ptr<TTexture> texture(reinterpret_cast<TTexture*>(&mHost), [](TTexture*) {});
    Handler().SetTexture(texture);
    EXPECT_EQ(mDevice.Count("SetTexture(42)"), 1);
    EXPECT_TRUE(Handler().GetState().textured);
    Handler().SetTexture(nullptr);
    EXPECT_EQ(mDevice.Count("SetTexture(0)"), 1);
    EXPECT_FALSE(Handler().GetState().textured);

    // Nothing is bound while the device is broken.
    Handler().MarkBroken();
    Handler().SetTexture(texture);
    EXPECT_EQ(mDevice.Count("SetTexture(42)"), 1);
}

TEST_F(DxDisplayHandlerTest, ViewportRules) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    mDevice.ClearCalls();
    Handler().SetViewport(TRect(100, 50, 50, 200));
    EXPECT_EQ(mDevice.GetCalls().back(), "SetViewport(100,50,0,150)");
    Handler().SetViewport(TRect(700, 500, 900, 700));
    EXPECT_EQ(mDevice.GetCalls().back(), "SetViewport(700,500,100,100)");

    // The view rectangle clips the device viewport.
    Handler().SetViewport(TRect(0, 0, 800, 600));
    Handler().SetViewRect(TRect(100, 100, 300, 200));
    EXPECT_EQ(mDevice.GetCalls().back(), "SetViewport(100,100,200,100)");
    Handler().SetViewRect(TRect(0, 0, 800, 600));

    // A refused viewport keeps the previous one.
    mDevice.Script("SetViewport", Result::InvalidArgument);
    Handler().SetViewport(TRect(10, 10, 20, 20));
    EXPECT_TRUE(Logged("Bad viewport: 10, 10, 20, 20"));
    EXPECT_EQ(Handler().GetViewport(), TRect(0, 0, 800, 600));

    // Pushed viewports come back without the view rectangle's clip.
    Handler().PushViewport(TRect(10, 20, 30, 40));
    EXPECT_EQ(Handler().GetViewport(), TRect(10, 20, 30, 40));
    Handler().SetViewRect(TRect(0, 0, 400, 300));
    Handler().PopViewport();
    EXPECT_EQ(Handler().GetViewport(), TRect(0, 0, 800, 600));
    EXPECT_EQ(mDevice.GetCalls().back(), "SetViewport(0,0,800,600)");
    // More pops than pushes are ignored.
    Handler().PopViewport();
    EXPECT_TRUE(Logged("PopViewport: no viewport was pushed"));
    EXPECT_EQ(Handler().GetViewport(), TRect(0, 0, 800, 600));

    // Embedded at scale 2 the device viewport doubles.
    mHost.embedded = true;
    mHost.viewScale = 2;
    Handler().SetViewRect(TRect(0, 0, 800, 600));
    EXPECT_EQ(mDevice.GetCalls().back(), "SetViewport(0,0,1600,1200)");
}

TEST_F(DxDisplayHandlerTest, TheProjectionIsSentOnlyWhenItChanges) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    TRenderVertex quad[4];
    TVertexSet vertices;
    vertices.Init2d(quad, 4);
    ASSERT_TRUE(Handler().BeginDraw(true));
    Handler().Begin2d();
    mDevice.ClearCalls();
    Handler().DrawVertices(TRenderer::kTriangleFan, vertices);
    Handler().DrawVertices(TRenderer::kTriangleFan, vertices);
    EXPECT_EQ(mDevice.Count("SetTransform(2)"), 1);
    EXPECT_EQ(mDevice.Count("Draw(6,0,4)"), 2);
    Handler().SetViewRect(TRect(0, 0, 400, 300));
    Handler().DrawVertices(TRenderer::kTriangleFan, vertices);
    EXPECT_EQ(mDevice.Count("SetTransform(2)"), 2);

    // An unknown primitive type is refused before the device.
    Handler().DrawVertices(1, vertices);
    EXPECT_TRUE(Logged("DrawVertices: unknown primitive type 1"));
    EXPECT_FALSE(Handler().IsBroken());

    // A failing draw marks broken; a failing indexed draw only reports.
    mDevice.Script("DrawIndexed", Result::Failed);
    uint16_t indices[] = {0, 1, 2};
    Handler().DrawIndexedVertices(TRenderer::kTriangleList, vertices, indices, 3);
    EXPECT_FALSE(Handler().IsBroken());
    mDevice.Script("Draw", Result::Failed);
    Handler().DrawVertices(TRenderer::kTriangleFan, vertices);
    EXPECT_TRUE(Handler().IsBroken());
}

TEST_F(DxDisplayHandlerTest, DrawingOutOfVideoMemorySwitchesToLowMemoryVideo) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    TRenderVertex quad[4];
    TVertexSet vertices(quad, 4);
    Handler().Begin2d();
    mDevice.Script("Draw", Result::OutOfVideoMemory);
    Handler().DrawVertices(TRenderer::kTriangleFan, vertices);
    EXPECT_TRUE(Logged("DrawVertices out of video memory"));
    EXPECT_TRUE(Handler().GetState().lowMemoryVideo);
    EXPECT_TRUE(Handler().GetState().reconfigureNotice);
}

TEST_F(DxDisplayHandlerTest, PerspectiveOfAnEmptyAreaKeepsTheProjection) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    display::Matrix before = Handler().GetState().projection;
    Handler().SetViewRect(TRect(0, 0, 0, 0));
    Handler().SetPerspective(0.1f, 1000, 0.78f, 0);
    EXPECT_EQ(Handler().GetState().projection, before);
    EXPECT_TRUE(Logged("SetPerspective: nothing of the viewport is visible"));
}

TEST_F(DxDisplayHandlerTest, AFillInsideAFrameIsAFanThatLeavesTheBlocksAsTheyWere) {
    auto owned = std::make_unique<TDxDisplayHandler>(mDevice, mHost);
    TDxDisplayHandler& handler = *owned;
    TRenderer& renderer = *TRenderer::GetInstance();
    renderer.SetBackEnd(std::move(owned));
    handler.SetDisplay(800, 600, false, false, false, false);
    handler.PushViewport(TRect(100, 100, 400, 400));
    ASSERT_TRUE(renderer.BeginDraw(true));
    ASSERT_TRUE(renderer.Begin3d());
    mDevice.ClearCalls();
    EXPECT_TRUE(handler.FillRect(TRect(150, 150, 200, 200), TColor4f(1, 0, 0, 0.5f), nullptr));
    EXPECT_EQ(mDevice.Count("Draw(6,0,4)"), 1);
    EXPECT_EQ(mDevice.Count("ColorFill"), 0);
    EXPECT_TRUE(renderer.InBegin3d());
    EXPECT_FALSE(renderer.InBegin2d());
    EXPECT_TRUE(mDevice.GetStates().zEnable);  // the 3D presets are back
    renderer.End3d();
    renderer.EndDraw(false);
    TRenderer::DestroyInstance();
}

TEST_F(DxDisplayHandlerTest, FillOutsideAFrameIsAClippedColourFill) {
    Handler().SetDisplay(800, 600, false, false, false, false);
    Handler().SetViewRect(TRect(0, 0, 400, 300));
    EXPECT_TRUE(Handler().FillRect(TRect(350, 250, 900, 900), TColor4f(1, 0, 0, 1), nullptr));
    uint32_t pixels[2] = {};
    ASSERT_EQ(mDevice.ReadPixels(display::kBackBuffer, {399, 299, 401, 300}, pixels), Result::Ok);
    EXPECT_EQ(pixels[0], 0xFFFF0000u);
    EXPECT_EQ(pixels[1], 0u);
    // Nothing of an empty rectangle is filled.
    mDevice.ClearCalls();
    EXPECT_TRUE(Handler().FillRect(TRect(500, 500, 600, 600), TColor4f(1, 0, 0, 1), nullptr));
    EXPECT_EQ(mDevice.Count("ColorFill"), 0);
}

}  // namespace
