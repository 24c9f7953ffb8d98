// Textures drawn through the display handler on OpenGL, from image files in
// a pack, read back from the back buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dxgltesting.h"
#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "graphics/image/jpegimage.h"
#include "graphics/texture.h"
#include "tests/graphics/image/imagetesting.h"
#include "tests/support/tempfolder.h"

namespace {

// A quarter of 255, truncated.
constexpr uint32_t kGrey = 0x3F3F3F;

// Opaque, and different in every pixel of a 64 x 32 image.
uint32_t Pattern(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(x * 4) << 16 | static_cast<uint32_t>(y * 8) << 8 | 0x80;
}

// Small images with transparent and opaque edges, of sizes that leave margins
// in their surfaces: a level's sprites.
const char* const kSprites[] = {"art/a.png", "art/b.png", "art/c.png"};

uint32_t SpriteA(int x, int y) {
    return (x + y) % 3 == 0 ? 0x00FFFFFFu : 0xFF000000u | static_cast<uint32_t>(x * 12) << 16 | 0x40;
}

uint32_t SpriteB(int x, int y) {
    return static_cast<uint32_t>(255 - y * 8) << 24 | 0x2000F0 | static_cast<uint32_t>(x * 30) << 8;
}

uint32_t SpriteC(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>((x ^ y) * 16) << 8 | 0xC00000;
}

void PutInt32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
}

// A pack file holding the entries, their data after the index.
std::string MakePack(const std::vector<std::pair<std::string, std::string>>& entries) {
    size_t offset = 8;
    for (const auto& entry : entries) offset += 9 + entry.first.size();
    std::string index = "QMPK";
    PutInt32(index, static_cast<uint32_t>(entries.size()));
    std::string data;
    for (const auto& [name, bytes] : entries) {
        index += static_cast<char>(name.size());
        index += name;
        PutInt32(index, static_cast<uint32_t>(offset + data.size()));
        PutInt32(index, static_cast<uint32_t>(bytes.size()));
        data += bytes;
    }
    return index + data;
}

class TextureGlTest : public DxGlTest {
protected:
    void SetUp() override {
        DxGlTest::SetUp();
        if (HasFatalFailure()) return;
        mOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(mFolder.Path());
        ClearVirtualFiles();
        SetAssetManager(&mAssets);
        std::vector<uint8_t> samples;
        for (int i = 0; i < 64 * 32; ++i) {
            samples.insert(samples.end(), {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i / 8), 0x60});
        }
        mFolder.Write("assets/art.qmp", MakePack({{"art/pattern.png", EncodePng(RgbaPng(64, 32, Pattern))},
                                                  {"art/photo.jpg", EncodeJpeg(64, 32, 3, samples, 90)},
                                                  {"art/a.png", EncodePng(RgbaPng(20, 12, SpriteA))},
                                                  {"art/b.png", EncodePng(RgbaPng(7, 30, SpriteB))},
                                                  {"art/c.png", EncodePng(RgbaPng(16, 16, SpriteC))}}));
        ScanFolder("assets", "");
    }
    void TearDown() override {
        // Textures the renderer still holds go before the device.
        DxGlTest::TearDown();
        SetAssetManager(nullptr);
        ClearVirtualFiles();
        if (!mOldFolder.empty()) std::filesystem::current_path(mOldFolder);
    }

    // A frame cleared to grey that draws what the function draws inside a 2D block.
    template <typename Draw>
    void Frame(Draw draw) {
        ASSERT_TRUE(mRenderer->BeginDraw(true));
        mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0.25f, 0.25f, 0.25f, 1));
        ASSERT_TRUE(mRenderer->Begin2d());
        draw();
        mRenderer->End2d();
        mRenderer->EndDraw(true);
    }

    // Pixels of the screen rectangle whose colour differs from expected(x, y), by RGB.
    template <typename Expected>
    int Mismatches(const TRect& area, Expected expected) {
        int wrong = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if ((Pixel(x, y) ^ expected(x, y)) & 0xFFFFFF) ++wrong;
            }
        }
        return wrong;
    }

    // The back buffer's pixels in the rectangle, rows from the top.
    std::vector<uint32_t> Pixels(const TRect& area) {
        std::vector<uint32_t> pixels(static_cast<size_t>(area.right - area.left) * (area.bottom - area.top));
        EXPECT_EQ(mDevice->ReadPixels(display::kBackBuffer, {area.left, area.top, area.right, area.bottom},
                                      pixels.data()),
                  display::Result::Ok);
        return pixels;
    }

    TempFolder mFolder;
    std::filesystem::path mOldFolder;
    TAssetManager mAssets;
};

