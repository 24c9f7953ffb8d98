// The tint window: its description keys, its plain and fading draws on the
// clock of its modal window, and its invalidator on that modal's task list.
#include <gtest/gtest.h>

#include <vector>

#include "game/transitions/tintwindow.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class TintWindowTest : public WidgetsTest {
protected:
    // The colour of the one quad the tint draws now, as ARGB.
    uint32_t DrawnColour(VTintWindow* tint) {
        DrawWindow(tint);
        auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
        EXPECT_EQ(draws.size(), 1u);
        return draws.empty() ? 0 : draws[0].vertices.at(0).diffuse;
    }
    int DrawnAlpha(VTintWindow* tint) { return static_cast<int>(DrawnColour(tint) >> 24); }
};

TEST_F(TintWindowTest, KeysAndTheirDefaults) {
    struct Case {
        const char* description;
        TColor4f colour;
        bool fade;
        float time;
    };
    const Case cases[] = {
        {"{}", TColor4f(0, 0, 0, 1), false, 500.0f},
        {"{ color = { 1, 0.5, 0, 0.25 }, fade = true, time = 120 }", TColor4f(1, 0.5f, 0, 0.25f), true, 120.0f},
        // Mistyped keys keep the defaults.
        {"{ color = 'red', fade = 'yes', time = 'slow' }", TColor4f(0, 0, 0, 1), false, 500.0f},
        {"{ color = 7, time = {} }", TColor4f(0, 0, 0, 1), false, 500.0f},
    };
    for (const Case& c : cases) {
        VTintWindow* tint = Make<VTintWindow>(c.description);
        EXPECT_EQ(tint->GetColor(), c.colour) << c.description;
        EXPECT_EQ(tint->IsFading(), c.fade) << c.description;
        EXPECT_FLOAT_EQ(tint->GetFadeTime(), c.time) << c.description;
        EXPECT_TRUE(tint->IsRising()) << c.description;
    }
}

TEST_F(TintWindowTest, IsKnownByItsClassNameAndTypeTest) {
    VTintWindow tint;
    EXPECT_STREQ(tint.GetClassName(), "VTintWindow");
    EXPECT_TRUE(tint.IsA(VTintWindow::ClassId()));
    EXPECT_TRUE(tint.IsA(TWindow::ClassId()));
    EXPECT_FALSE(tint.IsA(TModalWindow::ClassId()));
    std::unique_ptr<TWindow> made(CreateWindowOfClass(VTintWindow::ClassId()));
    ASSERT_TRUE(made);
    EXPECT_TRUE(made->IsA(VTintWindow::ClassId()));
}

TEST_F(TintWindowTest, AStillTintFillsItsRectangleWithItsColour) {
    VTintWindow* tint = Make<VTintWindow>("{ x = 10, y = 20, w = 100, h = 50, color = { 0, 0, 1, 0.5 } }");
    EXPECT_EQ(DrawnColour(tint), 0x7F0000FFu);
    const auto v = Calls(TRecordingRenderBackEnd::kDrawVertices)[0].vertices;
    EXPECT_EQ(std::vector<float>({v[0].x, v[0].y, v[3].x, v[3].y}), std::vector<float>({0, 0, 100, 50}));
}

TEST_F(TintWindowTest, AFadeRunsOnItsModalsClockAndStopsWhileTheModalIsCovered) {
    VTintWindow* tint = Make<VTintWindow>("{ w = 100, h = 100, fade = true, time = 400, color = { 1, 0, 0, 1 } }");
    EXPECT_EQ(DrawnAlpha(tint), 0);
    timer.Advance(200);
    EXPECT_EQ(DrawnAlpha(tint), 127);
    Push("cover");
    timer.Advance(1000);
    EXPECT_EQ(DrawnAlpha(tint), 127);
    manager->PopModal("cover");
    timer.Advance(100);
    EXPECT_EQ(DrawnAlpha(tint), 191);
    timer.Advance(1000);
    EXPECT_EQ(DrawnAlpha(tint), 255);
}

TEST_F(TintWindowTest, AFadeOfNoTimeIsOverAtOnce) {
    for (const char* description : {"{ fade = true, time = 0 }", "{ fade = true, time = -50 }"}) {
        VTintWindow* tint = Make<VTintWindow>(description);
        tint->SetSize(10, 10);
        EXPECT_EQ(DrawnAlpha(tint), 255) << description;
        tint->ReverseFade();
        EXPECT_EQ(DrawnAlpha(tint), 0) << description;
    }
}

TEST_F(TintWindowTest, AFadingTintOutsideAModalDrawsNothing) {
    VTintWindow tint;
    TWindowStyle style(nullptr);
    tint.PostInit(style);
    tint.SetSize(10, 10);
    EXPECT_TRUE(tint.IsRising());
    recorder->ClearCalls();
    DrawWindow(&tint);
    EXPECT_EQ(Calls(TRecordingRenderBackEnd::kDrawVertices).size(), 1u);  // still: drawn
}

TEST_F(TintWindowTest, ItsInvalidatorRunsOnTheModalsTaskListUntilTheTintGoes) {
    // Deleted inside the tree, and deleted after leaving it (as deferred
    // deletes do): either way the screen is no longer redrawn for it.
    uint32_t now = 100;
    for (bool detachFirst : {false, true}) {
        VTintWindow* tint = Make<VTintWindow>("{ fade = true }");
        TickAt(now += 100);
        ASSERT_FALSE(manager->IsInvalid());
        timer.Advance(16);
        dialog->RunTasks(0);
        EXPECT_TRUE(manager->IsInvalid()) << detachFirst;

        if (detachFirst) dialog->RemoveChild(tint);
        delete tint;
        TickAt(now += 100);
        ASSERT_FALSE(manager->IsInvalid());
        for (int i = 0; i < 3; ++i) {
            timer.Advance(16);
            dialog->RunTasks(0);
        }
        EXPECT_FALSE(manager->IsInvalid()) << detachFirst;
    }
}

}  // namespace
