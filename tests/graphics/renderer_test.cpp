#include <gtest/gtest.h>

#include <memory>

#include "graphics/recordingrenderbackend.h"
#include "graphics/renderer.h"

namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        mBackEnd = backEnd.get();
        mRenderer.SetBackEnd(std::move(backEnd));
    }

    TRenderer mRenderer;
    TRecordingRenderBackEnd* mBackEnd = nullptr;
};

TEST_F(RendererTest, ViewRectStackKeepsItsBottomAndAppliesEveryChange) {
    EXPECT_EQ(mRenderer.GetViewRect(), TRect());
    mRenderer.PopViewRect();
    EXPECT_TRUE(mBackEnd->GetCalls().empty());

    mRenderer.SetViewRect(TRect(0, 0, 800, 600));
    mRenderer.PushViewRect(TRect(10, 20, 110, 220));
    EXPECT_EQ(mRenderer.GetViewRect(), TRect(10, 20, 110, 220));
    EXPECT_EQ(mBackEnd->GetViewRect(), TRect(10, 20, 110, 220));

    mRenderer.SetViewRect(TRect(1, 2, 3, 4));
    mRenderer.PopViewRect();
    EXPECT_EQ(mBackEnd->GetViewRect(), TRect(0, 0, 800, 600));
    mRenderer.PopViewRect();
    EXPECT_EQ(mRenderer.GetViewRect(), TRect(0, 0, 800, 600));
    // SetViewRect, PushViewRect, SetViewRect and one PopViewRect reached the back end.
    EXPECT_EQ(mBackEnd->GetCalls().size(), 4u);
}

TEST_F(RendererTest, ViewportsNestAndUnwind) {
    EXPECT_EQ(mRenderer.GetViewport(), TRect(0, 0, 800, 600));
    mRenderer.PushViewport(TRect(10, 10, 100, 100));
    mRenderer.PushViewport(TRect(20, 20, 50, 50));
    EXPECT_EQ(mRenderer.GetViewport(), TRect(20, 20, 50, 50));
    mRenderer.PopViewport();
    EXPECT_EQ(mRenderer.GetViewport(), TRect(10, 10, 100, 100));
    mRenderer.PopViewport();
    mRenderer.PopViewport();
    EXPECT_EQ(mRenderer.GetViewport(), TRect(0, 0, 800, 600));
}

TEST(RendererScreenTest, FillRectIsMovedByTheScreenOriginAndClippedToIt) {
    TRenderer renderer;
    auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(100, 50, 900, 650));
    TRecordingRenderBackEnd* recorder = backEnd.get();
    renderer.SetBackEnd(std::move(backEnd));

    TColor4f yellow(1, 1, 0, 1);
    EXPECT_TRUE(renderer.FillRect(TRect(-20, 10, 30, 700), yellow));
    ASSERT_EQ(recorder->GetCalls().size(), 1u);
    const TRecordingRenderBackEnd::TCall& call = recorder->GetCalls()[0];
    EXPECT_EQ(call.kind, TRecordingRenderBackEnd::kFillRect);
    EXPECT_EQ(call.rect, TRect(100, 60, 130, 650));
    EXPECT_EQ(call.color, yellow);
}

TEST(RendererScreenTest, WithoutABackEndNothingIsDrawn) {
    TRenderer renderer;
    EXPECT_FALSE(renderer.FillRect(TRect(0, 0, 10, 10), TColor4f(1, 1, 1, 1)));
    EXPECT_EQ(renderer.GetScreenRect(), TRect());
    EXPECT_EQ(renderer.GetViewport(), TRect());
    renderer.PushViewRect(TRect(1, 1, 2, 2));
    renderer.PopViewport();
    EXPECT_EQ(renderer.GetViewRect(), TRect(1, 1, 2, 2));
}

TEST(RendererInstanceTest, IsCreatedOnFirstUseAndDestroyed) {
    TRenderer* first = TRenderer::GetInstance();
    EXPECT_EQ(TRenderer::GetInstance(), first);
    TRenderer::DestroyInstance();
    TRenderer* second = TRenderer::GetInstance();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetBackEnd(), nullptr);
    TRenderer::DestroyInstance();
}

}  // namespace
