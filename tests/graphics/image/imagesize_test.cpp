#include "graphics/image/imagesize.h"

#include <gtest/gtest.h>

#include "tests/support/luatesting.h"

namespace {

TEST(ImageSizeTest, NextPowerOfTwo) {
    EXPECT_EQ(NextPowerOfTwo(0), 1u);
    EXPECT_EQ(NextPowerOfTwo(1), 1u);
    EXPECT_EQ(NextPowerOfTwo(3), 4u);
    EXPECT_EQ(NextPowerOfTwo(4096), 4096u);
    EXPECT_EQ(NextPowerOfTwo(4097), 8192u);
    EXPECT_EQ(NextPowerOfTwo(0x80000000u), 0x80000000u);
    EXPECT_EQ(NextPowerOfTwo(0x80000001u), 0u);
}

TEST(ImageSizeTest, SidesOutsideOneTo4096AreRefusedWithALogLine) {
    TestLog log;
    EXPECT_EQ(SquareSideFor("Decoder", "a.png", 300, 200), 512u);
    EXPECT_EQ(SquareSideFor("Decoder", "a.png", 4096, 4096), 4096u);
    EXPECT_EQ(SquareSideFor("Decoder", "a.png", 0, 10), 0u);
    EXPECT_EQ(SquareSideFor("Decoder", "b.png", 10, 4097), 0u);
    EXPECT_EQ(SquareSideFor("Decoder", "c.png", 0xFFFFFFFFu, 1), 0u);
    EXPECT_TRUE(log.Contains("Decoder: a.png is 0x10 pixels; images must be 1 to 4096 pixels a side"));
    EXPECT_TRUE(log.Contains("Decoder: b.png is 10x4097 pixels"));
    EXPECT_TRUE(log.Contains("Decoder: c.png is 4294967295x1 pixels"));
}

}  // namespace
