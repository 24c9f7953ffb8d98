#include "platform/os/randombytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

TEST(RandomBytes, FillsTheWholeBufferWithFreshBytes) {
    std::array<unsigned char, 16> a{};
    std::array<unsigned char, 16> b{};
    ASSERT_TRUE(os::RandomBytes(a.data(), a.size()));
    ASSERT_TRUE(os::RandomBytes(b.data(), b.size()));
    EXPECT_NE(a, b);

    // Every byte position gets written: no position stays zero in all of 8 draws.
    std::vector<unsigned char> seen(4096, 0);
    for (int draw = 0; draw < 8; ++draw) {
        std::vector<unsigned char> bytes(4096, 0);
        ASSERT_TRUE(os::RandomBytes(bytes.data(), bytes.size()));
        for (size_t i = 0; i < bytes.size(); ++i) {
            seen[i] |= bytes[i];
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0);
}

TEST(RandomBytes, EmptyRequestSucceeds) {
    EXPECT_TRUE(os::RandomBytes(nullptr, 0));
}

}  // namespace
