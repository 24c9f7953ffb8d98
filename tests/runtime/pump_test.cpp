#include <gtest/gtest.h>

#include "foundation/task.h"
#include "core/windows/windowmanagerlink.h"
#include "graphics/render/renderer.h"
#include "pumptesting.h"
#include "tests/support/luatesting.h"

namespace pumptest {
namespace {

using window::Button;

enum Mode { kPlain, kUtf8, kEmbedded, kPortal, kEmbeddedPortal };

TPlatformSetup SetupFor(Mode mode) {
    TPlatformSetup setup;
    setup.utf8Mode = mode == kUtf8;
    setup.embedded = mode == kEmbedded || mode == kEmbeddedPortal;
    if (mode == kPortal || mode == kEmbeddedPortal) setup.commandLine = "game -pq=42";
    return setup;
}

const int32_t kShift = 1, kCtrl = 2, kAlt = 4, kExt = 8;

struct TranslationCase {
    const char* name;
    Mode mode;
    std::vector<NativeEvent> records;
    std::vector<Seen> events;
};

class TranslationTest : public PumpTest {};

TEST_F(TranslationTest, RecordsBecomeEvents) {
    const TranslationCase cases[] = {
        {"Shift+Insert", kPlain, {Key(EventKind::kKeyDown, 0x2D, kShift, true)}, {{11, 0x2D, kShift | kExt}}},
        {"Insert", kPlain, {Key(EventKind::kKeyDown, 0x2D, 0, true)}, {{2}}},
        {"Ctrl+Insert", kPlain, {Key(EventKind::kKeyDown, 0x2D, kCtrl, true)}, {{2}}},
        {"Ctrl+Shift+Insert", kPlain, {Key(EventKind::kKeyDown, 0x2D, kCtrl | kShift, true)}, {{2}}},
        {"Alt+Enter", kPlain, {Key(EventKind::kKeyDown, 13, kAlt)}, {{19, 1}}},
        {"Alt+Enter embedded", kEmbedded, {Key(EventKind::kKeyDown, 13, kAlt)}, {{2}}},
        {"Alt+Enter embedded with -pq=", kEmbeddedPortal, {Key(EventKind::kKeyDown, 13, kAlt)}, {{19, 0}}},
        {"Alt+Enter with -pq=", kPortal, {Key(EventKind::kKeyDown, 13, kAlt)}, {{19, 0}}},
        {"Alt+F1", kPlain, {Key(EventKind::kKeyDown, 0x70, kAlt)}, {{2}}},
        {"Alt+A", kPlain, {Key(EventKind::kKeyDown, 'A', kAlt)}, {{11, 'A', kAlt}}},
        {"Alt+Insert", kPlain, {Key(EventKind::kKeyDown, 0x2D, kAlt, true)}, {{11, 0x2D, kAlt | kExt}}},
        {"unknown key", kPlain, {Key(EventKind::kKeyDown, 0), Key(EventKind::kKeyUp, 0)}, {{2}, {2}}},
        {"key up", kPlain, {Key(EventKind::kKeyUp, 'A', kCtrl)}, {{12, 'A', kCtrl}}},
        {"key up with Alt", kPlain, {Key(EventKind::kKeyUp, 'A', kAlt)}, {{2}}},
        {"Enter then 13", kPlain, {Key(EventKind::kKeyDown, 13)}, {{11, 13}, {13, 13}}},
        {"Enter then 13 in utf8mode", kUtf8, {Key(EventKind::kKeyDown, 13)}, {{11, 13}, {14, 13}}},
        {"keypad Enter", kPlain, {Key(EventKind::kKeyDown, 13, 0, true)}, {{11, 13, kExt}, {13, 13}}},
        {"Backspace, Tab, Escape",
         kPlain,
         {Key(EventKind::kKeyDown, 8), Key(EventKind::kKeyDown, 9), Key(EventKind::kKeyDown, 27)},
         {{11, 8}, {13, 8}, {11, 9}, {13, 9}, {11, 27}, {13, 27}}},
        {"letters type nothing by themselves", kPlain, {Key(EventKind::kKeyDown, 'A')}, {{11, 'A'}}},
        {"e acute in 8-bit mode", kPlain, {Text("\xC3\xA9")}, {{13, 0xE9}}},
        {"euro in 8-bit mode", kPlain, {Text("\xE2\x82\xAC")}, {{13, 0x80}}},
        {"U+1F600 in utf8mode", kUtf8, {Text("\xF0\x9F\x98\x80")}, {{14, 0x1F600}}},
        {"U+1F600 in 8-bit mode", kPlain, {Text("\xF0\x9F\x98\x80")}, {{2}}},
        {"one character per call", kUtf8, {Text("ab\xC3\xA9")}, {{14, 'a'}, {14, 'b'}, {14, 0xE9}}},
        {"invalid UTF-8 and controls dropped", kPlain, {Text("a\xFF\x01" "b\x7F")}, {{13, 'a'}, {13, 'b'}}},
        {"nothing left of the text", kPlain, {Text("\xFF\x1B")}, {{2}}},
        {"wheel forward", kPlain, {Wheel(0, 1, kShift)}, {{6, 6, kShift}}},
        {"wheel back", kPlain, {Wheel(0, -3, kCtrl)}, {{6, 7, kCtrl}}},
        {"wheel zero", kPlain, {Wheel(0, 0)}, {{6, 7}}},
        {"wheel sideways", kPlain, {Wheel(2, 0)}, {{2}}},
        {"wheel sideways and forward", kPlain, {Wheel(2, 1)}, {{6, 6}}},
        {"extra buttons",
         kPlain,
         {ButtonEvent(EventKind::kButtonDown, Button::kExtra1, kShift), ButtonEvent(EventKind::kButtonUp, Button::kExtra1),
          ButtonEvent(EventKind::kButtonDown, Button::kExtra2), ButtonEvent(EventKind::kButtonUp, Button::kExtra2)},
         {{6, 4}, {2}, {6, 5}, {2}}},
        {"left button",
         kPlain,
         {ButtonEvent(EventKind::kButtonDown, Button::kLeft, kShift | kCtrl | kAlt),
          ButtonEvent(EventKind::kButtonUp, Button::kLeft, kShift)},
         {{5, 0, kShift | kCtrl}, {7}}},
        {"right and middle buttons",
         kPlain,
         {ButtonEvent(EventKind::kButtonDown, Button::kRight, kCtrl), ButtonEvent(EventKind::kButtonUp, Button::kRight, kCtrl),
          ButtonEvent(EventKind::kButtonDown, Button::kMiddle, kShift), ButtonEvent(EventKind::kButtonUp, Button::kMiddle)},
         {{6, 1, kCtrl}, {6, 0}, {6, 3, kShift}, {6, 2}}},
        {"unknown button", kPlain, {ButtonEvent(EventKind::kButtonDown, Button::kUnknown)}, {{2}}},
        {"quit", kPlain, {Native(EventKind::kQuit)}, {{4}}},
        {"close", kPlain, {Native(EventKind::kClose)}, {{2}, {3}}},
        {"expose", kPlain, {Native(EventKind::kExposed)}, {{15}, {15}}},
        {"mouse enter and others", kPlain, {Native(EventKind::kMouseEnter), Native(EventKind::kOther)}, {{2}, {2}}},
    };
    for (const TranslationCase& c : cases) {
        mDisplay.fullScreen = false;
        Make(SetupFor(c.mode));
        for (const NativeEvent& record : c.records) mWindow->Queue(record);
        EXPECT_EQ(UntilIdle(), c.events) << c.name;
    }
}

TEST_F(TranslationTest, AltEnterSwitchesTheDisplayOrAsksTheHost) {
    Make();
    mWindow->Queue(Key(EventKind::kKeyDown, 13, kAlt));
    mWindow->Queue(Key(EventKind::kKeyDown, 13, kAlt));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{19, 1}, {19, 0}}));
    EXPECT_EQ(mDisplay.fullScreenSwitches, 2);

    mDisplay.fullScreenSwitches = 0;
    Make(SetupFor(kPortal));
    mWindow->Queue(Key(EventKind::kKeyDown, 13, kAlt));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{19, 0}}));
    EXPECT_TRUE(mData->IsFullScreen()) << "the host was asked for full screen";
    EXPECT_FALSE(mDisplay.fullScreen) << "the display stays windowed";
}

