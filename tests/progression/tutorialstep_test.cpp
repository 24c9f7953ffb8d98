// Tutorial steps: their names and trigger values, the panel and its button,
// how they begin and end, and what moves a running tutorial from one step
// to the next (clicks, durations, delays, the dismiss button).
#include "game/progression/tutorialstep.h"

#include <gtest/gtest.h>

#include "game/objects/spritebutton.h"
#include "game/sprites/textsprite.h"
#include "tests/progression/tutorialtesting.h"

namespace {

class TutorialStepTest : public TutorialFixture {
protected:
    // One tutorial "t" of the steps, started from level 0 in story mode.
    std::shared_ptr<VTutorial> Started(const std::string& steps, const std::string& keys = "") {
        Load("tutorials = { t = { modes = { 0 }, " + keys + " steps = { " + steps + " } } }");
        tutorials->StartTutorial("t");
        return Find("t");
    }
    std::shared_ptr<VTutorialStep> FirstStep(const std::string& step) {
        Load("tutorials = { t = { steps = { " + step + " } } }");
        return Find("t")->GetStep(1);
    }
    // A click in the middle of the screen, as the window sees it.
    bool Click(int x = 400, int y = 300) { return Window()->OnMouseDown(TPoint(x, y)); }
};

TEST_F(TutorialStepTest, ReadsItsNamesAndTriggerValues) {
    std::shared_ptr<VTutorialStep> step = FirstStep(R"({
        duration = 1200, delay = 300.9, pause = false, dim = false, skip = false,
        highlight_objects = { "lamp", "" },
        action_objects = { "counter", "" },
        trigger_objects = { { "mixer", 3 }, { "bin", 2.7, action = false }, { "", 1 }, { "odd", 0/0 }, "no table" },
    })");
    ASSERT_TRUE(step);
    EXPECT_EQ(step->GetNumber(), 1);
    EXPECT_EQ(step->GetDuration(), 1200);
    EXPECT_EQ(step->GetDelay(), 300);
    EXPECT_FALSE(step->IsPause());
    EXPECT_FALSE(step->IsDim());
    EXPECT_FALSE(step->IsSkip());
    using Names = VTutorialStep::NameSet;
    EXPECT_EQ(step->GetHighlightNames(), (Names{"lamp", "counter", "mixer", "bin", "odd"}));
    EXPECT_EQ(step->GetInteractiveNames(), (Names{"counter", "mixer", "bin", "odd"}));
    EXPECT_EQ(step->GetInputNames(), (Names{"counter", "mixer", "odd"}));
    EXPECT_EQ(step->GetTriggerValue("mixer"), 3);
    EXPECT_EQ(step->GetTriggerValue("bin"), 2);
    EXPECT_EQ(step->GetTriggerValue("odd"), 0);
    EXPECT_EQ(step->GetTriggerValue("counter"), -1);
    EXPECT_EQ(step->GetTriggerValue("lamp"), -1);
}

TEST_F(TutorialStepTest, OnlyAStepNothingElseCouldEndWaitsForAnyClick) {
    const struct {
        const char* step;
        bool clickAny;
    } kCases[] = {
        {"{}", true},
        {"{ highlight_objects = { 'lamp' } }", true},
        {"{ duration = 0 }", false},
        {"{ action_objects = { 'counter' } }", false},
        {"{ trigger_objects = { { 'mixer', 1 } } }", false},
        {"{ duration = 100, clickAny = true }", true},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(FirstStep(c.step)->IsClickAny(), c.clickAny) << c.step;
    }
}

