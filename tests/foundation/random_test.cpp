#include "foundation/random.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// First draws of the reference generator after init_by_array {0x123, 0x234, 0x345, 0x456}.
const uint32_t kReferenceByArray[] = {1067595299u, 955945823u, 477289528u, 4107218783u, 4228976476u};

TEST(TRandom, SeedByArrayMatchesTheReferenceOutputs) {
    const uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
    TRandom random;
    random.Seed(1);
    random.SeedByArray(key, 4);
    for (uint32_t expected : kReferenceByArray) {
        EXPECT_EQ(random.Next(), expected);
    }
}

TEST(TRandom, ConstructorSeedsWithItsFixedKey) {
    TRandom random;
    for (uint32_t expected : kReferenceByArray) {
        EXPECT_EQ(random.Next(), expected);
    }
}

// The standard library's mt19937 is the reference generator seeded with init_genrand.
TEST(TRandom, SeedMatchesTheReferenceAcrossRegenerations) {
    for (uint32_t seed : {0u, 1u, 5489u, 4357u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(seed);
        TRandom random;
        random.Seed(seed);
        std::mt19937 reference(seed);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(random.Next(), reference()) << "draw " << i;
        }
    }
}

TEST(TRandom, TenThousandthDrawOfTheDefaultSeed) {
    TRandom random;
    random.Seed(5489);
    uint32_t draw = 0;
    for (int i = 0; i < 10000; ++i) {
        draw = random.Next();
    }
    EXPECT_EQ(draw, 4123659995u);
}

TEST(TRandom, EmptyKeyIsUsable) {
    TRandom a;
    TRandom b;
    a.SeedByArray(nullptr, 0);
    const uint32_t zero = 0;
    b.SeedByArray(&zero, 1);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(a.Next(), b.Next());
    }
}

}  // namespace
