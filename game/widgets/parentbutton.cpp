#include "game/widgets/parentbutton.h"

#include "game/widgets/widgetclass.h"

TWindow* RParentButton::Create() {
    return new RParentButton();
}

const char* RParentButton::GetClassName() const {
    return "RParentButton";
}

bool RParentButton::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TButton::ClassId(), TLayeredWindow::ClassId(), TWindow::ClassId()});
}

bool RParentButton::OnMouseMove(const TPoint& point) {
    TWindow* window = FindWindowAtPoint(point, -1);
    while (window && !CastToTButton(window)) window = window->GetParent();
    if (window == this) return TButton::OnMouseMove(point);
    OnMouseLeave(point);
    return false;
}
