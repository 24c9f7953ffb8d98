#include "widgets/radiobuttonspider.h"

#include "widgets/button.h"

namespace {

bool IsGroupStart(const TWindow* window) {
    return (window->GetFlags() & TButton::kGroupStart) != 0;
}

}  // namespace

void TRadioButtonSpider::Run() {
    TWindow* parent = mButton->GetParent();
    if (!parent) return;
    // Children join at the front, so creation order runs from the back.
    mPass = kFindStart;
    parent->VisitChildren(*this, true);
    mPass = kTurnOff;
    // Without a group start before it, the group begins with the first child.
    mInGroup = mStart == nullptr;
    parent->VisitChildren(*this, true);
}

bool TRadioButtonSpider::Visit(TWindow* window) {
    if (mPass == kFindStart) {
        // A button that starts a group belongs to that group.
        if (IsGroupStart(window)) mStart = window;
        return window != mButton;
    }
    if (!mInGroup) {
        if (window != mStart) return true;
        mInGroup = true;
    } else if (IsGroupStart(window)) {
        return false;
    }
    if (window == mButton) return true;
    if (TButton* other = CastToTButton(window)) other->SetToggleState(false);
    return true;
}