TEST_F(TutorialStepTest, ThePanelHasItsTextAndAButtonThatKeepsItsMouse) {
    std::shared_ptr<VTutorialStep> step = FirstStep(R"({
        name = "panel", x = 100, y = 50, w = 300, h = 120, label = "tutorial_intro_1",
        children = { arrow = { x = 10, y = 10 } },
        button = { name = "tutorial_next", x = 250, y = 100 },
    })");
    EXPECT_FALSE(step->IsEmpty());
    ASSERT_TRUE(step->GetText());
    EXPECT_EQ(step->GetText()->GetPosition().x, 0);
    EXPECT_EQ(step->GetText()->GetPosition().y, 0);
    ASSERT_TRUE(step->GetChildObject("arrow"));
    EXPECT_FALSE(step->GetChildObject("arrow")->IsMouseEnabled());
    // The button is a button, still on the panel after the panel's load.
    const std::shared_ptr<VButton>& button = step->GetButton();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->GetName(), TString("tutorial_next"));
    EXPECT_TRUE(button->IsMouseEnabled());
    EXPECT_TRUE(button->IsClickable());
    EXPECT_EQ(button->GetOwner(), step);
    // Loaded again, the step keeps one button and one text.
    auto description = VLuaStyle::Create(TWindowManager::GetInstance()->GetScript()->GetGlobalTable("tutorials"),
                                         nullptr)->GetSubStyle("t")->GetSubStyle("steps")->GetSubStyleAt(1);
    std::shared_ptr<VTextSprite> text = step->GetText();
    step->Load(description);
    EXPECT_EQ(step->GetText(), text);
    int buttons = 0;
    for (const auto& child : step->GetChildList()) buttons += std::dynamic_pointer_cast<VButton>(child) ? 1 : 0;
    EXPECT_EQ(buttons, 1);
}

TEST_F(TutorialStepTest, AStepWithoutAreaShowsNothingAndDoesNotHoldTheAdvance) {
    std::shared_ptr<VTutorial> tutorial = Started("{ w = 0, h = 40 }, { w = 10, h = 10 }");
    std::shared_ptr<VTutorialStep> step = tutorial->GetStep(1);
    EXPECT_TRUE(step->IsEmpty());
    EXPECT_FALSE(step->GetText());
    EXPECT_FALSE(step->IsVisible());
    tutorial->Advance();
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
}

TEST_F(TutorialStepTest, AnyClickOnTheWindowEndsAStepThatWaitsForNothing) {
    std::shared_ptr<VTutorial> tutorial = Started("{ w = 10, h = 10 }, { w = 10, h = 10, duration = 100 }");
    Play(530);
    EXPECT_TRUE(Click());
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
    Play(530);
    // The second step has a duration; with no "window" the click passes on.
    EXPECT_FALSE(Click());
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
}

TEST_F(TutorialStepTest, ADurationOrADelayHoldsAnAdvanceUntilTheLaterEnds) {
    const struct {
        const char* keys;
        uint32_t movesAt;
    } kCases[] = {
        {"duration = 3000", 3000},
        {"duration = 3000, delay = 2500", 3500},
        {"delay = 1200", 2200},
    };
    for (const auto& c : kCases) {
        std::shared_ptr<VTutorial> tutorial =
            Started(std::string("{ w = 10, h = 10, clickAny = true, ") + c.keys + " }, { w = 10, h = 10 }");
        Play(1000);
        EXPECT_TRUE(Click());
        EXPECT_TRUE(tutorial->IsAdvancePending()) << c.keys;
        Play(c.movesAt - 1000 - 32);
        EXPECT_EQ(tutorial->GetCurrentStepNumber(), 1) << c.keys;
        Play(48);
        EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2) << c.keys;
        EXPECT_FALSE(tutorial->IsAdvancePending());
        tutorials->PrepareTutorials();
        Frame();
        ASSERT_FALSE(Window()) << c.keys;
    }
}

TEST_F(TutorialStepTest, AnAdvanceDuringTheFadeInFollowsItsEnd) {
    std::shared_ptr<VTutorial> tutorial = Started("{ w = 10, h = 10 }, { w = 10, h = 10 }");
    Play(100);
    tutorial->Advance();
    EXPECT_TRUE(tutorial->IsAdvancePending());
    Play(380);
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 1);
    Play(64);
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
}

