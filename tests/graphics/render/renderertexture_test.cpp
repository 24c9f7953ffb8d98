// The renderer's rules for textures: "simple" ones are never bound or drawn
// into, and only a texture of the root window's size takes a frame capture.
#include <gtest/gtest.h>

#include <memory>

#include "tests/graphics/renderertesting.h"

namespace {

class RendererTextureTest : public RendererFixture {};

TEST_F(RendererTextureTest, SimpleTexturesBindNothing) {
    std::shared_ptr<TTexture> simple = StandInTexture(16, 16, TTextureData::kSimple);
    std::shared_ptr<TTexture> plain = StandInTexture(16, 16, TTextureData::kAlpha);
    renderer.SetTexture(plain);
    renderer.SetTexture(simple);
    EXPECT_EQ(renderer.GetTexture(), nullptr);
    ASSERT_EQ(recorder->GetCalls().size(), 2u);
    EXPECT_EQ(recorder->GetCalls()[0].texture, plain.get());
    EXPECT_EQ(recorder->GetCalls()[1].texture, nullptr);
}

TEST_F(RendererTextureTest, SimpleTexturesAreNeverRenderTargets) {
    EXPECT_FALSE(renderer.BeginRenderTarget(StandInTexture(64, 64, TTextureData::kSimple | TTextureData::kSlow)));
    EXPECT_FALSE(renderer.IsDrawing());
    EXPECT_TRUE(recorder->GetCalls().empty());
    EXPECT_TRUE(renderer.BeginRenderTarget(StandInTexture(64, 64, TTextureData::kRenderTarget)));
}

TEST_F(RendererTextureTest, OnlyATextureOfTheRootWindowsSizeTakesTheCapture) {
    std::shared_ptr<TTexture> rootSized = StandInTexture(800, 600, 0);
    renderer.SetCaptureTexture(rootSized);
    EXPECT_EQ(renderer.GetCaptureTexture(), nullptr);  // no root window to match

    renderer.SetRootSizeSource([] { return TPoint(800, 600); });
    renderer.SetCaptureTexture(rootSized);
    EXPECT_EQ(renderer.GetCaptureTexture(), rootSized);
    for (auto size : {TPoint(800, 599), TPoint(1024, 1024), TPoint(600, 800)}) {
        renderer.SetCaptureTexture(StandInTexture(size.x, size.y, 0));
        EXPECT_EQ(renderer.GetCaptureTexture(), rootSized);
    }
    renderer.SetCaptureTexture(nullptr);
    EXPECT_EQ(renderer.GetCaptureTexture(), nullptr);
}

}  // namespace
