#include "graphics/texture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/assetmap.h"
#include "texturetesting.h"

namespace {

using Kind = TRecordingRenderBackEnd::TCallKind;

uint32_t Pattern(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(x % 256) << 16 | static_cast<uint32_t>(y % 256) << 8;
}

std::string Png(int width, int height) {
    return EncodePng(RgbaPng(width, height, Pattern));
}

std::string OpaquePng(int width, int height) {
    return EncodePng(WithoutAlpha(RgbaPng(width, height, Pattern)));
}

TEST(TextureKeyTest, CacheKeysTurnSlashesAndAddTheOptions) {
    EXPECT_STREQ(TTexture::MakeCacheKey("a/b/c.png", false, false, false).c_str(), "a\\b\\c.png:tex");
    EXPECT_STREQ(TTexture::MakeCacheKey("c.png", true, true, true).c_str(), "c.png:a:m:s:tex");
    EXPECT_STREQ(TTexture::MakeCacheKey("c.png", false, true, false).c_str(), "c.png:m:tex");
}

TEST_F(TextureTest, SpecWordsAndOptionBitsSetTheOptions) {
    WriteAsset("x.png", Png(8, 8));
    WriteAsset("opaque.png", OpaquePng(8, 8));
    WriteAsset("photo.jpg", EncodeJpeg(8, 8, 3, FlatRgb(8, 8, 0x808080)));
    struct Case {
        const char* name;
        int bits;
        int options;
    };
    const Case cases[] = {
        {"x.png?alpha mipmap", 0, 0x02 | 0x08},
        {"x.png", 0, 0x04 | 0x02},             // the alpha channel of the file
        {"opaque.png", 0, 0x04},               // no alpha channel
        {"photo.jpg", 0, 0x04},
        {"opaque.png", TTexture::kGetAlpha | TTexture::kGetMipmap, 0x02 | 0x08},
        {"x.png", TTexture::kGetNoAlpha, 0x00},
        {"x.png?simple", 0, 0x10 | 0x04 | 0x02},
        {"x.png?slow", 0, 0x30 | 0x04 | 0x02},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " bits " + std::to_string(c.bits));
        std::shared_ptr<TTexture> texture = TTexture::GetWithOptions(c.name, c.bits);
        ASSERT_TRUE(texture);
        EXPECT_EQ(texture->GetTextureData()->GetOptions(), c.options);
        display::SurfaceDesc desc = SurfaceOf(texture);
        EXPECT_EQ(desc.format, (c.options & 0x02) ? display::Format::A8R8G8B8 : display::Format::X8R8G8B8);
        EXPECT_EQ(desc.mipmaps, (c.options & 0x08) != 0);
        EXPECT_EQ(desc.kind, (c.options & 0x10) ? display::SurfaceKind::Simple : display::SurfaceKind::Texture);
    }
}