TEST_F(TranslationTest, AltF1TogglesTheStatisticsOverlay) {
    Make();
    bool before = TRenderer::GetInstance()->ToggleStatsOverlay();
    mWindow->Queue(Key(EventKind::kKeyDown, 0x70, kAlt));
    UntilIdle();
    // Without the pump's toggle this third one would report !before.
    EXPECT_EQ(TRenderer::GetInstance()->ToggleStatsOverlay(), before);
    TRenderer::DestroyInstance();
}

TEST_F(TranslationTest, MouseEventsCarryTheDisplayCursorAs16Bits) {
    Make();
    mDisplay.mouse = TPoint(70000, -5);
    mWindow->Queue(Move(1, 2));
    TPlatformEvent event = Next();
    EXPECT_EQ(event.type, TPlatformEvent::kMouseMove);
    EXPECT_EQ(event.x, 70000 - 65536);
    EXPECT_EQ(event.y, -5);
    EXPECT_EQ(mDisplay.mouseMoves, 1);

    mDisplay.hasMouse = false;
    mWindow->pointerX = 33;
    mWindow->pointerY = 44;
    mWindow->Queue(ButtonEvent(EventKind::kButtonDown, Button::kLeft));
    event = Next();
    EXPECT_EQ(event.x, 33) << "without a display position the pointer counts";
    EXPECT_EQ(event.y, 44);
}

