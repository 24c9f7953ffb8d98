// The bounce-off transitions: the side each window came from, its new target
// in each direction, and the overlay that sends the screen's bouncing windows.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "game/transitions/transitionbounce.h"
#include "game/transitions/transitions.h"
#include "game/widgets/bouncewindow.h"
#include "tests/widgets/widgetstesting.h"

namespace {

TEST(BounceOffTest, WindowsAreSentOnByTheSideTheyCameFrom) {
    struct Case {
        TPoint start;
        TPoint target;
        int side;
        TPoint back, opposite, across, acrossOther;
    };
    const Case cases[] = {
        {{-300, 100}, {100, 100}, RBounceOff::kFromLeft, {-300, 100}, {300, 100}, {100, -300}, {100, 300}},
        {{900, 50}, {100, 50}, RBounceOff::kFromRight, {900, 50}, {-900, 50}, {100, 900}, {100, -900}},
        {{200, -400}, {200, 150}, RBounceOff::kFromAbove, {200, -400}, {200, 400}, {400, 150}, {-400, 150}},
        {{100, 800}, {100, 200}, RBounceOff::kFromBelow, {100, 800}, {100, -800}, {-800, 200}, {800, 200}},
        // On a diagonal the later test wins over left, and where no strict test
        // holds the window counts as from above.
        {{-200, -200}, {0, 0}, RBounceOff::kFromAbove, {-200, -200}, {-200, 200}, {200, 0}, {-200, 0}},
        {{300, 300}, {0, 0}, RBounceOff::kFromAbove, {300, 300}, {300, -300}, {-300, 0}, {300, 0}},
        {{0, 0}, {5, 5}, RBounceOff::kFromAbove, {0, 0}, {0, 0}, {0, 5}, {0, 5}},
        // The most negative position is mirrored to the largest.
        {{INT_MIN, 0}, {0, 0}, RBounceOff::kFromLeft, {INT_MIN, 0}, {INT_MAX, 0}, {0, INT_MIN}, {0, INT_MAX}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.start.x << ", " << c.start.y);
        EXPECT_EQ(RBounceOff::SideOf(c.start), c.side);
        EXPECT_EQ(RBounceOff::NewTarget(RBounceOff::kBack, c.start, c.target), c.back);
        EXPECT_EQ(RBounceOff::NewTarget(RBounceOff::kOpposite, c.start, c.target), c.opposite);
        EXPECT_EQ(RBounceOff::NewTarget(RBounceOff::kAcross, c.start, c.target), c.across);
        EXPECT_EQ(RBounceOff::NewTarget(RBounceOff::kAcrossOther, c.start, c.target), c.acrossOther);
    }
}

class BounceOffOverlayTest : public WidgetsTest {
protected:
    // A bouncing window inside the parent that came in from start to target.
    RBounceWindow* Bouncer(const std::string& description, TPoint start, TPoint target, TWindow* parent = nullptr) {
        auto* window = Make<RBounceWindow>(description, parent);
        window->SetPosition(start.x, start.y);
        window->BounceTo(target.x, target.y);
        window->SetPosition(target.x, target.y);
        return window;
    }
};

TEST_F(BounceOffOverlayTest, TheScreensBouncingWindowsAreSentOnAndTheLongestBounceSetsTheTime) {
    TWindow* panel = Child(dialog, "panel", TRect(0, 0, 400, 300));
    RBounceWindow* left = Bouncer("{ bouncelen = 300 }", {-300, 100}, {100, 100});
    RBounceWindow* nested = Bouncer("{ bouncelen = 700 }", {100, 800}, {100, 200}, panel);
    std::unique_ptr<ROverlay> off(CreateTransition(kBounceOpposite, ""));
    ASSERT_TRUE(off);
    EXPECT_EQ(off->GetDuration(), 700u);
    EXPECT_EQ(left->GetTarget(), TPoint(300, 100));
    EXPECT_EQ(left->GetStart(), TPoint(100, 100));
    EXPECT_EQ(nested->GetTarget(), TPoint(100, -800));
    EXPECT_TRUE(left->IsBouncing());
    // It draws nothing and ends after the longest bounce.
    DrawWindow(off.get());
    EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kDrawVertices).empty());
    timer.Advance(699);
    DrawWindow(off.get());
    EXPECT_FALSE(off->IsDone());
    timer.Advance(1);
    DrawWindow(off.get());
    EXPECT_TRUE(off->IsDone());
}

TEST_F(BounceOffOverlayTest, WithoutBouncingWindowsItEndsAtItsFirstFrame) {
    std::unique_ptr<ROverlay> off(CreateTransition(kBounceBack, ""));
    ASSERT_TRUE(off);
    EXPECT_EQ(off->GetDuration(), 0u);
    DrawWindow(off.get());
    EXPECT_TRUE(off->IsDone());
}

}  // namespace
