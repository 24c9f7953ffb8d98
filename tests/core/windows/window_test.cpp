#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/windows/layeredwindow.h"
#include "core/scripting/luamessagewrapper.h"
#include "core/scripting/messagescript.h"
#include "core/scripting/script.h"
#include "core/windows/windowanim.h"
#include "core/windows/windowspider.h"
#include "foundation/settings.h"
#include "windowtesting.h"

namespace {

std::string Order(const TWindow& parent) {
    std::string text;
    for (TWindow* child : parent.GetChildren()) text += child->GetName().c_str();
    return text;
}

// A message that counts its deletions.
class CountedMessage : public TMessage {
public:
    CountedMessage(const char* name, int* deletions) : TMessage(kGeneric, name, nullptr), mDeletions(deletions) {}
    ~CountedMessage() override { ++*mDeletions; }

private:
    int* mDeletions;
};

// --- Class pattern ---

TEST_F(WindowTest, ClassIdsCreateWindowsAndAbstractClassesCreateNothing) {
    std::unique_ptr<TWindow> window(CreateWindowOfClass(TWindow::ClassId()));
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(window->GetClassName(), "TWindow");
    EXPECT_TRUE(window->IsA(TWindow::ClassId()));
    EXPECT_FALSE(window->IsA(TLayeredWindow::ClassId()));
    EXPECT_EQ(CreateWindowOfClass(TLayeredWindow::ClassId()), nullptr);
    EXPECT_EQ(CreateWindowOfClass(nullptr), nullptr);
    // An id function that answers null creates nothing either.
    EXPECT_EQ(CreateWindowOfClass([]() -> TWindow* { return nullptr; }), nullptr);

    TLayeredWindow layered(2);
    EXPECT_STREQ(layered.GetClassName(), "TLayeredWindow");
    EXPECT_TRUE(layered.IsA(TLayeredWindow::ClassId()));
    EXPECT_TRUE(layered.IsA(TWindow::ClassId()));
}

TEST_F(WindowTest, NewWindowsStartVisibleWithAnEmptyRectangleAndRisingSerials) {
    TWindow first;
    TWindow second;
    EXPECT_EQ(first.GetFlags(), TWindow::kVisible);
    EXPECT_EQ(first.GetRect(), TRect());
    EXPECT_EQ(second.GetSerial(), first.GetSerial() + 1);
    // Lower-case hexadecimal, padded with spaces to eight characters.
    std::string id = first.GetIdString().c_str();
    ASSERT_EQ(id.size(), 8u);
    EXPECT_EQ(id.front(), ' ');
    EXPECT_EQ(id.find_first_of("ABCDEF"), std::string::npos);
    EXPECT_EQ(std::stol(id, nullptr, 16), first.GetSerial());
}

TEST_F(WindowTest, SetFlagsReplacesOnlyTheStateByte) {
    RecordingWindow window("w", nullptr);
    window.SetKind(TWindow::kFocusable | TWindow::kCacheable);
    int before = manager.invalidations;
    window.SetFlags(0xFFFF0000u | TWindow::kFullSize | TWindow::kModal);
    EXPECT_EQ(window.GetFlags(), TWindow::kFocusable | TWindow::kCacheable | TWindow::kFullSize);
    EXPECT_EQ(manager.invalidations, before + 1);  // visibility changed
    window.SetFlags(TWindow::kFullSize);
    EXPECT_EQ(manager.invalidations, before + 1);
}

// --- Tree ---

TEST_F(WindowTest, AddChildPutsNewChildrenInFrontAndKeepsAChildOnce) {
    TWindow parent;
    auto* a = new RecordingWindow("a", nullptr);
    auto* b = new RecordingWindow("b", nullptr);
    EXPECT_TRUE(parent.AddChild(a, true));
    EXPECT_TRUE(parent.AddChild(b, true));
    EXPECT_TRUE(parent.AddChild(a, false));
    EXPECT_EQ(Order(parent), "ba");
    EXPECT_EQ(a->GetParent(), &parent);
}

TEST_F(WindowTest, RefusedAttachUndoesOnlyItsOwnInsertion) {
    TWindow parent;
    auto* a = new RecordingWindow("a", nullptr);
    auto* b = new RecordingWindow("b", nullptr);
    parent.AddChild(a, false);
    parent.AddChild(b, false);

    // Already a child: the refusal leaves the list as it was.
    a->attachAnswer = false;
    EXPECT_FALSE(parent.AddChild(a, true));
    EXPECT_EQ(Order(parent), "ba");
    EXPECT_EQ(a->GetParent(), &parent);

    // A new child that refuses is taken out again.
    RecordingWindow refusing("c", nullptr);
    refusing.attachAnswer = false;
    EXPECT_FALSE(parent.AddChild(&refusing, true));
    EXPECT_EQ(Order(parent), "ba");
    EXPECT_EQ(refusing.GetParent(), nullptr);
}

TEST_F(WindowTest, AChildMovingToAnotherParentLeavesTheOldOne) {
    TWindow first;
    TWindow second;
    auto* child = new RecordingWindow("c", nullptr);
    first.AddChild(child, false);
    EXPECT_TRUE(second.AddChild(child, false));
    EXPECT_TRUE(first.GetChildren().empty());
    EXPECT_EQ(Order(second), "c");
    EXPECT_EQ(child->GetParent(), &second);
}

TEST_F(WindowTest, AWindowCannotBecomeItsOwnDescendant) {
    TWindow root;
    auto* child = new TWindow();
    auto* grandchild = new TWindow();
    root.AddChild(child, false);
    child->AddChild(grandchild, false);
    EXPECT_FALSE(grandchild->AddChild(&root, false));
    EXPECT_FALSE(child->AddChild(child, false));
    EXPECT_EQ(root.GetParent(), nullptr);
    EXPECT_EQ(child->GetParent(), &root);
}

TEST_F(WindowTest, RemoveChildLeavesOtherWindowsChildrenAlone) {
    TWindow first;
    TWindow second;
    auto* child = new TWindow();
    first.AddChild(child, false);
    second.RemoveChild(child);
    EXPECT_EQ(child->GetParent(), &first);
    first.RemoveChild(child);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_TRUE(first.GetChildren().empty());
    delete child;
}

TEST_F(WindowTest, DeletingAListedWindowTakesItOutOfItsParent) {
    TWindow parent;
    auto* a = new RecordingWindow("a", nullptr);
    auto* b = new RecordingWindow("b", nullptr);
    auto* grandchild = new RecordingWindow("g", nullptr);
    parent.AddChild(a, false);
    parent.AddChild(b, false);
    b->AddChild(grandchild, false);
    delete b;
    EXPECT_EQ(Order(parent), "a");
    // The manager heard of both windows that went.
    ASSERT_EQ(manager.destroyed.size(), 2u);
    EXPECT_EQ(manager.destroyed[0], grandchild);
    EXPECT_EQ(manager.destroyed[1], b);
}

TEST_F(WindowTest, ZOrderModes) {
    struct Case {
        int mode;
        char window;
        char reference;
        const char* expected;
    };
    // The list starts front to back as "abcd".
    const Case cases[] = {
        {TWindow::kToBack, 'b', 0, "acdb"},   {TWindow::kToFront, 'c', 0, "cabd"},
        {TWindow::kForward, 'c', 0, "acbd"},  {TWindow::kForward, 'a', 0, "abcd"},
        {TWindow::kBackward, 'b', 0, "acbd"}, {TWindow::kBackward, 'd', 0, "abcd"},
        {TWindow::kNextTo, 'd', 'b', "adbc"}, {TWindow::kNextTo, 'a', 'c', "bacd"},
        {TWindow::kNextTo, 'a', 0, "bcda"},   {TWindow::kNextTo, 'b', 'x', "acdb"},
    };
    for (const Case& c : cases) {
        TWindow parent;
        TWindow stranger;
        stranger.SetName("x");
        TWindow* windows[4];
        for (int i = 3; i >= 0; --i) {
            windows[i] = new TWindow();
            windows[i]->SetName(TString(std::string(1, static_cast<char>('a' + i)).c_str()));
            parent.AddChild(windows[i], false);
        }
        ASSERT_EQ(Order(parent), "abcd");
        TWindow* reference = c.reference == 'x' ? &stranger : c.reference ? windows[c.reference - 'a'] : nullptr;
        windows[c.window - 'a']->SetZOrder(c.mode, reference);
        EXPECT_EQ(Order(parent), c.expected) << "mode " << c.mode << " on " << c.window;
    }
}

TEST_F(WindowTest, VisitChildrenMayRemoveTheVisitedChildInEitherDirection) {
    for (bool backToFront : {false, true}) {
        TWindow parent;
        for (const char* name : {"c", "b", "a"}) {
            auto* child = new TWindow();
            child->SetName(name);
            parent.AddChild(child, false);
        }
        ChildrenDelete spider(&parent);
        EXPECT_TRUE(parent.VisitChildren(spider, backToFront));
        EXPECT_TRUE(parent.GetChildren().empty());
        ASSERT_EQ(manager.deferred.size(), 3u);
        EXPECT_STREQ(manager.deferred.front()->GetName().c_str(), backToFront ? "c" : "a");
        for (TWindow* window : manager.deferred) delete window;
        manager.deferred.clear();
    }
}

TEST_F(WindowTest, VisitChildrenStopsAtTheFirstFalse) {
    struct StopAt : TWindowSpider {
        explicit StopAt(TWindow* stop) : mStop(stop) {}
        bool Visit(TWindow* window) override {
            ++visits;
            return window != mStop;
        }
        TWindow* mStop;
        int visits = 0;
    };
    TWindow parent;
    auto* back = new TWindow();
    auto* front = new TWindow();
    parent.AddChild(back, false);
    parent.AddChild(front, false);
    StopAt spider(front);
    EXPECT_FALSE(parent.VisitChildren(spider, false));
    EXPECT_EQ(spider.visits, 1);
}

TEST_F(WindowTest, DeleteChildrenHandsEveryChildToTheManager) {
    TWindow parent;
    parent.AddChild(new TWindow(), false);
    parent.AddChild(new TWindow(), false);
    parent.DeleteChildren();
    EXPECT_TRUE(parent.GetChildren().empty());
    ASSERT_EQ(manager.deferred.size(), 2u);
    EXPECT_EQ(manager.deferred[0]->GetParent(), nullptr);
}

TEST_F(WindowTest, FindChildWindowHonoursTheDepth) {
    TWindow root;
    root.SetName("root");
    auto* child = new TWindow();
    child->SetName("child");
    auto* grandchild = new TWindow();
    grandchild->SetName("deep");
    root.AddChild(child, false);
    child->AddChild(grandchild, false);
    EXPECT_EQ(root.FindChildWindow("root", 0), &root);
    EXPECT_EQ(root.FindChildWindow("child", 0), nullptr);
    EXPECT_EQ(root.FindChildWindow("child", 1), child);
    EXPECT_EQ(root.FindChildWindow("deep", 1), nullptr);
    EXPECT_EQ(root.FindChildWindow("deep", -1), grandchild);
    EXPECT_EQ(root.FindChildWindow("none", -1), nullptr);
}

// --- Geometry ---

TEST_F(WindowTest, CoordinatesConvertThroughTheAncestors) {
    RecordingWindow root("root", nullptr, TRect(10, 20, 810, 620));
    auto* child = new RecordingWindow("child", nullptr, TRect(100, 50, 300, 150));
    auto* inner = new RecordingWindow("inner", nullptr, TRect(5, 6, 25, 26));
    root.AddChild(child, false);
    child->AddChild(inner, false);
    EXPECT_EQ(inner->GetGlobalRect(), TRect(115, 76, 135, 96));
    EXPECT_EQ(inner->GetClientRect(), TRect(0, 0, 20, 20));
    EXPECT_EQ(inner->LocalToGlobal(TPoint(1, 2)), TPoint(116, 78));
    EXPECT_EQ(inner->GlobalToLocal(TPoint(116, 78)), TPoint(1, 2));
    EXPECT_EQ(inner->LocalToParent(TPoint(1, 2)), TPoint(6, 8));
    EXPECT_EQ(inner->ParentToLocal(TPoint(6, 8)), TPoint(1, 2));
    inner->SetPosition(7, 8);
    EXPECT_EQ(inner->GetRect(), TRect(7, 8, 27, 28));
    inner->SetSize(3, 4);
    EXPECT_EQ(inner->GetRect(), TRect(7, 8, 10, 12));
}

TEST_F(WindowTest, FullSizeWindowsReportWhetherTheyCoverTheirModal) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    manager.root = &modal;
    auto* panel = new RecordingWindow("panel", nullptr, TRect(0, 0, 400, 300));
    modal.AddChild(panel, false);
    modal.covering.clear();