TEST_F(TextureTest, SameImageIsOneObjectUntilTheLastHolderLetsGo) {
    WriteAsset("a/b.png", Png(4, 4));
    std::shared_ptr<TTexture> first = TTexture::GetWithOptions("a/b.png", 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(TTexture::GetWithOptions("a\\b.png", 0), first);
    EXPECT_EQ(manager.GetAsset("a\\b.png:tex"), first);
    EXPECT_EQ(owner.device.Count("CreateSurface"), 1);
    // Other options are another texture.
    EXPECT_NE(TTexture::GetWithOptions("a/b.png", TTexture::kGetMipmap), first);

    first.reset();
    EXPECT_FALSE(manager.GetAsset("a\\b.png:tex"));
    owner.device.ClearCalls();
    EXPECT_TRUE(TTexture::GetWithOptions("a/b.png", 0));
    EXPECT_EQ(owner.device.Count("CreateSurface"), 1);
}

TEST_F(TextureTest, GetKeepsItsPixelTextureApartFromTheDrawableOne) {
    WriteAsset("button.png", Png(16, 16));
    std::shared_ptr<TTexture> pixels = TTexture::Get("button.png");
    std::shared_ptr<TTexture> picture = TTexture::GetWithOptions("button.png", 0);
    ASSERT_TRUE(pixels && picture);
    EXPECT_NE(pixels, picture);
    EXPECT_TRUE(pixels->IsSimple());
    EXPECT_FALSE(picture->IsSimple());
    EXPECT_EQ(manager.GetAsset("button.png:s:tex"), pixels);
    EXPECT_EQ(manager.GetAsset("button.png:tex"), picture);
    EXPECT_EQ(TTexture::Get("button.png"), pixels);
}

TEST_F(TextureTest, SizesOfSurfacesAndTheFastLimit) {
    WriteAsset("wide.png", OpaquePng(2000, 100));
    WriteAsset("photo.png", OpaquePng(300, 200));
    EXPECT_FALSE(TTexture::GetWithOptions("wide.png", 0));
    EXPECT_TRUE(log.Contains("TTexture: wide.png is 2000x100; images above 1024 pixels a side need the word \"slow\""));
    std::shared_ptr<TTexture> wide = TTexture::GetWithOptions("wide.png?slow", 0);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->GetWidth(), 2000);
    EXPECT_EQ(wide->GetHeight(), 100);
    TTextureData* data = wide->GetTextureData();
    EXPECT_EQ(data->GetSurfaceWidth(), 2048u);
    EXPECT_EQ(data->GetSurfaceHeight(), 128u);

    std::shared_ptr<TTexture> photo = TTexture::GetWithOptions("photo.png", 0);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->GetTextureData()->GetSurfaceWidth(), 512u);
    EXPECT_EQ(photo->GetTextureData()->GetSurfaceHeight(), 256u);
    EXPECT_EQ(photo->GetTextureData()->GetBorderX(), 106u);
    EXPECT_EQ(photo->GetTextureData()->GetBorderY(), 28u);
    EXPECT_EQ(photo->GetPaddedSize(), TPoint(512, 256));
}

TEST_F(TextureTest, SquareOnlyDevicesGetSquareSurfacesExceptSimpleOnes) {
    recorder->Results().squareTexturesOnly = true;
    owner.squareOnly = true;
    WriteAsset("photo.png", OpaquePng(300, 200));
    std::shared_ptr<TTexture> photo = TTexture::GetWithOptions("photo.png", 0);
    ASSERT_TRUE(photo);
    EXPECT_EQ(SurfaceOf(photo).height, 512);
    std::shared_ptr<TTexture> simple = TTexture::Get("photo.png");
    ASSERT_TRUE(simple);
    EXPECT_EQ(SurfaceOf(simple).height, 256);
}

