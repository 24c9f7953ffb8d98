#include <gtest/gtest.h>

#include "glfixture.h"

namespace displaytest {
namespace {

using display::Blend;
using display::Result;
using display::StageOp;
using display::VertexKind;

// The renderer's 2D projection: an off-centre orthographic matrix over the
// screen, shifted by a pixel offset of -0.5, with z passing through.
display::Matrix Projection2d(float width, float height) {
    const float p = -0.5f;
    float left = -p, right = width - p, top = -p, bottom = height - p;
    display::Matrix m;
    m.m[0] = 2 / (right - left);
    m.m[5] = 2 / (top - bottom);
    m.m[12] = (left + right) / (left - right);
    m.m[13] = (top + bottom) / (bottom - top);
    return m;
}

// A quad in the renderer's coordinates (world space under Projection2d).
Quad WorldQuad(float left, float top, float right, float bottom, uint32_t color) {
    Quad quad = ScreenQuad(left, top, right, bottom, color);
    for (auto& vertex : quad) vertex.z = vertex.rhw = 0;
    return quad;
}

TEST_F(GlDeviceTest, BatchedQuadsLandOnExactPixelsInOneDrawCall) {
    Fill(0xFF000000);
    uint64_t before = mDevice->GetDrawCallCount();
    DrawQuad(ScreenQuad(9.5f, 9.5f, 19.5f, 19.5f, 0xFFFF0000));
    DrawQuad(ScreenQuad(19.5f, 9.5f, 29.5f, 19.5f, 0xFF00FF00));
    DrawQuad(ScreenQuad(789.5f, 589.5f, 799.5f, 599.5f, 0xFF0000FF));
    EXPECT_EQ(Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(Pixel(19, 19), 0xFFFF0000u);
    EXPECT_EQ(Pixel(20, 10), 0xFF00FF00u);
    EXPECT_EQ(Pixel(29, 19), 0xFF00FF00u);
    EXPECT_EQ(Pixel(799, 599), 0xFF0000FFu);
    EXPECT_EQ(Pixel(9, 10), 0xFF000000u);
    EXPECT_EQ(Pixel(10, 9), 0xFF000000u);
    EXPECT_EQ(Pixel(30, 10), 0xFF000000u);
    EXPECT_EQ(Pixel(10, 20), 0xFF000000u);
    EXPECT_EQ(Pixel(788, 598), 0xFF000000u);
    EXPECT_EQ(mDevice->GetDrawCallCount(), before + 1);
    EXPECT_EQ(mDevice->EndScene(), Result::Ok);
    EXPECT_EQ(mDevice->Present(), Result::Ok);
}

TEST_F(GlDeviceTest, EachVertexKindCoversTheSamePixels) {
    mDevice->SetTransform(display::Transform::Projection, Projection2d(kWidth, kHeight));
    display::Material material;
    material.ambient[0] = material.ambient[2] = 0;
    material.ambient[1] = 1;
    mDevice->SetMaterial(material);
    struct Case {
        const char* name;
        VertexKind kind;
        Quad quad;
    } cases[] = {
        {"pre-transformed", VertexKind::PreTransformed, ScreenQuad(99.5f, 49.5f, 109.5f, 59.5f, 0xFF00FF00)},
        {"transformed", VertexKind::Transformed, WorldQuad(100, 50, 110, 60, 0xFF00FF00)},
        {"lit by the ambient material", VertexKind::Lit, WorldQuad(100, 50, 110, 60, 0xFFFF0000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(0xFF000080);
        DrawQuad(c.quad, c.kind);
        EXPECT_EQ(Pixel(100, 50), 0xFF00FF00u);
        EXPECT_EQ(Pixel(109, 59), 0xFF00FF00u);
        EXPECT_EQ(Pixel(99, 50), 0xFF000080u);
        EXPECT_EQ(Pixel(110, 50), 0xFF000080u);
        EXPECT_EQ(Pixel(100, 49), 0xFF000080u);
        EXPECT_EQ(Pixel(100, 60), 0xFF000080u);
    }
}

TEST_F(GlDeviceTest, StageCombinationsAndBlendModesOverAKnownBackground) {
    display::SurfaceId texture = MakeTexture(1, 1, {0x80FF8000});
    struct Case {
        const char* name;
        bool textured;
        uint32_t colorArg1, colorArg2;
        StageOp colorOp;
        uint32_t alphaArg1;
        StageOp alphaOp;
        bool blend;
        Blend src, dest;
        bool alphaTest, specular;
        uint32_t diffuse;
        uint32_t expected;
    };
    const uint32_t tex = display::kArgTexture, cur = display::kArgCurrent, dif = display::kArgDiffuse;
    const uint32_t factor = display::kArgTextureFactor, inv = display::kComplement;
    const StageOp mod = StageOp::Modulate, sel = StageOp::SelectArg1;
    const Case cases[] = {
        {"normal", true, tex, cur, mod, tex, mod, true, Blend::SrcAlpha, Blend::InvSrcAlpha, true, false, 0xFFFFFFFF,
         0xFFA06020},
        {"opaque", true, tex, cur, mod, tex, mod, false, Blend::One, Blend::Zero, true, false, 0xFFFFFFFF, 0xFFFF8000},
        {"additive", true, tex, cur, mod, tex, mod, true, Blend::SrcAlpha, Blend::One, true, false, 0xFFFFFFFF,
         0xFFC08040},
        {"subtractive", true, tex, cur, mod, tex, mod, true, Blend::Zero, Blend::InvSrcColor, true, false,
         0xFFFFFFFF, 0xFF002040},
        {"multiply", true, tex, cur, mod, tex, mod, true, Blend::Zero, Blend::SrcColor, true, false, 0xFFFFFFFF,
         0xFF402000},
        {"modulated by a green diffuse", true, tex, cur, mod, tex, mod, true, Blend::SrcAlpha, Blend::InvSrcAlpha,
         true, false, 0xFF00FF00, 0xFF206020},
        {"complement of the texture into a target", true, tex | inv, cur, sel, factor, sel, true, Blend::SrcAlpha,
         Blend::One, true, false, 0xFFFFFFFF, 0xFF40BFFF},
        {"complement of the diffuse", false, dif | inv, cur, sel, factor, sel, false, Blend::One, Blend::Zero, true,
         false, 0xFFFF0000, 0xFF00FFFF},
        {"no texture reads white", false, tex, cur, sel, tex, sel, false, Blend::One, Blend::Zero, true, false,
         0xFF000000, 0xFFFFFFFF},
        {"alpha test drops alpha 0", false, dif, cur, sel, dif, sel, false, Blend::One, Blend::Zero, true, false,
         0x00FF0000, 0xFF404040},
        {"alpha 0 drawn without the test", false, dif, cur, sel, dif, sel, false, Blend::One, Blend::Zero, false,
         false, 0x00FF0000, 0xFFFF0000},
        {"specular added", false, dif, cur, sel, dif, sel, false, Blend::One, Blend::Zero, true, true, 0xFF800000,
         0xFF804000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(0xFF404040);
        display::DrawStates states = States2d();
        states.stage = {c.colorArg1, c.colorArg2, c.colorOp, c.alphaArg1, cur, c.alphaOp};
        states.blendEnable = c.blend;
        states.srcBlend = c.src;
        states.destBlend = c.dest;
        states.alphaTestEnable = c.alphaTest;
        states.specularEnable = c.specular;
        mDevice->SetStates(states);
        mDevice->SetTexture(c.textured ? texture : display::kNoSurface);
        Quad quad = ScreenQuad(-0.5f, -0.5f, 3.5f, 3.5f, c.diffuse);
        for (auto& vertex : quad) vertex.specular = 0xFF004000;
        DrawQuad(quad);
        uint32_t pixel = Pixel(1, 1);
        EXPECT_TRUE(Near(pixel, c.expected, 1)) << std::hex << pixel << " expected " << c.expected;
    }
}

TEST_F(GlDeviceTest, TexturesWithoutAlphaSampleOpaque) {
    Fill(0xFF000000);
    mDevice->SetTexture(MakeTexture(1, 1, {0x0000FF00}, display::Format::X8R8G8B8));
    DrawQuad(ScreenQuad(-0.5f, -0.5f, 3.5f, 3.5f, 0xFFFFFFFF));
    EXPECT_EQ(Pixel(1, 1), 0xFF00FF00u);
}

TEST_F(GlDeviceTest, IntegerPositionsMapEveryTexelToOnePixelUnderLinearFiltering) {
    std::vector<uint32_t> texels(16 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) texels[y * 16 + x] = 0xFF000000u | (x * 16 + 7) << 16 | (y * 16 + 3) << 8 | (x ^ y);
    }
    Fill(0xFF000000);
    mDevice->SetTransform(display::Transform::Projection, Projection2d(kWidth, kHeight));
    mDevice->SetTexture(MakeTexture(16, 16, texels));
    DrawQuad(WorldQuad(200, 100, 216, 116, 0xFFFFFFFF), VertexKind::Transformed);
    EXPECT_EQ(Pixels({200, 100, 216, 116}), texels);
    EXPECT_EQ(Pixel(199, 100), 0xFF000000u);
    EXPECT_EQ(Pixel(216, 115), 0xFF000000u);
}

TEST_F(GlDeviceTest, SameTextureRunsShareOneDrawCallAndChangesSplitThem) {
    // Too wide for a page: each keeps a GL texture of its own.
    constexpr int kWide = 520;
    display::SurfaceId red = MakeTexture(kWide, 1, std::vector<uint32_t>(kWide, 0xFFFF0000));
    display::SurfaceId green = MakeTexture(kWide, 1, std::vector<uint32_t>(kWide, 0xFF00FF00));
    // Small: both on one page.
    display::SurfaceId pagedRed = MakeTexture(1, 1, {0xFFFF0000});
    display::SurfaceId pagedGreen = MakeTexture(1, 1, {0xFF00FF00});
    auto drawRun = [&](display::SurfaceId texture, int count) {
        mDevice->SetTexture(texture);
        for (int i = 0; i < count; ++i) DrawQuad(ScreenQuad(i * 4.5f, 0, i * 4.5f + 4, 4, 0xFFFFFFFF));
    };
    struct Case {
        const char* name;
        display::SurfaceId first, second;
        bool changeStates;
        bool flushEveryDraw;
        uint64_t drawCalls;
    } cases[] = {
        {"three runs", red, green, false, false, 3},
        {"a state change inside the first run", red, green, true, false, 4},
        {"flush every draw", red, green, false, true, 30},
        {"textures that share a page", pagedRed, pagedGreen, false, false, 1},
        {"a state change between textures that share a page", pagedRed, pagedGreen, true, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mDevice->Flush();
        mDevice->SetFlushEveryDraw(c.flushEveryDraw);
        uint64_t before = mDevice->GetDrawCallCount();
        drawRun(c.first, 5);
        if (c.changeStates) {
            display::DrawStates states = States2d();
            states.srcBlend = Blend::One;
            mDevice->SetStates(states);
        }
        drawRun(c.first, 5);
        drawRun(c.second, 10);
        drawRun(c.first, 10);
        mDevice->Flush();
        EXPECT_EQ(mDevice->GetDrawCallCount() - before, c.drawCalls);
        mDevice->SetStates(States2d());
    }
}

TEST_F(GlDeviceTest, LockAndReadBackHandRowsFromTheTop) {
    std::vector<uint32_t> image(4 * 4, 0xFF0000FF);
    for (int x = 0; x < 4; ++x) image[x] = 0xFFFF0000;
    display::SurfaceId texture = MakeTexture(4, 4, image);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_EQ(mDevice->Lock(texture, pixels, pitch), Result::Ok);
    ASSERT_EQ(pitch, 4);
    EXPECT_EQ(pixels[0], 0xFFFF0000u);
    EXPECT_EQ(pixels[3 * pitch], 0xFF0000FFu);
    EXPECT_EQ(mDevice->Lock(texture, pixels, pitch), Result::InvalidArgument);
    pixels[3 * pitch + 1] = 0xFF00FF00;
    ASSERT_EQ(mDevice->Unlock(texture), Result::Ok);

    Fill(0xFF000000);
    display::DrawStates states = States2d();
    states.filter = display::Filter::Point;
    mDevice->SetStates(states);
    mDevice->SetTexture(texture);
    DrawQuad(ScreenQuad(-0.5f, -0.5f, 3.5f, 3.5f, 0xFFFFFFFF));
    EXPECT_EQ(Pixel(2, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(1, 3), 0xFF00FF00u);
    EXPECT_EQ(Pixel(0, 3), 0xFF0000FFu);
}

TEST_F(GlDeviceTest, RenderTargetsCopyToTheBackBufferAndSimpleSurfaces) {
    display::SurfaceId target = display::kNoSurface;
    ASSERT_EQ(mDevice->CreateSurface({64, 32, display::Format::A8R8G8B8, display::SurfaceKind::RenderTarget}, target),
              Result::Ok);
    ASSERT_EQ(mDevice->SetRenderTarget(target), Result::Ok);
    ASSERT_EQ(mDevice->SetViewport({0, 0, 64, 32, 0, 1}), Result::Ok);
    ASSERT_EQ(mDevice->ColorFill(target, {0, 0, 64, 32}, 0xFF000000), Result::Ok);
    DrawQuad(ScreenQuad(-0.5f, -0.5f, 7.5f, 3.5f, 0xFFFF0000));
    ASSERT_EQ(mDevice->SetRenderTarget(display::kBackBuffer), Result::Ok);
    ASSERT_EQ(mDevice->SetViewport({0, 0, kWidth, kHeight, 0, 1}), Result::Ok);

    Fill(0xFF0000FF);
    ASSERT_EQ(mDevice->Copy(target, {0, 0, 64, 32}, display::kBackBuffer, {100, 200, 164, 232}), Result::Ok);
    EXPECT_EQ(Pixel(100, 200), 0xFFFF0000u);
    EXPECT_EQ(Pixel(107, 203), 0xFFFF0000u);
    EXPECT_EQ(Pixel(108, 203), 0xFF000000u);
    EXPECT_EQ(Pixel(99, 200), 0xFF0000FFu);

    display::SurfaceId simple = display::kNoSurface;
    ASSERT_EQ(mDevice->CreateSurface({8, 4, display::Format::X8R8G8B8, display::SurfaceKind::Simple}, simple),
              Result::Ok);
    ASSERT_EQ(mDevice->Copy(display::kBackBuffer, {104, 200, 112, 204}, simple, {0, 0, 8, 4}), Result::Ok);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_EQ(mDevice->Lock(simple, pixels, pitch), Result::Ok);
    EXPECT_EQ(pixels[3], 0xFFFF0000u);
    EXPECT_EQ(pixels[3 * pitch + 4], 0xFF000000u);
    pixels[0] = 0xFF00FF00;
    ASSERT_EQ(mDevice->Unlock(simple), Result::Ok);
    ASSERT_EQ(mDevice->Copy(simple, {0, 0, 8, 4}, display::kBackBuffer, {0, 0, 8, 4}), Result::Ok);
    EXPECT_EQ(Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(Pixel(3, 0), 0xFFFF0000u);
    EXPECT_EQ(mDevice->Copy(simple, {0, 0, 8, 4}, display::kBackBuffer, {0, 0, 16, 8}), Result::InvalidArgument);
    EXPECT_EQ(mDevice->Copy(simple, {0, 0, 9, 4}, display::kBackBuffer, {0, 0, 9, 4}), Result::InvalidArgument);
}

TEST_F(GlDeviceTest, CopiesLandInTexturesNeverCopiedToBefore) {
    display::SurfaceId target = display::kNoSurface;
    ASSERT_EQ(mDevice->CreateSurface({8, 8, display::Format::A8R8G8B8, display::SurfaceKind::RenderTarget}, target),
              Result::Ok);
    ASSERT_EQ(mDevice->ColorFill(target, {0, 0, 8, 8}, 0xFFFF0000), Result::Ok);
    struct Case {
        const char* name;
        int width;
    } cases[] = {{"on a page", 8}, {"too wide for a page", 520}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::SurfaceId texture = MakeTexture(c.width, 1, std::vector<uint32_t>(c.width, 0xFF0000FF));
        ASSERT_EQ(mDevice->Copy(target, {0, 0, 4, 1}, texture, {2, 0, 6, 1}), Result::Ok);
        uint32_t* pixels = nullptr;
        int pitch = 0;
        ASSERT_EQ(mDevice->Lock(texture, pixels, pitch), Result::Ok);
        EXPECT_EQ(pixels[1], 0xFF0000FFu);
        EXPECT_EQ(pixels[2], 0xFFFF0000u);
        EXPECT_EQ(pixels[5], 0xFFFF0000u);
        EXPECT_EQ(pixels[6], 0xFF0000FFu);
        ASSERT_EQ(mDevice->Unlock(texture), Result::Ok);
    }
}

TEST_F(GlDeviceTest, ALostDeviceRefusesWorkUntilItsSurfacesAreRestored) {
    display::SurfaceId texture = MakeTexture(1, 1, {0xFFFF0000});
    mDevice->SimulateLoss();
    EXPECT_TRUE(mDevice->IsSurfaceLost(texture));
    EXPECT_TRUE(mDevice->IsSurfaceLost(display::kBackBuffer));
    EXPECT_EQ(mDevice->BeginScene(), Result::SurfaceLost);
    EXPECT_EQ(mDevice->Present(), Result::SurfaceLost);
    uint32_t pixel = 0xFFFF0000;
    EXPECT_EQ(mDevice->Upload(texture, &pixel, 1, 1), Result::SurfaceLost);
    EXPECT_EQ(mDevice->Draw(display::Primitive::TriangleFan, VertexKind::PreTransformed,
                            ScreenQuad(0, 0, 1, 1, 0).data(), 4),
              Result::SurfaceLost);

    EXPECT_EQ(mDevice->TestCooperativeLevel(), Result::Ok);
    ASSERT_EQ(mDevice->RestoreAllSurfaces(), Result::Ok);
    EXPECT_FALSE(mDevice->IsSurfaceLost(texture));
    EXPECT_FALSE(mDevice->IsSurfaceLost(display::kBackBuffer));
    ASSERT_EQ(mDevice->Upload(texture, &pixel, 1, 1), Result::Ok);
    ASSERT_EQ(mDevice->BeginScene(), Result::Ok);
    Fill(0xFF000000);
    mDevice->SetTexture(texture);
    DrawQuad(ScreenQuad(-0.5f, -0.5f, 1.5f, 1.5f, 0xFFFFFFFF));
    EXPECT_EQ(Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(2, 0), 0xFF000000u);
}

TEST_F(GlDeviceTest, SixteenBitModeUsesSixteenBitSurfaces) {
    ASSERT_EQ(mDevice->SetDisplayMode(kWidth, kHeight, 16), Result::Ok);
    ASSERT_EQ(mDevice->CreateScreen({mWindow, kWidth, kHeight, false, false, true}), Result::Ok);
    display::SurfaceDesc desc;
    ASSERT_TRUE(mDevice->GetSurfaceDesc(display::kBackBuffer, desc));
    EXPECT_EQ(desc.format, display::Format::R5G6B5);
    display::SurfaceId texture = MakeTexture(1, 1, {0xFF808080}, display::Format::A4R4G4B4);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_EQ(mDevice->Lock(texture, pixels, pitch), Result::Ok);
    EXPECT_TRUE(Near(pixels[0], 0xFF888888, 8)) << std::hex << pixels[0];
    EXPECT_EQ(mDevice->Unlock(texture), Result::Ok);
}

TEST_F(GlDeviceTest, CullingFlatShadingAndAddressModesFollowTheStates) {
    // A triangle that turns clockwise on screen (y down), as the classic device sees it.
    const display::Vertex clockwise[] = {{9.5f, 9.5f, 0.5f, 1, 0xFFFF0000, 0, 0, 0},
                                         {29.5f, 9.5f, 0.5f, 1, 0xFF00FF00, 0, 2, 0},
                                         {9.5f, 29.5f, 0.5f, 1, 0xFF0000FF, 0, 0, 2}};
    display::SurfaceId texture = MakeTexture(2, 1, {0xFFFFFFFF, 0xFF000000});
    struct Case {
        const char* name;
        display::Cull cull;
        bool gouraud;
        display::Address address;
        bool drawn;
        uint32_t nearCorner;  // pixel (11, 27), near the blue corner: red when flat
        uint32_t farTexel;    // pixel (21, 10): u of 1.15
    } cases[] = {
        {"clockwise culled", display::Cull::Clockwise, false, display::Address::Clamp, false, 0, 0},
        {"counter-clockwise culled", display::Cull::CounterClockwise, false, display::Address::Clamp, true,
         0xFFFF0000, 0xFF000000},
        {"flat and clamped", display::Cull::None, false, display::Address::Clamp, true, 0xFFFF0000, 0xFF000000},
        {"flat and wrapped", display::Cull::None, false, display::Address::Wrap, true, 0xFFFF0000, 0xFFFF0000},
        {"smooth", display::Cull::None, true, display::Address::Clamp, true, 0xFF0D13DF, 0xFF000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(0xFF404040);
        display::DrawStates states = States2d();
        states.cull = c.cull;
        states.gouraud = c.gouraud;
        states.filter = display::Filter::Point;
        states.addressU = c.address;
        mDevice->SetStates(states);
        mDevice->SetTexture(texture);
        ASSERT_EQ(mDevice->Draw(display::Primitive::TriangleList, VertexKind::PreTransformed, clockwise, 3),
                  Result::Ok);
        if (!c.drawn) {
            EXPECT_EQ(Pixel(11, 27), 0xFF404040u);
            continue;
        }
        EXPECT_TRUE(Near(Pixel(11, 27), c.nearCorner, 2)) << std::hex << Pixel(11, 27);
        EXPECT_EQ(Pixel(21, 10), c.farTexel);
    }
}

TEST_F(GlDeviceTest, LinesAreDrawn) {
    Fill(0xFF000000);
    const display::Vertex line[] = {{10, 20, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}, {30, 20, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0},
                                    {30, 40, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}};
    ASSERT_EQ(mDevice->Draw(display::Primitive::LineStrip, VertexKind::PreTransformed, line, 3), Result::Ok);
    EXPECT_EQ(Pixel(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(30, 30), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(20, 30), 0xFF000000u);
}

TEST_F(GlDeviceTest, FullScreenTakesTheDesktopAndStillPresents) {
    ASSERT_EQ(mDevice->CreateScreen({mWindow, kWidth, kHeight, true, false, false}), Result::Ok);
    EXPECT_TRUE(SDL_GetWindowFlags(mWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_Rect bounds;
    ASSERT_EQ(SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(mWindow), &bounds), 0);
    int windowWidth = 0, windowHeight = 0;
    SDL_GetWindowSize(mWindow, &windowWidth, &windowHeight);
    EXPECT_EQ(windowWidth, bounds.w);
    EXPECT_EQ(windowHeight, bounds.h);
    // Letterboxed: the back buffer's shape, as large as fits, centred.
    display::Rect shown = mDevice->GetPresentRect();
    EXPECT_TRUE(shown.Width() == windowWidth || shown.Height() == windowHeight);
    EXPECT_NEAR(double(shown.Width()) / shown.Height(), double(kWidth) / kHeight, 0.01);
    EXPECT_EQ(shown.left, (windowWidth - shown.Width()) / 2);
    EXPECT_EQ(shown.top, (windowHeight - shown.Height()) / 2);
    display::SurfaceDesc desc;
    ASSERT_TRUE(mDevice->GetSurfaceDesc(display::kBackBuffer, desc));
    EXPECT_EQ(desc.width, kWidth);
    EXPECT_EQ(desc.height, kHeight);
    ASSERT_EQ(mDevice->BeginScene(), Result::Ok);
    DrawQuad(ScreenQuad(9.5f, 9.5f, 19.5f, 19.5f, 0xFFFF0000));
    EXPECT_EQ(mDevice->EndScene(), Result::Ok);
    EXPECT_EQ(mDevice->Present(), Result::Ok);
    EXPECT_EQ(mDevice->GetFlipStatus(), Result::Ok);
}

TEST_F(GlDeviceTest, TexturesBeyondTheDeviceLimitAreRefused) {
    display::DeviceDesc desc = mDevice->GetDeviceDesc();
    ASSERT_GE(desc.maxTextureWidth, 1024u);
    display::SurfaceId texture = display::kNoSurface;
    int tooWide = static_cast<int>(desc.maxTextureWidth) * 2;
    EXPECT_NE(mDevice->CreateSurface({tooWide, 4, display::Format::A8R8G8B8}, texture), Result::Ok);
    EXPECT_EQ(texture, display::kNoSurface);
    EXPECT_EQ(mDevice->CreateSurface({4, 4, display::Format::A8R8G8B8}, texture), Result::Ok);
}

TEST_F(GlDeviceTest, BadArgumentsAreRefused) {
    display::SurfaceId surface = display::kNoSurface;
    EXPECT_EQ(mDevice->CreateSurface({0, 16}, surface), Result::InvalidArgument);
    EXPECT_EQ(surface, display::kNoSurface);
    EXPECT_EQ(mDevice->ColorFill(display::kBackBuffer, {0, 0, kWidth + 1, 1}, 0), Result::InvalidArgument);
    EXPECT_EQ(mDevice->ReadPixels(99, {0, 0, 1, 1}, &surface), Result::InvalidArgument);
    EXPECT_EQ(mDevice->SetRenderTarget(99), Result::InvalidArgument);
    EXPECT_EQ(mDevice->SetViewport({0, 0, 0, 10, 0, 1}), Result::InvalidArgument);
    Quad quad = ScreenQuad(0, 0, 1, 1, 0);
    const uint16_t outOfRange[] = {0, 1, 4};
    EXPECT_EQ(mDevice->DrawIndexed(display::Primitive::TriangleList, VertexKind::PreTransformed, quad.data(), 4,
                                   outOfRange, 3),
              Result::InvalidArgument);
    EXPECT_EQ(mDevice->Draw(static_cast<display::Primitive>(1), VertexKind::PreTransformed, quad.data(), 4),
              Result::InvalidArgument);
    EXPECT_FALSE(mDevice->SelectAdapter(1));
}

}  // namespace
}  // namespace displaytest