    panel->SetFlags(panel->GetFlags() | TWindow::kFullSize);
    panel->SetSize(800, 600);
    modal.RemoveChild(panel);
    ASSERT_EQ(modal.covering.size(), 3u);
    EXPECT_FALSE(modal.covering[0].covers);  // full-size, but smaller than the modal
    EXPECT_TRUE(modal.covering[1].covers);   // as large as the root
    EXPECT_FALSE(modal.covering[2].covers);  // removed
    EXPECT_EQ(modal.covering[2].window, panel);
    delete panel;
}

// --- Hit tests ---

TEST_F(WindowTest, HiddenAncestorsDropOutOfHitTests) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* panel = new RecordingWindow("panel", nullptr, TRect(100, 100, 300, 300));
    auto* button = new RecordingWindow("button", nullptr, TRect(10, 10, 60, 40));
    modal.AddChild(panel, false);
    panel->AddChild(button, false);

    EXPECT_EQ(modal.FindWindowAtPoint(TPoint(120, 120), -1), button);
    EXPECT_EQ(modal.FindWindowAtPoint(TPoint(120, 120), 1), panel);
    EXPECT_EQ(modal.FindWindowAtPoint(TPoint(120, 120), 0), nullptr);
    EXPECT_EQ(modal.FindWindowAtPoint(TPoint(299, 299), -1), panel);
    EXPECT_EQ(modal.FindWindowAtPoint(TPoint(300, 300), -1), &modal);  // right and bottom are exclusive

    panel->SetFlags(panel->GetFlags() & ~TWindow::kVisible);
    EXPECT_EQ(modal.FindWindowAtPoint(TPoint(120, 120), -1), &modal);
    EXPECT_FALSE(IsWindowVisibleInTree(button));
    panel->SetFlags(panel->GetFlags() | TWindow::kVisible);
    EXPECT_TRUE(IsWindowVisibleInTree(button));
    modal.SetFlags(0);
    EXPECT_FALSE(IsWindowVisibleInTree(button));
}

