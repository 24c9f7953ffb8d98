// The bouncing window: its glide to the target, the curves half-way, a
// bounce without keys, a repeated target, a flat curve and far targets.
#include <gtest/gtest.h>

#include "game/widgets/bouncewindow.h"
#include "tests/widgets/widgetstesting.h"

namespace {

// Counts its bounce starts and ends.
class CountingBounce : public RBounceWindow {
public:
    void OnBounceStart() override {
        ++starts;
        RBounceWindow::OnBounceStart();
    }
    void OnBounceEnd() override {
        ++ends;
        RBounceWindow::OnBounceEnd();
    }
    int starts = 0;
    int ends = 0;
};

class BounceWindowTest : public WidgetsTest {
protected:
    void Step(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        dialog->RunTasks(0);
    }
    // A window at (0, 0) bouncing to the target with the extra keys; the
    // first step starts its clock.
    CountingBounce* Bounce(const std::string& keys) {
        auto* window = Make<CountingBounce>("{ x = 0, y = 0, w = 10, h = 10" + keys + " }");
        Step(16);
        return window;
    }
    static int Left(TWindow* window) { return window->GetRect().left; }
};

TEST_F(BounceWindowTest, WithoutKeysItStaysAndEndsAfterTheLength) {
    CountingBounce* window = Bounce("");
    EXPECT_TRUE(window->IsBouncing());
    EXPECT_EQ(window->starts, 1);
    Step(484);
    EXPECT_TRUE(window->IsBouncing());
    Step(16);
    EXPECT_FALSE(window->IsBouncing());
    EXPECT_EQ(window->ends, 1);
    EXPECT_EQ(window->GetRect(), TRect(0, 0, 10, 10));
    Step(16);
    EXPECT_EQ(window->ends, 1);
}

TEST_F(BounceWindowTest, CurvesHalfWay) {
    const struct {
        const char* keys;
        int left;
    } cases[] = {
        // 100 - trunc(100 sin(-pi/2) / (-pi/2))
        {", targetposx = 100", 37},
        // 100 - trunc(100 sin(-pi^2/2) / (-pi^2/2)): past the target
        {", targetposx = 100, bouncefunc = 'sincpix'", 119},
        {", targetposx = 100, bouncefunc = 'other'", 37},
    };
    for (const auto& c : cases) {
        CountingBounce* window = Bounce(c.keys);
        EXPECT_EQ(Left(window), 0) << c.keys;
        Step(250);
        EXPECT_FLOAT_EQ(window->GetProgress(), 0.5f) << c.keys;
        EXPECT_EQ(Left(window), c.left) << c.keys;
        Step(250);
        EXPECT_EQ(Left(window), 100) << c.keys;
        EXPECT_EQ(window->ends, 1) << c.keys;
    }
}

TEST_F(BounceWindowTest, BouncingToTheSameTargetChangesNothing) {
    CountingBounce* window = Bounce(", targetposx = 100, bouncelen = 1000");
    Step(300);
    float progress = window->GetProgress();
    window->BounceTo(100, 0);
    EXPECT_EQ(window->starts, 1);
    EXPECT_EQ(window->ends, 0);
    EXPECT_EQ(window->GetProgress(), progress);
    // Elsewhere: the running bounce ends and a new one starts from here.
    int here = Left(window);
    window->BounceTo(0, 50);
    EXPECT_EQ(window->ends, 1);
    EXPECT_EQ(window->starts, 2);
    Step(16);
    EXPECT_EQ(Left(window), here);
    Step(1000);
    EXPECT_EQ(window->GetRect().top, 50);
    EXPECT_EQ(Left(window), 0);
}

TEST_F(BounceWindowTest, AFlatCurveKeepsTheStartUntilTheEnd) {
    CountingBounce* flat = Bounce(", targetposx = 100, funcmin = 2, funcmax = 2");
    EXPECT_EQ(flat->BounceCurve(0.5f), 1.0f);
    Step(250);
    EXPECT_EQ(Left(flat), 0);
    Step(250);
    EXPECT_EQ(Left(flat), 100);
}

TEST_F(BounceWindowTest, DistancesBeyondThirtyTwoBitsStillGlide) {
    auto* window = Make<CountingBounce>("{ x = -1000000000, y = 0, w = 10, h = 10, targetposx = 1000000000 }");
    Step(16);
    Step(250);
    // 10^9 - 2 * 10^9 * 2 / pi
    EXPECT_NEAR(Left(window), -273239545, 1000);  // the curve is single precision
    Step(250);
    EXPECT_EQ(Left(window), 1000000000);
}

TEST_F(BounceWindowTest, ALengthOfZeroOrLessEndsAtOnce) {
    for (const char* keys : {", targetposx = 40, bouncelen = 0", ", targetposx = 40, bouncelen = -10"}) {
        CountingBounce* window = Bounce(keys);
        EXPECT_EQ(Left(window), 40) << keys;
        EXPECT_EQ(window->ends, 1) << keys;
    }
}

}  // namespace