TEST_F(TextureTest, LoadFailuresGiveNoTextureAndALogLine) {
    WriteAsset("picture.bmp", Png(4, 4));
    WriteAsset("broken.png", "not a png");
    struct Case {
        const char* name;
        const char* logged;
    };
    const Case cases[] = {
        {"picture.bmp", "TTexture: picture.bmp is neither a .png nor a .jpg file"},
        {"missing.png", "TTexture: cannot find missing.png"},
        {"broken.png", "LoadPng: broken.png is not a PNG file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(TTexture::GetWithOptions(c.name, 0));
        EXPECT_TRUE(log.Contains(c.logged)) << log.Text();
    }
    SetTextureDataFactory(nullptr);
    EXPECT_FALSE(TTexture::Create(4, 4, true));
    EXPECT_TRUE(log.Contains("TTexture: no display to make textures on"));
}

TEST_F(TextureTest, MaskRedBecomesTheImagesAlpha) {
    WriteAsset("image.png", OpaquePng(4, 4));
    WriteAsset("mask.png", EncodePng(RgbaPng(4, 4, [](int x, int y) { return 0xFF000000u | (x * 16 + y) << 16; })));
    WriteAsset("small.png", EncodePng(RgbaPng(2, 2, [](int, int) { return 0xFF000000u; })));
    std::shared_ptr<TTexture> masked = TTexture::GetMasked("image.png", "mask", 0);
    ASSERT_TRUE(masked);
    EXPECT_EQ(manager.GetAsset("image.png:mask:tex"), masked);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_TRUE(masked->GetTextureData()->Lock(pixels, pitch));
    EXPECT_EQ(pixels[3 * pitch + 2], (Pattern(2, 3) & 0xFFFFFF) | static_cast<uint32_t>(2 * 16 + 3) << 24);
    masked->GetTextureData()->Unlock();

    // A mask of another size leaves the image as it is.
    std::shared_ptr<TTexture> unmasked = TTexture::GetMasked("image.png", "small.png", TTexture::kGetMipmap);
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(manager.GetAsset("image.png:small.png:m:tex"), unmasked);
    ASSERT_TRUE(unmasked->GetTextureData()->Lock(pixels, pitch));
    EXPECT_EQ(pixels[3 * pitch + 2], Pattern(2, 3));
}

TEST_F(TextureTest, CreatedTexturesAreClearedRenderTargetsUnderTheirAddress) {
    std::shared_ptr<TTexture> target = TTexture::Create(64, 32, true);
    ASSERT_TRUE(target);
    EXPECT_EQ(SurfaceOf(target).kind, display::SurfaceKind::RenderTarget);
    EXPECT_EQ(SurfaceOf(target).format, display::Format::A8R8G8B8);
    EXPECT_EQ(owner.device.Count("ColorFill"), 1);
    EXPECT_EQ(target->GetWidth(), 64);
    char key[64];
    std::snprintf(key, sizeof key, "%lx:tex:r", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(target.get())));
    EXPECT_EQ(manager.GetAsset(key), target);
    target.reset();
    manager.ReleaseAssets();
    // The destructor removed the key: an expired entry would still answer empty.
    EXPECT_FALSE(manager.GetAsset(key));
    EXPECT_FALSE(TTexture::Create(0, 10, false));
}

TEST_F(TextureTest, AssetMapLoadsPngAndJpgNamesAsTextures) {
    TTexture::RegisterLoaders();
    WriteAsset("art/logo.png", Png(4, 4));
    TAssetMap map;
    map.AddAsset("art\\logo");
    EXPECT_TRUE(manager.GetAsset("art\\logo.png:tex"));
    TAssetMap::RegisterLoader("png", nullptr);
    TAssetMap::RegisterLoader("jpg", nullptr);
}

class TextureDrawTest : public TextureTest {
protected:
    void SetUp() override {
        TextureTest::SetUp();
        WriteAsset("photo.png", OpaquePng(300, 200));
        photo = TTexture::GetWithOptions("photo.png", 0);
        ASSERT_TRUE(photo);
        recorder->ClearCalls();
    }

    std::shared_ptr<TTexture> photo;
};

TEST_F(TextureDrawTest, DrawAtCentresTheImageAndMapsItsPartOfTheSurface) {
    ASSERT_TRUE(Renderer().BeginDraw(false));
    ASSERT_TRUE(Renderer().Begin2d());
    recorder->ClearCalls();
    photo->DrawAt(400, 300, 0.5f, 1.0f, 0, 0);
    EXPECT_EQ(recorder->GetCallKinds(), (std::vector<Kind>{Kind::kSetTexture, Kind::kDrawVertices}));
    EXPECT_EQ(recorder->GetCalls()[0].texture, photo.get());
    EXPECT_EQ(Renderer().GetTexture(), photo);
    float u = 300 / 512.0f, v = 200 / 256.0f;
    std::vector<TRenderVertex> fan = DrawnFan();
    ExpectFan(fan, {{250, 200, 0, 0}, {550, 200, u, 0}, {550, 400, u, v}, {250, 400, 0, v}});
    EXPECT_EQ(fan[0].diffuse, 0x7FFFFFFFu);

    // A quarter turn clockwise on screen, scaled by 2, before the move.
    recorder->ClearCalls();
    photo->DrawAt(400, 300, 1, 2, static_cast<float>(M_PI / 2), 0);
    ExpectFan(DrawnFan(), {{600, 0, 0, 0}, {600, 600, u, 0}, {200, 600, u, v}, {200, 0, 0, v}});
}

