#include "foundation/computerid.h"

#include <gtest/gtest.h>

namespace {

TEST(ComputerIdTest, KnownSources)
{
    const struct
    {
        uint8_t source[8];
        const char* id;
    } cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, "@B@C@D@E@F@G@H@I"},
        // Bytes 6 and 7 are not used: they become copies of bytes 3 and 4.
        {{1, 0, 0, 0, 0, 0, 0x55, 0x66}, "AB@C@D@E@F@G@HAI"},
        // The high three bits of each XOR pick the letter.
        {{0xE0, 0, 0, 0, 0, 0, 0, 0}, "@I@C@D@E@F@G@H@P"},
        // Byte 3 appears twice: at its place and again as byte 6.
        {{0, 0, 0, 0x21, 0, 0, 0, 0}, "@B@CAEAF@FAHAI@I"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(MakeComputerIdFrom(c.source).c_str(), c.id);
    }
}

TEST(ComputerIdTest, HasTheShapeOfAnIdentifier)
{
    const TString id = MakeComputerId();
    ASSERT_EQ(id.Length(), 16);
    for (int i = 0; i < 16; i += 2) {
        EXPECT_GE(id.CharAt(i), 0x40);
        EXPECT_LE(id.CharAt(i), 0x5F);
        EXPECT_GE(id.CharAt(i + 1), 'B');
        EXPECT_LE(id.CharAt(i + 1), 'P');
    }
}

} // namespace
