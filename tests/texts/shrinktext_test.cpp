// The shrinking text: the line height from the "font" table, the shrink
// until the text fits, its cap and its log line.
#include <gtest/gtest.h>

#include "game/texts/shrinktext.h"
#include "graphics/text/textlayout.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class ShrinkTextTest : public WidgetsTest {
protected:
    // True when the laid-out text lies strictly inside the window.
    static bool Fits(RShrinkText* text) {
        TRect extent = text->GetLayout()->GetExtents(1.0f);
        return extent.right - extent.left < text->GetWidth() && extent.bottom - extent.top < text->GetHeight();
    }

    static constexpr const char* kLong = "a rather long text that cannot fit";
};

TEST_F(ShrinkTextTest, AFittingTextKeepsItsHeightAndAShorterOneRestoresIt) {
    RShrinkText* text = Make<RShrinkText>("{ x = 0, y = 0, w = 150, h = 60, font = { '', 20 } }");
    EXPECT_EQ(text->GetConfiguredLineHeight(), 20);
    text->SetText("short");
    EXPECT_EQ(text->GetLineHeight(), 20);
    text->SetText(kLong);
    EXPECT_LT(text->GetLineHeight(), 20);
    EXPECT_GT(text->GetLineHeight(), 0);
    EXPECT_TRUE(Fits(text));
    text->SetText("short");
    EXPECT_EQ(text->GetLineHeight(), 20);
    EXPECT_FALSE(log.Contains("Line Height Zero"));
}

TEST_F(ShrinkTextTest, ShrinksOneStepAtATimeToTheLargestFittingHeight) {
    RShrinkText* text = Make<RShrinkText>("{ x = 0, y = 0, w = 150, h = 60, font = { '', 20 } }");
    text->SetText(kLong);
    int fitted = text->GetLineHeight();
    text->GetLayout()->SetLineHeight(fitted + 1);
    EXPECT_FALSE(Fits(text));
}

TEST_F(ShrinkTextTest, NothingFitsLogsTheZeroHeight) {
    // A size of its own keeps the text large whatever the line height.
    RShrinkText* text = Make<RShrinkText>("{ x = 0, y = 0, w = 20, h = 10, font = { '', 12 } }");
    text->SetText("<font size='40'>MMMM");
    EXPECT_EQ(text->GetLineHeight(), 0);
    EXPECT_TRUE(log.Contains("RShrinkText: Line Height Zero"));
}

TEST_F(ShrinkTextTest, LineHeightsOutsideTheRangeAreCappedAndLogged) {
    const struct {
        const char* font;
        int height;
    } cases[] = {
        {"{ '', 2000000000 }", RShrinkText::kMaxLineHeight},
        {"{ '', -5 }", RShrinkText::kMinLineHeight},
        {"{ '', 'x' }", 0},
        {"{ '', 1024 }", 1024},
    };
    for (const auto& c : cases) {
        RShrinkText* text = Make<RShrinkText>(std::string("{ x = 0, y = 0, w = 100, h = 30, font = ") + c.font + " }");
        EXPECT_EQ(text->GetConfiguredLineHeight(), c.height) << c.font;
    }
    EXPECT_EQ(log.Count("capped"), 2u);
}

TEST_F(ShrinkTextTest, WithoutALineHeightNothingShrinks) {
    RShrinkText* text = Make<RShrinkText>("{ x = 0, y = 0, w = 20, h = 10, font = { '' } }");
    text->SetText(kLong);
    EXPECT_EQ(text->GetConfiguredLineHeight(), 0);
    EXPECT_FALSE(log.Contains("Line Height Zero"));
}

}  // namespace
