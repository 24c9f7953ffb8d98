#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "foundation/task.h"
#include "core/windows/windowscriptlink.h"
#include "foundation/settings.h"
#include "tests/graphics/renderertesting.h"
#include "tests/support/luatesting.h"
#include "windowmanagertesting.h"

namespace {

// Records the untargeted messages offered to it as "type:name" ("!" added
// when the message still names a target).
class RecordingListener : public TMessageListener {
public:
    RecordingListener(std::vector<std::string>* seen, bool takes) : mSeen(seen), mTakes(takes) {}
    bool OnMessage(TMessage* message) override {
        std::string seen = std::to_string(message->GetType()) + ":" + message->GetName().c_str();
        mSeen->push_back(message->GetTarget() ? seen + "!" : seen);
        return mTakes;
    }

private:
    std::vector<std::string>* mSeen;
    bool mTakes;
};

// Counts its steps and its deletion.
class CountingTask : public TTask {
public:
    CountingTask(int* steps, int* deletions) : mSteps(steps), mDeletions(deletions) {}
    ~CountingTask() override { ++*mDeletions; }
    bool Ready(int pass) override { return pass == 0; }
    bool DoTask() override {
        ++*mSteps;
        return true;
    }

private:
    int* mSteps;
    int* mDeletions;
};

// Runs the action once, in the frame pass.
class FrameAction : public TTask {
public:
    explicit FrameAction(std::function<void()> action) : mAction(std::move(action)) {}
    bool Ready(int pass) override { return pass == 1; }
    bool DoTask() override {
        mAction();
        return false;
    }

private:
    std::function<void()> mAction;
};

// The window script as far as the manager uses it.
class FakeWindowScript final : public TWindowScriptLink {
public:
    TScript* GetScript() override { return script; }
    void SetCurrentModal(TWindow* window) override { Note(std::string("current:") + NameOf(window)); }
    void PushWindow(TWindow* window) override { Note(std::string("push:") + NameOf(window)); }
    void PopWindow() override { Note("pop"); }
    void RegisterWindowType(const TString& name, TWindowClassId) override {
        Note(std::string("type:") + name.c_str());
    }
    void OnWindowDestroyed(TWindow*) override {}
    bool QueueMessage(TMessage* message, const TLuaFunction*) override {
        Note(std::string("queued:") + message->GetName().c_str());
        delete message;
        return true;
    }
    bool SetUtf8Mode(bool on) override {
        bool previous = utf8;
        utf8 = on;
        return previous;
    }
    bool IsUtf8Mode() const override { return utf8; }

    TScript* script = new TScript();  // owned by the platform task list once attached
    bool utf8 = false;
    std::vector<std::string> calls;

private:
    static const char* NameOf(TWindow* window) { return window ? window->GetName().c_str() : "null"; }
    void Note(const std::string& call) { calls.push_back(call); }
};

bool HasEntry(const Journal& journal, const std::string& entry) {
    return std::find(journal.entries.begin(), journal.entries.end(), entry) != journal.entries.end();
}

std::vector<TRect> YellowFills(const TRecordingRenderBackEnd& recorder) {
    std::vector<TRect> rects;
    for (const auto& call : recorder.GetCalls()) {
        if (call.kind == TRecordingRenderBackEnd::kFillRect && call.color == TColor4f(1, 1, 0, 1)) {
            rects.push_back(call.rect);
        }
    }
    return rects;
}

// --- Mouse capture ---

TEST_F(WindowManagerTest, CapturedWindowGetsAMouseUpOutsideOnlyWhileItKeepsTheCapture) {
    struct Case {
        TPoint point;
        bool releaseOnCancel;
        const char* expected;
    };
    const Case cases[] = {
        {{20, 20}, false, "button:up@10,10"},
        {{100, 100}, false, "button:cancel button:up@90,90"},
        {{100, 100}, true, "button:cancel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        RecordingModal* dialog = Push("dialog");
        RecordingWindow* button = Child(dialog, "button", TRect(10, 10, 50, 30));
        button->handles = true;
        button->onCancel = [&] {
            if (c.releaseOnCancel) manager->ReleaseMouse(button);
        };
        manager->CaptureMouse(button);
        journal.entries.clear();
        manager->HandleEvent(Event(TPlatformEvent::kMouseUp, c.point.x, c.point.y));
        EXPECT_EQ(journal.Joined(), c.expected);
        manager->PopTopModal();
        manager->HandleEvent(Event(TPlatformEvent::kRedraw));
    }
}

TEST_F(WindowManagerTest, CaptureWalkSurvivesHandlersThatReleaseOrDeleteOtherCapturedWindows) {
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* second = Child(dialog, "second", TRect(0, 0, 10, 10));
    RecordingWindow* first = Child(dialog, "first", TRect(20, 0, 30, 10));
    first->handles = second->handles = true;
    manager->CaptureMouse(second);
    manager->CaptureMouse(first);  // the latest capture comes first

    first->onCancel = [&] { manager->ReleaseMouse(second); };
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseMove, 500, 500));
    EXPECT_EQ(journal.Joined(), "first:cancel first:move@480,500");
    EXPECT_FALSE(manager->HasCapture(second));

