// The root screen draws the window manager's background image over its clear.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/graphics/renderertesting.h"
#include "windowmanagertesting.h"

namespace {

using Kind = TRecordingRenderBackEnd::TCallKind;

class ScreenBackgroundTest : public WindowManagerTest {};

TEST_F(ScreenBackgroundTest, TheBackgroundImageIsDrawnAtTheOriginAfterTheClear) {
    std::shared_ptr<TTexture> background = StandInTexture(800, 600, TTextureData::kRenderTarget);
    manager->SetCacheTarget(background);
    ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
    recorder->ClearCalls();
    screen->Draw();
    EXPECT_EQ(recorder->GetCallKinds(), (std::vector<Kind>{Kind::kFillRect, Kind::kBegin2d, Kind::kSetTexture,
                                                           Kind::kDrawVertices, Kind::kEnd2d}));
    const std::vector<TRenderVertex>& quad = recorder->GetCalls()[3].vertices;
    ASSERT_EQ(quad.size(), 4u);
    EXPECT_FLOAT_EQ(quad[0].x, 0);
    EXPECT_FLOAT_EQ(quad[0].y, 0);
    EXPECT_FLOAT_EQ(quad[2].x, 800);
    EXPECT_FLOAT_EQ(quad[2].y, 600);
    EXPECT_EQ(recorder->GetCalls()[2].texture, background.get());

    // Clearing off still draws the background.
    screen->SetClearingOff(true);
    recorder->ClearCalls();
    screen->Draw();
    EXPECT_EQ(recorder->GetCallKinds().front(), Kind::kBegin2d);

    manager->SetCacheTarget(nullptr);
    recorder->ClearCalls();
    screen->Draw();
    EXPECT_TRUE(recorder->GetCalls().empty());
}

}  // namespace