TEST_F(WindowTest, WindowsOutsideAModalAreNeverVisibleInTheTreeYetCanBeHit) {
    RecordingWindow root("root", nullptr, TRect(0, 0, 100, 100));
    auto* panel = new RecordingWindow("panel", nullptr, TRect(10, 10, 60, 60));
    auto* knob = new RecordingWindow("knob", nullptr, TRect(5, 5, 15, 15));
    root.AddChild(panel, false);
    panel->AddChild(knob, false);
    EXPECT_FALSE(IsWindowVisibleInTree(knob));
    EXPECT_FALSE(IsWindowVisibleInTree(nullptr));

    // Overlay windows are such trees: what lies under the point is found.
    EXPECT_EQ(root.FindWindowAtPoint(TPoint(16, 16), -1), knob);
    panel->SetFlags(0);
    EXPECT_EQ(root.FindWindowAtPoint(TPoint(16, 16), -1), &root);
    panel->SetFlags(TWindow::kVisible);
    root.SetFlags(0);
    EXPECT_EQ(root.FindWindowAtPoint(TPoint(16, 16), -1), &root);
}

// --- Event routing ---

class RoutingTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        modal = std::make_unique<TestModal>("modal", &log, TRect(0, 0, 800, 600));
        // back and front overlap around (150, 150); back holds a child there.
        back = new RecordingWindow("back", &log, TRect(100, 100, 300, 300));
        backChild = new RecordingWindow("backChild", &log, TRect(40, 40, 80, 80));
        front = new RecordingWindow("front", &log, TRect(120, 120, 220, 220));
        modal->AddChild(back, false);
        back->AddChild(backChild, false);
        modal->AddChild(front, false);
        manager.top = modal.get();
    }
    void TearDown() override {
        modal.reset();
        SetSetting(kSettingOverlayMouse, "0");
        WindowTest::TearDown();
    }

    std::unique_ptr<TestModal> modal;
    RecordingWindow* back = nullptr;
    RecordingWindow* backChild = nullptr;
    RecordingWindow* front = nullptr;
};

