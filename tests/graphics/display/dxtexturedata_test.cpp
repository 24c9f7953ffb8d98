#include "graphics/display/dxtexturedata.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/graphics/texturetesting.h"

namespace {

using display::Result;

class DxTextureDataTest : public TextureTest {
protected:
    TDxTextureData data{owner};
};

TEST_F(DxTextureDataTest, SquareOnlyDevicesCentreTheRequestInASquare) {
    owner.squareOnly = true;
    ASSERT_TRUE(data.CreateSurface(256, 64, false));
    EXPECT_EQ(data.GetSurfaceWidth(), 256u);
    EXPECT_EQ(data.GetSurfaceHeight(), 256u);
    EXPECT_EQ(data.GetBorderX(), 0u);
    EXPECT_EQ(data.GetBorderY(), 96u);
    EXPECT_EQ(data.GetWidth(), 256u);
    EXPECT_EQ(data.GetHeight(), 64u);

    data.SetOptions(TTextureData::kSimple);
    ASSERT_TRUE(data.CreateSurface(256, 64, false));
    EXPECT_EQ(data.GetSurfaceHeight(), 64u);
    EXPECT_EQ(owner.device.Count("ReleaseSurface"), 1);
}

TEST_F(DxTextureDataTest, FormatsFollowAlphaAndLowMemoryVideo) {
    struct Case {
        bool lowMemory;
        uint8_t options;
        display::Format format;
    };
    const Case cases[] = {
        {false, 0, display::Format::X8R8G8B8},
        {false, TTextureData::kAlpha, display::Format::A8R8G8B8},
        {true, 0, display::Format::R5G6B5},
        {true, TTextureData::kAlpha | TTextureData::kRenderTarget, display::Format::A4R4G4B4},
    };
    for (const Case& c : cases) {
        owner.lowMemory = c.lowMemory;
        data.SetOptions(c.options);
        ASSERT_TRUE(data.CreateSurface(8, 8, false));
        display::SurfaceDesc desc;
        ASSERT_TRUE(owner.device.GetSurfaceDesc(data.GetSurface(), desc));
        EXPECT_EQ(desc.format, c.format);
    }
}

TEST_F(DxTextureDataTest, CreationFailures) {
    struct Case {
        const char* what;
        Result result;
        bool ready;
        bool created;
        int outOfMemoryCalls;
    };
    const Case cases[] = {
        {"device not ready", Result::SurfaceLost, false, true, 0},
        {"unsupported mode", Result::UnsupportedMode, true, true, 0},
        {"out of video memory", Result::OutOfVideoMemory, true, false, 1},
        {"other error", Result::Failed, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        owner.host.outOfVideoMemoryCalls = 0;
        owner.ready = c.ready;
        owner.device.Script("CreateSurface", c.result);
        EXPECT_EQ(data.CreateSurface(16, 16, true), c.created);
        EXPECT_FALSE(data.HasSurface());
        EXPECT_EQ(owner.host.outOfVideoMemoryCalls, c.outOfMemoryCalls);
    }
    EXPECT_TRUE(log.Contains("DX Error:  (0x8876017c), File .\\dxtexturedata, Line"));
    EXPECT_FALSE(data.CreateSurface(0, 16, false));
    EXPECT_FALSE(data.CreateSurface(16, 1u << 20, false));
}

TEST_F(DxTextureDataTest, RenderTargetsTooLargeForFreeVideoMemorySwitchTo16Bits) {
    display::DisplayCaps caps;
    caps.videoMemoryFree = 64 * 64 * 4;
    owner.device.SetDisplayCaps(caps);
    data.SetOptions(TTextureData::kRenderTarget);
    ASSERT_TRUE(data.CreateSurface(32, 32, false));
    EXPECT_EQ(owner.host.outOfVideoMemoryCalls, 0);
    ASSERT_TRUE(data.CreateSurface(64, 64, false));
    EXPECT_EQ(owner.host.outOfVideoMemoryCalls, 1);
    EXPECT_TRUE(log.Contains("TDxTextureData::CreateSurface: Out of Memory in 32 bit mode. Tagging to restart."));
}

TEST_F(DxTextureDataTest, UploadLockAndClear) {
    ASSERT_TRUE(data.CreateSurface(4, 2, false));
    const uint32_t pixels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ASSERT_TRUE(data.Upload(5, 2, pixels));
    uint32_t* locked = nullptr;
    int pitch = 0;
    ASSERT_TRUE(data.Lock(locked, pitch));
    EXPECT_EQ(pitch, 4);
    EXPECT_EQ(locked[1 * pitch + 3], 9u);
    data.Unlock();
    EXPECT_EQ(owner.device.Count("Unlock"), 1);

    owner.device.Script("ColorFill", Result::SurfaceLost);
    data.Clear();
    EXPECT_EQ(owner.device.Count("RestoreSurface"), 1);
    EXPECT_EQ(owner.device.Count("ColorFill"), 2);
    ASSERT_TRUE(data.Lock(locked, pitch));
    EXPECT_EQ(locked[1 * pitch + 3], 0u);

    data.Release();
    EXPECT_FALSE(data.HasSurface());
    EXPECT_FALSE(data.Upload(4, 2, pixels));
    EXPECT_FALSE(data.Lock(locked, pitch));
}

TEST_F(DxTextureDataTest, BlitToTheScreenAndItsFailures) {
    display::ScreenSetup screen;
    screen.width = 40;
    screen.height = 30;
    ASSERT_EQ(owner.device.CreateScreen(screen), Result::Ok);
    ASSERT_TRUE(data.CreateSurface(8, 8, false));
    const uint32_t white[64] = {0xFFFFFFFFu, 0xFFFFFFFFu};
    ASSERT_TRUE(data.Upload(8, 8, white));
    EXPECT_TRUE(data.Blit(3, 4, nullptr, nullptr));
    EXPECT_EQ(owner.device.GetCalls().back(), "Copy(" + std::to_string(data.GetSurface()) + ",1)");
    uint32_t pixel = 0;
    ASSERT_EQ(owner.device.ReadPixels(display::kBackBuffer, {4, 4, 5, 5}, &pixel), Result::Ok);
    EXPECT_EQ(pixel, 0xFFFFFFFFu);


    owner.device.Script("Copy", Result::SurfaceLost);
    EXPECT_FALSE(data.Blit(0, 0, nullptr, nullptr));
    EXPECT_EQ(owner.brokenMarks, 1);

    // Reported once a run, whatever else fails later.
    owner.device.Script("Copy", Result::Failed);
    owner.device.Script("Copy", Result::Failed);
    EXPECT_FALSE(data.Blit(0, 0, nullptr, nullptr));
    size_t reported = log.Count("DX Error");
    EXPECT_LE(reported, 1u);
    EXPECT_FALSE(data.Blit(0, 0, nullptr, nullptr));
    EXPECT_EQ(log.Count("DX Error"), reported);

    TDxTextureData empty(owner);
    EXPECT_FALSE(data.Blit(0, 0, nullptr, &empty));
}

TEST_F(DxTextureDataTest, RestoreReloadsTheImageFile) {
    WriteAsset("photo.png", EncodePng(RgbaPng(3, 3, [](int x, int y) { return 0xFF000000u | (x + 3 * y); })));
    ASSERT_TRUE(data.Load("photo.png?mipmap", ""));
    data.Release();
    owner.device.ClearCalls();
    ASSERT_TRUE(data.Restore());
    EXPECT_EQ(owner.device.Count("CreateSurface"), 1);
    display::SurfaceDesc desc;
    ASSERT_TRUE(owner.device.GetSurfaceDesc(data.GetSurface(), desc));
    EXPECT_TRUE(desc.mipmaps);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_TRUE(data.Lock(pixels, pitch));
    EXPECT_EQ(pixels[2 * pitch + 1], 0xFF000007u);
    data.Unlock();

    // The device fails while the file is there: the device is marked broken.
    owner.device.Script("CreateSurface", Result::Failed);
    EXPECT_FALSE(data.Restore());
    EXPECT_TRUE(log.Contains("TDxTextureData::Restore: Failed to restore from file photo.png?mipmap."));
    EXPECT_EQ(owner.brokenMarks, 1);

    // A file that is gone leaves the device alone.
    std::filesystem::remove(mTemp / "assets/photo.png");
    ClearVirtualFiles();
    EXPECT_FALSE(data.Restore());
    EXPECT_EQ(owner.brokenMarks, 1);
}

TEST_F(DxTextureDataTest, RestoreWithAMaskNamesBoth) {
    WriteAsset("photo.png", EncodePng(RgbaPng(2, 2, [](int, int) { return 0xFF123456u; })));
    WriteAsset("mask.png", EncodePng(RgbaPng(2, 2, [](int, int) { return 0xFF800000u; })));
    data.SetOptions(TTextureData::kAlpha);
    ASSERT_TRUE(data.Load("photo.png", "mask.png"));
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_TRUE(data.Lock(pixels, pitch));
    EXPECT_EQ(pixels[0], 0x80123456u);
    data.Unlock();
    std::filesystem::remove(mTemp / "assets/mask.png");
    std::filesystem::remove(mTemp / "assets/photo.png");
    ClearVirtualFiles();
    EXPECT_FALSE(data.Restore());
    EXPECT_TRUE(log.Contains("TDxTextureData::Restore: Failed to restore from file photo.png and mask.png."));
    EXPECT_EQ(owner.brokenMarks, 0);
}

TEST_F(DxTextureDataTest, RestoreRemakesCreatedTextures) {
    data.SetOptions(TTextureData::kRenderTarget);
    ASSERT_TRUE(data.CreateSurface(64, 32, false));
    data.Release();
    owner.device.ClearCalls();
    ASSERT_TRUE(data.Restore());
    EXPECT_TRUE(data.HasSurface());
    EXPECT_EQ(owner.device.Count("ColorFill"), 1);

    owner.device.Script("CreateSurface", Result::Failed);
    EXPECT_FALSE(data.Restore());
    EXPECT_TRUE(log.Contains("TDxTextureData::Restore: Failed to restore 64x32 texture (64,32)"));
    EXPECT_EQ(owner.brokenMarks, 1);
}

}  // namespace
