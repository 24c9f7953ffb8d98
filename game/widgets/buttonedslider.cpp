#include "game/widgets/buttonedslider.h"

#include "game/widgets/widgetclass.h"
#include "widgets/button.h"

TWindow* RButtonedSlider::Create() {
    return new RButtonedSlider();
}

const char* RButtonedSlider::GetClassName() const {
    return "RButtonedSlider";
}

bool RButtonedSlider::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TSlider::ClassId(), TWindow::ClassId()});
}

bool RButtonedSlider::OnMouseDown(const TPoint& point) {
    mPressed = true;
    return TSlider::OnMouseDown(point);
}

bool RButtonedSlider::OnMouseUp(const TPoint& point) {
    mPressed = false;
    return TSlider::OnMouseUp(point);
}

bool RButtonedSlider::OnMouseMove(const TPoint& point) {
    if (!mPressed) {
        TWindow* under = FindWindowAtPoint(point, -1);
        for (TWindow* window = under; window && window != this; window = window->GetParent()) {
            if (CastToTButton(window)) {
                OnMouseLeave(point);
                break;
            }
        }
    }
    return TSlider::OnMouseMove(point);
}