    manager->ReleaseMouse(first);
    manager->CaptureMouse(second);
    manager->CaptureMouse(first);
    first->onCancel = [&] { delete second; };
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseMove, 500, 500));
    EXPECT_EQ(journal.Joined(), "first:cancel first:move@480,500");
    EXPECT_FALSE(manager->HasCapture(second));
}

TEST_F(WindowManagerTest, MouseCancelEventTellsEachCapturedWindowUntilTheTopModalChanges) {
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* later = Child(dialog, "later", TRect(0, 0, 10, 10));
    RecordingWindow* first = Child(dialog, "first", TRect(0, 0, 10, 10));
    manager->CaptureMouse(later);
    manager->CaptureMouse(first);
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseCancel));
    EXPECT_EQ(journal.Joined(), "first:cancel later:cancel");
    EXPECT_TRUE(manager->HasCapture(first));

    first->onCancel = [&] { manager->PopTopModal(); };
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseCancel));
    EXPECT_TRUE(HasEntry(journal, "first:cancel"));
    EXPECT_FALSE(HasEntry(journal, "later:cancel"));
}

TEST_F(WindowManagerTest, PushingAModalDuringADragCancelsAndClearsTheCaptures) {
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* dragged = Child(dialog, "dragged", TRect(0, 0, 100, 100));
    dragged->handles = true;
    manager->CaptureMouse(dragged);
    journal.entries.clear();
    RecordingModal* popup = Push("popup");
    EXPECT_TRUE(HasEntry(journal, "dragged:cancel"));
    EXPECT_FALSE(manager->HasCapture(dragged));

    popup->handles = true;
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseMove, 5, 5));
    EXPECT_EQ(journal.Joined(), "popup:move@5,5");
}

// --- Routing ---

TEST_F(WindowManagerTest, ClicksReachTheDeepestWindowOfTheTopModalAndMoveTheFocus) {
    RecordingModal* below = Push("below");
    Child(below, "hidden", TRect(0, 0, 800, 600))->handles = true;
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* panel = Child(dialog, "panel", TRect(100, 100, 300, 300));
    RecordingWindow* field = Child(panel, "field", TRect(10, 10, 50, 30));
    field->handles = true;
    manager->SetFocus(nullptr);
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseDown, 120, 115));
    EXPECT_EQ(journal.Joined(), "field:down@10,5 dialog:focus<null");
    EXPECT_EQ(manager->GetHoverWindow(), field);
    EXPECT_EQ(manager->GetFocus(), dialog);
}

TEST_F(WindowManagerTest, AMouseDownWhoseHandlerChangesTheModalStackLeavesTheFocusThere) {
    struct Case {
        bool push;
        const char* focus;
    };
    const Case cases[] = {{true, "popup"}, {false, "_screen_"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus);
        RecordingModal* dialog = Push("dialog");
        RecordingWindow* button = Child(dialog, "button", TRect(10, 10, 50, 30));
        button->onDown = [&] {
            if (c.push) {
                Push("popup");
            } else {
                manager->PopTopModal();
            }
        };
        manager->HandleEvent(Event(TPlatformEvent::kMouseDown, 20, 20));
        ASSERT_NE(manager->GetFocus(), nullptr);
        EXPECT_STREQ(manager->GetFocus()->GetName().c_str(), c.focus);
        // Keys reach the modal on top, not the dialog behind it.
        manager->HandleEvent(Event(TPlatformEvent::kRedraw));  // the popped dialog goes
        journal.entries.clear();
        manager->HandleEvent(Event(TPlatformEvent::kKeyUp, 0, 0, 'K'));
        EXPECT_EQ(journal.Joined(), std::string(c.focus) + ":keyup75");
        while (manager->GetTopModal() != screen) manager->PopTopModal();
    }
}

