// The slider: orientation, thickness and thumb placement from its
// description, clamped values, dragging, rail clicks and the messages its
// parent hears.
#include <gtest/gtest.h>

#include <cmath>

#include "core/windows/windowstyle.h"
#include "widgets/image.h"
#include "widgets/slider.h"
#include "widgettesting.h"

namespace {

class SliderTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        Image("railtop.png", 6, 10, 0xFF0000FFu);
        Image("railmid.png", 4, 10, 0xFF00FF00u);
        Image("railbot.png", 6, 10, 0xFFFF0000u);
        Image("thumb.png", 20, 20, 0xFFFFFFFFu);
        Image("thumbover.png", 20, 20, 0xFF808080u);
    }
    // A slider named "vol" at (100, 100) of the dialog, with the rail and
    // thumb images and the extra keys.
    TSlider* MakeSlider(const std::string& keys) {
        Dialog("{ typename = 'Slider', name = 'vol', x = 100, y = 100, railtop = 'railtop.png', "
               "railmid = 'railmid.png', railbot = 'railbot.png', sliderimage = 'thumb.png', "
               "sliderrollimage = 'thumbover.png', " +
               keys + " }");
        TWindow* window = manager->GetTopModal()->FindChildWindow("vol", -1);
        EXPECT_NE(window, nullptr);
        return dynamic_cast<TSlider*>(window);
    }
};

TEST_F(SliderTest, OrientationFollowsTheAspectUnlessGiven) {
    struct Case {
        const char* keys;
        bool horizontal;
    };
    const Case cases[] = {
        {"w = 200, h = 20", true},
        {"w = 20, h = 200", false},
        {"w = 200, h = 20, hslider = false", false},
        {"w = 20, h = 200, hslider = true", true},
    };
    for (const Case& c : cases) {
        TSlider* slider = MakeSlider(c.keys);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->IsHorizontal(), c.horizontal) << c.keys;
        EXPECT_STREQ(slider->GetClassName(), "TSlider");
        Run("DoPopModal('dialog')");
    }
}

TEST_F(SliderTest, ThicknessHoldsTheRailAndTheOffsetThumb) {
    TSlider* horizontal = MakeSlider("w = 200, h = 20, yoffset = -4");
    EXPECT_EQ(horizontal->GetWidth(), 200);
    EXPECT_EQ(horizontal->GetHeight(), 24);
    Run("DoPopModal('dialog')");
    // At scale 3 the rail is 18 wide across and the thumb 60.
    TSlider* vertical = MakeSlider("w = 20, h = 200, scale = 3");
    EXPECT_EQ(vertical->GetWidth(), 60);
    EXPECT_EQ(vertical->GetHeight(), 200);
    EXPECT_EQ(vertical->GetThumb()->GetWidth(), 60);
}

TEST_F(SliderTest, ValuesAreClampedAndPlaceTheThumb) {
    TSlider* slider = MakeSlider("w = 200, h = 20, yoffset = 2");
    struct Case {
        float value;
        float stored;
        int thumbLeft;
    };
    const Case cases[] = {
        {-0.5f, 0.0f, 0}, {2.0f, 1.0f, 180}, {0.5f, 0.5f, 90}, {NAN, 0.0f, 0}, {0.25f, 0.25f, 45},
    };
    for (const Case& c : cases) {
        slider->SetValue(c.value, true);
        EXPECT_FLOAT_EQ(slider->GetValue(), c.stored) << c.value;
        EXPECT_EQ(slider->GetThumb()->GetRect().left, c.thumbLeft) << c.value;
        EXPECT_EQ(slider->GetThumb()->GetRect().top, 2) << c.value;
    }
    EXPECT_EQ(Messages(), "");
    slider->SetValue(0.75f, false);
    EXPECT_EQ(Messages(), "9:vol");
}

