// Small textures on shared pages draw, read and write as they would on
// textures of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "glfixture.h"

namespace displaytest {
namespace {

using display::Filter;
using display::Result;
using display::SurfaceId;

constexpr int kSide = 4;
const display::Rect kArea{0, 0, 80, 80};

// Every texel different; the right column transparent, as an image's margin.
std::vector<uint32_t> Texels(uint32_t base) {
    std::vector<uint32_t> texels(kSide * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            uint32_t alpha = x == kSide - 1 ? 0 : 0xFF000000u;
            texels[y * kSide + x] = alpha | base | static_cast<uint32_t>(x * 60) << 8 | static_cast<uint32_t>(y * 60);
        }
    }
    return texels;
}

struct DrawCase {
    const char* name;
    Filter filter;
    float centre, side, angle, low, high;
};

// Upright quads land exactly as on a texture of their own; a turned one may
// differ by one step in a few pixels, where the page's coarser texture
// coordinates round a filter weight the other way.
const DrawCase kDrawCases[] = {
    {"at its own size on whole pixels", Filter::Linear, 39.5f, 4, 0, 0, 1},
    {"twelve times as large", Filter::Linear, 40, 48, 0, 0, 1},
    {"coordinates a little past the edges", Filter::Linear, 40, 56, 0, -0.1f, 1.1f},
    {"point filtering", Filter::Point, 40.5f, 36, 0, 0, 1},
    {"turned and larger", Filter::Linear, 40, 40, 0.5f, 0, 1},
    {"coordinates far past the edges", Filter::Linear, 40, 64, 0, -1, 2},
};

// A square of that side around (centre, centre), turned by the angle, with
// texture coordinates from low to high.
Quad DrawnQuad(const DrawCase& c) {
    Quad quad = ScreenQuad(0, 0, 0, 0, 0xFFFFFFFF);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
        float x = corners[i][0] * c.side / 2, y = corners[i][1] * c.side / 2;
        quad[i].x = c.centre + x * std::cos(c.angle) - y * std::sin(c.angle);
        quad[i].y = c.centre + x * std::sin(c.angle) + y * std::cos(c.angle);
        quad[i].u = corners[i][0] < 0 ? c.low : c.high;
        quad[i].v = corners[i][1] < 0 ? c.low : c.high;
    }
    return quad;
}

class GlPagesTest : public GlDeviceTest {
protected:
    // A texture of its own: mipmapped ones never go on a page, and drawn
    // larger they read their first level only.
    SurfaceId OwnTexture(const std::vector<uint32_t>& texels) {
        SurfaceId texture = display::kNoSurface;
        EXPECT_EQ(mDevice->CreateSurface({kSide, kSide, display::Format::A8R8G8B8, display::SurfaceKind::Texture, true},
                                         texture),
                  Result::Ok);
        EXPECT_EQ(mDevice->Upload(texture, texels.data(), kSide, kSide), Result::Ok);
        return texture;
    }

    std::vector<uint32_t> Drawn(SurfaceId texture, const DrawCase& c) {
        Fill(0xFF102030);
        display::DrawStates states = States2d();
        states.filter = c.filter;
        mDevice->SetStates(states);
        mDevice->SetTexture(texture);
        DrawQuad(DrawnQuad(c));
        return Pixels(kArea);
    }

    // The texture draws as a texture of its own with these texels does.
    void ExpectDrawnAsItsOwn(SurfaceId texture, const std::vector<uint32_t>& texels, const DrawCase& c) {
        std::vector<uint32_t> drawn = Drawn(texture, c), own = Drawn(OwnTexture(texels), c);
        if (c.angle == 0) {
            EXPECT_EQ(drawn, own);
            return;
        }
        int differing = 0;
        for (size_t i = 0; i < drawn.size(); ++i) {
            if (drawn[i] == own[i]) continue;
            ++differing;
            EXPECT_TRUE(Near(drawn[i], own[i], 1)) << std::hex << drawn[i] << " against " << own[i];
        }
        EXPECT_LE(differing, static_cast<int>(drawn.size() / 100));
    }

    std::vector<uint32_t> LockedTexels(SurfaceId texture) {
        uint32_t* pixels = nullptr;
        int pitch = 0;
        EXPECT_EQ(mDevice->Lock(texture, pixels, pitch), Result::Ok);
        EXPECT_EQ(pitch, kSide);
        std::vector<uint32_t> texels(pixels, pixels + kSide * kSide);
        EXPECT_EQ(mDevice->Unlock(texture), Result::Ok);
        return texels;
    }
};

TEST_F(GlPagesTest, NeighboursOnAPageFilterTheirEdgesAsTexturesOfTheirOwn) {
    const std::vector<uint32_t> redish = Texels(0xC00000), blueish = Texels(0x00000C);
    for (const DrawCase& c : kDrawCases) {
        SCOPED_TRACE(c.name);
        // New neighbours for every case: far coordinates move a texture off its page.
        SurfaceId first = MakeTexture(kSide, kSide, redish);
        SurfaceId second = MakeTexture(kSide, kSide, blueish);
        ExpectDrawnAsItsOwn(first, redish, c);
        ExpectDrawnAsItsOwn(second, blueish, c);
    }
}

