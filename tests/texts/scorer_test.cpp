// The score text: the digit-group formats from the string table, their
// check, and the count toward the target.
#include <gtest/gtest.h>

#include <string>

#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "game/texts/scorer.h"
#include "game/texts/scorerformat.h"
#include "tests/widgets/widgetstesting.h"

namespace {

TEST(ScorerFormatTest, IntegerConversionsOnly) {
    const struct {
        const char* format;
        int count;
        bool accepted;
    } cases[] = {
        {"%d", 1, true},
        {"%i pts", 1, true},
        {"%d.%03d", 2, true},
        {"%-+ #05.2d|%d|%d", 3, true},
        {"100%% %d", 1, true},
        {"%d,%03d,%03d,%03d", 4, true},
        {"%d", 2, false},
        {"%d %d", 1, false},
        {"%s", 1, false},
        {"%d %s", 2, false},
        {"%ld", 1, false},
        {"%*d", 1, false},
        {"%123d", 1, false},
        {"%.123d", 1, false},
        {"%n", 1, false},
        {"%", 1, false},
        {"#####", 1, false},
        {"", 1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsIntegerFormat(c.format, c.count), c.accepted) << c.format;
}

std::string Row(const std::string& label, const std::string& text) {
    return "<Row><Cell><Data>" + label + "</Data></Cell><Cell><Data>" + text + "</Data></Cell></Row>";
}

class ScorerTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        Load(Row("localizer_number_tens_format", "[%%d]") + Row("localizer_number_thousands_format", "%%d.%%03d") +
             Row("localizer_number_millions_format", "%%d.%%03d.%%03d") +
             Row("localizer_number_billions_format", "%%d'%%03d'%%03d'%%03d"));
    }
    void TearDown() override { RegisterMemoryFile(kFile, nullptr, 0); }
    void Load(const std::string& rows) {
        sheet = "<Workbook><Worksheet><Table>" + rows + "</Table></Worksheet></Workbook>";
        RegisterMemoryFile(kFile, sheet.data(), sheet.size());
        ASSERT_TRUE(strings.Load(kFile));
    }

    static constexpr const char* kFile = "scorer_strings.xml";
    std::string sheet;
    TStringTable strings;
    TestLog log;
};

TEST_F(ScorerTableTest, RowsByRange) {
    const struct {
        int32_t number;
        const char* shown;
    } cases[] = {
        {0, "[0]"},
        {999, "[999]"},
        {-5000, "[-5000]"},
        {INT32_MIN, "[-2147483648]"},
        {1000, "1.000"},
        {123456, "123.456"},
        {1000000, "1.000.000"},
        {1234567890, "1'234'567'890"},
        {INT32_MAX, "2'147'483'647"},
    };
    for (const auto& c : cases) EXPECT_STREQ(FormatScore(c.number, &strings).c_str(), c.shown) << c.number;
}

TEST_F(ScorerTableTest, BadOrMissingFormatsFallBackAndLog) {
    Load(Row("localizer_number_tens_format", "%%s") + Row("localizer_number_thousands_format", "%%d %%d %%d"));
    EXPECT_STREQ(FormatScore(12, &strings).c_str(), "12");
    EXPECT_TRUE(log.Contains("localizer_number_tens_format"));
    EXPECT_STREQ(FormatScore(1005, &strings).c_str(), "1,005");
    EXPECT_STREQ(FormatScore(1234567, &strings).c_str(), "1,234,567");
    EXPECT_STREQ(FormatScore(1234567890, &strings).c_str(), "1,234,567,890");
    EXPECT_TRUE(log.Contains("localizer_number_billions_format"));
    EXPECT_STREQ(FormatScore(7, nullptr).c_str(), "7");
}

class ScorerTest : public WidgetsTest {
protected:
    void Step(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        dialog->RunTasks(0);
    }
};

TEST_F(ScorerTest, CountsTowardTheTargetByTheStepFromEitherSide) {
    RScorer* scorer = Make<RScorer>("{ x = 0, y = 0, w = 200, h = 40, incrementsteps = 30 }");
    EXPECT_EQ(scorer->GetIncrementSteps(), 30);
    EXPECT_STREQ(scorer->GetText().c_str(), "0");
    auto term = std::make_shared<RScoreTerm>();
    term->count = 3;
    term->factor = 333.9f;
    scorer->AddTerm(term);
    scorer->SetBaseScore(10);
    scorer->SetStep(400);
    EXPECT_EQ(scorer->GetTarget(), 10 + 1001);
    Step(16);
    EXPECT_EQ(scorer->GetShownValue(), 400);
    Step(16);
    Step(16);
    EXPECT_EQ(scorer->GetShownValue(), 1011);
    EXPECT_STREQ(scorer->GetText().c_str(), "1,011");
    term->count = -1;
    EXPECT_EQ(scorer->GetTarget(), 10 - 333);
    Step(16);
    EXPECT_EQ(scorer->GetShownValue(), 611);
    Step(16);
    Step(16);
    EXPECT_EQ(scorer->GetShownValue(), -189);
    Step(16);
    EXPECT_EQ(scorer->GetShownValue(), -323);
    EXPECT_STREQ(scorer->GetText().c_str(), "-323");
}

TEST_F(ScorerTest, HugeTermsSaturateAndHideHidesIt) {
    RScorer* scorer = Make<RScorer>("{ x = 0, y = 0, w = 200, h = 40, hide = true }");
    EXPECT_FALSE(scorer->IsVisible());
    auto term = std::make_shared<RScoreTerm>();
    term->count = INT32_MAX;
    term->factor = 1e30f;
    scorer->AddTerm(term);
    scorer->SetBaseScore(INT32_MAX);
    EXPECT_EQ(scorer->GetTarget(), INT32_MAX);
    scorer->SetStep(INT32_MIN);
    Step(16);
    EXPECT_EQ(scorer->GetShownValue(), INT32_MAX);
    term->factor = -1e30f;
    EXPECT_EQ(scorer->GetTarget(), INT32_MIN);
}

}  // namespace
