// The highlighter: the level dims behind a step, the step's objects stay
// bright and darken again after it, input opens only to the step's input
// objects, and the tutorial's listener hears its trigger objects.
#include "game/progression/tutorialspider.h"

#include <gtest/gtest.h>

#include "game/objects/spritebutton.h"
#include "game/objects/suspendabletutorial.h"
#include "game/sprites/tinteffect.h"
#include "tests/progression/tutorialtesting.h"

namespace {

class TutorialSpiderTest : public TutorialFixture {
protected:
    void SetUp() override {
        TutorialFixture::SetUp();
        lamp = LevelObject("lamp", 100, 100);
        counter = LevelObject("counter", 300, 100);
        wall = LevelObject("wall", 500, 100);
    }
    std::shared_ptr<VTutorial> Started(const std::string& steps, const std::string& keys = "") {
        Load("tutorials = { t = { modes = { 0 }, " + keys + " steps = { " + steps + " } } }");
        tutorials->StartTutorial("t");
        return Find("t");
    }
    std::shared_ptr<VTintEffect> Dim() const { return Find("t")->GetHighlighter()->GetDimEffect(); }
    std::shared_ptr<VTintEffect> Tint(const char* name) const {
        return Find("t")->GetHighlighter()->GetObjectEffect(name);
    }
    std::shared_ptr<VTutorial> Find(const char* name) const { return tutorials->FindTutorial(name); }
    static void Click(const std::shared_ptr<VSprite>& sprite) {
        sprite->SendEvent(VSprite::kEventClick, TPoint(0, 0), TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0), 0);
    }

    std::shared_ptr<VObject> lamp;
    std::shared_ptr<VObject> counter;
    std::shared_ptr<VObject> wall;
};

TEST_F(TutorialSpiderTest, HighlightedObjectsStayOutOfTheDimAndDarkenAfterTheirStep) {
    std::shared_ptr<VTutorial> tutorial = Started(
        "{ w = 10, h = 10, highlight_objects = { 'lamp' } }, { w = 10, h = 10, highlight_objects = { 'counter' } },"
        "{ w = 10, h = 10, dim = false }");
    std::shared_ptr<VTintEffect> dim = Dim();
    ASSERT_TRUE(dim);
    EXPECT_TRUE(wall->HasEffect(dim));
    EXPECT_TRUE(counter->HasEffect(dim));
    EXPECT_FALSE(lamp->HasEffect(dim));
    Play(330);
    EXPECT_FLOAT_EQ(dim->GetLevel(), VTutorialSpider::kDimLevel);
    Play(200);

    tutorial->Advance();
    ASSERT_EQ(tutorial->GetCurrentStepNumber(), 2);
    // The counter leaves the dim; the lamp darkens again over 300 ms.
    EXPECT_FALSE(counter->HasEffect(dim));
    EXPECT_TRUE(wall->HasEffect(dim));
    std::shared_ptr<VTintEffect> darken = Tint("lamp");
    ASSERT_TRUE(darken);
    EXPECT_TRUE(lamp->HasEffect(darken));
    EXPECT_FALSE(Tint("counter"));
    Play(160);
    EXPECT_GT(darken->GetLevel(), 0.2f);
    EXPECT_LT(darken->GetLevel(), 0.4f);
    Play(180);
    EXPECT_FLOAT_EQ(darken->GetLevel(), VTutorialSpider::kDimLevel);
    Play(200);

    // A step without dim lets everything brighten.
    tutorial->Advance();
    EXPECT_FALSE(Dim());
    EXPECT_FALSE(dim->IsActive());
    EXPECT_FALSE(darken->IsActive());
    Play(340);
    EXPECT_LE(dim->GetLevel(), 0.0f);
    EXPECT_LE(darken->GetLevel(), 0.0f);
}