TEST_F(TutorialStepTest, TheStepButtonAndTheDismissButtonPostPresses) {
    std::shared_ptr<VTutorial> tutorial = Started(
        "{ w = 300, h = 100, trigger_objects = { { 'tutorial_next', 1 } }, button = { name = 'tutorial_next' } },"
        "{ w = 300, h = 100, duration = 100 }, { w = 300, h = 100 }",
        "skip = { name = 'tutorial_skip' },");
    Play(530);
    tutorial->GetStep(1)->GetButton()->OnClick();
    Deliver();
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
    Play(530);
    ASSERT_TRUE(tutorials->AreTutorialsShown());
    tutorial->GetSkipObject()->OnClick();
    Deliver();
    // Dismissed: the option is off and saved, the tutorial ends as started.
    EXPECT_FALSE(tutorials->AreTutorialsShown());
    EXPECT_EQ(ShowTutorials()->GetValue(), 0);
    ShowTutorials()->Load();
    EXPECT_EQ(ShowTutorials()->GetValue(), 0);
    EXPECT_TRUE(tutorial->IsFinished());
    EXPECT_EQ(tutorial->GetState(), VTutorial::kStarted);
    EXPECT_EQ(Progress()->ReadByte(0), 1);
    EXPECT_FALSE(tutorials->IsInputAllowed());
    Frame();
    EXPECT_EQ(Stat("TutorialEnd"), "1");
}

TEST_F(TutorialStepTest, ClicksPassOnlyToTriggerWindowsAndThroughClearOnes) {
    // The floor holds a counter, covered by a clear overlay, and a wall.
    TWindow* floor = Make<TWindow>("{ name = 'floor', w = 800, h = 600 }");
    Make<TWindow>("{ name = 'counter', x = 100, y = 100, w = 100, h = 100 }", floor);
    Make<TWindow>("{ name = 'overlay', x = 50, y = 50, w = 300, h = 300 }", floor);
    Make<TWindow>("{ name = 'wall', x = 500, y = 100, w = 100, h = 100 }", floor);
    std::shared_ptr<VTutorial> tutorial = Started(
        "{ w = 10, h = 10, trigger_objects = { { 'counter', 2 }, { 'overlay', 4 } } }, { w = 10, h = 10 }",
        "window = 'floor',");
    Play(530);
    const struct {
        TPoint point;
        bool heldBack;
    } kCases[] = {
        {TPoint(150, 150), false},  // the counter, through the overlay
        {TPoint(300, 300), true},   // the overlay alone: only the floor lies beneath
        {TPoint(550, 150), true},   // the wall
        {TPoint(700, 500), true},   // the bare floor
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Window()->OnMouseDown(c.point), c.heldBack) << c.point.x << "," << c.point.y;
        EXPECT_EQ(Window()->OnMouseUp(c.point), c.heldBack) << c.point.x << "," << c.point.y;
    }
    // Value 2 lets the click through without moving the step on.
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 1);
    EXPECT_EQ(floor->FindChildWindow("overlay", 1)->GetWidth(), 300);
}

TEST_F(TutorialStepTest, AClearTestWindowEndsTheSearchAndKeepsItsWidth) {
    TWindow* floor = Make<TWindow>("{ name = 'floor', w = 800, h = 600 }");
    Make<TWindow>("{ name = 'glass', x = 100, y = 100, w = 100, h = 100 }", floor);
    std::shared_ptr<VTutorial> tutorial = Started(
        "{ w = 10, h = 10, trigger_objects = { { 'floor', 4 }, { 'glass', 4 } } }", "window = 'floor',");
    EXPECT_FALSE(tutorial->IsClickOnTrigger(dialog, TPoint(150, 150)));
    EXPECT_FALSE(tutorial->IsClickOnTrigger(dialog, TPoint(600, 400)));
    EXPECT_EQ(floor->GetWidth(), 800);
    EXPECT_EQ(floor->FindChildWindow("glass", 1)->GetWidth(), 100);
    // Without a host, or without a window named, every click passes.
    EXPECT_TRUE(tutorial->IsClickOnTrigger(nullptr, TPoint(150, 150)));
}

TEST_F(TutorialStepTest, ALevelPausesWhileAStepAndItsTutorialAskForIt) {
    const struct {
        const char* step;
        const char* keys;
        bool paused;
    } kCases[] = {
        {"{ w = 10, h = 10 }", "", true},
        {"{ w = 10, h = 10, pause = false }", "", false},
        {"{ w = 10, h = 10 }", "pause = false,", false},
    };
    for (const auto& c : kCases) {
        std::shared_ptr<VTutorial> tutorial = Started(std::string(c.step) + ", { w = 10, h = 10 }", c.keys);
        EXPECT_EQ(Level()->IsPaused(), c.paused) << c.step << c.keys;
        tutorials->PrepareTutorials();
        EXPECT_FALSE(Level()->IsPaused());
        Frame();
    }
}

}  // namespace
