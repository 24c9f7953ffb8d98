#include "game/objects/suspendable.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/objects/suspendabletutorial.h"
#include "game/progression/tutorial.h"
#include "tests/objects/objecttesting.h"

namespace {

// Answers one state for every object and counts the steps it was moved on.
class FakeTutorial : public VTutorial {
public:
    FakeTutorial() : VTutorial("fake", 0) {}
    int GetObjectState(const TString& name) override {
        asked = name;
        return state;
    }
    void Advance() override { ++advances; }

    int state = VTutorialListener::kWaitingForObject;
    int advances = 0;
    TString asked;
};

// Refuses to leave the hold while told so.
class StubbornObject : public VSuspendable {
public:
    static std::shared_ptr<StubbornObject> Create() {
        auto object = std::make_shared<StubbornObject>();
        Adopt(object);
        return object;
    }
    StubbornObject() : VSuspendable("stubborn", 0) {}
    bool OnResume() override {
        ++resumes;
        return agrees;
    }
    bool agrees = false;
    int resumes = 0;
};

class SuspendableTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        // Times of 0 mean "none yet": start the clock somewhere else.
        timer.Advance(100);
        object = VSuspendable::Create("machine", 0);
        object->SetManager(manager);
    }
    // A sprite playing the two-frame animation, once or over and over.
    std::shared_ptr<VSprite> Playing(bool repeat) {
        auto sprite = VSprite::Create("player", 0);
        sprite->SetManager(manager);
        sprite->SetAnimation(TwoFrames());
        sprite->DoAnim(TString(), repeat, false, 0);
        return sprite;
    }
    // Advances the time, runs the animations, then updates the object.
    void Step(uint32_t milliseconds, bool paused = false) {
        Tick(milliseconds);
        object->Update(paused);
    }
    // A tutorial listening to the object from its next update on.
    std::shared_ptr<FakeTutorial> Listen(const std::shared_ptr<VSuspendable>& target) {
        auto tutorial = std::make_shared<FakeTutorial>();
        target->AddListener(std::make_shared<VTutorialListener>(tutorial));
        target->Update(false);
        return tutorial;
    }

    std::shared_ptr<VSuspendable> object;
};

TEST_F(SuspendableTest, ATimedHoldKeepsItsRestAcrossAPause) {
    object->Suspend(500);
    Step(200);
    ASSERT_TRUE(object->IsSuspended());
    clock.Pause();
    for (int i = 0; i < 125; ++i) Step(16, true);
    clock.Start();
    Step(0);
    EXPECT_TRUE(object->IsSuspended());
    Step(299);
    EXPECT_TRUE(object->IsSuspended());
    Step(1);
    EXPECT_FALSE(object->IsSuspended());
    EXPECT_EQ(object->GetSuspendDuration(), 0u);
}

TEST_F(SuspendableTest, PausedUpdatesOnARunningClockDoNotCountTwice) {
    Step(0, true);  // the pause began at 100, before the hold
    object->Suspend(500);
    Step(200, true);
    // The hold began inside the pause: it is left alone.
    Step(0);
    EXPECT_TRUE(object->IsSuspended());
    Step(300);
    EXPECT_FALSE(object->IsSuspended());
}

TEST_F(SuspendableTest, WaitingForASpriteWithoutAnimationEndsAtTheNextUpdate) {
    auto idle = VSprite::Create("idle", 0);
    object->SuspendUntil(idle);
    object->SuspendUntil(nullptr);
    EXPECT_TRUE(object->IsSuspended());
    EXPECT_EQ(object->GetAwaited(), idle);
    Step(16);
    EXPECT_FALSE(object->IsSuspended());
    EXPECT_FALSE(object->GetAwaited());
}

TEST_F(SuspendableTest, TimeAndSpriteTogetherEndAtTheFirstAndClearBoth) {
    struct Case {
        uint32_t duration;
        bool repeat;
        uint32_t endsBy;
    };
    // The animation plays about 40 ms; repeated, it never ends.
    const Case cases[] = {{1000, false, 60}, {150, true, 150}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.duration);
        auto player = Playing(test.repeat);
        object->Suspend(test.duration);
        object->SuspendUntil(player);
        Step(16);
        ASSERT_TRUE(object->IsSuspended());
        uint32_t waited = 16;
        while (object->IsSuspended() && waited < 2000) {
            // The player restarts a repeated animation in its own update.
            Tick(10);
            player->Update(false);
            object->Update(false);
            waited += 10;
        }
        EXPECT_LE(waited, test.endsBy + 10);
        EXPECT_GE(waited, test.endsBy - 30);
        EXPECT_EQ(object->GetSuspendDuration(), 0u);
        EXPECT_FALSE(object->GetAwaited());
    }
}

TEST_F(SuspendableTest, TheTutorialHearsOnlyAnEndedHoldInItsWaitingState) {
    auto stubborn = StubbornObject::Create();
    stubborn->SetManager(manager);
    auto tutorial = Listen(stubborn);
    stubborn->Suspend(10);
    Tick(10);
    stubborn->Update(false);
    // OnResume refused: still on hold, with nothing left to wait for.
    EXPECT_EQ(stubborn->resumes, 1);
    EXPECT_TRUE(stubborn->IsSuspended());
    EXPECT_EQ(stubborn->GetSuspendDuration(), 0u);
    EXPECT_EQ(tutorial->advances, 0);
    Tick(1000);
    stubborn->Update(false);
    EXPECT_TRUE(stubborn->IsSuspended());
    // Resume ends it whatever OnResume says.
    stubborn->Resume();
    EXPECT_FALSE(stubborn->IsSuspended());
    EXPECT_EQ(tutorial->advances, 1);
    EXPECT_EQ(tutorial->asked, TString("stubborn"));

    tutorial->state = 1;
    stubborn->Suspend(10);
    stubborn->Resume();
    EXPECT_EQ(tutorial->advances, 1);
}

TEST_F(SuspendableTest, AGoneTutorialIsNotAsked) {
    auto tutorial = Listen(object);
    std::weak_ptr<FakeTutorial> watch = tutorial;
    tutorial.reset();
    EXPECT_TRUE(watch.expired());
    object->Suspend(10);
    object->Resume();
    EXPECT_FALSE(object->IsSuspended());
}

TEST_F(SuspendableTest, ResumeWhenNotSuspendedTellsNobodyAndClearsTheRest) {
    auto tutorial = Listen(object);
    object->Suspend(30);
    Step(30);
    ASSERT_FALSE(object->IsSuspended());
    EXPECT_EQ(tutorial->advances, 1);
    EXPECT_NE(object->GetSuspendStart(), 0u);
    object->Resume();
    EXPECT_EQ(tutorial->advances, 1);
    EXPECT_EQ(object->GetSuspendStart(), 0u);
    EXPECT_EQ(object->GetSuspendDuration(), 0u);
    EXPECT_FALSE(object->GetAwaited());
}

TEST_F(SuspendableTest, ZeroMillisecondsHoldsUntilResume) {
    object->Suspend(0);
    Step(5000);
    EXPECT_TRUE(object->IsSuspended());
    object->Resume();
    EXPECT_FALSE(object->IsSuspended());
}

}  // namespace
