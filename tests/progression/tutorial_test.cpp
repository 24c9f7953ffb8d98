// A tutorial: its description, its saved progress, when it may start, how
// it runs its steps, its button presses and its click test.
#include "game/progression/tutorial.h"

#include <gtest/gtest.h>

#include "core/app/message.h"
#include "game/objects/spritebutton.h"
#include "game/progression/tutorialstep.h"
#include "tests/progression/tutorialtesting.h"

namespace {

class TutorialTest : public TutorialFixture {};

TEST_F(TutorialTest, ReadsItsKeysAndStepsAndSkipsWhatIsNoTable) {
    Load(R"(tutorials = {
        Intro = { minlevel = 2, maxlevel = 4.9, window = "shop_window", pause = false, repeatable = true,
                  tryonce = true, modes = { 1.7, 0/0, -2 }, trigger_type = "customer_order",
                  steps = { { w = 10, h = 10 }, "no step", 5, { w = 0, h = 10 } },
                  skip = { name = "tutorial_skip" } },
        plain = { steps = "none" },
        note = "not a tutorial",
    })");
    ASSERT_EQ(tutorials->GetTutorials().size(), 2u);
    std::shared_ptr<VTutorial> intro = Find("intro");
    ASSERT_TRUE(intro);
    EXPECT_EQ(intro->GetMinLevel(), 2);
    EXPECT_EQ(intro->GetMaxLevel(), 4);
    EXPECT_EQ(intro->GetWindowName(), TString("shop_window"));
    EXPECT_FALSE(intro->IsPause());
    EXPECT_TRUE(intro->IsRepeatable());
    EXPECT_TRUE(intro->IsTryOnce());
    EXPECT_EQ(intro->GetModes(), (std::set<int>{1, 0, -2}));
    EXPECT_EQ(intro->GetProperty("trigger_type", ""), TString("customer_order"));
    EXPECT_FALSE(intro->IsClickable());
    // Entries that are no tables take no number: the steps follow on.
    ASSERT_EQ(intro->GetStepCount(), 2);
    EXPECT_FALSE(intro->GetStep(1)->IsEmpty());
    EXPECT_TRUE(intro->GetStep(2)->IsEmpty());
    ASSERT_TRUE(intro->GetSkipObject());
    EXPECT_EQ(intro->GetSkipObject()->GetName(), TString("tutorial_skip"));

    std::shared_ptr<VTutorial> plain = Find("plain");
    EXPECT_EQ(plain->GetStepCount(), 0);
    EXPECT_EQ(plain->GetMinLevel(), 0);
    EXPECT_EQ(plain->GetMaxLevel(), 2147483647);
    EXPECT_TRUE(plain->GetModes().empty());
    EXPECT_TRUE(plain->IsPause());
    EXPECT_EQ(plain->GetWindowName(), TString());
}

TEST_F(TutorialTest, CanStartFollowsStateTryOnceAndRepeatable) {
    const struct {
        int state;
        bool tryonce;
        bool repeatable;
        bool expected;
    } kCases[] = {
        {0, false, false, true}, {0, true, false, true},  {0, false, true, true},  {1, false, false, true},
        {1, true, false, false}, {1, true, true, true},   {3, false, false, false}, {3, true, false, false},
        {3, false, true, true},  {3, true, true, true},
    };
    for (const auto& c : kCases) {
        Load(std::string("tutorials = { t = { tryonce = ") + (c.tryonce ? "true" : "false") +
             ", repeatable = " + (c.repeatable ? "true" : "false") + " } }");
        std::shared_ptr<VTutorial> tutorial = Find("t");
        tutorial->RaiseState(c.state, false);
        EXPECT_EQ(tutorial->CanStart(), c.expected)
            << "state " << c.state << " tryonce " << c.tryonce << " repeatable " << c.repeatable;
    }
}

TEST_F(TutorialTest, StatesAreSavedAtTheSlotsOfTheNamesOrderAndOnlyRaised) {
    Load("tutorials = { zeta = {}, Alpha = {}, mid = {} }");
    EXPECT_EQ(Find("alpha")->GetSlot(), 0);
    EXPECT_EQ(Find("mid")->GetSlot(), 1);
    EXPECT_EQ(Find("zeta")->GetSlot(), 2);

    std::shared_ptr<VTutorial> mid = Find("mid");
    mid->RaiseState(VTutorial::kCompleted, true);
    EXPECT_EQ(Progress()->ReadByte(1), 3);
    // A lower state changes nothing and writes nothing.
    Progress()->WriteByte(1, 0);
    mid->RaiseState(VTutorial::kStarted, true);
    EXPECT_EQ(mid->GetState(), VTutorial::kCompleted);
    EXPECT_EQ(Progress()->ReadByte(1), 0);
    // Saved: a new load of the player's blocks finds it.
    Find("zeta")->RaiseState(VTutorial::kStarted, true);
    VGame::Get()->LoadUserProgress();
    Load("tutorials = { zeta = {}, Alpha = {}, mid = {} }");
    EXPECT_EQ(Find("zeta")->GetState(), VTutorial::kStarted);
    EXPECT_EQ(Find("alpha")->GetState(), VTutorial::kNeverStarted);
}

