// A dialog of engine widgets made by the window script and drawn by the
// window manager's frame pass on OpenGL: the images, a turned image, the
// button's looks, the slider's rail and dragged thumb, and text.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/text/qmminivecdraw.h"
#include "widgets/slider.h"
#include "widgets/textedit.h"
#include "widgets/widgetclasses.h"
#include "tests/graphics/glwindowmanagertesting.h"
#include "widgettesting.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kYellow = 0xFFFFFF00u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;

class WidgetsGlTest : public GlWindowManagerTest {
protected:
    void SetUp() override {
        RegisterWidgetClasses();  // before the window script takes its class table
        GlWindowManagerTest::SetUp();
        if (HasFatalFailure()) return;
        mShapes = std::make_unique<TQmMiniVecDraw>(*mRenderer);
        TQmMiniVecDraw::SetInstance(mShapes.get());
        Image("black.png", 800, 600, [](int, int) { return kBlack; });
        Image("red.png", 40, 20, [](int, int) { return kRed; });
        // Green with a white top row, to tell how it was turned.
        Image("green.png", 20, 10, [](int, int y) { return y == 0 ? kWhite : kGreen; });
        Image("blue.png", 40, 20, [](int, int) { return kBlue; });
        Image("yellow.png", 40, 20, [](int, int) { return kYellow; });
        Image("rail.png", 10, 4, [](int, int) { return kWhite; });
        Image("thumb.png", 20, 20, [](int, int) { return kRed; });
        ASSERT_EQ(Run(kBuildWindow), "");
    }
    void TearDown() override {
        mManager.reset();
        TQmMiniVecDraw::SetInstance(nullptr);
        mShapes.reset();
        GlWindowManagerTest::TearDown();
    }

    void Mouse(int32_t type, int x, int y) { mManager->HandleEvent(Event(type, x, y)); }
    template <typename Widget>
    Widget* Find(const char* name) {
        return dynamic_cast<Widget*>(mManager->GetTopModal()->FindChildWindow(name, -1));
    }
    // Whether any pixel of the rectangle differs from the dialog's black.
    bool HasInk(const TRect& rect) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                if (Pixel(x, y) != kBlack) return true;
            }
        }
        return false;
    }

    std::unique_ptr<TQmMiniVecDraw> mShapes;
};

const char kDialog[] =
    "PushModal('dialog') for i, t in ipairs({ "
    "{ typename = 'Bitmap', name = 'back', image = 'black.png' }, "
    "{ typename = 'Bitmap', name = 'red', x = 100, y = 100, image = 'red.png' }, "
    "{ typename = 'Bitmap', name = 'turned', x = 200, y = 100, image = 'green.png', rotate = true }, "
    "{ typename = 'Button', name = 'ok', x = 300, y = 100, default = true, "
    "  graphics = { 'blue.png', 'red.png', 'yellow.png' } }, "
    "{ typename = 'Slider', name = 'vol', x = 100, y = 200, w = 200, h = 20, railtop = 'rail.png', "
    "  railmid = 'rail.png', railbot = 'rail.png', sliderimage = 'thumb.png' }, "
    "{ typename = 'Text', name = 'caption', x = 100, y = 300, w = 200, h = 30, label = 'Hello', "
    "  font = { '__DEFAULT', 24, { 1, 1, 1, 1 } } }, "
    "{ typename = 'TextEdit', name = 'entry', x = 100, y = 400, w = 200, h = 30, label = 'Name', "
    "  font = { '__DEFAULT', 24, { 1, 1, 1, 1 } } } "
    "}) do BuildWindow(t) end";

TEST_F(WidgetsGlTest, ADialogOfWidgetsDrawsAndAnswersTheMouse) {
    ASSERT_EQ(Run(kDialog), "");
    Frame();
    // The image covers its 40 x 20 pixels and no more.
    EXPECT_EQ(Pixel(100, 100), kRed);
    EXPECT_EQ(Pixel(139, 119), kRed);
    EXPECT_EQ(Pixel(140, 110), kBlack);
    EXPECT_EQ(Pixel(120, 120), kBlack);

    // Turned a quarter against the clock: 10 wide, 20 high, its white top
    // row along the left edge.
    EXPECT_EQ(Find<TWindow>("turned")->GetWidth(), 10);
    EXPECT_EQ(Find<TWindow>("turned")->GetHeight(), 20);
    EXPECT_EQ(Pixel(200, 100), kWhite);
    EXPECT_EQ(Pixel(200, 119), kWhite);
    EXPECT_EQ(Pixel(201, 100), kGreen);
    EXPECT_EQ(Pixel(209, 119), kGreen);
    EXPECT_EQ(Pixel(210, 110), kBlack);
    EXPECT_EQ(Pixel(205, 120), kBlack);

    // The button shows its normal look, then its rollover under the mouse.
    EXPECT_EQ(Pixel(320, 110), kBlue);
    Mouse(TPlatformEvent::kMouseMove, 320, 110);
    Frame();
    EXPECT_EQ(Pixel(320, 110), kYellow);

    // The rail runs the slider's length, centred across it; the thumb sits at 0.
    EXPECT_EQ(Pixel(150, 209), kWhite);
    EXPECT_EQ(Pixel(299, 210), kWhite);
    EXPECT_EQ(Pixel(250, 207), kBlack);
    EXPECT_EQ(Pixel(105, 205), kRed);
    Mouse(TPlatformEvent::kMouseMove, 110, 210);
    Mouse(TPlatformEvent::kMouseDown, 110, 210);
    Mouse(TPlatformEvent::kMouseMove, 200, 210);
    Mouse(TPlatformEvent::kMouseUp, 200, 210);
    EXPECT_FLOAT_EQ(Find<TSlider>("vol")->GetValue(), 0.5f);
    Frame();
    EXPECT_EQ(Pixel(195, 205), kRed);
    EXPECT_EQ(Pixel(105, 205), kBlack);

    EXPECT_TRUE(HasInk(TRect(100, 300, 300, 330)));
    EXPECT_TRUE(HasInk(TRect(100, 400, 300, 430)));
    EXPECT_EQ(Find<TTextEdit>("entry")->GetText(), "Name");
}

}  // namespace
