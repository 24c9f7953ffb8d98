#include "runtime/platform.h"

#include <gtest/gtest.h>

#include "foundation/task.h"
#include "runtime/commandline.h"
#include "platform/os/launch.h"
#include "pumptesting.h"

namespace pumptest {
namespace {

class PlatformTest : public PumpTest {
protected:
    void SetUp() override {
        PumpTest::SetUp();
        os::SetCurrentLauncher(&mLauncher);
    }

    void TearDown() override {
        mPlatform.reset();
        os::SetCurrentLauncher(nullptr);
        PumpTest::TearDown();
    }

    TPlatform& MakePlatform(const TPlatformSetup& setup = {}) {
        mPlatform.reset();
        Make(setup);
        mPlatform = std::make_unique<TPlatform>(std::move(mData));
        return *mPlatform;
    }

    os::RecordingLauncher mLauncher;
    std::unique_ptr<TPlatform> mPlatform;
};

TEST_F(PlatformTest, IsTheInstanceForItsLife) {
    EXPECT_EQ(TPlatform::GetInstance(), nullptr);
    TPlatform& platform = MakePlatform();
    EXPECT_EQ(TPlatform::GetInstance(), &platform);
    mPlatform.reset();
    EXPECT_EQ(TPlatform::GetInstance(), nullptr);
}

TEST_F(PlatformTest, OpensQuenmarthHiddenOrShownForAxTest) {
    TPlatform& platform = MakePlatform();
    platform.OpenWindow();
    EXPECT_TRUE(mWindow->created);
    EXPECT_EQ(mWindow->setup.title, "Quenmarth");
    EXPECT_EQ(mWindow->setup.x, 0);
    EXPECT_EQ(mWindow->setup.y, 0);
    EXPECT_EQ(mWindow->setup.width, 480);
    EXPECT_EQ(mWindow->setup.height, 360);
    EXPECT_FALSE(mWindow->setup.shown);

    TPlatformSetup axtest;
    axtest.axtest = axtest.embedded = true;
    MakePlatform(axtest).OpenWindow();
    EXPECT_TRUE(mWindow->setup.shown);
    EXPECT_EQ(mWindow->setup.width, 480);
}

TEST(PlatformDeathTest, AWindowThatCannotBeMadeEndsTheProcess) {
    auto window = std::make_unique<window::ScriptedWindow>();
    window->failCreate = true;
    TPlatformData data({}, std::move(window));
    EXPECT_EXIT(data.CreateGameWindow(), ::testing::ExitedWithCode(255), "");
}

TEST_F(PlatformTest, TitlesAndClipboardConvertFromTheEngineEncoding) {
    TPlatform& plain = MakePlatform();
    plain.SetWindowTitle("Caf\xE9 \x80 \x81");
    EXPECT_EQ(mWindow->title, "Caf\xC3\xA9 \xE2\x82\xAC \xEF\xBF\xBD");
    EXPECT_TRUE(plain.PutClipboardText("\xE9t\xE9"));
    EXPECT_EQ(mWindow->clipboard, "\xC3\xA9t\xC3\xA9");
    mWindow->clipboard = "\xE2\x82\xAC \xF0\x9F\x98\x80 \xFF";
    EXPECT_STREQ(plain.GetClipboardText().c_str(), "\x80 ? ?");
    mWindow->clipboardRefuses = true;
    EXPECT_FALSE(plain.PutClipboardText("x"));

    TPlatformSetup utf8;
    utf8.utf8Mode = true;
    TPlatform& wide = MakePlatform(utf8);
    wide.SetWindowTitle("Caf\xC3\xA9 \xFF");
    EXPECT_EQ(mWindow->title, "Caf\xC3\xA9 \xEF\xBF\xBD");
    mWindow->clipboard = "\xF0\x9F\x98\x80";
    EXPECT_STREQ(wide.GetClipboardText().c_str(), "\xF0\x9F\x98\x80");
    mWindow->clipboard.clear();
    EXPECT_STREQ(wide.GetClipboardText().c_str(), "");
}

TEST(CommandLineTest, ReadsTheHostProgramUpToTheFirstBlank) {
    EXPECT_STREQ(GetHostProgram("game -host=/usr/bin/browser -pq=1").c_str(), "/usr/bin/browser");
    EXPECT_STREQ(GetHostProgram("game -host=browser").c_str(), "browser");
    EXPECT_STREQ(GetHostProgram("game -host= x").c_str(), "");
    EXPECT_STREQ(GetHostProgram("game").c_str(), "");
    // Longer than any fixed buffer: read whole.
    TString longName(std::string(5000, 'p').c_str());
    EXPECT_EQ(GetHostProgram(TString("-host=") + longName + " rest").Length(), 5000);
    EXPECT_TRUE(IsHostedMode("game -pq=1"));
    EXPECT_FALSE(IsHostedMode("game -pq"));
}

TEST_F(PlatformTest, OpensPagesInTheHostProgramOrTheDesktopBrowser) {
    const TString address = "http://example.invalid/a b?x=\"1\"&y='2'";
    TPlatformSetup embedded;
    embedded.embedded = true;
    embedded.commandLine = "game -host=/opt/browser -wnd=1f";
    EXPECT_TRUE(MakePlatform(embedded).OpenBrowser(address));

    embedded.commandLine = "game -wnd=1f";
    EXPECT_TRUE(MakePlatform(embedded).OpenBrowser(address));

    TPlatformSetup plain;
    plain.commandLine = "game -host=/opt/browser";
    EXPECT_TRUE(MakePlatform(plain).OpenBrowser(address));

    ASSERT_EQ(mLauncher.calls.size(), 3u);
    EXPECT_EQ(mLauncher.calls[0].program, "/opt/browser");
    EXPECT_EQ(mLauncher.calls[1].program, "xdg-open");
    EXPECT_EQ(mLauncher.calls[2].program, "xdg-open") << "-host= counts only when embedded";
    for (const auto& call : mLauncher.calls) EXPECT_EQ(call.argument, address.c_str()) << "one argument, whole";

    mLauncher.result = false;
    EXPECT_FALSE(mPlatform->OpenBrowser(address));
}

TEST_F(PlatformTest, FullScreenFollowsTheDisplayOrTheHost) {
    TPlatform& platform = MakePlatform();
    EXPECT_FALSE(platform.IsFullScreen());
    EXPECT_TRUE(platform.SetFullScreen(true));
    EXPECT_TRUE(mDisplay.fullScreen);
    EXPECT_TRUE(platform.IsFullScreen());
    mDisplay.switchWorks = false;
    EXPECT_FALSE(platform.SetFullScreen(false));

    TPlatformSetup portal;
    portal.commandLine = "game -pq=1";
    mDisplay.switchWorks = true;
    mDisplay.fullScreen = false;
    TPlatform& hosted = MakePlatform(portal);
    EXPECT_TRUE(hosted.SetFullScreen(true));
    EXPECT_TRUE(hosted.IsFullScreen());
    EXPECT_FALSE(mDisplay.fullScreen);
}

TEST_F(PlatformTest, CursorCallsReachTheDisplay) {
    TPlatform& platform = MakePlatform();
    platform.ShowSystemCursor(true);
    EXPECT_EQ(mDisplay.cursorShows, 0) << "no change, no call";
    platform.ShowSystemCursor(false);
    platform.ShowSystemCursor(false);
    EXPECT_EQ(mDisplay.cursorShows, 1);
    EXPECT_FALSE(mDisplay.cursorShown);

    platform.SetCursor(nullptr, 3, 4, 1);
    EXPECT_EQ(mDisplay.mouseImages, 1);
    EXPECT_EQ(mDisplay.hotSpot, TPoint(3, 4));
    EXPECT_EQ(mDisplay.mouseImageFlags, 1);

    platform.GetData().SetDisplayLink(nullptr);
    platform.ShowSystemCursor(true);
    EXPECT_TRUE(mWindow->cursorShown) << "without a display the window shows it";
}

// What the game state and the movie windows do with the cursor and the mouse.
TEST_F(PlatformTest, CursorServicesGiveTheKeptImageAgain) {
    TPlatform& platform = MakePlatform();
    platform.SetCursor(nullptr, 3, 4, 1);
    mDisplay.hotSpot = TPoint();
    mDisplay.mouseImageFlags = 0;
    platform.RestoreCursor();
    EXPECT_EQ(mDisplay.mouseImages, 2);
    EXPECT_EQ(mDisplay.hotSpot, TPoint(3, 4));
    EXPECT_EQ(mDisplay.mouseImageFlags, 1);
    platform.ResetMouseImage();
    EXPECT_EQ(mDisplay.mouseImages, 3);
    EXPECT_EQ(mDisplay.hotSpot, TPoint(3, 4));

    platform.UpdateSystemCursor();
    EXPECT_EQ(mDisplay.systemCursorUpdates, 1);
    mWindow->cursorShown = false;
    platform.SetArrowCursor();
    EXPECT_TRUE(mWindow->cursorShown);

    mWindow->Queue(ButtonEvent(EventKind::kButtonDown, window::Button::kLeft));
    TPlatformEvent event;
    platform.GetEvent(event);
    EXPECT_TRUE(platform.HasMouseCapture());
    platform.ReleaseMouseCapture();
    EXPECT_FALSE(platform.HasMouseCapture());
    EXPECT_FALSE(mWindow->captured);
}

TEST_F(PlatformTest, ServesTheFramePass) {
    TPlatformSetup portal;
    portal.commandLine = "game -pq=1";
    EXPECT_TRUE(MakePlatform(portal).IsHosted());
    TPlatformSetup embedded;
    embedded.embedded = true;
    EXPECT_TRUE(MakePlatform(embedded).IsHosted());
    TPlatform& platform = MakePlatform();
    EXPECT_FALSE(platform.IsHosted());
    EXPECT_FALSE(platform.IsRelativeMouse());

    mDisplay.frameDone = false;
    EXPECT_FALSE(platform.IsFrameDone());
    mDisplay.frameDone = true;
    EXPECT_TRUE(platform.IsFrameDone());
    mDisplay.ready = false;
    EXPECT_FALSE(platform.CanDraw());
    EXPECT_FALSE(platform.BeginRenderTarget(nullptr));
    platform.GetData().SetDisplayLink(nullptr);
    EXPECT_FALSE(platform.IsFrameDone()) << "no display, no frame";
    EXPECT_FALSE(platform.CanDraw());
    EXPECT_FALSE(platform.BeginDraw()) << "the renderer has no back end";

    mWindow->focused = true;
    EXPECT_TRUE(platform.IsActiveWindow());
    At(1234);
    EXPECT_EQ(platform.Timer(), 1234u);
    platform.PostQuit(3);
    TPlatformEvent event;
    platform.GetEvent(event);
    EXPECT_EQ(event.type, TPlatformEvent::kQuit);
}

TEST_F(PlatformTest, OwnsThePlatformTasks) {
    TPlatform& platform = MakePlatform();
    class Once : public TTask {
    public:
        bool DoTask() override { return false; }
    };
    TTask* task = new Once;
    platform.AddTask(task);
    EXPECT_TRUE(platform.RemoveTask(task));
    EXPECT_FALSE(platform.RemoveTask(task));
    delete task;
    EXPECT_EQ(&platform.GetTaskList(), &platform.GetData().GetTaskList());
}

}  // namespace
}  // namespace pumptest
