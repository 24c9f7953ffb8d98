#include "game/menus/credits.h"

#include <string>
#include <utility>
#include <vector>

#include "foundation/settings.h"
#include "graphics/render/renderer.h"
#include "graphics/text/textlayout.h"
#include "widgets/text.h"
#include "tests/menus/menutesting.h"

namespace {

const char kHead[] = "<font color='ff8000ff'>";

TEST(CreditsTexts, EachFileLineGivesOneLineOfEachText) {
    const struct {
        const char* file;
        std::string left;
        std::string right;
        std::string full;
    } cases[] = {
        {"a|b", "a\n", "b\n", "\n"},
        {"a|b|c", "a\n", "b|c\n", "\n"},
        {" \trole  |\t name \n", "role\n", "name\n", "\n"},
        {"[Head]", "\n", "\n", std::string(kHead) + "Head</font>\n"},
        {"[Cast]|Ada", std::string(kHead) + "Cast</font>\n", "Ada\n", "\n"},
        {"\n\n", "\n\n", "\n\n", "\n\n"},
        {"a|b\r\nc\r\n", "a\n\n", "b\n\n", "\nc\n"},
        {"[\n]", "\n\n", "\n\n", std::string(kHead) + "\n</font>\n"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        TCreditsTexts texts = MakeCreditsTexts(c.file, "ff8000ff");
        EXPECT_STREQ(texts.left.c_str(), c.left.c_str()) << c.file;
        EXPECT_STREQ(texts.right.c_str(), c.right.c_str()) << c.file;
        EXPECT_STREQ(texts.full.c_str(), c.full.c_str()) << c.file;
    }
}

TEST(CreditsTexts, ALineOverTheReadersLengthGoesOnAsTheNextInStep) {
    std::string line(1500, 'x');
    TCreditsTexts texts = MakeCreditsTexts(line + "\nend|name\n", "ffffffff");
    EXPECT_STREQ(texts.full.c_str(), (std::string(1023, 'x') + "\n" + std::string(477, 'x') + "\n\n").c_str());
    EXPECT_STREQ(texts.left.c_str(), "\n\nend\n");
    EXPECT_STREQ(texts.right.c_str(), "\n\nname\n");
}

TEST(CreditsScroll, StillDuringThePauseThenOnePeriodOverTheTextAndAgain) {
    const struct {
        uint32_t elapsed;
        int pause;
        int period;
        int height;
        float offset;
    } cases[] = {
        {0, 1000, 4000, 800, 0.0f},
        {999, 1000, 4000, 800, 0.0f},
        {3000, 1000, 4000, 800, 400.0f},
        {4999, 1000, 4000, 800, 799.8f},
        {5000, 1000, 4000, 800, 0.0f},
        {7000, 1000, 4000, 800, 400.0f},
        {7000, 0, 0, 800, 0.0f},
        {7000, 0, -5, 800, 0.0f},
        {7000, -50, 4000, 800, 600.0f},
        // The product passes 2^32.
        {3999999, 0, 4000000, 50000, 49999.9875f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(CreditsScrollOffset(c.elapsed, c.pause, c.period, c.height), c.offset)
            << c.elapsed << " " << c.period;
    }
}

class CreditsTest : public MenuTest {
protected:
    TCredits* MakeCredits(const std::string& keys) {
        return Make<TCredits>("{ name = 'credits', w = 400, h = 64, columnwidth = 150, columngap = 20, " + keys + " }");
    }
    // The credits drawn alone inside a frame.
    static void DrawFrame(TCredits* credits) {
        ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
        TWindow::DrawWindowTree(credits, TWindow::kDrawAll);
        TRenderer::GetInstance()->EndDraw(false);
    }
    static std::string TextOf(TCredits* credits, int layout) { return credits->GetLayout(layout)->GetText().c_str(); }
};

TEST_F(CreditsTest, TheLayoutsHoldTheirTextTwiceWithBlankLinesToScrollOut) {
    AddFile("credits.txt", "[Team]\nchocolates|the vandermoot team\n");
    TCredits* credits = MakeCredits("file = 'credits.txt', fontsize = 16, time = 4000");
    // 64 / 16 = 4 blank lines after the two of the file.
    const std::string full = "<font color='ffffffff'>Team</font>\n\n\n\n\n\n";
    EXPECT_EQ(TextOf(credits, 2), full + full);
    EXPECT_EQ(TextOf(credits, 0), "\nchocolates\n\n\n\n\n\nchocolates\n\n\n\n\n");
    EXPECT_EQ(TextOf(credits, 1), "\nthe vandermoot team\n\n\n\n\n\nthe vandermoot team\n\n\n\n\n");
}

TEST_F(CreditsTest, AMissingFileGivesBlankLinesAndBadNumbersAreMended) {
    TCredits* credits = MakeCredits("file = 'nothere.txt', fontsize = 0, time = 0");
    EXPECT_EQ(TextOf(credits, 0), std::string(8, '\n'));
    EXPECT_EQ(TextOf(credits, 2), std::string(8, '\n'));
    EXPECT_TRUE(mLog.Contains("fontsize 0"));
    EXPECT_TRUE(mLog.Contains("time 0"));
    DrawFrame(credits);
    mTimer.Advance(5000);
    DrawFrame(credits);
    EXPECT_FLOAT_EQ(credits->GetLayout(0)->GetFirstVisibleLine(), 0.0f);
}

TEST_F(CreditsTest, TheTextStandsDuringThePauseAndScrollsFromTheFirstDraw) {
    std::string file;
    for (int i = 0; i < 40; ++i) file += "role|name\n";
    AddFile("credits.txt", file);
    TCredits* credits = MakeCredits("file = 'credits.txt', fontsize = 16, time = 8000, intropause = 1000");
    mTimer.Advance(3000);  // only the first Draw starts the clock
    DrawFrame(credits);
    mTimer.Advance(999);
    DrawFrame(credits);
    for (int layout = 0; layout < 3; ++layout) EXPECT_FLOAT_EQ(credits->GetLayout(layout)->GetFirstVisibleLine(), 0.0f);
    int half = credits->GetLayout(0)->GetExtents(1.0f).bottom / 2;
    ASSERT_GT(half, 0);
    mTimer.Advance(1 + 4000);
    DrawFrame(credits);
    float expected = static_cast<float>(half) / 2.0f / 16.0f;
    for (int layout = 0; layout < 3; ++layout) {
        EXPECT_FLOAT_EQ(credits->GetLayout(layout)->GetFirstVisibleLine(), expected) << layout;
    }
    mTimer.Advance(4000);
    DrawFrame(credits);
    EXPECT_FLOAT_EQ(credits->GetLayout(0)->GetFirstVisibleLine(), 0.0f);
}

TEST_F(CreditsTest, TheVersionLabelBesideShowsTheProgramsVersion) {
    SetSetting("version", "1.2.3");
    auto* version = Make<TText>("{ name = 'credits_version', w = 200, h = 20 }");
    MakeCredits("time = 4000");
    EXPECT_STREQ(version->GetText().c_str(), "Version 1.2.3");
}

// The credits on OpenGL: their text lands inside their window, which sits
// away from the screen's corner, and nothing is drawn outside it.
class CreditsOnScreenTest : public CreditsTest {
protected:
    CreditsOnScreenTest() { mOnOpenGl = true; }

    // The bright pixels inside and outside the rectangle.
    std::pair<int, int> CountLit(const TRect& window) {
        std::vector<uint32_t> pixels(800 * 600);
        EXPECT_EQ(mPlatform->GetData().GetDisplayDevice()->ReadPixels(display::kBackBuffer, {0, 0, 800, 600},
                                                                       pixels.data()),
                  display::Result::Ok);
        int inside = 0, outside = 0;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                if ((pixels[y * 800 + x] & 0xFF) < 128) continue;
                ++(window.Contains(TPoint(x, y)) ? inside : outside);
            }
        }
        return {inside, outside};
    }
};

TEST_F(CreditsOnScreenTest, TheTextIsDrawnInsideTheWindow) {
    AddFile("credits.txt", "[Team]\nchocolates|the vandermoot team\nThank you\n");
    TCredits* credits = MakeCredits("x = 300, y = 200, file = 'credits.txt', fontsize = 20, time = 4000");
    auto [insideBefore, outsideBefore] = CountLit(credits->GetGlobalRect());
    DrawFrame(credits);
    auto [inside, outside] = CountLit(credits->GetGlobalRect());
    EXPECT_GT(inside, insideBefore + 100);
    EXPECT_EQ(outside, outsideBefore);
    EXPECT_FALSE(mLog.Contains("not in Begin2d"));
}

}  // namespace
