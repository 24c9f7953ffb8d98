// The display handler as the maker of texture surfaces and the one that binds them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "displaytesting.h"
#include "foundation/assetmanager.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/display/dxtexturedata.h"
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