// The window's pixels are not the display's when a full screen is scaled.
TEST_F(TranslationTest, AMoveIntoTheWindowCarriesTheDisplaysPositionAtOnce) {
    Make();
    mDisplay.hasMouse = false;
    mDisplay.mouse = TPoint(200, 150);
    mWindow->Queue(Move(400, 300));
    TPlatformEvent event = Next();
    EXPECT_EQ(event.type, TPlatformEvent::kMouseMove);
    EXPECT_EQ(event.x, 200);
    EXPECT_EQ(event.y, 150);
}

TEST_F(TranslationTest, ButtonsCaptureTheMouseUntilReleasedOrFocusIsLost) {
    Make(SetupFor(kEmbedded));
    mWindow->Queue(ButtonEvent(EventKind::kButtonDown, Button::kRight));
    Next();
    EXPECT_TRUE(mWindow->captured);
    EXPECT_EQ(mWindow->focusRequests, 1) << "an embedded game takes the focus on a click";
    mWindow->Queue(Wheel(0, 1));
    Next();
    EXPECT_TRUE(mWindow->captured) << "the wheel leaves the capture alone";

    mWindow->Queue(Native(EventKind::kFocusLost));
    TPlatformEvent cancel = Next();
    EXPECT_EQ(cancel.type, TPlatformEvent::kMouseCancel);
    EXPECT_EQ(cancel.x, 0);
    EXPECT_EQ(cancel.y, 0);
    EXPECT_FALSE(mWindow->captured);

    mWindow->Queue(ButtonEvent(EventKind::kButtonDown, Button::kLeft));
    mWindow->Queue(ButtonEvent(EventKind::kButtonUp, Button::kLeft));
    UntilIdle();
    EXPECT_FALSE(mWindow->captured);
    mWindow->Queue(Native(EventKind::kFocusLost));
    EXPECT_NE(UntilIdle(), (std::vector<Seen>{{9}})) << "no cancel without a capture";
}

TEST_F(TranslationTest, QuitComesFromPostQuitBeforeWaitingRecords) {
    Make();
    mWindow->Queue(Key(EventKind::kKeyDown, 'A'));
    mData->PostQuit();
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{4}, {11, 'A'}}));
}

TEST_F(TranslationTest, ALostWindowBecomesOneQuitWithALogLine) {
    TestLog log;
    Make();
    mWindow->Queue(Key(EventKind::kKeyDown, 'A'));
    mWindow->loss = "X error 3 on request 3 for resource 0x200006";
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{4}, {11, 'A'}}));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{})) << "one quit only";
    EXPECT_EQ(log.Count("The window system lost the game's window (X error 3 on request 3 for resource 0x200006)"), 1u);
}

