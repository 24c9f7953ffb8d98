// The clock text: counting down to 0:00 and never below, counting up past
// an hour in minutes, and stopping while its modal window is covered.
#include <gtest/gtest.h>

#include <string>

#include "game/texts/timer.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class TimerTest : public WidgetsTest {
protected:
    void Step(TModalWindow* modal, uint32_t milliseconds) {
        timer.Advance(milliseconds);
        modal->RunTasks(0);
    }
    std::string Text(RTimer* clock) const { return clock->GetText().c_str(); }
};

TEST_F(TimerTest, CountsDownToZeroAndNeverBelow) {
    RTimer* clock = Make<RTimer>("{ x = 0, y = 0, w = 100, h = 30, isincrementing = false, starttime = 90000 }");
    EXPECT_EQ(Text(clock), "1:30");
    Step(dialog, 16);  // the first step only reads the clock
    EXPECT_EQ(Text(clock), "1:30");
    Step(dialog, 1000);
    EXPECT_EQ(Text(clock), "1:29");
    Step(dialog, 88001);
    EXPECT_EQ(clock->GetElapsedTime(), 89001);
    EXPECT_EQ(Text(clock), "0:00");
    Step(dialog, 5000);
    EXPECT_EQ(Text(clock), "0:00");
}

TEST_F(TimerTest, CountsUpInMinutesPastTheHour) {
    RTimer* clock = Make<RTimer>("{ x = 0, y = 0, w = 100, h = 30 }");
    EXPECT_EQ(Text(clock), "0:00");
    Step(dialog, 16);
    Step(dialog, 3665000);
    EXPECT_EQ(Text(clock), "61:05");
}

TEST_F(TimerTest, StopsWhileItsModalIsCoveredAndWhenStopped) {
    RTimer* clock = Make<RTimer>("{ x = 0, y = 0, w = 100, h = 30, hide = true }");
    EXPECT_FALSE(clock->IsVisible());
    Step(dialog, 16);
    Step(dialog, 2000);
    EXPECT_EQ(clock->GetElapsedTime(), 2000);
    RecordingModal* cover = Push("cover", TRect(0, 0, 800, 600));
    Step(cover, 10000);
    manager->PopModal("cover");
    Step(dialog, 16);
    EXPECT_EQ(clock->GetElapsedTime(), 2016);
    clock->SetRunning(false);
    Step(dialog, 3000);
    EXPECT_EQ(clock->GetElapsedTime(), 2016);
    clock->Reset();
    EXPECT_TRUE(clock->IsRunning());
    EXPECT_EQ(clock->GetElapsedTime(), 0);
    Step(dialog, 16);
    Step(dialog, 500);
    EXPECT_EQ(clock->GetElapsedTime(), 500);
}

TEST_F(TimerTest, StartCountsFromNowAndLeavesTheTimeStoppedOut) {
    RTimer* clock = Make<RTimer>("{ x = 0, y = 0, w = 100, h = 30, isincrementing = false, starttime = 60000 }");
    Step(dialog, 16);
    Step(dialog, 1000);
    clock->SetRunning(false);
    Step(dialog, 5000);
    // Running again by the flag alone would count the stop as well.
    clock->Start();
    EXPECT_TRUE(clock->IsRunning());
    EXPECT_EQ(clock->GetStartTime(), 60000);
    Step(dialog, 250);
    EXPECT_EQ(clock->GetElapsedTime(), 1250);
    EXPECT_EQ(Text(clock), "0:58");
}

TEST_F(TimerTest, ASetElapsedTimeStaysWithinItsRangeAndCountingGoesOnFromIt) {
    RTimer* clock = Make<RTimer>("{ x = 0, y = 0, w = 100, h = 30 }");
    struct Case {
        int64_t set;
        int32_t kept;
        const char* text;
    };
    for (Case c : {Case{125000, 125000, "2:05"}, Case{-5, 0, "0:00"}, Case{int64_t{1} << 40, INT32_MAX, "35791:23"},
                   Case{0, 0, "0:00"}}) {
        clock->SetElapsedTime(c.set);
        EXPECT_EQ(clock->GetElapsedTime(), c.kept) << c.set;
        EXPECT_EQ(Text(clock), c.text) << c.set;
    }
    Step(dialog, 16);
    clock->SetElapsedTime(60000);
    Step(dialog, 1000);
    EXPECT_EQ(clock->GetElapsedTime(), 61000);
}

}  // namespace
