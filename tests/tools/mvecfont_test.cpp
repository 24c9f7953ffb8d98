#include "tools/mvecfont/fontconverter.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/pixeltarget.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/vecfont.h"

namespace {

const char* const kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kScript = "/usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf";
const int kPixels = 32;
const int kFrame = 64;
const int kOriginX = 16;
const int kBaseline = 44;

std::unique_ptr<TVecFont> Convert(const char* path, const mvecfont::ConvertOptions& options = {}) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(mvecfont::ConvertFont(path, options, bytes, error)) << error;
    return std::make_unique<TVecFont>(bytes);
}

// FreeType's own unhinted anti-aliased rendering of one character, its
// origin at (kOriginX, kBaseline) of the frame, rows from the top.
class FreeTypeRenderer {
public:
    explicit FreeTypeRenderer(const char* path) {
        FT_Init_FreeType(&mLibrary);
        if (FT_New_Face(mLibrary, path, 0, &mFace) != 0) mFace = nullptr;
        if (mFace) FT_Set_Pixel_Sizes(mFace, 0, kPixels);
    }
    ~FreeTypeRenderer() {
        if (mFace) FT_Done_Face(mFace);
        FT_Done_FreeType(mLibrary);
    }

    bool Render(uint32_t code, std::vector<uint8_t>& pixels, double& advance) {
        if (!mFace || FT_Load_Char(mFace, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return false;
        advance = mFace->glyph->linearHoriAdvance / 65536.0;
        FT_Outline& outline = mFace->glyph->outline;
        FT_Outline_Translate(&outline, kOriginX * 64, (kFrame - kBaseline) * 64);
        pixels.assign(kFrame * kFrame, 0);
        FT_Bitmap bitmap = {};
        bitmap.rows = kFrame;
        bitmap.width = kFrame;
        bitmap.pitch = kFrame;
        bitmap.buffer = pixels.data();
        bitmap.num_grays = 256;
        bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
        return FT_Outline_Get_Bitmap(mLibrary, &outline, &bitmap) == 0;
    }

private:
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
};

// Our rasteriser's coverage of the same character, scaled so the advance
// matches FreeType's.
std::vector<uint8_t> RenderOurs(const TVecFont& font, uint32_t code, double advance) {
    TRenderer renderer;
    renderer.SetBackEnd(std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, kFrame, kFrame)));
    TQmMiniVecDraw draw(renderer);
    int index = font.FindGlyph(code);
    EXPECT_GE(index, 0) << code;
    float quarterPixelsPerUnit = static_cast<float>(advance / font.GetAdvance(index) * 4);
    draw.SetScale(quarterPixelsPerUnit, quarterPixelsPerUnit);
    draw.SetPixelModes(false, true);
    TPixelBuffer buffer(kFrame, kFrame);
    draw.Begin(kOriginX, kBaseline, &buffer);
    draw.DrawShape(font.GetGlyphShape(index), 0, 0);
    draw.End();
    std::vector<uint8_t> alpha;
    for (uint32_t pixel : buffer.GetPixels()) alpha.push_back(static_cast<uint8_t>(pixel >> 24));
    return alpha;
}

// The mean difference over the box around the ink of both renderings.
double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int left = kFrame, right = -1, top = kFrame, bottom = -1;
    for (int y = 0; y < kFrame; ++y) {
        for (int x = 0; x < kFrame; ++x) {
            if (!a[y * kFrame + x] && !b[y * kFrame + x]) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    double sum = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) sum += std::abs(int(a[y * kFrame + x]) - int(b[y * kFrame + x]));
    }
    return right < 0 ? 0 : sum / ((right - left + 1) * (bottom - top + 1));
}

void ExpectLikeFreeType(const char* path, const std::vector<uint32_t>& codes) {
    std::unique_ptr<TVecFont> font = Convert(path);
    FreeTypeRenderer freeType(path);
    for (uint32_t code : codes) {
        std::vector<uint8_t> theirs;
        double advance = 0;
        ASSERT_TRUE(freeType.Render(code, theirs, advance)) << code;
        std::vector<uint8_t> ours = RenderOurs(*font, code, advance);
        int inked = 0;
        for (uint8_t v : ours) inked += v != 0;
        EXPECT_GT(inked, 20) << "U+" << std::hex << code;
        EXPECT_LE(MeanDifference(ours, theirs), 6.0) << "U+" << std::hex << code;
    }
}

TEST(MvecFont, GlyphsDrawLikeFreeTypeDrawsThem) {
    // Cedilla and ogonek overlap their base letters: they are written in groups.
    ExpectLikeFreeType(kSans, {'A', 'g', 0xE9, '@', 0xDF, 0x20AC, 0xE7, 0x105});
}

TEST(MvecFont, CubicCurvesDrawLikeFreeTypeDrawsThem) {
    ExpectLikeFreeType(kScript, {'A', 'g', 0xE9, '@', 0xDF});
}

TEST(MvecFont, TheFontHoldsTheChosenRangesInOrder) {
    std::unique_ptr<TVecFont> font = Convert(kSans);
    for (uint32_t code = 32; code < 127; ++code) EXPECT_GE(font->FindGlyph(code), 0) << code;
    for (uint32_t code : {0xA0u, 0xFFu, 0x100u, 0x17Fu, 0x2013u, 0x201Eu, 0x2026u, 0x20ACu}) {
        EXPECT_GE(font->FindGlyph(code), 0) << code;
    }
    EXPECT_EQ(font->FindGlyph(0x400), -1) << "Cyrillic is not chosen";
    EXPECT_NEAR(font->GetAscent(), 100 * 1493 / 2048.0, 0.01) << "'W' reaches 1493 of 2048 units";
}

TEST(MvecFont, ChosenRangesAndAFontWithoutW) {
    mvecfont::ConvertOptions options;
    ASSERT_TRUE(mvecfont::ParseRanges("0x41-0x5A,0x20ac", options.ranges));
    std::unique_ptr<TVecFont> font = Convert(kSans, options);
    EXPECT_EQ(font->GetGlyphCount(), 27);
    EXPECT_GE(font->FindGlyph(0x20AC), 0);

    ASSERT_TRUE(mvecfont::ParseRanges("48-57", options.ranges));
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(mvecfont::ConvertFont(kSans, options, bytes, error));
    EXPECT_EQ(error, "the chosen glyphs hold no 'W'");
    EXPECT_FALSE(mvecfont::ConvertFont("/nonexistent.ttf", {}, bytes, error));
}

TEST(MvecFont, RangeText) {
    std::vector<mvecfont::CodeRange> ranges;
    ASSERT_TRUE(mvecfont::ParseRanges("32-126,0xA0,0x100-0x17f", ranges));
    ASSERT_EQ(ranges.size(), 3u);
    EXPECT_EQ(ranges[1].first, 0xA0u);
    EXPECT_EQ(ranges[1].last, 0xA0u);
    EXPECT_EQ(ranges[2].last, 0x17Fu);
    for (const char* bad : {"", "32-", "-5", "x", "10-5", "1,,2", "0x110000"}) {
        EXPECT_FALSE(mvecfont::ParseRanges(bad, ranges)) << bad;
    }
    EXPECT_EQ(ranges.size(), 3u) << "a bad text leaves the ranges";
}

}  // namespace