TEST_F(RoutingTest, AnUnhandledClickGoesToTheWindowBehindAndThenTheParent) {
    // (150, 150) is (30, 30) in front and (10, 10) in backChild.
    EXPECT_FALSE(front->RouteEvent(Event(TPlatformEvent::kMouseMove, 30, 30), true));
    EXPECT_EQ(log.Joined(), "front:move@30,30 backChild:move@10,10 back:move@50,50 modal:move@150,150");

    log.entries.clear();
    backChild->handles = true;
    EXPECT_TRUE(front->RouteEvent(Event(TPlatformEvent::kMouseUp, 30, 30), true));
    EXPECT_EQ(log.Joined(), "front:up@30,30 backChild:up@10,10");
}

TEST_F(RoutingTest, APointOutsideTheWindowsBehindGoesStraightToTheParent) {
    // (210, 210) lies in front and back but not in backChild.
    EXPECT_FALSE(front->RouteEvent(Event(TPlatformEvent::kMouseButton, 90, 90, 1), true));
    EXPECT_EQ(log.Joined(), "front:button1@90,90 back:button1@110,110 modal:button1@210,210");
}

TEST_F(RoutingTest, KeysBubbleToTheParentOnly) {
    // The windows behind are chosen by a point, which key events do not have.
    auto* under = new RecordingWindow("under", &log, TRect(0, 0, 50, 50));
    back->AddChild(under, false);
    under->SetZOrder(TWindow::kToBack);
    EXPECT_FALSE(backChild->RouteEvent(Event(TPlatformEvent::kKeyDown, 0, 0, 0x141, 2), false));
    EXPECT_EQ(log.Joined(), "backChild:key65/2 back:key65/2 modal:key65/2");
}

