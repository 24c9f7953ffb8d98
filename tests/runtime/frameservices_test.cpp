// The platform's frame calls reach the renderer.
#include <gtest/gtest.h>

#include "runtime/platform.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "graphics/texturedata.h"
#include "pumptesting.h"
#include "tests/graphics/renderertesting.h"

namespace pumptest {
namespace {

class FrameServicesTest : public PumpTest {
protected:
    void SetUp() override {
        PumpTest::SetUp();
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 480, 360));
        mBackEnd = backEnd.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(backEnd));
        SetTextureDataFactory([] { return std::make_unique<TStandInTextureData>(0, 0, 0); });
        Make();
        mPlatform = std::make_unique<TPlatform>(std::move(mData));
        // The settings of start-up reach the back end as render hints.
        mBackEnd->ClearCalls();
    }

    void TearDown() override {
        mPlatform.reset();
        SetTextureDataFactory(nullptr);
        TRenderer::DestroyInstance();
        PumpTest::TearDown();
    }

    TRecordingRenderBackEnd* mBackEnd = nullptr;
    std::unique_ptr<TPlatform> mPlatform;
};

TEST_F(FrameServicesTest, FramesGoThroughTheRenderer) {
    EXPECT_TRUE(mPlatform->BeginDraw());
    mPlatform->EndDraw(true);
    mBackEnd->Results().beginDraw = false;
    EXPECT_FALSE(mPlatform->BeginDraw());
    EXPECT_EQ(mBackEnd->GetCallKinds(),
              (std::vector<TRecordingRenderBackEnd::TCallKind>{TRecordingRenderBackEnd::kBeginDraw,
                                                              TRecordingRenderBackEnd::kEndDraw,
                                                              TRecordingRenderBackEnd::kBeginDraw}));
}

TEST_F(FrameServicesTest, RenderTargetsMustBeSharedTextures) {
    std::shared_ptr<TTexture> texture = TTexture::Create(16, 16, true);
    ASSERT_TRUE(texture);
    EXPECT_TRUE(mPlatform->BeginRenderTarget(texture.get()));
    mPlatform->EndRenderTarget();
    ASSERT_EQ(mBackEnd->GetCalls().size(), 2u);
    EXPECT_EQ(mBackEnd->GetCalls()[0].kind, TRecordingRenderBackEnd::kBeginRenderTarget);
    EXPECT_EQ(mBackEnd->GetCalls()[0].texture, texture.get());
    EXPECT_EQ(mBackEnd->GetCalls()[1].kind, TRecordingRenderBackEnd::kEndRenderTarget);

    EXPECT_FALSE(mPlatform->BeginRenderTarget(nullptr));
    EXPECT_FALSE(TRenderer::GetInstance()->IsDrawing());
}

}  // namespace
}  // namespace pumptest
