#include "foundation/guid.h"
#include "tests/support/fullmatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Guid, NewGuidsDifferAndCarryTheVersionBits) {
    TGuid a;
    TGuid b;
    ASSERT_TRUE(NewGuid(a));
    ASSERT_TRUE(NewGuid(b));
    EXPECT_FALSE(a.words[0] == b.words[0] && a.words[1] == b.words[1] && a.words[2] == b.words[2] &&
                 a.words[3] == b.words[3]);
    EXPECT_EQ(a.words[1] >> 28, 4u);       // version 4
    EXPECT_EQ(a.words[2] & 0xC0u, 0x80u);  // variant
}

TEST(Guid, StringIsThirtyTwoLowerCaseHexDigits) {
    std::string a = NewGuidString().c_str();
    std::string b = NewGuidString().c_str();
    EXPECT_TRUE(FullMatch(a, "[0-9a-f]{8}4[0-9a-f]{23}")) << a;
    EXPECT_NE(a, b);
}

}  // namespace