class ClickGateTest : public PumpTest {
protected:
    // Focus gained with the pointer inside at the given time.
    void ActivateAt(uint32_t time, bool pointerInside = true) {
        At(time);
        mData->HandleWindowEvent(FocusGained(pointerInside));
    }

    int32_t DownAt(uint32_t time, Button button = Button::kLeft) {
        At(time);
        mWindow->Queue(ButtonEvent(EventKind::kButtonDown, button));
        return Next().type;
    }

    int32_t UpAt(uint32_t time) {
        At(time);
        mWindow->Queue(ButtonEvent(EventKind::kButtonUp, Button::kLeft));
        return Next().type;
    }
};

TEST_F(ClickGateTest, DropsDownsWithin400MsOfAnActivatingClick) {
    Make();
    ActivateAt(1000);
    EXPECT_EQ(DownAt(1399), 2);
    EXPECT_EQ(DownAt(1399, Button::kRight), 2);
    EXPECT_EQ(DownAt(1400), 5);

    ActivateAt(2000);
    EXPECT_EQ(UpAt(2010), 7) << "an up ends the activation mark first";
    EXPECT_EQ(DownAt(2020), 5);
}

TEST_F(ClickGateTest, WheelsAreGatedToo) {
    Make();
    ActivateAt(1000);
    At(1100);
    mWindow->Queue(Wheel(0, 1));
    EXPECT_EQ(Next().type, 2);
}

TEST_F(ClickGateTest, MarksOnlyActivationsWithThePointerInsideAndNotEmbedded) {
    Make();
    ActivateAt(1000, false);
    EXPECT_EQ(DownAt(1001), 5);

    Make(SetupFor(kEmbedded));
    ActivateAt(1000);
    EXPECT_EQ(DownAt(1001), 5);
}

TEST_F(ClickGateTest, IsRightAcrossTheTimerWrap) {
    Make();
    ActivateAt(0xFFFFFF00u);
    EXPECT_EQ(DownAt(0xFFFFFF10u), 2) << "16 ms later, before the wrap";
    EXPECT_EQ(DownAt(0x8Eu), 2) << "399 ms later, after the wrap";
    EXPECT_EQ(DownAt(0x90u), 5) << "400 ms later";
}

TEST_F(ClickGateTest, AMovieLiftsTheGateAndBlockedInputDropsEverything) {
    NoFrameServices services;
    TWindowManager manager(services);
    Make();
    ActivateAt(1000);
    manager.SetMovieShown(true);
    EXPECT_EQ(DownAt(1001), 5);
    manager.SetMovieShown(false);

    manager.SetMovieInput(true);
    EXPECT_EQ(DownAt(5000), 2);
    EXPECT_EQ(UpAt(5001), 2);
    At(5002);
    mWindow->Queue(Wheel(0, -1));
    EXPECT_EQ(Next().type, 2);
    manager.SetMovieInput(false);
    EXPECT_EQ(DownAt(5003), 5);
}

class ActivationTest : public PumpTest {};

TEST_F(ActivationTest, MinimizeAndRestoreBeforeTheNextCallCancelOut) {
    Make();
    mData->HandleWindowEvent(Native(EventKind::kMinimized));
    mData->HandleWindowEvent(Native(EventKind::kRestored));
    EXPECT_EQ(UntilIdle(), std::vector<Seen>{});
    EXPECT_TRUE(mSound.IsActive());
}

TEST_F(ActivationTest, MinimizeAloneReportsInactiveAndTellsTheDisplay) {
    Make();
    mData->HandleWindowEvent(Native(EventKind::kMinimized));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{18, 0}}));
    EXPECT_EQ(mDisplay.deactivations, 1);
    EXPECT_TRUE(mData->IsMinimized());
    EXPECT_FALSE(mData->IsActive());
    EXPECT_FALSE(mSound.IsActive());
    mData->HandleWindowEvent(Native(EventKind::kRestored));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{18, 1}}));
    EXPECT_EQ(mDisplay.deactivations, 1);
}