TEST_F(GlPagesTest, DrawsFromTexturesOnOnePageShareADrawCall) {
    std::vector<SurfaceId> textures;
    for (uint32_t i = 0; i < 6; ++i) textures.push_back(MakeTexture(kSide, kSide, Texels(i << 20)));
    mDevice->Flush();
    uint64_t before = mDevice->GetDrawCallCount();
    for (int round = 0; round < 3; ++round) {
        for (SurfaceId texture : textures) {
            mDevice->SetTexture(texture);
            DrawQuad(DrawnQuad(kDrawCases[0]));
        }
    }
    mDevice->Flush();
    EXPECT_EQ(mDevice->GetDrawCallCount() - before, 1u);
}

TEST_F(GlPagesTest, WritesIntoAPagedTextureTouchOnlyItsOwnPixelsAndKeepItsEdges) {
    const std::vector<uint32_t> greenish = Texels(0x00C000);
    struct Case {
        const char* name;
        std::function<void(SurfaceId)> write;
        std::function<void(std::vector<uint32_t>&)> expect;
    } cases[] = {
        {"lock and unlock",
         [&](SurfaceId texture) {
             uint32_t* pixels = nullptr;
             int pitch = 0;
             ASSERT_EQ(mDevice->Lock(texture, pixels, pitch), Result::Ok);
             ASSERT_EQ(pitch, kSide);
             for (int i = 0; i < kSide * kSide; ++i) pixels[i] = ~pixels[i] | 0xFF000000u;
             ASSERT_EQ(mDevice->Unlock(texture), Result::Ok);
         },
         [](std::vector<uint32_t>& texels) {
             for (uint32_t& texel : texels) texel = ~texel | 0xFF000000u;
         }},
        {"colour fill of a corner",
         [&](SurfaceId texture) {
             ASSERT_EQ(mDevice->ColorFill(texture, {2, 2, 4, 4}, 0xFFFFFF00), Result::Ok);
         },
         [](std::vector<uint32_t>& texels) {
             for (int y = 2; y < 4; ++y) {
                 for (int x = 2; x < 4; ++x) texels[y * kSide + x] = 0xFFFFFF00;
             }
         }},
        {"copy from the back buffer onto an edge",
         [&](SurfaceId texture) {
             Fill(0xFF0000FF);
             ASSERT_EQ(mDevice->Copy(display::kBackBuffer, {0, 0, 4, 1}, texture, {0, 0, 4, 1}), Result::Ok);
         },
         [](std::vector<uint32_t>& texels) { std::fill(texels.begin(), texels.begin() + kSide, 0xFF0000FF); }},
        {"upload of the top rows",
         [&](SurfaceId texture) {
             std::vector<uint32_t> rows(kSide * 2, 0xFFFF00FF);
             ASSERT_EQ(mDevice->Upload(texture, rows.data(), kSide, 2), Result::Ok);
         },
         [](std::vector<uint32_t>& texels) { std::fill(texels.begin(), texels.begin() + 2 * kSide, 0xFFFF00FF); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Written between two neighbours.
        SurfaceId before = MakeTexture(kSide, kSide, greenish);
        SurfaceId written = MakeTexture(kSide, kSide, Texels(0xC00000));
        SurfaceId after = MakeTexture(kSide, kSide, greenish);
        std::vector<uint32_t> expected = Texels(0xC00000);
        c.write(written);
        c.expect(expected);
        EXPECT_EQ(LockedTexels(written), expected);
        EXPECT_EQ(LockedTexels(before), greenish);
        EXPECT_EQ(LockedTexels(after), greenish);
        for (const DrawCase& draw : kDrawCases) {
            SCOPED_TRACE(draw.name);
            ExpectDrawnAsItsOwn(before, greenish, draw);
            ExpectDrawnAsItsOwn(written, expected, draw);
        }
    }
}

TEST_F(GlPagesTest, PagedTexturesComeBackOnNewPagesAfterALostDevice) {
    const std::vector<uint32_t> redish = Texels(0xC00000), blueish = Texels(0x00000C);
    SurfaceId first = MakeTexture(kSide, kSide, redish);
    SurfaceId second = MakeTexture(kSide, kSide, blueish);
    mDevice->SimulateLoss();
    EXPECT_TRUE(mDevice->IsSurfaceLost(first));
    ASSERT_EQ(mDevice->RestoreAllSurfaces(), Result::Ok);
    ASSERT_EQ(mDevice->BeginScene(), Result::Ok);
    // Restored surfaces start transparent black until their owners upload them again.
    EXPECT_EQ(LockedTexels(first), std::vector<uint32_t>(kSide * kSide, 0));
    ASSERT_EQ(mDevice->Upload(first, redish.data(), kSide, kSide), Result::Ok);
    ASSERT_EQ(mDevice->Upload(second, blueish.data(), kSide, kSide), Result::Ok);
    for (const DrawCase& c : kDrawCases) {
        SCOPED_TRACE(c.name);
        ExpectDrawnAsItsOwn(first, redish, c);
        ExpectDrawnAsItsOwn(second, blueish, c);
    }
}

}  // namespace
}  // namespace displaytest
