// The transition overlays drawn on their own: colour fades, the cross-fade of
// the top screen, the tint reversal, and the invalidator that keeps frames
// coming.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/app/tasklist.h"
#include "core/windows/windowscript.h"
#include "game/transitions/colorfade.h"
#include "game/transitions/crossfade.h"
#include "game/transitions/tintoff.h"
#include "game/transitions/tintwindow.h"
#include "game/transitions/transitions.h"
#include "game/utilities/screeninvalidator.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class OverlaysTest : public WidgetsTest {
protected:
    // The alpha bytes of the draws of the last DrawWindow.
    std::vector<int> DrawnAlphas() const {
        std::vector<int> alphas;
        for (const auto& call : Calls(TRecordingRenderBackEnd::kDrawVertices)) {
            alphas.push_back(static_cast<int>(call.vertices.at(0).diffuse >> 24));
        }
        return alphas;
    }
    // Draws the overlay after time has moved on.
    std::vector<int> DrawAfter(ROverlay* overlay, uint32_t milliseconds) {
        timer.Advance(milliseconds);
        DrawWindow(overlay);
        return DrawnAlphas();
    }
};

TEST_F(OverlaysTest, ColourFadesGrowOrShrinkTheColoursOpacityWithProgress) {
    struct Case {
        int type;
        uint32_t at;
        int alpha;
        uint32_t rgb;
    };
    const Case cases[] = {
        {kFadeToBlack, 0, 0, 0x000000},       {kFadeToBlack, 125, 63, 0x000000},
        {kFadeToBlack, 250, 127, 0x000000},   {kFadeToBlack, 500, 255, 0x000000},
        {kFadeFromBlack, 0, 255, 0x000000},   {kFadeFromBlack, 125, 191, 0x000000},
        {kFadeFromBlack, 250, 127, 0x000000}, {kFadeFromBlack, 500, 0, 0x000000},
        {kFadeToWhite, 125, 63, 0xFFFFFF},    {kFadeFromWhite, 125, 191, 0xFFFFFF},
        // Capped at the end.
        {kFadeToBlack, 900, 255, 0x000000},
    };
    for (const Case& c : cases) {
        std::unique_ptr<ROverlay> fade(CreateTransition(c.type, ""));
        ASSERT_TRUE(fade);
        DrawAfter(fade.get(), 0);  // the first frame starts the time
        std::vector<int> alphas = DrawAfter(fade.get(), c.at);
        ASSERT_EQ(alphas.size(), 1u) << c.type;
        EXPECT_EQ(alphas[0], c.alpha) << c.type << " at " << c.at;
        const auto vertices = Calls(TRecordingRenderBackEnd::kDrawVertices)[0].vertices;
        EXPECT_EQ(vertices[0].diffuse & 0xFFFFFF, c.rgb) << c.type;
        EXPECT_EQ(fade->IsDone(), c.at >= 500) << c.type << " at " << c.at;
    }
}

TEST_F(OverlaysTest, AColourFadeCoversTheWholeScreenInOneStrip) {
    std::unique_ptr<ROverlay> fade(CreateTransition(kFadeToBlack, ""));
    EXPECT_EQ(fade->GetRect(), TRect(0, 0, 800, 600));
    DrawWindow(fade.get());
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].value, TRenderer::kTriangleStrip);
    const auto& v = draws[0].vertices;
    EXPECT_EQ(std::vector<float>({v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, v[3].x, v[3].y}),
              std::vector<float>({0, 0, 800, 0, 0, 600, 800, 600}));
}

TEST_F(OverlaysTest, TheTimeCountsFromTheFirstDrawnFrame) {
    std::unique_ptr<ROverlay> fade(CreateTransition(kFadeToBlack, ""));
    timer.Advance(10000);
    EXPECT_EQ(DrawAfter(fade.get(), 0), std::vector<int>{0});
    EXPECT_EQ(DrawAfter(fade.get(), 250), std::vector<int>{127});
    EXPECT_EQ(fade->GetElapsed(), 250u);
}