TEST_F(ActivationTest, FocusOutAndInGiveOneActivation) {
    Make();
    mData->HandleWindowEvent(Native(EventKind::kFocusLost));
    mData->HandleWindowEvent(FocusGained(false));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{18, 1}}));
    EXPECT_TRUE(mSound.IsActive());
}

TEST_F(ActivationTest, FocusOutReportsBothChanges) {
    Make();
    mWindow->Queue(Native(EventKind::kFocusLost));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{2}, {18, 0}, {18, 0}}));
    EXPECT_FALSE(mSound.IsActive());
    mWindow->Queue(Native(EventKind::kFocusLost));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{2}})) << "no change, no report";
}

TEST_F(ActivationTest, FocusLostInFullScreenCountsAsMinimized) {
    Make();
    mDisplay.fullScreen = true;
    mData->HandleWindowEvent(Native(EventKind::kFocusLost));
    EXPECT_TRUE(mData->IsMinimized());
    mData->HandleWindowEvent(FocusGained(false));
    EXPECT_FALSE(mData->IsMinimized());
}

class PendingTest : public PumpTest {};

TEST_F(PendingTest, ALostDisplayIsRestoredWhileActive) {
    Make();
    mDisplay.ready = false;
    EXPECT_EQ(Next().type, 2);
    EXPECT_EQ(Next().type, 2);
    EXPECT_EQ(mDisplay.restores, 2);

    mData->HandleWindowEvent(Native(EventKind::kMinimized));
    EXPECT_EQ(Next().type, 18);
    mWindow->Queue(Key(EventKind::kKeyDown, 'A'));
    EXPECT_EQ(Next().type, 11) << "a minimized window reads its messages";
    EXPECT_EQ(mDisplay.restores, 2);
}

TEST_F(PendingTest, AWaitingQuitGoesBeforeTheRestore) {
    Make();
    mDisplay.ready = false;
    mWindow->Queue(Key(EventKind::kKeyDown, 'A'));
    mWindow->Queue(Native(EventKind::kQuit));
    EXPECT_EQ(Next().type, 4);
    Make();
    mData->PostQuit();
    EXPECT_EQ(Next().type, 4);
    EXPECT_EQ(mDisplay.restores, 0);
}

TEST_F(PendingTest, ReportsInOrderAndOnce) {
    Make();
    mData->RaiseDisplayNotice();
    mData->HandleWindowEvent(Native(EventKind::kClose));
    mData->HandleWindowEvent(Native(EventKind::kExposed));
    mData->HandleWindowEvent(Native(EventKind::kFocusLost));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{18, 0}, {17}, {15}, {18, 0}, {3}}));
}

TEST_F(PendingTest, ARedrawRestoresALostDisplay) {
    Make();
    mData->HandleWindowEvent(Native(EventKind::kMinimized));
    EXPECT_EQ(Next().type, 18);
    mDisplay.ready = false;
    mData->HandleWindowEvent(Native(EventKind::kExposed));
    EXPECT_EQ(Next().type, 15);
    EXPECT_EQ(mDisplay.restores, 0) << "not while minimized";
    mData->HandleWindowEvent(Native(EventKind::kRestored));
    mDisplay.ready = true;
    EXPECT_EQ(Next().type, 18);
}

// Counts the invalidations; the rest of the window tree is not there.
class InvalidationCounter : public TWindowManagerLink {
public:
    void Invalidate() override { ++invalidations; }
    void SetFocus(TWindow*) override {}
    TWindow* GetRootWindow() const override { return nullptr; }
    TWindow* GetTopModal() const override { return nullptr; }
    void PostMessage(TMessage*) override {}
    void QueueScriptMessage(TMessage*) override {}
    TScript* GetScript() const override { return nullptr; }
    void DestroyWindowDeferred(TWindow*) override {}
    void OnWindowDestroyed(TWindow*) override {}
    bool OfferToEventHook(TWindow*, const TPoint&) override { return false; }

    int invalidations = 0;
};