TEST_F(RoutingTest, ALeftPressGivesTheFocusToTheNearestFocusableWindowOnce) {
    manager.focus = front;
    back->SetKind(TWindow::kFocusable);
    EXPECT_FALSE(backChild->RouteEvent(Event(TPlatformEvent::kMouseDown, 5, 5), false));
    EXPECT_EQ(manager.focus, back);
    EXPECT_EQ(log.Joined(), "backChild:down@5,5 back:focus<front back:down@45,45 modal:down@145,145");

    // Focus already given on this route: it stays where it is.
    log.entries.clear();
    manager.focus = front;
    backChild->RouteEvent(Event(TPlatformEvent::kMouseDown, 5, 5), true);
    EXPECT_EQ(manager.focus, front);

    // A handled press still moves the focus.
    backChild->handles = true;
    backChild->RouteEvent(Event(TPlatformEvent::kMouseDown, 5, 5), false);
    EXPECT_EQ(manager.focus, back);

    // Not inside a modal that is no longer on top (its handler pushed one).
    TestModal other("other", nullptr, TRect());
    manager.top = &other;
    manager.focus = front;
    backChild->RouteEvent(Event(TPlatformEvent::kMouseDown, 5, 5), false);
    EXPECT_EQ(manager.focus, front);
}

TEST_F(RoutingTest, APressWithNoFocusableWindowBelowTheModalFocusesTheModal) {
    EXPECT_FALSE(backChild->RouteEvent(Event(TPlatformEvent::kMouseDown, 5, 5), false));
    EXPECT_EQ(manager.focus, modal.get());
}

