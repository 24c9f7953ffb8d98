#include "game/widgets/split9image.h"

#include <algorithm>

#include "core/windows/windowstyle.h"
#include "game/widgets/widgetclass.h"

TWindow* KSplit9Image::Create() {
    return new KSplit9Image();
}

KSplit9Image::KSplit9Image() : KSplit9(static_cast<TWindow&>(*this)) {}

const char* KSplit9Image::GetClassName() const {
    return "KSplit9Image";
}

bool KSplit9Image::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

void KSplit9Image::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    KSplit9::Init(style);
}

void KSplit9Image::Draw() {
    DrawPanel();
}

void KSplit9Image::FitWindow(const TWindowStyle& style) {
    SetSize(style.GetInt("w", 0), style.GetInt("h", 0));
}

TWindow* RSplit9Expander::Create() {
    return new RSplit9Expander();
}

const char* RSplit9Expander::GetClassName() const {
    return "RSplit9Expander";
}

bool RSplit9Expander::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), KSplit9Image::ClassId(), TWindow::ClassId()});
}

void RSplit9Expander::FitWindow(const TWindowStyle& style) {
    KSplit9Image::FitWindow(style);
    int right = 0;
    int bottom = 0;
    for (const TWindow* child : GetChildren()) {
        TRect global = child->GetGlobalRect();
        TPoint farCorner = GlobalToLocal(TPoint(global.right, global.bottom));
        right = std::max(right, farCorner.x);
        bottom = std::max(bottom, farCorner.y);
    }
    if (right > 0 && bottom > 0) SetSize(right + mRight - mPanelPadding, bottom + mBottom - mPanelPadding);
}
