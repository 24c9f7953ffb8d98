// The justified sample: lines cut where they pass the width, every line
// but the last cut in two at the first space past its middle, the halves in the left and right layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/texts/justified.h"
#include "graphics/text/textlayout.h"
#include "tests/widgets/widgetstesting.h"

namespace {

// The parts between the "<br>"s after the leading one.
std::vector<std::string> Parts(const TString& text) {
    std::vector<std::string> parts;
    std::string rest = text.c_str();
    EXPECT_EQ(rest.rfind("<br>", 0), 0u);
    for (size_t at = 4;;) {
        size_t next = rest.find("<br>", at);
        parts.push_back(rest.substr(at, next == std::string::npos ? std::string::npos : next - at));
        if (next == std::string::npos) break;
        at = next + 4;
    }
    return parts;
}

std::string WithoutSpaces(std::string text) {
    std::erase(text, ' ');
    return text;
}

class JustifiedTest : public WidgetsTest {};

TEST_F(JustifiedTest, LinesSplitPastTheirMiddleAndTogetherGiveTheSample) {
    auto* window = Make<RJustified>("{ x = 0, y = 0, w = 200, h = 300 }");
    ASSERT_NE(window->GetLeftLayout(), nullptr);
    std::vector<std::string> left = Parts(window->GetLeftLayout()->GetText());
    std::vector<std::string> right = Parts(window->GetRightLayout()->GetText());
    ASSERT_GE(left.size(), 3u);
    ASSERT_EQ(right.size() + 1, left.size());
    EXPECT_EQ(window->GetRightLayout()->GetFlags(), TTextLayout::kRight);
    std::string joined;
    for (size_t i = 0; i < right.size(); ++i) {
        EXPECT_GE(left[i].size() + 1, right[i].size()) << i;  // the cut lies past the middle
        joined += left[i] + " " + right[i] + " ";
    }
    joined += left.back();
    // Lines break between any two characters; the spaces at their ends go.
    EXPECT_EQ(WithoutSpaces(joined), WithoutSpaces(RJustified::kSampleText));
}

TEST_F(JustifiedTest, ANarrowWindowGivesOneCharacterLinesWithoutCrashing) {
    auto* window = Make<RJustified>("{ x = 0, y = 0, w = 1, h = 10 }");
    std::vector<std::string> left = Parts(window->GetLeftLayout()->GetText());
    // Lines of one character have no space to cut at: only the last shows.
    EXPECT_EQ(left, (std::vector<std::string>{"!"}));
    EXPECT_STREQ(window->GetRightLayout()->GetText().c_str(), "");
    DrawWindow(window);
}

}  // namespace