TEST_F(WindowManagerTest, KeysGoToTheFocusWindowElseToTheTopModal) {
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* field = Child(dialog, "field", TRect(0, 0, 10, 10));
    field->handles = dialog->handles = true;
    manager->SetFocus(field);
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kKeyDown, 0, 0, 'A'));
    manager->SetFocus(nullptr);
    manager->HandleEvent(Event(TPlatformEvent::kKeyDown, 0, 0, 'B'));
    EXPECT_EQ(journal.Joined(), "field:key65/0 dialog:key66/0");
}

TEST_F(WindowManagerTest, OverlayWindowsTakeTheMouseFirstWithOverlayMouse) {
    SetSetting(kSettingOverlayMouse, "1");
    Push("dialog");
    auto* overlay = new RecordingWindow("overlay", &journal, TRect(0, 0, 100, 100));
    manager->AddOverlayWindow(overlay);

    overlay->handles = true;
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseDown, 10, 10));
    EXPECT_EQ(journal.Joined(), "overlay:down@10,10");
    EXPECT_EQ(manager->GetHoverWindow(), overlay);

    // Unhandled by both: the manager posts the press-any-key text, once.
    overlay->handles = false;
    std::vector<std::string> seen;
    manager->AddMessageListener(new RecordingListener(&seen, true));
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseUp, 10, 10));
    EXPECT_EQ(journal.Joined(), "overlay:up@10,10 dialog:up@10,10");
    EXPECT_EQ(seen, std::vector<std::string>{"4:mouse:up"});

    EXPECT_TRUE(manager->RemoveOverlayWindow(overlay));
    EXPECT_FALSE(manager->RemoveOverlayWindow(overlay));
    delete overlay;
    SetSetting(kSettingOverlayMouse, "0");
}

TEST_F(WindowManagerTest, AClickOnAnOverlayReachesTheDeepestWindowUnderIt) {
    SetSetting(kSettingOverlayMouse, "1");
    auto* overlay = new RecordingWindow("overlay", &journal, TRect(100, 100, 200, 200));
    RecordingWindow* knob = Child(overlay, "knob", TRect(10, 10, 30, 30));
    knob->handles = true;
    manager->AddOverlayWindow(overlay);
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseDown, 115, 120));
    EXPECT_EQ(journal.Joined(), "knob:down@5,10");
    EXPECT_EQ(manager->GetHoverWindow(), knob);
    SetSetting(kSettingOverlayMouse, "0");
}

TEST_F(WindowManagerTest, RelativeMouseMovesWithoutCaptureAreDropped) {
    Push("dialog");
    services.relativeMouse = true;
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseMove, 5, 5));
    EXPECT_EQ(journal.Joined(), "");
}

// --- Modal stack ---

TEST_F(WindowManagerTest, PopModalPopsTheModalsAboveTheMatchAndNothingForAnUnknownName) {
    std::vector<std::string> seen;
    manager->AddMessageListener(new RecordingListener(&seen, true));
    RecordingModal* a = Push("a");
    RecordingModal* b = Push("b");
    Child(b, "bchild", TRect(0, 0, 10, 10));
    RecordingModal* c = Push("c");
    std::string aId = a->GetIdString().c_str(), bId = b->GetIdString().c_str(), cId = c->GetIdString().c_str();
    EXPECT_EQ(Stack(), "c b a _screen_");

    journal.entries.clear();
    manager->PopModal("b");
    EXPECT_EQ(Stack(), "a _screen_");
    EXPECT_TRUE(HasEntry(journal, "bchild:popped"));
    EXPECT_EQ(manager->GetFocus(), a);

    manager->PopModal("nothing-of-that-name");
    EXPECT_EQ(Stack(), "a _screen_");

    manager->HandleEvent(Event(TPlatformEvent::kRedraw));
    EXPECT_EQ(seen, (std::vector<std::string>{"6:" + cId, "6:" + bId}));

    manager->PopModal(TString(aId.c_str()));
    EXPECT_EQ(Stack(), "_screen_");
}