TEST_F(TextureDrawTest, MirrorsPivotSourceRectangleAndBlendMode) {
    ASSERT_TRUE(Renderer().BeginDraw(false));
    ASSERT_TRUE(Renderer().Begin2d());
    struct Case {
        const char* what;
        int flags;
        int blendMode;
        std::vector<Corner> corners;
    };
    float u = 300 / 512.0f, v = 200 / 256.0f;
    const Case cases[] = {
        {"horizontal", TDrawState::kMirrorHorizontal, -1,
         {{150, -100, 0, 0}, {-150, -100, u, 0}, {-150, 100, u, v}, {150, 100, 0, v}}},
        {"vertical", TDrawState::kMirrorVertical, 2,
         {{-150, 100, 0, 0}, {150, 100, u, 0}, {150, -100, u, v}, {-150, -100, 0, v}}},
        {"pivot and source", TDrawState::kUsePivot | TDrawState::kUseSourceRect, -1,
         {{-5, -6, 10 / 512.0f, 20 / 256.0f},
          {35, -6, 50 / 512.0f, 20 / 256.0f},
          {35, 24, 50 / 512.0f, 50 / 256.0f},
          {-5, 24, 10 / 512.0f, 50 / 256.0f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder->ClearCalls();
        TDrawState state(TVec2(0, 0), 1, 1, c.flags);
        state.pivot = TVec2(5, 6);
        state.sourceRect = TRect(10, 20, 50, 50);
        state.blendMode = c.blendMode;
        photo->Draw(state);
        ExpectFan(DrawnFan(), c.corners);
        bool blended = recorder->GetCallKinds().size() == 3;
        EXPECT_EQ(blended, c.blendMode != -1);
        if (blended) {
            EXPECT_EQ(recorder->GetCalls()[1].value, c.blendMode);
        }
    }
}

TEST_F(TextureDrawTest, NothingIsDrawnOutside2dOrForSimpleTextures) {
    photo->DrawAt(0, 0, 1, 1, 0, 0);
    ASSERT_TRUE(Renderer().BeginDraw(false));
    photo->Draw(TDrawState(TVec2(0, 0), 1, 1, 0));
    ASSERT_TRUE(Renderer().Begin2d());
    std::shared_ptr<TTexture> simple = TTexture::Get("photo.png");
    ASSERT_TRUE(simple);
    recorder->ClearCalls();
    simple->DrawAt(0, 0, 1, 1, 0, 0);
    EXPECT_TRUE(recorder->GetCalls().empty());
    EXPECT_FALSE(log.Contains("DrawVertices called"));
}

TEST_F(TextureDrawTest, BlitCopiesTheClampedRectangleOnlyOutsideAFrame) {
    std::shared_ptr<TTexture> target = TTexture::Create(64, 64, false);
    ASSERT_TRUE(target);
    ASSERT_TRUE(Renderer().BeginDraw(false));
    owner.device.ClearCalls();
    photo->Blit(0, 0, nullptr, target);
    EXPECT_EQ(owner.device.Count("Copy"), 0);
    Renderer().EndDraw(false);

    TRect source(-10, 190, 20, 250);
    photo->Blit(5, 6, &source, target);
    ASSERT_EQ(owner.device.Count("Copy"), 1);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_TRUE(target->GetTextureData()->Lock(pixels, pitch));
    // Source (0, 190)-(20, 200) lands at (5, 6).
    EXPECT_EQ(pixels[6 * pitch + 5], Pattern(0, 190));
    EXPECT_EQ(pixels[15 * pitch + 24], Pattern(19, 199));
    EXPECT_EQ(pixels[16 * pitch + 5], 0u);
    EXPECT_EQ(pixels[6 * pitch + 25], 0u);
}

}  // namespace
