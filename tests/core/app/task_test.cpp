#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/task.h"
#include "core/app/tasklist.h"
#include "foundation/clock.h"
#include "platform/os/timer.h"

namespace {

class CountingAnim : public TAnimTask {
public:
    explicit CountingAnim(TClock* clock = nullptr) : TAnimTask(clock) {}
    ~CountingAnim() override {
        if (deletions) ++*deletions;
    }
    bool Animate() override {
        ++steps;
        return steps < stopAfter;
    }
    // What a script task does to reset itself.
    void Unschedule() {
        mDueTime = kNoDueTime;
        mEveryFrame = false;
    }

    int steps = 0;
    int stopAfter = 1 << 30;
    int* deletions = nullptr;
};

class AnimTaskTest : public ::testing::Test {
protected:
    void SetUp() override { os::SetCurrentTimer(&timer); }
    void TearDown() override { os::SetCurrentTimer(nullptr); }

    // Adds a task to the list (which owns it) and returns it.
    CountingAnim* Add(TClock* clock = nullptr) {
        auto* task = new CountingAnim(clock);
        list.Add(task);
        return task;
    }

    os::FakeTimer timer{1000};
    TTaskList list;
};

TEST_F(AnimTaskTest, FarBehindRunsOneStepAndContinuesFromNow) {
    for (bool catchUp : {false, true}) {
        SCOPED_TRACE(catchUp);
        timer.Set(1000);
        CountingAnim* task = Add();
        task->Start(100, true, false, catchUp);
        timer.Advance(5100);  // 5 s past the due time of 1100
        list.RunAll(0);
        EXPECT_EQ(task->steps, 1);
        EXPECT_EQ(task->Elapsed(), -100);
        list.RunAll(0);
        EXPECT_EQ(task->steps, 1);
        timer.Advance(100);
        list.RunAll(0);
        EXPECT_EQ(task->steps, 2);
        list.Clear();
    }
}

TEST_F(AnimTaskTest, CatchUpReplaysMissedPeriodsUpToNow) {
    CountingAnim* task = Add();
    task->Start(100, true, false, true);  // due 1100
    timer.Set(2000);                       // 900 ms late
    list.RunAll(0);
    // Due times 1100, 1200 ... 1900 are replayed; the next is 2000 = now.
    EXPECT_EQ(task->steps, 9);
    EXPECT_EQ(task->Elapsed(), 0);
}

TEST_F(AnimTaskTest, WithoutCatchUpOneStepPerPass) {
    CountingAnim* task = Add();
    task->Start(100, true, false, false);
    timer.Set(2000);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 1);
    EXPECT_EQ(task->Elapsed(), 800);  // fixed rate: next due 1200
    list.RunAll(0);
    EXPECT_EQ(task->steps, 2);
}

TEST_F(AnimTaskTest, ReschedulesAtFixedRateOrFromNow) {
    struct Case {
        bool fromNow;
        bool catchUp;
        int32_t elapsedAfter;
    };
    // Start at 1000 with period 100, run 50 ms late at 1150.
    for (Case c : {Case{false, false, -50}, Case{true, false, -100}, Case{true, true, -100}}) {
        SCOPED_TRACE(testing::Message() << c.fromNow << c.catchUp);
        timer.Set(1000);
        CountingAnim* task = Add();
        task->Start(100, true, c.fromNow, c.catchUp);
        timer.Set(1150);
        list.RunAll(0);
        EXPECT_EQ(task->steps, 1);
        EXPECT_EQ(task->Elapsed(), c.elapsedAfter);
        list.Clear();
    }
}

TEST_F(AnimTaskTest, StartChainsFromThePreviousDueTimeUnlessFromNow) {
    CountingAnim task;  // due 1000
    timer.Set(1300);
    EXPECT_EQ(task.Start(200, false, false, false), 200);
    EXPECT_EQ(task.Elapsed(), 100);  // due 1200
    EXPECT_EQ(task.Start(200, false, true, false), 200);
    EXPECT_EQ(task.Elapsed(), -200);  // due 1500
    task.Unschedule();
    EXPECT_EQ(task.Elapsed(), -1);
    task.Start(50, false, false, false);  // nothing scheduled: from now
    EXPECT_EQ(task.Elapsed(), -50);
}

