#include "game/widgets/scrollable.h"

#include <cmath>

#include "core/app/message.h"
#include "core/scripting/luaobject.h"
#include "core/windows/windowspider.h"
#include "core/windows/windowstyle.h"
#include "game/widgets/widgetclass.h"
#include "widgets/slider.h"

class RScrollable::RGiveToInterior : public TWindowSpider {
public:
    explicit RGiveToInterior(RScrollable& scrollable) : mScrollable(scrollable) {}
    bool Visit(TWindow* child) override {
        if (mScrollable.IsExcepted(child->GetName())) return true;
        if (!mScrollable.mScrollBar && child->IsA(TSlider::ClassId())) {
            mScrollable.mScrollBar = static_cast<TSlider*>(child);
            return true;
        }
        mScrollable.PassToInterior(child);
        return true;
    }

private:
    RScrollable& mScrollable;
};

TWindow* RScrollable::Create() {
    return new RScrollable();
}

RScrollable::RScrollable() : mInterior(new RWindow()) {}

const char* RScrollable::GetClassName() const {
    return "RScrollable";
}

bool RScrollable::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

RScrollable::~RScrollable() {
    if (!mInteriorAdded) delete mInterior;
}

void RScrollable::PostInit(const TWindowStyle& style) {
    RWindow::PostInit(style);
    mVertical = style.GetBool("vscroll", mVertical);
    if (std::unique_ptr<TLuaTable> except{style.GetTable("except")}; except && except->IsTable()) {
        for (int i = 1; i <= except->GetCount(); ++i) mExcepted.push_back(except->GetStringAt(i));
    }
    mTick = static_cast<float>(style.GetNumber("tick", mTick));
    // From the back, the order the children were added in: each one added
    // at the interior's front keeps their order there.
    RGiveToInterior spider(*this);
    VisitChildren(spider, true);
    mInterior->FitToChildren();
    mInteriorAdded = AddChild(mInterior, false);
}

bool RScrollable::IsExcepted(const TString& name) const {
    for (const TString& excepted : mExcepted) {
        if (excepted == name) return true;
    }
    return false;
}

bool RScrollable::OnMessage(TMessage* message) {
    if (!message || message->GetType() != TMessage::kSliderValChanged || !mScrollBar) return false;
    SetScrollPosition(mScrollBar->GetValue());
    return true;
}

int RScrollable::ViewLength() const {
    return mVertical ? GetHeight() : GetWidth();
}

int RScrollable::ContentLength() const {
    return mVertical ? mInterior->GetHeight() : mInterior->GetWidth();
}

void RScrollable::MoveInterior(int offset) {
    const TRect& rect = mInterior->GetRect();
    if (mVertical) {
        mInterior->SetPosition(rect.left, offset);
    } else {
        mInterior->SetPosition(offset, rect.top);
    }
}

void RScrollable::SetScrollPosition(float position) {
    if (!(position > 0)) position = 0;
    if (position > 1) position = 1;
    mPosition = position;
    if (mScrollBar) mScrollBar->SetValue(position, true);
    const int64_t overflow = static_cast<int64_t>(ContentLength()) - ViewLength();
    if (overflow < 0) {
        mPosition = 0;
        if (mScrollBar) mScrollBar->SetValue(0, true);
        MoveInterior(0);
        return;
    }
    int64_t offset = -static_cast<int64_t>(std::trunc(static_cast<double>(position) * static_cast<double>(overflow)));
    if (-offset > overflow) offset = -overflow;
    MoveInterior(static_cast<int>(offset));
}

void RScrollable::ScrollBy(float direction) {
    const int64_t overflow = static_cast<int64_t>(ContentLength()) - ViewLength();
    // Content that fits has nothing to scroll, and no overflow to divide by.
    if (overflow <= 0) {
        SetScrollPosition(0);
        return;
    }
    SetScrollPosition(mPosition + direction * mTick / static_cast<float>(overflow));
}

void RScrollable::ScrollDown() {
    ScrollBy(1);
}

void RScrollable::ScrollUp() {
    ScrollBy(-1);
}

void RScrollable::PassToInterior(TWindow* window) {
    if (window) mInterior->AddChild(window, false);
}
