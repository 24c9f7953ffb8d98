// The mouse cursor images the device context hands to the window system.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/settings.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/texture.h"
#include "platform/display/recordingdevice.h"
#include "tests/support/luatesting.h"

namespace {

// Can run the restore list from inside a cursor change, as a platform
// whose window calls back would.
class ReenteringHost : public TFakeDisplayHost {
public:
    void SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) override {
        TFakeDisplayHost::SetColorCursor(argb, width, height, hotX, hotY);
        if (reenter && !restoreTasks.empty()) restoreTasks.front()->DoTask();
    }
    bool reenter = false;
};

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        mHandler = std::make_unique<TDxDisplayHandler>(mDevice, mHost);
        mHandler->SetDisplay(800, 600, false, false, false, false);
        ASSERT_TRUE(mHandler->IsDeviceReady());
    }
    void TearDown() override {
        mHandler.reset();
        ClearSettings();
    }

    // A texture of the pixels (ARGB), width by height.
    std::shared_ptr<TTexture> Image(int width, int height, const std::vector<uint32_t>& pixels) {
        std::shared_ptr<TTexture> texture = TTexture::Create(width, height, true);
        EXPECT_NE(texture, nullptr);
        if (texture) {
            EXPECT_TRUE(texture->GetTextureData()->Upload(width, height, pixels.data()));
        }
        return texture;
    }
    const TFakeDisplayHost::Cursor& Last() const { return mHost.cursors.back(); }

    TestLog mLog;
    display::RecordingDevice mDevice;
    ReenteringHost mHost;
    std::unique_ptr<TDxDisplayHandler> mHandler;
};

TEST_F(CursorTest, ACustomImageLeavesOutMagentaAndShowsTheRestOpaque) {
    std::vector<uint32_t> pixels = {0xFFFA00FA, 0xFFFA0AFA, 0xFFF700FA, 0x00123456, 0xFFFFFFF8, 0x80F800FF};
    mHandler->SetMouseImage(Image(3, 2, pixels), 1, 2, 0);
    ASSERT_EQ(mHost.cursors.size(), 1u);
    EXPECT_EQ(Last().pixels, (std::vector<uint32_t>{0, 0xFFFA0AFA, 0xFFF700FA, 0xFF123456, 0xFFFFFFF8, 0}));
    EXPECT_EQ(Last().width, 3);
    EXPECT_EQ(Last().height, 2);
    EXPECT_EQ(Last().hotX, 1);
    EXPECT_EQ(Last().hotY, 2);
}

TEST_F(CursorTest, TheSystemImageShowsWhereItsAlphaIsNotZero) {
    mHandler->SetMouseImage(Image(3, 1, {0x00FFFFFF, 0x01000000, 0xFFFA00FA}), 0, 0, 1);
    EXPECT_EQ(Last().pixels, (std::vector<uint32_t>{0, 0xFF000000, 0xFFFA00FA}));
}

TEST_F(CursorTest, WithActivexTheSystemImageIsTheHardwareCursorAsItIs) {
    SetSetting("activex", "1");
    // Smaller than 32 x 32: only its own pixels are read.
    std::vector<uint32_t> pixels = {0x00FFFFFF, 0x80102030, 0xFFFA00FA, 0x01020304};
    mHandler->SetMouseImage(Image(2, 2, pixels), 1, 1, 1);
    EXPECT_EQ(Last().pixels, pixels);
    EXPECT_EQ(Last().width, 2);
    EXPECT_EQ(Last().height, 2);
    EXPECT_TRUE(mHost.restoreTasks.empty()) << "nothing to restore";
    // A custom image keeps the colour key.
    mHandler->SetMouseImage(Image(1, 1, {0xFFFA00FA}), 0, 0, 0);
    EXPECT_EQ(Last().pixels, (std::vector<uint32_t>{0}));
}

TEST_F(CursorTest, NoImageOrNoVisiblePixelIsAnInvisibleCursor) {
    mHandler->SetMouseImage(nullptr, 0, 0, 0);
    EXPECT_EQ(Last().width, 0);
    EXPECT_TRUE(Last().pixels.empty());
    mHandler->SetMouseImage(Image(2, 1, {0xFFFF00FF, 0xFFF800F8}), 0, 0, 0);
    EXPECT_EQ(Last().pixels, (std::vector<uint32_t>{0, 0}));
    EXPECT_FALSE(mLog.Contains("ERROR"));
}

TEST_F(CursorTest, WithoutADeviceNothingHappens) {
    std::shared_ptr<TTexture> image = Image(1, 1, {0xFF000000});
    ReenteringHost host;
    display::RecordingDevice device;
    TDxDisplayHandler handler(device, host);
    handler.SetMouseImage(image, 0, 0, 0);
    EXPECT_TRUE(host.cursors.empty());
    EXPECT_TRUE(host.restoreTasks.empty());
}

TEST_F(CursorTest, TheRestoreTaskSetsBothImagesAgainAndStays) {
    std::shared_ptr<TTexture> custom = Image(1, 1, {0xFF112233});
    std::shared_ptr<TTexture> system = Image(1, 1, {0xFF445566});
    mHandler->SetMouseImage(custom, 0, 0, 0);
    mHandler->SetMouseImage(system, 0, 0, 1);
    ASSERT_EQ(mHost.restoreTasks.size(), 1u);
    mHost.cursors.clear();
    EXPECT_TRUE(mHost.restoreTasks.front()->DoTask());
    ASSERT_EQ(mHost.cursors.size(), 2u);
    EXPECT_EQ(mHost.cursors[0].pixels, (std::vector<uint32_t>{0xFF112233}));
    EXPECT_EQ(mHost.cursors[1].pixels, (std::vector<uint32_t>{0xFF445566}));
    EXPECT_EQ(mHost.restoreTasks.size(), 1u);
    // The context takes its task back when it goes.
    mHandler.reset();
    EXPECT_TRUE(mHost.restoreTasks.empty());
}

TEST_F(CursorTest, ARestoreInsideARestoreIsRefused) {
    mHandler->SetMouseImage(Image(1, 1, {0xFF112233}), 0, 0, 0);
    ASSERT_EQ(mHost.restoreTasks.size(), 1u);
    mHost.reenter = true;
    mHost.restoreTasks.front()->DoTask();
    EXPECT_EQ(mLog.Count("Second concurrent call to RestoreMouseImage"), 1u);
    // The refusal leaves later restores free to run.
    mHost.reenter = false;
    mHost.cursors.clear();
    mHost.restoreTasks.front()->DoTask();
    EXPECT_EQ(mHost.cursors.size(), 1u);
}

}  // namespace
