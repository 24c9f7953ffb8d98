#include "game/texts/shrinktext.h"

#include <memory>

#include "core/scripting/luaobject.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "game/composition/adaptrecord.h"
#include "game/widgets/widgetclass.h"

TWindow* RShrinkText::Create() {
    return new RShrinkText();
}

const char* RShrinkText::GetClassName() const {
    return "RShrinkText";
}

bool RShrinkText::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TText::ClassId(), TWindow::ClassId()});
}

void RShrinkText::Init(const TWindowStyle& style) {
    TText::Init(style);
    ReadLineHeight(style);
}

void RShrinkText::ReadLineHeight(const TWindowStyle& style) {
    std::unique_ptr<TLuaTable> font(style.GetTable("font"));
    if (!font || !font->IsTable() || font->GetCount() <= 1) return;
    int32_t height = AdaptInt(font->GetStringAt(2));
    // 0, a number or not, means no line height: the text never shrinks.
    if (height != 0 && (height < kMinLineHeight || height > kMaxLineHeight)) {
        DebugLog("RShrinkText: line height %d of '%s' capped to %d..%d", height, GetName().c_str(), kMinLineHeight,
                 kMaxLineHeight);
        height = height < kMinLineHeight ? kMinLineHeight : kMaxLineHeight;
    }
    mLineHeight = mConfiguredLineHeight = height;
}

void RShrinkText::ApplyLineHeight(int32_t height) {
    mLineHeight = height;
    if (TTextLayout* layout = GetLayout()) layout->SetLineHeight(height);
}

bool RShrinkText::Fits() {
    TTextLayout* layout = GetLayout();
    if (!layout) return true;
    TRect extent = layout->GetExtents(1.0f);
    TRect client = GetClientRect();
    const bool narrower = extent.right - extent.left < client.right - client.left;
    return narrower && extent.bottom - extent.top < client.bottom - client.top;
}

void RShrinkText::SetText(const TString& text) {
    if (mConfiguredLineHeight != 0) ApplyLineHeight(mConfiguredLineHeight);
    TText::SetText(text);
    if (mConfiguredLineHeight == 0 || Fits()) return;
    while (mLineHeight > 0) {
        ApplyLineHeight(mLineHeight - 1);
        if (Fits()) return;
    }
    DebugLog("RShrinkText: Line Height Zero");
}