TEST_F(TextureGlTest, PngAndJpegFromAPackDrawPixelExact) {
    std::shared_ptr<TTexture> png = TTexture::GetWithOptions("art/pattern.png", 0);
    std::shared_ptr<TTexture> jpeg = TTexture::GetWithOptions("art/photo.jpg", 0);
    ASSERT_TRUE(png && jpeg);
    Frame([&] {
        png->DrawAt(100 + 32, 50 + 16, 1, 1, 0, 0);
        jpeg->DrawAt(300 + 32, 50 + 16, 1, 1, 0, 0);
    });
    EXPECT_EQ(Mismatches(TRect(100, 50, 164, 82), [](int x, int y) { return Pattern(x - 100, y - 50); }), 0);
    EXPECT_EQ(Pixel(99, 50) & 0xFFFFFF, kGrey);
    EXPECT_EQ(Pixel(164, 81) & 0xFFFFFF, kGrey);
    EXPECT_EQ(Pixel(100, 82) & 0xFFFFFF, kGrey);

    uint32_t* decoded = nullptr;
    int width = 0, height = 0, side = 0;
    ASSERT_TRUE(LoadJpeg("art/photo.jpg", decoded, width, height, side));
    EXPECT_EQ(Mismatches(TRect(300, 50, 364, 82),
                         [&](int x, int y) { return decoded[static_cast<size_t>(y - 50) * side + (x - 300)]; }),
              0);
    FreeJpegPixels(decoded);
}

TEST_F(TextureGlTest, MirrorPivotAndSourceRectangleLandOnExactPixels) {
    std::shared_ptr<TTexture> png = TTexture::GetWithOptions("art/pattern.png", 0);
    ASSERT_TRUE(png);
    Frame([&] {
        TDrawState state(TVec2(200, 100), 1, 1,
                         TDrawState::kMirrorHorizontal | TDrawState::kUsePivot | TDrawState::kUseSourceRect);
        state.sourceRect = TRect(8, 4, 24, 12);
        png->Draw(state);
        state = TDrawState(TVec2(400, 100), 1, 1, TDrawState::kMirrorVertical | TDrawState::kUsePivot);
        state.pivot = TVec2(10, 20);
        png->Draw(state);
    });
    // Source columns 8..23 mirrored, rows 4..11, top-left at the position.
    EXPECT_EQ(Mismatches(TRect(200, 100, 216, 108), [](int x, int y) { return Pattern(23 - (x - 200), 4 + y - 100); }),
              0);
    EXPECT_EQ(Pixel(216, 100) & 0xFFFFFF, kGrey);
    EXPECT_EQ(Pixel(200, 108) & 0xFFFFFF, kGrey);
    // The pivot (10, 20) sits on the position; rows are mirrored.
    EXPECT_EQ(Mismatches(TRect(390, 80, 454, 112), [](int x, int y) { return Pattern(x - 390, 31 - (y - 80)); }), 0);
}

