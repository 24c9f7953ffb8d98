// The display handler as the maker of texture surfaces and the one that binds them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "displaytesting.h"
#include "foundation/assetmanager.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/display/dxtexturedata.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"

namespace {

class DxTextureHandlerTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        SetAssetManager(&mAssets);
        mHandler = std::make_unique<TDxDisplayHandler>(mDevice, mHost);
        mHandler->SetDisplay(800, 600, false, false, false, false);
        ASSERT_TRUE(mHandler->IsDeviceReady());
    }
    void TearDown() override {
        mHandler.reset();
        SetAssetManager(nullptr);
        DisplayTest::TearDown();
    }

    TAssetManager mAssets;
    std::unique_ptr<TDxDisplayHandler> mHandler;
};

TEST_F(DxTextureHandlerTest, TexturesAreMadeOnTheHandlersDeviceAndBoundByTheirSurface) {
    std::shared_ptr<TTexture> texture = TTexture::Create(16, 8, true);
    ASSERT_TRUE(texture);
    auto* data = dynamic_cast<TDxTextureData*>(texture->GetTextureData());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(mDevice.Count("CreateSurface(16x8)"), 1);

    mHandler->SetTexture(texture);
    EXPECT_EQ(mDevice.Count("SetTexture(" + std::to_string(data->GetSurface()) + ")"), 1);
    EXPECT_TRUE(mHandler->GetState().textured);

    // Released and restored with the display's assets.
    mAssets.ReleaseAssets();
    EXPECT_FALSE(data->HasSurface());
    mAssets.RestoreAssets();
    EXPECT_TRUE(data->HasSurface());
}

// A library may end the process with exit() in the middle of a frame: the
// exit-time destructors then run while the renderer holds its display back
// end and textures hold surfaces.
TEST(DxTextureExitTest, ExitWhileTheRendererHoldsItsDisplayAndTexturesEndsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // The renderer is made before the first surface object.
            TRenderer* renderer = TRenderer::GetInstance();
            static display::RecordingDevice device;
            static TFakeDisplayHost host;
            auto handler = std::make_unique<TDxDisplayHandler>(device, host);
            TDxDisplayHandler& display = *handler;
            renderer->SetBackEnd(std::move(handler));
            display.SetDisplay(800, 600, false, false, false, false);
            std::vector<std::shared_ptr<TTexture>> textures;
            for (int i = 0; i < 8; ++i) textures.push_back(TTexture::Create(16, 8, true));
            renderer->BeginDraw(false);
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST_F(DxTextureHandlerTest, TexturesOutliveTheHandlerWithoutTheirSurfaces) {
    std::shared_ptr<TTexture> texture = TTexture::Create(16, 8, true);
    ASSERT_TRUE(texture);
    mHandler.reset();
    EXPECT_FALSE(texture->GetTextureData()->HasSurface());
    texture->Release();
    texture->Restore();
    EXPECT_FALSE(texture->GetTextureData()->HasSurface());
    EXPECT_TRUE(Logged("TDxTextureData::CreateSurface: the display is gone"));
    EXPECT_FALSE(TTexture::Create(16, 8, true));
    texture.reset();
    EXPECT_EQ(mDevice.Count("ReleaseSurface"), 0);
}

}  // namespace