TEST_F(OverlaysTest, ACrossFadeSnapshotsTheTopScreenAndHidesIt) {
    Child(dialog, "label", TRect(10, 10, 100, 30));
    recorder->ClearCalls();
    RCrossFade fade(kCrossFadeIn, "", true);
    // Text aware: the screen is drawn in render-target modes 1 and 4.
    auto targets = Calls(TRecordingRenderBackEnd::kBeginRenderTarget);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0].value, 1);
    EXPECT_EQ(targets[1].value, 4);
    ASSERT_TRUE(fade.GetSnapshot());
    EXPECT_EQ(fade.GetScreenWindow(), dialog);
    EXPECT_FALSE(dialog->IsVisible());
    EXPECT_EQ(dialog->GetRect(), TRect(0, 0, 800, 600));
}

TEST_F(OverlaysTest, ARisingCrossFadeShowsTheScreenAtItsEndAndAFallingOneKeepsItHidden) {
    for (bool rising : {true, false}) {
        dialog->SetFlags(TWindow::kVisible);
        RCrossFade fade(rising ? kCrossFadeIn : kCrossFadeOut, "", rising);
        DrawAfter(&fade, 0);
        auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(Calls(TRecordingRenderBackEnd::kSetTexture).at(0).texture, fade.GetSnapshot().get());
        // Centred on the screen: the quad spans the screen's rectangle.
        EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 0.0f);
        EXPECT_FLOAT_EQ(draws[0].vertices[2].x, 800.0f);
        DrawAfter(&fade, 249);
        EXPECT_FALSE(fade.IsDone());
        EXPECT_FALSE(dialog->IsVisible());
        DrawAfter(&fade, 1);
        EXPECT_TRUE(fade.IsDone());
        EXPECT_EQ(dialog->IsVisible(), rising) << rising;
    }
}

TEST_F(OverlaysTest, ACrossFadeWhoseScreenIsPoppedMeanwhileEndsWithoutIt) {
    RCrossFade fade(kCrossFadeIn, "", true);
    DrawAfter(&fade, 0);
    manager->PopModal("dialog");
    manager->FlushDeletes();
    dialog = nullptr;
    EXPECT_EQ(fade.GetScreenWindow(), nullptr);
    fade.RefreshSnapshot();
    DrawAfter(&fade, 250);
    EXPECT_TRUE(fade.IsDone());
}

TEST_F(OverlaysTest, ACrossFadeWithoutAScreenDrawsNothingAndEndsAfterItsTime) {
    manager.reset();
    RCrossFade fade(kCrossFadeOut, "", false);
    EXPECT_FALSE(fade.GetSnapshot());
    EXPECT_TRUE(DrawAfter(&fade, 0).empty());
    EXPECT_TRUE(DrawAfter(&fade, 200).empty());
    EXPECT_FALSE(fade.IsDone());
    DrawAfter(&fade, 50);
    EXPECT_TRUE(fade.IsDone());
}

TEST_F(OverlaysTest, ARefreshRendersTheScreenAgainAndLeavesItHidden) {
    RCrossFade fade(kCrossFadeIn, "", true);
    std::shared_ptr<TTexture> before = fade.GetSnapshot();
    recorder->ClearCalls();
    fade.RefreshSnapshot();
    EXPECT_EQ(Calls(TRecordingRenderBackEnd::kBeginRenderTarget).size(), 2u);
    EXPECT_NE(fade.GetSnapshot(), before);
    EXPECT_FALSE(dialog->IsVisible());
}