TEST_F(PendingTest, ExposeInvalidatesTheScreen) {
    InvalidationCounter counter;
    SetWindowManagerLink(&counter);
    Make();
    mWindow->Queue(Native(EventKind::kExposed));
    UntilIdle();
    SetWindowManagerLink(nullptr);
    EXPECT_EQ(counter.invalidations, 1);
}

class HoverTest : public PumpTest {};

TEST_F(HoverTest, HoversAfter400MsAndStartsAgain) {
    Make();
    mWindow->Queue(Move(10, 10));
    EXPECT_EQ(Next().type, 8);
    At(399);
    EXPECT_EQ(Next().type, 1);
    At(400);
    TPlatformEvent hover = Next();
    EXPECT_EQ(hover.type, 10);
    EXPECT_EQ(hover.x, 100);
    EXPECT_EQ(hover.y, 50);
    At(799);
    EXPECT_EQ(Next().type, 1);
    At(800);
    EXPECT_EQ(Next().type, 10);
}

TEST_F(HoverTest, AMoveOutOfTheBoxStartsAgain) {
    Make();
    mWindow->Queue(Move(10, 10));
    Next();
    At(200);
    mWindow->Queue(Move(12, 8));
    Next();
    At(400);
    EXPECT_EQ(Next().type, 10) << "two pixels stay in the box";

    At(1000);
    mWindow->Queue(Move(13, 8));
    Next();
    At(1399);
    EXPECT_EQ(Next().type, 1) << "three pixels re-anchor";
    At(1400);
    EXPECT_EQ(Next().type, 10);
}

TEST_F(HoverTest, IsRightAcrossTheTimerWrap) {
    Make();
    At(0xFFFFFF00u);
    mWindow->Queue(Move(10, 10));
    Next();
    At(0xFFFFFF10u);
    EXPECT_EQ(Next().type, 1);
    At(0x90u);
    EXPECT_EQ(Next().type, 10);
}

TEST_F(HoverTest, ExposeAndLeaveStopIt) {
    Make();
    mWindow->Queue(Move(10, 10));
    Next();
    mWindow->Queue(Native(EventKind::kExposed));
    Next();
    At(1000);
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{15}})) << "the dispatched expose, no hover";

    mWindow->Queue(Move(10, 10));
    Next();
    mWindow->Queue(Native(EventKind::kMouseLeave));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{2}, {9}}));
    At(3000);
    EXPECT_EQ(UntilIdle(), std::vector<Seen>{});
}

TEST_F(HoverTest, NoLeaveWithoutAMove) {
    Make();
    mWindow->Queue(Native(EventKind::kMouseLeave));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{2}}));
    EXPECT_EQ(mDisplay.mouseLeaves, 0);

    mWindow->Queue(Move(5, 5));
    mWindow->Queue(Native(EventKind::kMouseLeave));
    mWindow->Queue(Native(EventKind::kMouseLeave));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{8}, {2}, {9}, {2}}));
    EXPECT_EQ(mDisplay.mouseLeaves, 1);
}

class CountingTask : public TTask {
public:
    explicit CountingTask(int& runs) : mRuns(runs) {}
    bool DoTask() override {
        ++mRuns;
        return true;
    }

private:
    int& mRuns;
};

class IdleTest : public PumpTest {};

TEST_F(IdleTest, UpdatesSoundRunsTasksAndWaits) {
    Make();
    int runs = 0;
    mData->GetTaskList().Add(new CountingTask(runs));
    TPlatformEvent event = Next();
    EXPECT_EQ(event.type, TPlatformEvent::kIdle);
    EXPECT_EQ(event.param, 0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Sleeps(), std::vector<uint32_t>{1});
}

TEST_F(IdleTest, WorksWithoutDisplayOrSound) {
    Make();
    mData->SetDisplayLink(nullptr);
    SetSoundManager(nullptr);
    mWindow->Queue(Move(7, 1));
    TPlatformEvent event = Next();
    EXPECT_EQ(event.x, 7) << "the window's pointer";
    mData->HandleWindowEvent(Native(EventKind::kFocusLost));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{18, 0}, {18, 0}}));
    EXPECT_FALSE(mData->IsFullScreen());
    EXPECT_FALSE(mData->SetFullScreen(true));
}

}  // namespace
}  // namespace pumptest