TEST_F(WindowManagerTest, TheRootScreenIsNeverPopped) {
    TestLog log;
    manager->PopModal("_screen_");
    manager->PopTopModal();
    EXPECT_EQ(Stack(), "_screen_");
    EXPECT_TRUE(log.Contains("root screen"));

    RecordingModal* dialog = Push("dialog");
    dialog->handles = true;
    journal.entries.clear();
    manager->HandleEvent(Event(TPlatformEvent::kMouseDown, 1, 1));
    EXPECT_EQ(journal.Joined(), "dialog:down@1,1 dialog:focus<dialog");
}

TEST_F(WindowManagerTest, PushedModalsTakeTheFocusAndSizeAndOnlyTheTopOnesClockRuns) {
    RecordingModal* a = Push("a");
    EXPECT_EQ(manager->GetTopModal(), a);
    EXPECT_EQ(a->GetParent(), screen);
    EXPECT_EQ(a->GetRect(), TRect(0, 0, 800, 600));
    EXPECT_EQ(manager->GetFocus(), a);

    timer.Advance(100);
    EXPECT_EQ(a->GetClock()->GetTime(), 100);
    Push("b", TRect(10, 10, 60, 60));
    timer.Advance(50);
    EXPECT_EQ(a->GetClock()->GetTime(), 100);
    manager->PopModal("b");
    timer.Advance(30);
    EXPECT_EQ(a->GetClock()->GetTime(), 130);
}

TEST_F(WindowManagerTest, BothWaysOfPoppingResumeTheClockOfTheModalBelow) {
    for (bool byName : {true, false}) {
        SCOPED_TRACE(byName);
        RecordingModal* a = Push("a");
        timer.Advance(100);
        Push("b", TRect(10, 10, 60, 60));
        timer.Advance(50);
        if (byName) {
            manager->PopModal("b");
        } else {
            manager->PopTopModal();
        }
        timer.Advance(30);
        EXPECT_EQ(a->GetClock()->GetTime(), 130);
        manager->PopTopModal();
    }
}

TEST_F(WindowManagerTest, SetUtf8ModeSetsTheWindowScriptsFlagAndAnswersThePreviousValue) {
    TestLog log;
    EXPECT_FALSE(manager->SetUtf8Mode(true));
    EXPECT_FALSE(manager->IsUtf8Mode());
    EXPECT_TRUE(log.Contains("SetUtf8Mode: no window script"));

    auto* script = new FakeWindowScript();
    manager->AttachScript(script);
    std::unique_ptr<FakeWindowScript> owner(script);
    EXPECT_FALSE(manager->SetUtf8Mode(true));
    EXPECT_TRUE(script->utf8);
    EXPECT_TRUE(manager->IsUtf8Mode());
    EXPECT_TRUE(manager->SetUtf8Mode(false));
    EXPECT_FALSE(manager->IsUtf8Mode());
    manager.reset();  // withdraws the script function while the script lives
}

TEST_F(WindowManagerTest, IdleTicksRunOnlyTheTopModalsTasksAndPoppingEndsThem) {
    int belowSteps = 0, belowDeletions = 0, topSteps = 0, topDeletions = 0;
    RecordingModal* below = Push("below");
    below->AddTask(new CountingTask(&belowSteps, &belowDeletions));
    RecordingModal* top = Push("top");
    top->AddTask(new CountingTask(&topSteps, &topDeletions));
    TickAt(100);
    TickAt(101);
    EXPECT_EQ(topSteps, 2);
    EXPECT_EQ(belowSteps, 0);
    manager->PopTopModal();
    EXPECT_EQ(topDeletions, 1);
    TickAt(102);
    EXPECT_EQ(belowSteps, 1);
    manager.reset();  // deletes the task below while its counters live
    EXPECT_EQ(belowDeletions, 1);
}

