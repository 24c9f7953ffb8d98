// The tutorial manager: loading, finding, the option, triggers and requests
// that start a tutorial, its window's life, and what it reports.
#include "game/progression/tutorialmanager.h"

#include <gtest/gtest.h>

#include "core/app/message.h"
#include "game/level/level.h"
#include "game/shell/game.h"
#include "game/shop/shopwindow.h"
#include "tests/progression/tutorialtesting.h"

namespace {

class TutorialManagerTest : public TutorialFixture {
protected:
    // Tutorials started by customers: "any" by every one, "named" only by "ann".
    void LoadCustomerTutorials() {
        Load(R"(tutorials = {
            any = { modes = { 0 }, trigger_type = "customer_arrival", steps = { { w = 10, h = 10 } } },
            named = { modes = { 0 }, trigger_type = "customer_order", trigger_object = "ann",
                      steps = { { w = 10, h = 10 } } },
        })");
    }
    // A tutorial "t" whose first step the press of the button ends.
    void LoadButtonStep(const std::string& button) {
        Load("tutorials = { t = { modes = { 0 }, steps = { { w = 10, h = 10, trigger_objects = { { '" + button +
             "', 1 } } }, { w = 10, h = 10 } } } }");
    }
};

TEST_F(TutorialManagerTest, ANameWithoutTutorialIsNotAdded) {
    Load("tutorials = { one = { modes = { 0 } } }");
    EXPECT_FALSE(tutorials->FindTutorial("two"));
    tutorials->StartTutorial("two");
    tutorials->LoadProgress();
    tutorials->PrepareTutorials();
    EXPECT_EQ(tutorials->GetTutorials().size(), 1u);
    EXPECT_TRUE(tutorials->FindTutorial("one"));
}

TEST_F(TutorialManagerTest, ATableThatIsNoTableGivesNoTutorials) {
    Load("tutorials = { one = {} }");
    tutorials->LoadTutorials(nullptr, nullptr);
    EXPECT_TRUE(tutorials->GetTutorials().empty());
    EXPECT_TRUE(mLog.Contains("no tutorials table"));
}

TEST_F(TutorialManagerTest, InputIsAllowedExactlyWhileATutorialRuns) {
    Load("tutorials = { t = { modes = { 0 }, steps = { { w = 10, h = 10 } } } }");
    EXPECT_FALSE(tutorials->IsInputAllowed());
    tutorials->StartTutorial("t");
    EXPECT_TRUE(tutorials->IsInputAllowed());
    EXPECT_TRUE(Level()->IsInputRestricted());
    ASSERT_TRUE(Window());
    EXPECT_EQ(Stat("TutorialTime_0"), "1");
    Play(530);
    Find("t")->Advance();
    // Finished: no longer running, while the window still fades out.
    EXPECT_FALSE(tutorials->IsInputAllowed());
    Frame();
    EXPECT_TRUE(Window());
    EXPECT_FALSE(tutorials->GetActiveTutorial());
    EXPECT_FALSE(Level()->IsInputRestricted());
    EXPECT_EQ(Stat("TutorialTime_0"), "0");
    EXPECT_EQ(Stat("TutorialEnd"), "0");
    Play(540);
    EXPECT_FALSE(Window());
}

TEST_F(TutorialManagerTest, TriggersMatchTheirTypeAndAnEmptyOrEqualObject) {
    const struct {
        const char* type;
        const char* object;
        const char* started;
    } kCases[] = {
        {"customer_arrival", "bob", "any"},
        {"customer_arrival", "", "any"},
        {"customer_order", "bob", nullptr},
        {"customer_order", "ann", "named"},
        {"customer_leaving", "ann", nullptr},
    };
    for (const auto& c : kCases) {
        LoadCustomerTutorials();
        tutorials->FireTrigger(c.type, c.object);
        const std::shared_ptr<VTutorial>& active = tutorials->GetActiveTutorial();
        if (c.started) {
            ASSERT_TRUE(active) << c.type << " " << c.object;
            EXPECT_EQ(active->GetName(), TString(c.started));
        } else {
            EXPECT_FALSE(active) << c.type << " " << c.object;
        }
        tutorials->PrepareTutorials();
        Frame();
    }
}

TEST_F(TutorialManagerTest, TwoTriggersInOneFrameStartOnlyTheFirst) {
    Load(R"(tutorials = {
        b_second = { modes = { 0 }, trigger_type = "customer_arrival", steps = { { w = 10, h = 10 } } },
        a_first = { modes = { 0 }, trigger_type = "customer_arrival", steps = { { w = 10, h = 10 } } },
    })");
    tutorials->FireTrigger("customer_arrival", "ann");
    tutorials->FireTrigger("customer_arrival", "bob");
    ASSERT_TRUE(tutorials->GetActiveTutorial());
    EXPECT_EQ(tutorials->GetActiveTutorial()->GetName(), TString("a_first"));
    EXPECT_EQ(Find("b_second")->GetState(), VTutorial::kNeverStarted);
    int windows = 0;
    for (TWindow* child : dialog->GetChildren()) windows += dynamic_cast<VTutorialWindow*>(child) ? 1 : 0;
    EXPECT_EQ(windows, 1);
}