TEST_F(SliderTest, DraggingTheThumbSetsTheValueAndReleasingEndsIt) {
    TSlider* slider = MakeSlider("w = 200, h = 20");
    // The thumb lies at 100..120 across the dialog.
    Mouse(TPlatformEvent::kMouseMove, 110, 110);
    EXPECT_EQ(slider->GetThumb()->GetTexture(), TTexture::GetWithOptions("thumbover.png", 0));
    EXPECT_TRUE(manager->HasCapture(slider));
    Mouse(TPlatformEvent::kMouseDown, 110, 110);
    Mouse(TPlatformEvent::kMouseMove, 200, 110);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
    // Past the end, and below the slider: the drag goes on, clamped.
    Mouse(TPlatformEvent::kMouseMove, 500, 300);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    EXPECT_EQ(Messages(), "9:vol 9:vol");
    // Released away from the thumb: the normal look, the capture given up.
    Mouse(TPlatformEvent::kMouseUp, 500, 300);
    EXPECT_EQ(Messages(), "10:vol");
    EXPECT_FALSE(manager->HasCapture(slider));
    EXPECT_EQ(slider->GetThumb()->GetTexture(), TTexture::GetWithOptions("thumb.png", 0));
    Mouse(TPlatformEvent::kMouseMove, 150, 110);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
}

TEST_F(SliderTest, ARestingPointerKeepsTheThumbsRolloverLook) {
    TSlider* slider = MakeSlider("w = 200, h = 20");
    Mouse(TPlatformEvent::kMouseMove, 110, 110);
    Mouse(TPlatformEvent::kMouseHover, 110, 110);
    EXPECT_EQ(slider->GetThumb()->GetTexture(), TTexture::GetWithOptions("thumbover.png", 0));
    EXPECT_TRUE(manager->HasCapture(slider));
    // Off the thumb, on the rail.
    Mouse(TPlatformEvent::kMouseMove, 250, 110);
    EXPECT_EQ(slider->GetThumb()->GetTexture(), TTexture::GetWithOptions("thumb.png", 0));
    EXPECT_FALSE(manager->HasCapture(slider));
}

TEST_F(SliderTest, RailClicksPageWithoutMovingTheValue) {
    TSlider* slider = MakeSlider("w = 200, h = 20");
    slider->SetValue(0.5f, true);
    // The thumb lies at 190..210 across the dialog.
    Mouse(TPlatformEvent::kMouseDown, 150, 110);
    EXPECT_EQ(Messages(), "11:vol");
    Mouse(TPlatformEvent::kMouseDown, 250, 110);
    EXPECT_EQ(Messages(), "12:vol");
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
    Mouse(TPlatformEvent::kMouseUp, 250, 110);
    EXPECT_EQ(Messages(), "10:vol");
}

TEST_F(SliderTest, AVerticalSliderDragsAlongItsHeight) {
    TSlider* slider = MakeSlider("w = 20, h = 200");
    Mouse(TPlatformEvent::kMouseDown, 110, 110);
    Mouse(TPlatformEvent::kMouseMove, 110, 150);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
    EXPECT_EQ(slider->GetThumb()->GetRect().top, 45);
    Mouse(TPlatformEvent::kMouseUp, 110, 150);
    // Below the thumb is after it.
    Mouse(TPlatformEvent::kMouseDown, 110, 290);
    Mouse(TPlatformEvent::kMouseUp, 110, 290);
    EXPECT_EQ(Messages(), "9:vol 10:vol 12:vol 10:vol");
}

TEST_F(SliderTest, ASliderWithoutLengthKeepsItsValueWhileDragged) {
    TSlider* slider = MakeSlider("w = 0, h = 20, hslider = true");
    ASSERT_EQ(slider->GetWidth(), 0);
    slider->SetValue(0.3f, true);
    ASSERT_TRUE(slider->OnMouseDown(TPoint(5, 5)));
    slider->OnMouseMove(TPoint(50, 5));
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.3f);
    EXPECT_FALSE(std::isnan(slider->GetValue()));
}

TEST_F(SliderTest, ASecondInitChangesNothingAndMissingImagesLeaveAnEmptyThumb) {
    Dialog("{ typename = 'Slider', name = 'bare', w = 120, h = 10 }");
    auto* slider = dynamic_cast<TSlider*>(manager->GetTopModal()->FindChildWindow("bare", -1));
    ASSERT_NE(slider, nullptr);
    EXPECT_FALSE(slider->GetThumb()->HasTexture());
    ASSERT_EQ(Run("d = { w = 20, h = 300, sliderimage = 'thumb.png' }"), "");
    std::unique_ptr<TLuaTable> description(script->GetGlobalTable("d"));
    slider->Init(TWindowStyle(description.get()));
    EXPECT_TRUE(slider->IsHorizontal());
    EXPECT_FALSE(slider->GetThumb()->HasTexture());
    EXPECT_EQ(slider->GetChildren().size(), 1u);
    slider->SetValue(1.0f, true);
    EXPECT_EQ(slider->GetThumb()->GetRect().left, 120);
}

}  // namespace