TEST_F(WindowManagerTest, ScriptFollowsTheModalStackAndRunsFilesOnTheGivenWindow) {
    Push("dialog");
    auto* script = new FakeWindowScript();
    manager->AttachScript(script);
    std::unique_ptr<FakeWindowScript> owner(script);
    EXPECT_TRUE(services.tasks.Remove(script->script));  // the platform runs the script
    services.tasks.Add(script->script);

    Push("popup");
    manager->PopTopModal();
    manager->RegisterWindowType("Gadget", TWindow::ClassId());
    manager->RunWindowScript(screen, "scripts/none.lua");
    manager->QueueScriptMessage(new TMessage(TMessage::kGeneric, "left over", nullptr));
    EXPECT_EQ(script->calls, (std::vector<std::string>{"type:XSellWindow", "push:dialog", "current:popup",
                                                        "current:dialog", "type:Gadget", "push:_screen_", "pop",
                                                        "queued:left over"}));

    // The script can ask for the top modal window alone to be drawn.
    Push("top");
    ASSERT_EQ(script->script->DoLuaString("SetTopModalOnly(true)"), 0);
    manager->HandleEvent(Event(TPlatformEvent::kRedraw));  // delivers the popup's closing notice
    journal.entries.clear();
    TickAt(1000);
    EXPECT_EQ(journal.Draws(), "top:draw");
    manager.reset();  // withdraws the script function while the script lives
}

// --- Messages ---

TEST_F(WindowManagerTest, ListenersTakeUntargetedMessagesBeforeTheFocusWindow) {
    std::vector<std::string> seen;
    auto* listener = new RecordingListener(&seen, true);
    manager->AddMessageListener(listener);
    RecordingModal* dialog = Push("dialog");
    journal.entries.clear();
    manager->PostMessage(new TMessage(TMessage::kGeneric, "untargeted", nullptr));
    manager->PostMessage(new TMessage(TMessage::kGeneric, "targeted", dialog));
    EXPECT_EQ(manager->GetQueuedCount(), 2u);
    manager->DeliverMessages();
    EXPECT_EQ(seen, std::vector<std::string>{"0:untargeted"});
    EXPECT_EQ(journal.Joined(), "dialog:msg0:targeted");

    EXPECT_TRUE(manager->RemoveMessageListener(listener));
    EXPECT_FALSE(manager->RemoveMessageListener(listener));
    delete listener;
    manager->PostMessage(new TMessage(TMessage::kGeneric, "nobody listens", nullptr));
    manager->DeliverMessages();
    EXPECT_EQ(journal.Joined(), "dialog:msg0:targeted dialog:msg0:nobody listens");
}

TEST_F(WindowManagerTest, MessagesForDestroyedWindowsAreRetargeted) {
    for (bool deferred : {true, false}) {
        SCOPED_TRACE(deferred);
        std::vector<std::string> seen;
        auto* listener = new RecordingListener(&seen, false);
        manager->AddMessageListener(listener);
        RecordingModal* dialog = Push("dialog");
        RecordingWindow* panel = Child(dialog, "panel", TRect(0, 0, 100, 100));
        RecordingWindow* field = Child(panel, "field", TRect(0, 0, 10, 10));
        manager->PostMessage(new TMessage(TMessage::kGeneric, "for-field", field));
        manager->PostMessage(new TMessage(TMessage::kGeneric, "for-panel", panel));
        if (deferred) {
            dialog->RemoveChild(panel);
            manager->DestroyWindowDeferred(panel);
        } else {
            delete panel;
        }
        journal.entries.clear();
        manager->DeliverMessages();
        EXPECT_EQ(seen, (std::vector<std::string>{"0:for-field", "0:for-panel"}));
        EXPECT_EQ(journal.Joined(), "dialog:msg0:for-field dialog:msg0:for-panel");
        manager->RemoveMessageListener(listener);
        delete listener;
        manager->PopTopModal();
    }
}