TEST_F(TutorialManagerTest, ModesLevelsAndProgressDecideTheStart) {
    const struct {
        const char* keys;
        int mode;
        int level;
        int state;
        bool starts;
    } kCases[] = {
        {"", 0, 1, 0, false},
        {"modes = { 0 },", 0, 1, 0, true},
        {"modes = { 1, 2, 3 },", 0, 1, 0, false},
        {"modes = { 1, 2, 3 },", 2, 1, 0, true},
        {"modes = { 0 }, minlevel = 2, maxlevel = 4,", 0, 1, 0, false},
        {"modes = { 0 }, minlevel = 2, maxlevel = 4,", 0, 4, 0, true},
        {"modes = { 0 }, minlevel = 2, maxlevel = 4,", 0, 5, 0, false},
        {"modes = { 0 },", 0, 1, 3, false},
        {"modes = { 0 }, tryonce = true,", 0, 1, 1, false},
    };
    for (const auto& c : kCases) {
        VGame::Get()->SetCurrentGameMode(c.mode);
        tutorials->SetLevel(std::make_shared<VLevel>(c.level));
        Load(std::string("tutorials = { t = { ") + c.keys + " steps = { { w = 10, h = 10 } } } }");
        Find("t")->RaiseState(c.state, false);
        tutorials->StartTutorial("t");
        EXPECT_EQ(tutorials->GetActiveTutorial() != nullptr, c.starts) << c.keys << " mode " << c.mode;
        tutorials->PrepareTutorials();
        Frame();
    }
}

TEST_F(TutorialManagerTest, WithTutorialsOffATutorialCountsAsSeenWithoutWindow) {
    Load("tutorials = { t = { modes = { 0 }, steps = { { w = 10, h = 10 } } } }");
    tutorials->SetTutorialsShown(false, true);
    tutorials->StartTutorial("t");
    EXPECT_FALSE(tutorials->GetActiveTutorial());
    EXPECT_FALSE(Window());
    EXPECT_EQ(Find("t")->GetState(), VTutorial::kStarted);
    EXPECT_EQ(Progress()->ReadByte(0), 1);
    EXPECT_EQ(Stat("TutorialEnd"), "1");
    // The option is the player's: the next level reads it back.
    tutorials->SetTutorialsShown(true, false);
    tutorials->LoadProgress();
    EXPECT_FALSE(tutorials->AreTutorialsShown());
}

TEST_F(TutorialManagerTest, PreparingTheTutorialsClosesARunningWindowAtOnce) {
    Load("tutorials = { t = { modes = { 0 }, steps = { { w = 10, h = 10 } } } }");
    tutorials->StartTutorial("t");
    ASSERT_TRUE(Window());
    tutorials->PrepareTutorials();
    EXPECT_FALSE(tutorials->IsInputAllowed());
    // Its time and the level's input restriction end with it.
    EXPECT_EQ(Stat("TutorialTime_0"), "0");
    EXPECT_FALSE(Level()->IsInputRestricted());
    Frame();
    EXPECT_FALSE(Window());
}

TEST_F(TutorialManagerTest, MessagesGoToTheActiveTutorialOnly) {
    LoadButtonStep("go");
    TMessage press(TMessage::kButtonPress, "go", nullptr);
    EXPECT_FALSE(tutorials->OfferMessage(&press));
    tutorials->StartTutorial("t");
    Play(530);
    TMessage other(TMessage::kButtonPress, "stay", nullptr);
    TMessage generic(TMessage::kGeneric, "go", nullptr);
    EXPECT_FALSE(tutorials->OfferMessage(&other));
    EXPECT_FALSE(tutorials->OfferMessage(&generic));
    EXPECT_TRUE(tutorials->OfferMessage(&press));
    EXPECT_EQ(Find("t")->GetCurrentStepNumber(), 2);
}

TEST_F(TutorialManagerTest, TheLevelScreenOffersItsButtonPressesWhileATutorialRuns) {
    auto* shop = Make<ShopWindow>("{ name = 'shop', w = 800, h = 600 }");
    LoadButtonStep("mixer_button");
    TMessage early(TMessage::kButtonPress, "mixer_button", shop);
    EXPECT_FALSE(shop->OnMessage(&early));
    tutorials->StartTutorial("t");
    Play(530);
    TMessage press(TMessage::kButtonPress, "mixer_button", shop);
    EXPECT_TRUE(shop->OnMessage(&press));
    EXPECT_EQ(Find("t")->GetCurrentStepNumber(), 2);
}

TEST_F(TutorialManagerTest, ClearEndsTheRunningTutorialAndForgetsEverything) {
    Load("tutorials = { t = { modes = { 0 }, steps = { { w = 10, h = 10 } } } }");
    tutorials->SetLevel(std::make_shared<VLevel>(3));
    tutorials->StartTutorial("t");
    ASSERT_TRUE(tutorials->IsInputAllowed());
    tutorials->Clear();
    EXPECT_FALSE(tutorials->IsInputAllowed());
    EXPECT_EQ(Stat("TutorialTime_0"), "0");
    EXPECT_TRUE(tutorials->GetTutorials().empty());
    EXPECT_FALSE(tutorials->GetSpriteManager());
}

}  // namespace