TEST_F(OverlaysTest, TintReversalTurnsFadingTintsAroundAndLastsTheLongestTintTime) {
    TWindow* panel = Child(dialog, "panel", TRect(0, 0, 400, 300));
    VTintWindow* fading = Make<VTintWindow>("{ fade = true, time = 300.7 }");
    VTintWindow* nested = Make<VTintWindow>("{ fade = true, time = 120 }", panel);
    VTintWindow* still = Make<VTintWindow>("{ time = 450.9 }");
    RTintOff off(kTintOff, "");
    EXPECT_EQ(off.GetDuration(), 450u);
    EXPECT_FALSE(fading->IsRising());
    EXPECT_FALSE(nested->IsRising());
    EXPECT_TRUE(still->IsRising());
    // The reversed fade starts again at its next draw.
    EXPECT_FLOAT_EQ(fading->FadeProgress(2000), 1.0f);
}

TEST_F(OverlaysTest, TintReversalOverStillTintsOnlyWaits) {
    Make<VTintWindow>("{ time = 250.9 }");
    Make<VTintWindow>("{ color = { 1, 0, 0, 0.5 } }");
    RTintOff off(kTintOff, "");
    EXPECT_EQ(off.GetDuration(), 500u);
    EXPECT_TRUE(DrawAfter(&off, 0).empty());
    EXPECT_TRUE(DrawAfter(&off, 499).empty());
    EXPECT_FALSE(off.IsDone());
    DrawAfter(&off, 1);
    EXPECT_TRUE(off.IsDone());
}

TEST_F(OverlaysTest, TintReversalWithoutTintsEndsAtItsFirstFrame) {
    RTintOff off(kTintOff, "");
    EXPECT_EQ(off.GetDuration(), 0u);
    DrawAfter(&off, 0);
    EXPECT_TRUE(off.IsDone());
}

TEST_F(OverlaysTest, OverlaysCountAsActiveFromConstructionToDestruction) {
    EXPECT_FALSE(manager->IsOverlayActive());
    auto first = std::unique_ptr<ROverlay>(CreateTransition(kFadeToBlack, ""));
    auto second = std::unique_ptr<ROverlay>(CreateTransition(kTintOff, ""));
    EXPECT_TRUE(manager->IsOverlayActive());
    first.reset();
    EXPECT_TRUE(manager->IsOverlayActive());
    second.reset();
    EXPECT_FALSE(manager->IsOverlayActive());
}

TEST_F(OverlaysTest, UnlistedTypesMakeNoOverlay) {
    for (int type : {0, 1000, 1012, 1013, -1001}) EXPECT_EQ(CreateTransition(type, ""), nullptr) << type;
}

TEST_F(OverlaysTest, TheInvalidatorRedrawsTheScreenEvery16MillisecondsOfItsOwnClock) {
    TTaskList tasks;
    tasks.Add(RScreenInvalidator::Create());
    TickAt(100);
    ASSERT_FALSE(manager->IsInvalid());
    timer.Advance(15);
    tasks.RunAll(0);
    EXPECT_FALSE(manager->IsInvalid());
    timer.Advance(1);
    tasks.RunAll(0);
    EXPECT_TRUE(manager->IsInvalid());
    TickAt(200);
    ASSERT_FALSE(manager->IsInvalid());
    timer.Advance(16);
    tasks.RunAll(0);
    EXPECT_TRUE(manager->IsInvalid());
}

TEST_F(OverlaysTest, AnInvalidatorWithAConditionRedrawsOnlyWhileItHolds) {
    TTaskList tasks;
    RScreenInvalidator* invalidator = RScreenInvalidator::Create();
    bool holds = false;
    invalidator->InvalidateOnlyWhen([&holds] { return holds; });
    tasks.Add(invalidator);
    uint32_t now = 100;
    for (bool condition : {false, true, false}) {
        holds = condition;
        TickAt(now += 100);
        ASSERT_FALSE(manager->IsInvalid());
        timer.Advance(16);
        tasks.RunAll(0);
        EXPECT_EQ(manager->IsInvalid(), condition);
    }
}

}  // namespace
