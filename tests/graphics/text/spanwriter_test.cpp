#include "graphics/text/spanwriter.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    TPixelMode mode;
    uint32_t source;
    uint32_t before;
    uint32_t after;
};

TEST(SpanWriter, PixelModes) {
    const Case cases[] = {
        {"copy", TPixelMode::kCopy, 0x80102030, 0xFF405060, 0x80102030},
        {"blend keeps the alpha", TPixelMode::kBlend, 0x33FF0000, 0x800000FF, 0x803300CC},
        {"blend opaque", TPixelMode::kBlend, 0xFF123456, 0x00ABCDEF, 0x00123456},
        {"merge weighs by both alphas", TPixelMode::kMerge, 0x40FF0000, 0xC00000FF, 0xFF3F00BF},
        {"merge onto transparent", TPixelMode::kMerge, 0x40FF8000, 0x00000000, 0x40FF8000},
        {"merge of nothing onto nothing", TPixelMode::kMerge, 0x00FF8000, 0x00123456, 0x00123456},
        {"merge of nothing keeps the pixel", TPixelMode::kMerge, 0x00FF8000, 0x80123456, 0x80123456},
    };
    for (const Case& c : cases) {
        TPixelBuffer buffer(3, 1);
        for (int x = 0; x < 3; ++x) buffer.SetPixel(x, 0, c.before);
        TLockedPixels locked;
        ASSERT_TRUE(buffer.Lock(locked));
        WriteSpan(locked, 1, 2, 0, c.source, c.mode);
        EXPECT_EQ(buffer.GetPixel(1, 0), c.after) << c.what;
        EXPECT_EQ(buffer.GetPixel(0, 0), c.before) << c.what;
        EXPECT_EQ(buffer.GetPixel(2, 0), c.before) << c.what;
    }
}

TEST(SpanWriter, PartsOutsideTheTargetAreLeftOut) {
    TPixelBuffer buffer(4, 2);
    TLockedPixels locked;
    ASSERT_TRUE(buffer.Lock(locked));
    WriteSpan(locked, -10, 2, 0, 0xFF00FF00, TPixelMode::kCopy);
    WriteSpan(locked, 3, 50, 1, 0xFF0000FF, TPixelMode::kCopy);
    WriteSpan(locked, -10, -2, 1, 0xFFFF0000, TPixelMode::kCopy);
    WriteSpan(locked, 6, 9, 1, 0xFFFF0000, TPixelMode::kCopy);
    WriteSpan(locked, 0, 4, -1, 0xFFFF0000, TPixelMode::kCopy);
    WriteSpan(locked, 0, 4, 2, 0xFFFF0000, TPixelMode::kCopy);
    std::vector<uint32_t> expected = {0xFF00FF00, 0xFF00FF00, 0, 0, 0, 0, 0, 0xFF0000FF};
    EXPECT_EQ(buffer.GetPixels(), expected);
}

}  // namespace
