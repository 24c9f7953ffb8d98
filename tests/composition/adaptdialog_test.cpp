// A dialog built by a script from the game's window classes: a clock, a
// bouncing panel, a composition and an alert that closes the dialog by
// itself through the command queue.
#include <gtest/gtest.h>

#include <string>

#include "core/app/tasklist.h"
#include "foundation/virtualfiles.h"
#include "game/composition/adapt.h"
#include "game/composition/spritelayer.h"
#include "game/texts/timer.h"
#include "game/widgets/alert.h"
#include "game/widgets/bouncewindow.h"
#include "scriptedsprites/animationhost.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class TestHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override { return 4; }
    TTaskList tasks;
};

const char kComposition[] =
    "<adapt><text label=\"#Well done\" x=\"10\" y=\"10\" width=\"200\" height=\"40\" color=\"#ff8000\"/>"
    "<image source=\"star.png\" x=\"20\" y=\"60\"/><anim source=\"walk\" delay=\"100\"/>"
    "<sound source=\"fanfare.ogg\" delay=\"200\"/></adapt>";

const char kDialog[] =
    "function BuildWindow(t) GenericCreate(t) for i, child in ipairs(t) do BuildWindow(child) end "
    "PostCreate(t) PopWindow() end "
    "PushModal('done') "
    "BuildWindow{ typename = 'RTimer', name = 'clock', x = 0, y = 0, w = 100, h = 30, "
    "  isincrementing = false, starttime = 5000 } "
    "BuildWindow{ typename = 'RBounceWindow', name = 'panel', x = 0, y = -200, w = 300, h = 200, "
    "  targetposx = 0, targetposy = 100, bouncelen = 400 } "
    "BuildWindow{ typename = 'RAdapt', name = 'comp', x = 0, y = 0, w = 800, h = 600, xmlfile = 'comp.xml', "
    "  { typename = 'RSpriteLayer', name = 'adapt_spritelayer', x = 0, y = 0, w = 800, h = 600 } } "
    "BuildWindow{ typename = 'RAlert', name = 'alert', x = 0, y = 0, w = 800, h = 600, delay = 1000, "
    "  allowclick = false }";

class AdaptDialogTest : public WidgetsTest {
protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        SetAnimationHost(&host);
        RegisterMemoryFile("comp.xml", kComposition, sizeof kComposition - 1);
        AddImage("star.png", 16, 16);
        manager->RegisterWindowType("RTimer", RTimer::ClassId());
        manager->RegisterWindowType("RBounceWindow", RBounceWindow::ClassId());
        manager->RegisterWindowType("RAdapt", RAdapt::ClassId());
        manager->RegisterWindowType("RSpriteLayer", RSpriteLayer::ClassId());
        manager->RegisterWindowType("RAlert", RAlert::ClassId());
    }
    void TearDown() override {
        manager.reset();
        host.tasks.Clear();
        SetAnimationHost(nullptr);
        RegisterMemoryFile("comp.xml", nullptr, 0);
        WidgetsTest::TearDown();
    }
    // Time passes for the top modal's tasks and the platform's.
    void Step(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        manager->GetTopModal()->RunTasks(0);
        host.tasks.RunAll(0);
    }
    template <typename Window>
    Window* Find(const char* name) {
        return dynamic_cast<Window*>(manager->GetTopModal()->FindChildWindow(name, -1));
    }

    TestHost host;
};

TEST_F(AdaptDialogTest, TheDialogRunsAndClosesItself) {
    ASSERT_EQ(Run(kDialog), "");
    ASSERT_EQ(Stack(), "done dialog _screen_");
    auto* clock = Find<RTimer>("clock");
    auto* panel = Find<RBounceWindow>("panel");
    auto* composition = Find<RAdapt>("comp");
    ASSERT_NE(clock, nullptr);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(composition, nullptr);
    ASSERT_NE(Find<RAlert>("alert"), nullptr);
    EXPECT_EQ(composition->GetItems().size(), 4u);
    EXPECT_NE(composition->GetSpriteLayer(), nullptr);
    EXPECT_STREQ(clock->GetText().c_str(), "0:05");

    Step(16);
    for (int i = 0; i < 30; ++i) Step(16);
    EXPECT_EQ(panel->GetRect().top, 100);
    EXPECT_FALSE(panel->IsBouncing());
    for (int i = 0; i < 40; ++i) Step(16);
    EXPECT_STREQ(clock->GetText().c_str(), "0:03");
    // The alert has queued the closing of its dialog; the main script's
    // loop runs the queue.
    ASSERT_EQ(Eval("table.getn(gCommandQueue)"), "1");
    ASSERT_EQ(Run("gCommandQueue[1]() gCommandQueue = {}"), "");
    EXPECT_EQ(Stack(), "dialog _screen_");
}

}  // namespace