TEST_F(TutorialTest, UnknownStateBytesReadAsNeverStarted) {
    const int kBytes[] = {0, 1, 2, 3, 4, 255};
    const int kStates[] = {0, 1, 0, 3, 0, 0};
    for (int n = 0; n < 6; ++n) {
        Progress()->WriteByte(0, static_cast<uint8_t>(kBytes[n]));
        Load("tutorials = { t = {} }");
        EXPECT_EQ(Find("t")->GetState(), kStates[n]) << "byte " << kBytes[n];
    }
}

TEST_F(TutorialTest, ASlotPastTheBlockKeepsItsStateInMemoryOnly) {
    // A stored entry shorter than the block's 50 bytes.
    Progress()->Resize(2);
    Progress()->Save();
    Load("tutorials = { a = {}, b = {}, c = {} }");
    std::shared_ptr<VTutorial> c = Find("c");
    ASSERT_EQ(c->GetSlot(), 2);
    c->RaiseState(VTutorial::kCompleted, true);
    EXPECT_EQ(c->GetState(), VTutorial::kCompleted);
    EXPECT_EQ(Progress()->GetSize(), 2);
    EXPECT_TRUE(mLog.Contains("'c' has slot 2 of 2"));
    c->LoadState();
    EXPECT_EQ(c->GetState(), VTutorial::kCompleted);
}

TEST_F(TutorialTest, WithoutStepsStartingCompletesAtOnce) {
    Load("tutorials = { t = {} }");
    std::shared_ptr<VTutorial> tutorial = Find("t");
    EXPECT_TRUE(tutorial->Start(true));
    EXPECT_TRUE(tutorial->IsFinished());
    EXPECT_EQ(tutorial->GetState(), VTutorial::kCompleted);
    EXPECT_EQ(Progress()->ReadByte(0), 3);
}

TEST_F(TutorialTest, StartingAtTheEndSkipsEveryStep) {
    Load("tutorials = { t = { steps = { { w = 10, h = 10 }, { w = 10, h = 10 } } } }");
    std::shared_ptr<VTutorial> tutorial = Find("t");
    tutorial->Start(false);
    EXPECT_TRUE(tutorial->IsFinished());
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 3);
    EXPECT_EQ(tutorial->GetState(), VTutorial::kCompleted);
}

TEST_F(TutorialTest, StepsFollowOneAnotherAndTheStateRises) {
    Load("tutorials = { t = { modes = { 0 }, steps = { { w = 10, h = 10, x = 5, y = 7 }, { w = 20, h = 30 } } } }");
    std::shared_ptr<VTutorial> tutorial = Find("t");
    EXPECT_EQ(tutorial->GetCurrentStepRect(), TRect(0, 0, 0, 0));
    tutorials->StartTutorial("t");
    EXPECT_FALSE(tutorial->IsFinished());
    EXPECT_FALSE(tutorial->IsAborted());
    EXPECT_EQ(tutorial->GetState(), VTutorial::kStarted);
    EXPECT_EQ(Progress()->ReadByte(0), 1);
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 1);
    EXPECT_EQ(tutorial->GetCurrentStepRect(), TRect(5, 7, 15, 17));
    EXPECT_TRUE(tutorial->GetStep(1)->IsVisible());
    EXPECT_FALSE(tutorial->GetStep(2)->IsVisible());
    // A fade's first frame only starts its count.
    Play(530);
    tutorial->Advance();
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
    EXPECT_TRUE(tutorial->GetStep(2)->IsVisible());
    // The first step fades out, then hides.
    EXPECT_TRUE(tutorial->GetStep(1)->IsVisible());
    Play(540);
    EXPECT_FALSE(tutorial->GetStep(1)->IsVisible());
    tutorial->Advance();
    EXPECT_TRUE(tutorial->IsFinished());
    EXPECT_EQ(tutorial->GetState(), VTutorial::kCompleted);
    EXPECT_EQ(Progress()->ReadByte(0), 3);
    // The last step stays for the window's fade.
    Play(200);
    EXPECT_TRUE(tutorial->GetStep(2)->IsVisible());
    tutorial->Reset();
    EXPECT_TRUE(tutorial->IsAborted());
    EXPECT_FALSE(tutorial->GetStep(2)->IsVisible());
}

}  // namespace
