// Comparison texts of goals parsed into flag bits, and values tested under
// every combination of the bits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/progression/compare.h"

namespace {

TEST(CompareTest, ParsesWordsAndSymbols) {
    const struct {
        const char* text;
        int flags;
    } kCases[] = {
        {"GreaterThan + Equal", 12},
        {">=", 12},
        {"<>", 6},
        {"!=", 9},
        {"not equal", 0},
        {"not+equal", 9},
        {"not+", 1},
        {"", 0},
        {"not+>=", 13},
        {"less\tthan", 0},
        {"less than", 2},
        {"LESSTHAN+nonsense", 2},
        {"+greaterthan+", 4},
        {"equals", 0},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ParseCompareFlags(c.text), c.flags) << '"' << c.text << '"';
    }
}

TEST(CompareTest, LeavesTheCallersTextAlone) {
    TString text = "Not+Equal";
    ParseCompareFlags(text);
    EXPECT_STREQ(text.c_str(), "Not+Equal");
}

TEST(CompareTest, EvaluatesEveryFlagCombination) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Columns: 3 against 5, 5 against 5, 6 against 5, NaN against 5.
    const struct {
        int flags;
        bool below, same, above, notANumber;
    } kRows[] = {
        {0, false, false, false, false},  {1, true, true, true, true},
        {2, true, false, false, false},   {3, false, true, true, true},
        {4, false, false, true, false},   {5, true, true, false, true},
        {6, false, false, false, false},  {7, false, false, false, false},
        {8, false, true, false, false},   {9, true, false, true, true},
        {10, true, true, false, false},   {11, false, false, true, true},
        {12, false, true, true, false},   {13, true, false, false, true},
        {14, true, true, false, false},   {15, false, false, true, true},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(EvaluateCompare(3, 5, row.flags), row.below) << "flags " << row.flags;
        EXPECT_EQ(EvaluateCompare(5, 5, row.flags), row.same) << "flags " << row.flags;
        EXPECT_EQ(EvaluateCompare(6, 5, row.flags), row.above) << "flags " << row.flags;
        EXPECT_EQ(EvaluateCompare(nan, 5, row.flags), row.notANumber) << "flags " << row.flags;
    }
}

TEST(CompareTest, NaNThresholdAndSignedZeroAndInfinity) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(EvaluateCompare(5, nan, kCompareGreater | kCompareEqual));
    EXPECT_TRUE(EvaluateCompare(5, nan, kCompareNot | kCompareEqual));
    EXPECT_TRUE(EvaluateCompare(-0.0f, 0.0f, kCompareEqual));
    EXPECT_TRUE(EvaluateCompare(inf, inf, kCompareEqual));
    EXPECT_TRUE(EvaluateCompare(inf, 1e30f, kCompareGreater));
    EXPECT_TRUE(EvaluateCompare(-inf, 0, kCompareLess));
}

}  // namespace