TEST_F(RoutingTest, UnhandledAtTheModalMouseUpAndKeysBecomePressAnyKey) {
    modal->RouteEvent(Event(TPlatformEvent::kMouseUp, 700, 500), true);
    modal->RouteEvent(Event(TPlatformEvent::kKeyDown, 0, 0, 'A'), true);
    modal->RouteEvent(Event(TPlatformEvent::kMouseMove, 700, 500), true);
    ASSERT_EQ(manager.posted.size(), 2u);
    EXPECT_EQ(manager.posted[0]->GetType(), TMessage::kPressAnyKey);
    EXPECT_STREQ(manager.posted[0]->GetName().c_str(), "mouse:up");
    EXPECT_EQ(manager.posted[0]->GetTarget(), nullptr);
    EXPECT_STREQ(manager.posted[1]->GetName().c_str(), "raw:A");

    SetSetting(kSettingOverlayMouse, "1");
    modal->RouteEvent(Event(TPlatformEvent::kMouseUp, 700, 500), true);
    EXPECT_EQ(manager.posted.size(), 2u);
}

TEST_F(RoutingTest, CharactersAndTextReachTheirHandlers) {
    front->RouteEvent(Event(TPlatformEvent::kChar, 0, 0, 'q'), true);
    EXPECT_EQ(log.entries.front(), "front:char:q");

    // Text not taken: a one-byte character is offered as a character.
    log.entries.clear();
    front->handles = true;
    EXPECT_TRUE(front->RouteEvent(Event(TPlatformEvent::kWideChar, 0, 0, 'z'), true));
    EXPECT_EQ(log.Joined(), "front:char:z");

    // A longer text is not.
    log.entries.clear();
    EXPECT_FALSE(front->RouteEvent(Event(TPlatformEvent::kWideChar, 0, 0, 0xE9), true));
    EXPECT_TRUE(log.entries.empty()) << log.Joined();

    log.entries.clear();
    front->handles = true;
    front->handlesText = true;
    front->RouteEvent(Event(TPlatformEvent::kWideChar, 0, 0, 0xE9), true);
    EXPECT_EQ(log.Joined(), "front:text:\xC3\xA9");
}

// A resting pointer has not left the window: its own leave handler hears
// nothing of it.
TEST_F(RoutingTest, ARestingPointerIsOfferedToTheManagersHookNotToTheLeaveHandler) {
    front->handles = true;
    manager.hookAnswer = true;
    EXPECT_TRUE(front->RouteEvent(Event(TPlatformEvent::kMouseHover, 3, 4), true));
    ASSERT_EQ(manager.hooked.size(), 1u);
    EXPECT_EQ(manager.hooked[0], front);
    EXPECT_EQ(manager.hookPoint, TPoint(3, 4));
    EXPECT_EQ(log.Joined(), "");

    // Not taken by the hook, the rest goes on up the route.
    manager.hookAnswer = false;
    manager.hooked.clear();
    EXPECT_FALSE(front->RouteEvent(Event(TPlatformEvent::kMouseHover, 3, 4), true));
    EXPECT_EQ(manager.hooked, (std::vector<TWindow*>{front, back, modal.get()}));
    EXPECT_EQ(log.Joined(), "");
}

// --- Messages ---

TEST_F(RoutingTest, DispatchMessageClimbsToTheModalThenItsFocusWindowThenTheScript) {
    int deletions = 0;
    modal->focusWindow = front;
    backChild->DispatchMessage(new CountedMessage("m1", &deletions));
    EXPECT_EQ(log.Joined(), "backChild:msg0:m1 back:msg0:m1 modal:msg0:m1 front:msg0:m1");
    ASSERT_EQ(manager.queued.size(), 1u);
    EXPECT_EQ(deletions, 0);

    // Taken by the focus window: deleted there.
    log.entries.clear();
    front->handles = true;
    backChild->DispatchMessage(new CountedMessage("m2", &deletions));
    EXPECT_EQ(log.Joined(), "backChild:msg0:m2 back:msg0:m2 modal:msg0:m2 front:msg0:m2");
    EXPECT_EQ(deletions, 1);

    // Taken on the way up: nothing further.
    log.entries.clear();
    back->handles = true;
    backChild->DispatchMessage(new CountedMessage("m3", &deletions));
    EXPECT_EQ(log.Joined(), "backChild:msg0:m3 back:msg0:m3");
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(manager.queued.size(), 1u);
}