TEST_F(WindowManagerTest, DeferredDeletesHappenOnceAtTheNextEvent) {
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* panel = Child(dialog, "panel", TRect(0, 0, 100, 100));
    RecordingWindow* field = Child(panel, "field", TRect(0, 0, 10, 10));
    dialog->RemoveChild(panel);
    manager->DestroyWindowDeferred(panel);
    manager->DestroyWindowDeferred(field);  // deleted with its parent first
    manager->DestroyWindowDeferred(panel);
    manager->SetFocus(field);
    manager->HandleEvent(Event(TPlatformEvent::kRedraw));
    EXPECT_EQ(manager->GetFocus(), nullptr);
    EXPECT_TRUE(dialog->GetChildren().empty());
}

TEST_F(WindowManagerTest, EventsDeliverTheQueueExceptActivationChangesAndNothingEvents) {
    const struct {
        int32_t type;
        size_t left;
    } cases[] = {
        {TPlatformEvent::kNothing, 1},    {TPlatformEvent::kActivation, 1}, {TPlatformEvent::kIdle, 0},
        {TPlatformEvent::kMouseCancel, 0}, {TPlatformEvent::kKeyUp, 0},      {TPlatformEvent::kQuit, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        manager->PostMessage(new TMessage(TMessage::kGeneric, "queued", nullptr));
        manager->HandleEvent(Event(c.type));
        EXPECT_EQ(manager->GetQueuedCount(), c.left);
        manager->DeliverMessages();
    }
}

TEST_F(WindowManagerTest, QuitNowAsksThePlatformToQuit) {
    manager->PostMessage(new TMessage(TMessage::kQuitNow, "", nullptr));
    manager->HandleEvent(Event(TPlatformEvent::kIdle));
    EXPECT_EQ(services.quits, std::vector<int>{0});
}

// --- Frame pass ---

TEST_F(WindowManagerTest, TwoInvalidationsWithinTheIntervalGiveOneFrameAndNothingInvalidGivesNone) {
    TickAt(1000);
    ASSERT_EQ(services.presented.size(), 1u);
    manager->Invalidate();
    TickAt(1003);
    manager->Invalidate();
    TickAt(1011);
    EXPECT_EQ(services.presented.size(), 1u);
    TickAt(1012);
    EXPECT_EQ(services.presented.size(), 2u);
    for (uint32_t t = 1013; t < 1500; t += 7) TickAt(t);
    EXPECT_EQ(services.presented.size(), 2u);
    EXPECT_FALSE(manager->IsInvalid());
}

TEST_F(WindowManagerTest, FrameIntervalDependsOnActivityAndHosting) {
    struct Case {
        bool active;
        bool hosted;
        uint32_t interval;
    };
    const Case cases[] = {{true, false, 12}, {false, true, 12}, {false, false, 200}};
    uint32_t now = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interval);
        services.active = c.active;
        services.hosted = c.hosted;
        now += 1000;
        manager->Invalidate();
        TickAt(now);
        size_t frames = services.presented.size();
        manager->Invalidate();
        TickAt(now + c.interval - 1);
        EXPECT_EQ(services.presented.size(), frames);
        TickAt(now + c.interval);
        EXPECT_EQ(services.presented.size(), frames + 1);
        now += c.interval;
    }
}

TEST_F(WindowManagerTest, FramePacingSurvivesTheTimerWrapAround) {
    TickAt(0xFFFFFFF8u);
    ASSERT_EQ(services.presented.size(), 1u);
    manager->Invalidate();
    TickAt(0xFFFFFFFCu);
    EXPECT_EQ(services.presented.size(), 1u);
    TickAt(4);
    EXPECT_EQ(services.presented.size(), 2u);
}

TEST_F(WindowManagerTest, NoFrameWhileTheLastIsPresentedAMovieShowsOrTheDisplayRefuses) {
    services.frameDone = false;
    TickAt(1000);
    services.frameDone = true;
    manager->SetMovieShown(true);
    TickAt(2000);
    manager->SetMovieShown(false);
    services.beginDrawAnswer = false;
    TickAt(3000);
    EXPECT_TRUE(services.presented.empty());
    EXPECT_TRUE(manager->IsInvalid());
    services.beginDrawAnswer = true;
    TickAt(4000);
    EXPECT_EQ(services.presented, std::vector<bool>{true});
}