TEST_F(TutorialSpiderTest, AnObjectHighlightedAgainBrightensFromTheDim) {
    std::shared_ptr<VTutorial> tutorial = Started(
        "{ w = 10, h = 10, highlight_objects = { 'lamp' } }, { w = 10, h = 10 },"
        "{ w = 10, h = 10, highlight_objects = { 'lamp' } }");
    Play(530);
    tutorial->Advance();
    std::shared_ptr<VTintEffect> darken = Tint("lamp");
    ASSERT_TRUE(darken);
    Play(530);
    tutorial->Advance();
    // The same tint winds down: the lamp brightens from where it was.
    EXPECT_EQ(Tint("lamp"), darken);
    EXPECT_FALSE(darken->IsActive());
    Play(160);
    EXPECT_GT(darken->GetLevel(), 0.1f);
    EXPECT_LT(darken->GetLevel(), 0.4f);
}

TEST_F(TutorialSpiderTest, InputOpensOnlyToTheStepsInputObjects) {
    Started("{ w = 10, h = 10, action_objects = { 'counter' },"
            "  trigger_objects = { { 'lamp', 1, action = false } } }, { w = 10, h = 10 }");
    EXPECT_TRUE(Level()->IsInputRestricted());
    EXPECT_TRUE(Level()->Accepts(counter));
    EXPECT_FALSE(Level()->Accepts(lamp));
    EXPECT_FALSE(Level()->Accepts(wall));
    EXPECT_FALSE(lamp->HasEffect(Dim()));
    EXPECT_FALSE(counter->HasEffect(Dim()));
}

TEST_F(TutorialSpiderTest, TheListenerAdvancesOnATriggerObjectOfValueOne) {
    auto handle = VObject::Create("handle", "test", 0);
    wall->AddChild(handle);
    std::shared_ptr<VTutorial> tutorial = Started(
        "{ w = 10, h = 10, trigger_objects = { { 'counter', 2 }, { 'lamp', 0 }, { 'handle', 1 } } },"
        "{ w = 10, h = 10 }");
    // The owner of a trigger object stays bright with it.
    EXPECT_FALSE(wall->HasEffect(Dim()));
    Play(530);
    for (const auto& sprite : {lamp, counter}) {
        Click(sprite);
        EXPECT_EQ(tutorial->GetCurrentStepNumber(), 1) << sprite->GetName().c_str();
    }
    Click(handle);
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
    // The next step lets go of the objects and their input.
    EXPECT_FALSE(Level()->Accepts(handle));
    Play(530);
    Click(handle);
    EXPECT_FALSE(tutorial->IsFinished());
    EXPECT_EQ(tutorial->GetCurrentStepNumber(), 2);
}

TEST_F(TutorialSpiderTest, TheDismissButtonShowsOnlyInStepsThatOfferIt) {
    std::shared_ptr<VTutorial> tutorial =
        Started("{ w = 10, h = 10 }, { w = 10, h = 10, skip = false }", "skip = { name = 'tutorial_skip' },");
    EXPECT_TRUE(tutorial->GetSkipObject()->IsVisible());
    Play(530);
    tutorial->Advance();
    EXPECT_FALSE(tutorial->GetSkipObject()->IsVisible());
}

TEST_F(TutorialSpiderTest, TheEndGivesTheLevelBackItsInputAndClock) {
    std::shared_ptr<VTutorial> tutorial = Started("{ w = 10, h = 10, action_objects = { 'counter' } }");
    EXPECT_TRUE(Level()->IsPaused());
    std::shared_ptr<VTintEffect> dim = Dim();
    Play(530);
    tutorial->Advance();
    EXPECT_TRUE(tutorial->IsFinished());
    EXPECT_FALSE(Level()->IsPaused());
    EXPECT_FALSE(dim->IsActive());
    EXPECT_FALSE(tutorial->GetHighlighter()->GetListener());
    Frame();
    EXPECT_FALSE(Level()->IsInputRestricted());
    EXPECT_TRUE(Level()->Accepts(wall));
}

}  // namespace
