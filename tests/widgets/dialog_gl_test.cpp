// The script-built dialog of gauges on a nine-slice panel and a game window
// with a colour quad, drawn by the window manager's frame pass on OpenGL.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/widgets/bar.h"
#include "game/widgets/gamewindow.h"
#include "game/widgets/split9image.h"
#include "game/widgets/sweepdial.h"
#include "tests/graphics/glwindowmanagertesting.h"
#include "tests/widgets/widgetstesting.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kYellow = 0xFFFFFF00u;
constexpr uint32_t kRed = 0xFFFF0000u;

const char kDialog[] =
    "function BuildWindow(t) GenericCreate(t) for i, child in ipairs(t) do BuildWindow(child) end "
    "PostCreate(t) PopWindow() end "
    "PushModal('gauges') BuildWindow{ typename = 'KSplit9Image', name = 'panel', x = 100, y = 100, "
    "  w = 200, h = 100, x1 = 16, x2 = 16, y1 = 16, y2 = 16, image = 'panel.png', "
    "  { typename = 'KBar', name = 'bar', x = 20, y = 20, w = 100, h = 20, basepos_x = 0, basepos_y = 20, "
    "    startpos_x = 0, startpos_y = 0, endpos_x = 100, endpos_y = 0, bar = 'bar.png', startpos = 0.5 }, "
    "  { typename = 'KSweepDial', name = 'dial', x = 130, y = 10, w = 64, h = 64, center_x = 32, "
    "    center_y = 32, sweep = 'sweep.png' } } "
    "BuildWindow{ typename = 'RWindow', name = 'tinted', x = 10, y = 250, w = 50, h = 20, bgcolor = { 1, 0, 0, 1 } }";

class GaugesGlTest : public GlWindowManagerTest {
protected:
    void SetUp() override {
        GlWindowManagerTest::SetUp();
        if (HasFatalFailure()) return;
        mManager->RegisterWindowType("KSplit9Image", KSplit9Image::ClassId());
        mManager->RegisterWindowType("KBar", KBar::ClassId());
        mManager->RegisterWindowType("KSweepDial", KSweepDial::ClassId());
        mManager->RegisterWindowType("RWindow", RWindow::ClassId());
        // A panel with a blue border of 16 pixels around white.
        Image("panel.png", 64, 64, [](int x, int y) {
            bool border = x < 16 || x >= 48 || y < 16 || y >= 48;
            return border ? kBlue : kWhite;
        });
        Image("bar.png", 128, 32, [](int, int) { return kGreen; });
        Image("sweep.png", 64, 64, [](int, int) { return kYellow; });
    }
};

TEST_F(GaugesGlTest, APanelWithABarAndASweepDialAndAColourQuadDraw) {
    ASSERT_EQ(Run(kDialog), "");
    auto* dial = dynamic_cast<KSweepDial*>(mManager->GetTopModal()->FindChildWindow("dial", -1));
    ASSERT_NE(dial, nullptr);
    dial->SetValue(0.25f);
    Frame();
    // The panel's border keeps its width on the stretched panel.
    EXPECT_EQ(Pixel(101, 101), kBlue);
    EXPECT_EQ(Pixel(200, 108), kBlue);
    EXPECT_EQ(Pixel(298, 198), kBlue);
    EXPECT_EQ(Pixel(200, 190), kBlue);
    EXPECT_EQ(Pixel(200, 180), kWhite);
    EXPECT_EQ(Pixel(99, 150), kBlack);
    // Half of the bar, from its left.
    EXPECT_EQ(Pixel(125, 130), kGreen);
    EXPECT_EQ(Pixel(165, 130), kGreen);
    EXPECT_EQ(Pixel(175, 130), kWhite);
    // The sweep fills the quarter from straight up to the right, not the
    // quarter left of it.
    EXPECT_EQ(Pixel(272, 125), kYellow);
    EXPECT_EQ(Pixel(248, 125), kWhite);
    EXPECT_EQ(Pixel(272, 155), kWhite);
    // The colour quad covers its window and no more.
    EXPECT_EQ(Pixel(10, 250), kRed);
    EXPECT_EQ(Pixel(59, 269), kRed);
    EXPECT_EQ(Pixel(60, 260), kBlack);
}

}  // namespace