TEST_F(WindowManagerTest, DrawingStartsAtTheTopCoveringModal) {
    RecordingModal* a = Push("a");
    Push("b", TRect(100, 100, 200, 200));
    journal.entries.clear();
    TickAt(1000);
    EXPECT_EQ(journal.Draws(), "_screen_:draw a:draw b:draw");

    RecordingWindow* cover = Child(a, "cover", TRect(0, 0, 800, 600));
    cover->SetFlags(cover->GetFlags() | TWindow::kFullSize);
    EXPECT_TRUE(a->GetFlags() & TWindow::kFullSize);
    manager->Invalidate();
    journal.entries.clear();
    TickAt(2000);
    EXPECT_EQ(journal.Draws(), "a:draw cover:draw b:draw");
}

TEST_F(WindowManagerTest, AFrameTaskThatPopsAModalDrawsTheStackFromItsNewTop) {
    for (bool onTopModal : {false, true}) {
        SCOPED_TRACE(onTopModal);
        Push("a", TRect(100, 100, 200, 200));
        RecordingModal* b = Push("b", TRect(10, 10, 60, 60));
        auto* pop = new FrameAction([&] { manager->PopTopModal(); });
        if (onTopModal) {
            b->AddTask(pop);
        } else {
            services.tasks.Add(pop);
        }
        services.presented.clear();
        journal.entries.clear();
        TickAt(onTopModal ? 2000 : 1000);
        EXPECT_EQ(journal.Draws(), "_screen_:draw a:draw");
        EXPECT_EQ(services.presented, std::vector<bool>{true});
        manager->PopTopModal();
    }
}

TEST_F(WindowManagerTest, CacheTargetHoldsTheModalsBelowTheTop) {
    Push("a");
    Push("b", TRect(100, 100, 200, 200));
    std::shared_ptr<TTexture> texture = StandInTexture(800, 600, TTextureData::kRenderTarget);
    manager->SetCacheTarget(texture);
    services.journal = &journal;
    journal.entries.clear();
    TickAt(1000);
    EXPECT_EQ(services.targets, std::vector<TTexture*>{texture.get()});
    // The cacheable root screen takes the modal above it into the cache; the
    // frame then draws the root and the top modal.
    EXPECT_EQ(journal.Draws(), "_screen_:draw a:draw _screen_:draw b:draw");
    EXPECT_EQ(journal.entries.front(), "frame:target");
    EXPECT_TRUE(HasEntry(journal, "frame:target-end"));

    // A display notice drops the target with the display it lived on.
    manager->HandleEvent(Event(TPlatformEvent::kDisplayNotice));
    manager->Invalidate();
    journal.entries.clear();
    TickAt(2000);
    EXPECT_EQ(services.targets.size(), 1u);
    EXPECT_EQ(journal.Draws(), "_screen_:draw a:draw b:draw");
}

TEST_F(WindowManagerTest, OverlaysAreDrawnAfterTheModalStackAndTheHoverWindowIsFramed) {
    RecordingModal* dialog = Push("dialog");
    RecordingWindow* field = Child(dialog, "field", TRect(100, 50, 140, 80));
    manager->AddOverlayWindow(new RecordingWindow("overlay", &journal, TRect(0, 0, 10, 10)));
    manager->SetHighlight(true);
    manager->HandleEvent(Event(TPlatformEvent::kMouseMove, 110, 60));
    EXPECT_EQ(manager->GetHoverWindow(), field);
    recorder->ClearCalls();
    journal.entries.clear();
    TickAt(1000);
    EXPECT_EQ(journal.Draws(), "_screen_:draw dialog:draw field:draw overlay:draw");
    EXPECT_EQ(YellowFills(*recorder), (std::vector<TRect>{TRect(100, 50, 140, 52), TRect(138, 50, 140, 80),
                                                          TRect(100, 78, 140, 80), TRect(100, 50, 102, 80)}));

    // A new hover window invalidates while highlighting.
    EXPECT_FALSE(manager->IsInvalid());
    manager->HandleEvent(Event(TPlatformEvent::kMouseMove, 300, 300));
    EXPECT_TRUE(manager->IsInvalid());
}

}  // namespace
