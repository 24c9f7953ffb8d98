// Windows holding buttons: the parent button yields its hover to a child
// button under the pointer; the buttoned slider drags across its buttons.
#include <gtest/gtest.h>

#include "game/widgets/buttonedslider.h"
#include "game/widgets/parentbutton.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class ChildButtonsTest : public WidgetsTest {
protected:
    // A plain button at the rectangle inside the parent.
    TButton* AddButton(TWindow* parent, const TRect& rect) {
        auto* button = new TButton();
        parent->AddChild(button, false);
        button->SetPosition(rect.left, rect.top);
        button->SetSize(rect.right - rect.left, rect.bottom - rect.top);
        button->SetFlags(TWindow::kVisible);
        return button;
    }
};

TEST_F(ChildButtonsTest, TheParentButtonHoversOnlyOffItsChildButtons) {
    auto* parent = Make<RParentButton>("{ name = 'parent', x = 0, y = 0, w = 200, h = 100 }");
    // The child shows in every look of its parent.
    parent->SetLayer(TLayeredWindow::kAllLayers);
    AddButton(parent, TRect(100, 0, 200, 100));
    parent->SetLayer(0);
    EXPECT_TRUE(parent->OnMouseMove(TPoint(50, 50)));
    EXPECT_EQ(parent->GetLook(), TButton::kRollover);
    EXPECT_FALSE(parent->OnMouseMove(TPoint(150, 50)));
    EXPECT_EQ(parent->GetLook(), TButton::kNormal);
    EXPECT_TRUE(parent->OnMouseMove(TPoint(20, 20)));
    EXPECT_EQ(parent->GetLook(), TButton::kRollover);
}

TEST_F(ChildButtonsTest, TheSliderKeepsDraggingAcrossAButton) {
    AddImage("thumb.png", 20, 20);
    auto* slider = Make<RButtonedSlider>("{ name = 's', x = 0, y = 0, w = 200, h = 20, sliderimage = 'thumb.png' }");
    AddButton(slider, TRect(150, 0, 170, 20));
    EXPECT_TRUE(slider->OnMouseDown(TPoint(5, 10)));
    EXPECT_TRUE(slider->IsPressed());
    slider->OnMouseMove(TPoint(160, 10));
    EXPECT_FLOAT_EQ(slider->GetValue(), 160.0f / 200.0f);
    EXPECT_TRUE(manager->HasCapture(slider));
    slider->OnMouseUp(TPoint(160, 10));
    EXPECT_FALSE(slider->IsPressed());
}

}  // namespace