TEST_F(TextureGlTest, APackedPngDrawsTheSameAfterTheDeviceWasLost) {
    std::shared_ptr<TTexture> png = TTexture::GetWithOptions("art/pattern.png", 0);
    ASSERT_TRUE(png);
    auto draw = [&] { png->DrawAt(132, 66, 1, 1, 0, 0); };
    auto expected = [](int x, int y) { return Pattern(x - 100, y - 50); };
    for (int i = 0; i < 3; ++i) Frame(draw);
    EXPECT_EQ(Mismatches(TRect(100, 50, 164, 82), expected), 0);

    mDevice->SimulateLoss();
    Frame(draw);
    EXPECT_FALSE(mHandler->IsBroken());
    EXPECT_EQ(Mismatches(TRect(100, 50, 164, 82), expected), 0);
}

TEST_F(TextureGlTest, SpritesFromSeveralFilesShareDrawCallsAndLookAsOnTexturesOfTheirOwn) {
    // Mipmapped textures keep GL textures of their own, and drawn at their
    // size or larger they read their first level only.
    std::vector<std::shared_ptr<TTexture>> sprites, own;
    for (const char* name : kSprites) {
        sprites.push_back(TTexture::GetWithOptions(name, 0));
        own.push_back(TTexture::GetWithOptions(name, TTexture::kGetMipmap));
        ASSERT_TRUE(sprites.back() && own.back());
    }
    // Side by side, each at scales 1, 2 and 3, and a frame's draw calls.
    auto drawn = [&](const std::vector<std::shared_ptr<TTexture>>& textures, bool alternate) {
        uint64_t before = mDevice->GetDrawCallCount();
        Frame([&] {
            for (int scale = 1; scale <= 3; ++scale) {
                for (size_t i = 0; i < textures.size(); ++i) {
                    const std::shared_ptr<TTexture>& texture = alternate ? textures[i] : textures[0];
                    texture->DrawAt(80.0f + 120 * i, 100.0f * scale, 1, static_cast<float>(scale), 0, 0);
                }
            }
        });
        return std::make_pair(Pixels(TRect(0, 0, 400, 400)), mDevice->GetDrawCallCount() - before);
    };
    auto [ownPixels, ownCalls] = drawn(own, true);
    auto [pagedPixels, pagedCalls] = drawn(sprites, true);
    EXPECT_TRUE(ownPixels == pagedPixels);
    EXPECT_GT(ownCalls, pagedCalls);
    EXPECT_EQ(pagedCalls, drawn(sprites, false).second);

    mDevice->SimulateLoss();
    Frame([] {});
    ASSERT_FALSE(mHandler->IsBroken());
    EXPECT_TRUE(drawn(sprites, true).first == ownPixels);
}

TEST_F(TextureGlTest, NothingLandsOutside2dForSimpleTexturesOrFromBlitsInsideAFrame) {
    std::shared_ptr<TTexture> png = TTexture::GetWithOptions("art/pattern.png", 0);
    std::shared_ptr<TTexture> simple = TTexture::Get("art/pattern.png");
    ASSERT_TRUE(png && simple);
    ASSERT_TRUE(mRenderer->BeginDraw(true));
    mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0.25f, 0.25f, 0.25f, 1));
    png->DrawAt(132, 66, 1, 1, 0, 0);
    png->Blit(100, 50, nullptr, nullptr);
    simple->Blit(100, 50, nullptr, nullptr);
    ASSERT_TRUE(mRenderer->Begin2d());
    simple->DrawAt(132, 66, 1, 1, 0, 0);
    mRenderer->End2d();
    mRenderer->EndDraw(false);
    EXPECT_EQ(Mismatches(TRect(96, 46, 168, 86), [](int, int) { return kGrey; }), 0);

    // Outside a frame, the pixel texture copies itself onto the screen.
    simple->Blit(100, 50, nullptr, nullptr);
    EXPECT_EQ(Mismatches(TRect(100, 50, 164, 82), [](int x, int y) { return Pattern(x - 100, y - 50); }), 0);
}

}  // namespace
