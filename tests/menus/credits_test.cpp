#include "game/menus/credits.h"

#include <cmath>
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

TEST(CreditsLines, FadeOutOverOneLineTowardsEitherEdge) {
    const struct {
        float top;
        int lineHeight;
        int areaHeight;
        float alpha;
    } cases[] = {
        {0, 20, 200, 0.0f},     {5, 20, 200, 0.25f},   {20, 20, 200, 1.0f}, {100, 20, 200, 1.0f},
        {160, 20, 200, 1.0f},   {175, 20, 200, 0.25f}, {180, 20, 200, 0.0f},
        // Past the edges, and an area too low for a whole line.
        {-5, 20, 200, 0.0f},    {190, 20, 200, 0.0f},  {0, 20, 10, 0.0f},
        {10, 0, 200, 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(CreditsLineAlpha(c.top, c.lineHeight, c.areaHeight), c.alpha)
            << c.top << " " << c.lineHeight << " " << c.areaHeight;
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
    EXPECT_FLOAT_EQ(credits->GetScrollLine(), 0.0f);
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
    EXPECT_FLOAT_EQ(credits->GetScrollLine(), 0.0f);
    int half = credits->GetLayout(0)->GetExtents(1.0f).bottom / 2;
    ASSERT_GT(half, 0);
    mTimer.Advance(1 + 4000);
    DrawFrame(credits);
    EXPECT_FLOAT_EQ(credits->GetScrollLine(), static_cast<float>(half) / 2.0f / 16.0f);
    mTimer.Advance(4000);
    DrawFrame(credits);
    EXPECT_FLOAT_EQ(credits->GetScrollLine(), 0.0f);
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

    // A frame of the credits alone on a black screen.
    static void DrawOnBlack(TCredits* credits) {
        TRenderer* renderer = TRenderer::GetInstance();
        ASSERT_TRUE(renderer->BeginDraw(false));
        renderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 0, 0, 1));
        TWindow::DrawWindowTree(credits, TWindow::kDrawAll);
        renderer->EndDraw(false);
    }
    std::vector<uint32_t> ReadScreen() {
        std::vector<uint32_t> pixels(800 * 600);
        EXPECT_EQ(mPlatform->GetData().GetDisplayDevice()->ReadPixels(display::kBackBuffer, {0, 0, 800, 600},
                                                                       pixels.data()),
                  display::Result::Ok);
        return pixels;
    }
    static bool IsLit(uint32_t pixel) { return (pixel & 0xFF) >= 128; }
    // The bright pixels of the screen inside the rectangle.
    static int CountLitIn(const std::vector<uint32_t>& pixels, const TRect& rect) {
        int lit = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) lit += IsLit(pixels[y * 800 + x]) ? 1 : 0;
        }
        return lit;
    }
    // The bright pixels inside and outside the rectangle.
    std::pair<int, int> CountLit(const TRect& window) {
        std::vector<uint32_t> pixels = ReadScreen();
        int inside = CountLitIn(pixels, window);
        return {inside, CountLitIn(pixels, TRect(0, 0, 800, 600)) - inside};
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

TEST_F(CreditsOnScreenTest, WholeLinesShowAndTheWindowsEdgesCutNone) {
    std::string file;
    for (int i = 0; i < 40; ++i) file += "Chocolate tasting|the vandermoot team\n";
    AddFile("credits.txt", file);
    TCredits* credits = MakeCredits("x = 80, y = 110, h = 192, file = 'credits.txt', fontsize = 24, time = 4000");
    DrawFrame(credits);
    // A window of whole lines and one of not; the steps leave lines across
    // both edges at many different heights.
    for (int height : {192, 210}) {
        credits->SetSize(400, height);
        TRect window = credits->GetGlobalRect();
        for (int step = 0; step < 12; ++step) {
            mTimer.Advance(7);
            DrawOnBlack(credits);
            std::vector<uint32_t> screen = ReadScreen();
            EXPECT_EQ(CountLitIn(screen, TRect(window.left, window.top, window.right, window.top + 3)), 0) << height;
            EXPECT_EQ(CountLitIn(screen, TRect(window.left, window.bottom - 3, window.right, window.bottom)), 0)
                << height;
            // Every line away from the edges shows.
            float scroll = credits->GetScrollLine();
            for (int line = static_cast<int>(std::ceil(scroll));; ++line) {
                float top = (static_cast<float>(line) - scroll) * 24;
                if (top + 24 > static_cast<float>(height)) break;
                if (CreditsLineAlpha(top, 24, height) < 1) continue;
                // The middle of the line, where no other line reaches.
                int y = window.top + static_cast<int>(top);
                EXPECT_GT(CountLitIn(screen, TRect(window.left, y + 8, window.right, y + 16)), 50)
                    << height << " " << scroll << " " << line;
            }
        }
    }
}

}  // namespace