TEST_F(AnimTaskTest, OneShotWithCatchUpStopsAfterOneStep) {
    CountingAnim* task = Add();
    task->Start(0, false, false, true);  // period 0, the step keeps answering true
    timer.Advance(500);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 1);
}

TEST_F(AnimTaskTest, OneShotEndsWhenItsStepSaysSo) {
    int deletions = 0;
    CountingAnim* task = Add();
    task->deletions = &deletions;
    task->stopAfter = 1;
    task->Start(100, false, false, false);
    timer.Advance(99);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 0);
    timer.Advance(1);
    list.RunAll(0);  // steps once, answers false and is deleted
    EXPECT_EQ(deletions, 1);
    timer.Advance(100);
    list.RunAll(0);
    EXPECT_EQ(deletions, 1);
}

TEST_F(AnimTaskTest, WorksAcrossTheTimerWrapAround) {
    timer.Set(0xFFFFFF00u);
    CountingAnim* task = Add();
    task->Start(0x1C8, false, false, false);  // due 0x000000C8, past the wrap
    timer.Set(0xFFFFFFF0u);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 0);
    EXPECT_EQ(task->Elapsed(), -0xD8);
    timer.Set(0x000000C8u);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 1);

    // Catch-up across the wrap: due -54, now 32 is 86 ms late; the replayed
    // due times -44 ... 26 are all before now, then 36 is not.
    timer.Set(0xFFFFFFC0u);
    CountingAnim* fast = Add();
    fast->Start(10, true, false, true);
    timer.Set(0x20u);
    list.RunAll(0);
    EXPECT_EQ(fast->steps, 9);
    EXPECT_EQ(fast->Elapsed(), -4);
}

TEST_F(AnimTaskTest, FramePassRunsOnlyEveryFrameTasks) {
    CountingAnim* due = Add();
    CountingAnim* everyFrame = Add();
    everyFrame->Start(1000, true, false, false);  // not due for a second
    everyFrame->SetEveryFrame(true);
    timer.Advance(10);

    list.RunAll(1);
    EXPECT_EQ(due->steps, 0);
    EXPECT_EQ(everyFrame->steps, 1);
    list.RunAll(0);
    EXPECT_EQ(due->steps, 1);
    EXPECT_EQ(everyFrame->steps, 1);
}

TEST_F(AnimTaskTest, UnscheduledTaskRunsOnlyInFramesAndStaysUnscheduled) {
    CountingAnim* task = Add();
    task->Unschedule();
    list.RunAll(0);
    EXPECT_EQ(task->steps, 0);
    task->SetEveryFrame(true);
    list.RunAll(1);
    EXPECT_EQ(task->steps, 1);
    EXPECT_EQ(task->Elapsed(), -1);
    timer.Advance(5000);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 1);
}

TEST_F(AnimTaskTest, StepThatUnschedulesEndsTheCatchUp) {
    struct Resetting : CountingAnim {
        bool Animate() override {
            ++steps;
            Unschedule();
            return true;
        }
    };
    auto* task = new Resetting;
    list.Add(task);
    task->Start(10, true, false, true);
    timer.Advance(500);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 1);
    EXPECT_EQ(task->Elapsed(), -1);
}

TEST_F(AnimTaskTest, RunsOnItsClockAndKeepsTheWaitWhenMoved) {
    TClock slow;
    slow.Start();
    slow.SetTime(5000);
    CountingAnim* task = Add(&slow);
    task->Start(300, false, false, false);  // due 5300 on the clock
    slow.Pause();
    timer.Advance(1000);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 0);  // a paused clock holds the task back

    slow.Start();
    timer.Advance(100);
    TClock other;
    other.Start();
    task->SetClock(&other);
    EXPECT_EQ(task->Elapsed(), -200);
    timer.Advance(200);
    list.RunAll(0);
    EXPECT_EQ(task->steps, 1);

    // An overdue task stays overdue by the same amount.
    CountingAnim* late = Add(&other);
    late->Start(10, true, false, false);
    timer.Advance(40);
    late->SetClock(&slow);
    EXPECT_EQ(late->Elapsed(), 30);
    late->SetClock(nullptr);
    EXPECT_EQ(late->Elapsed(), 30);
}

}  // namespace