TEST_F(RoutingTest, TheFocusWindowIsOfferedTheMessageAScriptMessageCarries) {
    TScript script;
    lua_State* L = script.GetState();
    RegisterMessageMetatable(L);
    PushMessage(L, new TMessage(TMessage::kButtonPress, "carried", nullptr));
    auto* wrapper = new TLuaMessageWrapper(L);
    TMessage* carried = wrapper->GetLuaMessage().GetMessage();
    ASSERT_NE(carried, nullptr);

    struct Receiver : TWindow {
        bool OnMessage(TMessage* message) override {
            received = message;
            return true;
        }
        TMessage* received = nullptr;
    } receiver;
    modal->focusWindow = &receiver;
    modal->DispatchMessage(wrapper);
    EXPECT_EQ(receiver.received, carried);
    EXPECT_TRUE(manager.queued.empty());
}

TEST_F(WindowTest, AMessageThatFindsNoModalIsDeleted) {
    int deletions = 0;
    TWindow root;
    auto* child = new RecordingWindow("child", &log);
    root.AddChild(child, false);
    child->DispatchMessage(new CountedMessage("lost", &deletions));
    EXPECT_EQ(deletions, 1);
    EXPECT_TRUE(manager.queued.empty());
}

// --- Drawing ---

class DrawingTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        modal = std::make_unique<TestModal>("modal", &log, TRect(0, 0, 800, 600));
        back = new RecordingWindow("back", &log, TRect(100, 100, 300, 300));
        inner = new RecordingWindow("inner", &log, TRect(150, 150, 250, 250));
        front = new RecordingWindow("front", &log, TRect(400, 100, 500, 200));
        modal->AddChild(back, false);
        back->AddChild(inner, false);
        modal->AddChild(front, false);
    }

    std::unique_ptr<TestModal> modal;
    RecordingWindow* back = nullptr;
    RecordingWindow* inner = nullptr;
    RecordingWindow* front = nullptr;
};

TEST_F(DrawingTest, DrawsBackToFrontClippedToTheParentsAndRestoresTheRenderer) {
    auto* dialog = new TestModal("dialog", &log, TRect(0, 0, 100, 100));
    modal->AddChild(dialog, false);
    EXPECT_TRUE(TWindow::DrawWindowTree(modal.get(), TWindow::kDrawAll));
    EXPECT_EQ(log.Joined(),
              "modal:draw back:draw inner:draw inner:post back:post front:draw front:post modal:post");
    // inner reaches past back's right and bottom edges and is cut there.
    EXPECT_EQ(inner->drawnViewport, TRect(250, 250, 300, 300));
    EXPECT_EQ(inner->drawnViewRect, TRect(250, 250, 350, 350));
    EXPECT_EQ(front->drawnViewport, TRect(400, 100, 500, 200));
    EXPECT_EQ(recorder->GetViewport(), TRect(0, 0, 800, 600));
    EXPECT_EQ(recorder->GetViewportDepth(), 0);
    EXPECT_EQ(TRenderer::GetInstance()->GetViewRect(), TRect(0, 0, 800, 600));
    modal->RemoveChild(dialog);
    delete dialog;
}

TEST_F(DrawingTest, HiddenAndClippedAwayWindowsAreNotDrawn) {
    back->SetFlags(back->GetFlags() & ~TWindow::kVisible);
    front->SetPosition(900, 100);
    EXPECT_TRUE(TWindow::DrawWindowTree(modal.get(), TWindow::kDrawAll));
    EXPECT_EQ(log.Joined(), "modal:draw modal:post");
    EXPECT_FALSE(TWindow::DrawWindowTree(back, TWindow::kDrawAll));
    // Entirely outside the clip: counted as drawn, yet nothing is drawn.
    EXPECT_TRUE(TWindow::DrawWindowTree(front, TWindow::kDrawAll));
    EXPECT_EQ(log.Joined(), "modal:draw modal:post");
}

