#include "game/widgets/split9text.h"

#include "core/windows/windowstyle.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"

TWindow* RSplit9Text::Create() {
    return new RSplit9Text();
}

RSplit9Text::RSplit9Text() : KSplit9(static_cast<TWindow&>(*this)) {}

const char* RSplit9Text::GetClassName() const {
    return "RSplit9Text";
}

bool RSplit9Text::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TText::ClassId(), TWindow::ClassId()});
}

void RSplit9Text::PostInit(const TWindowStyle& style) {
    TText::PostInit(style);
    KSplit9::Init(style);
}

void RSplit9Text::FitWindow(const TWindowStyle&) {
    TTextLayout* layout = GetLayout();
    if (!layout) return;
    TRect extents = layout->GetExtents(1.0f);
    int width = extents.right - extents.left;
    int height = extents.bottom - extents.top;
    layout->SetSize(width + 2 * mPanelPadding, height + 2 * mPanelPadding);
    SetSize(mLeft + mRight + width, mTop + mBottom + height);
}

void RSplit9Text::Draw() {
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    DrawPanel();
    TTextLayout* layout = GetLayout();
    if (!layout) return;
    // Text is drawn in screen pixels, as the text window draws it.
    TRect inner = InnerRect();
    TPoint origin = LocalToGlobal(TPoint(0, 0));
    layout->DrawInRect(TRect(inner.left + origin.x, inner.top + origin.y, inner.right + origin.x,
                             inner.bottom + origin.y),
                       1.0f, 0, 1.0f);
}