TEST_F(DrawingTest, TheCachePassDrawsFromACacheableWindowDownAndPassTwoSkipsWhatItDrew) {
    // Neither cacheable nor under a cached parent: not drawn into the cache.
    EXPECT_FALSE(TWindow::DrawWindowTree(modal.get(), TWindow::kDrawCache));
    EXPECT_FALSE(TWindow::DrawWindowTree(back, TWindow::kDrawCache));

    // A cacheable window goes into the cache with everything below it.
    back->SetKind(TWindow::kCacheable);
    EXPECT_TRUE(TWindow::DrawWindowTree(back, TWindow::kDrawCache));
    EXPECT_EQ(log.Joined(), "back:draw inner:draw inner:post back:post");
    EXPECT_TRUE(inner->GetFlags() & TWindow::kCached);

    log.entries.clear();
    TWindow::DrawWindowTree(modal.get(), TWindow::kDrawUncached);
    EXPECT_EQ(log.Draws(), "modal:draw front:draw");

    // Clearing the cache bit over the tree brings them back.
    log.entries.clear();
    TWindowClearFlags clear(~static_cast<uint32_t>(TWindow::kCached), true);
    clear.Visit(modal.get());
    TWindow::DrawWindowTree(modal.get(), TWindow::kDrawUncached);
    EXPECT_EQ(log.Draws(), "modal:draw back:draw inner:draw front:draw");
}

// --- Layout helpers ---

TEST_F(WindowTest, FitToChildrenOnlyGrows) {
    RecordingWindow parent("p", nullptr, TRect(0, 0, 100, 50));
    parent.AddChild(new RecordingWindow("a", nullptr, TRect(10, 10, 150, 40)), false);
    parent.AddChild(new RecordingWindow("b", nullptr, TRect(0, 20, 30, 45)), false);
    parent.FitToChildren();
    EXPECT_EQ(parent.GetRect(), TRect(0, 0, 150, 50));
}

// --- Animation ---

TEST_F(WindowTest, TheAnimatorRunsOnTheModalsTaskListAndClock) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* window = new RecordingWindow("w", nullptr);
    modal.AddChild(window, false);
    TWindowAnim* animator = window->GetAnimator();
    ASSERT_NE(animator, nullptr);
    EXPECT_EQ(window->GetAnimator(), animator);
    EXPECT_EQ(animator->GetWindow(), window);

    // Due at once on the modal's (paused) clock.
    window->StartAnimation(0, true, true, false);
    modal.tasks.RunAll(0);
    EXPECT_EQ(window->animations, 1);
    modal.clock.SetTime(5000);
    EXPECT_EQ(animator->Elapsed(), 5000);
    // The modal window itself animates on its own list.
    ASSERT_NE(modal.GetAnimator(), nullptr);
}

TEST_F(WindowTest, AnAnimationThatEndsCanBeStartedAgain) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* window = new RecordingWindow("w", nullptr);
    modal.AddChild(window, false);
    window->keepAnimating = false;
    window->StartAnimation(0, true, true, false);
    modal.tasks.RunAll(0);  // the step answers false: the list deletes the task
    EXPECT_EQ(window->animations, 1);

    window->keepAnimating = true;
    window->StartAnimation(0, true, true, false);
    ASSERT_NE(window->GetAnimator(), nullptr);
    EXPECT_EQ(window->GetAnimator()->GetWindow(), window);
    modal.tasks.RunAll(0);
    EXPECT_EQ(window->animations, 2);
}

TEST_F(WindowTest, AnAnimatorOutlivingItsWindowEnds) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* window = new RecordingWindow("w", nullptr);
    modal.AddChild(window, false);
    TWindowAnim* animator = window->GetAnimator();
    delete window;
    EXPECT_EQ(animator->GetWindow(), nullptr);
    EXPECT_FALSE(animator->Animate());
}

TEST_F(WindowTest, NoAnimatorOutsideAModal) {
    TWindow root;
    auto* window = new TWindow();
    root.AddChild(window, false);
    EXPECT_EQ(window->GetAnimator(), nullptr);
    window->StartAnimation(10, true, true, false);
}

}  // namespace
