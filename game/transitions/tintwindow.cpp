#include "game/transitions/tintwindow.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "game/utilities/rectdraw.h"
#include "game/utilities/screeninvalidator.h"
#include "game/widgets/widgetclass.h"
#include "lua/lua.h"

TWindow* VTintWindow::Create() {
    return new VTintWindow();
}

VTintWindow::VTintWindow() : mInvalidator(RScreenInvalidator::Create()), mLifeToken(std::make_shared<const int>(0)) {
    mInvalidator->BindTo(mLifeToken);
}

const char* VTintWindow::GetClassName() const {
    return "VTintWindow";
}

bool VTintWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

VTintWindow::~VTintWindow() {
    if (!mInvalidatorHandedOver) {
        delete mInvalidator;
    } else if (TModalWindow* modal = EnclosingModal(); modal && modal->RemoveTask(mInvalidator)) {
        delete mInvalidator;
    }
}

TModalWindow* VTintWindow::EnclosingModal() const {
    return dynamic_cast<TModalWindow*>(GetParentModal());
}

namespace {

// The key's value is of the Lua type; an absent key is of none.
bool IsKeyOfType(const TWindowStyle& style, const char* key, int type) {
    std::unique_ptr<TLuaTable> value(style.GetTable(key));
    if (!value) return false;
    lua_State* L = value->GetState();
    value->Push();
    bool matches = lua_type(L, -1) == type;
    lua_pop(L, 1);
    return matches;
}

}  // namespace

void VTintWindow::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    // Mistyped keys keep the defaults rather than reading as zeros.
    const TColor4f opaqueBlack(0, 0, 0, 1);
    mColor = IsKeyOfType(style, "color", LUA_TTABLE) ? style.GetColor("color", opaqueBlack) : opaqueBlack;
    mFade = style.GetBool("fade", false);
    if (IsKeyOfType(style, "time", LUA_TNUMBER)) mFadeTime = static_cast<float>(style.GetNumber("time", mFadeTime));
    TModalWindow* modal = EnclosingModal();
    if (modal && !mInvalidatorHandedOver) {
        modal->AddTask(mInvalidator);
        mInvalidatorHandedOver = true;
    }
}

void VTintWindow::ReverseFade() {
    mStarted = false;
    mRising = !mRising;
}

float VTintWindow::FadeProgress(uint32_t now) {
    // A flag, not a zero start time, marks the start: the modal's clock
    // reads 0 in its first millisecond.
    if (!mStarted) {
        mStartTime = now;
        mStarted = true;
    }
    // A fade of no time (or none readable) is over at once.
    float p = 1.0f;
    if (mFadeTime > 0.0f && std::isfinite(mFadeTime)) {
        p = std::min(static_cast<float>(now - mStartTime) / mFadeTime, 1.0f);
    }
    return mRising ? p : 1.0f - p;
}

void VTintWindow::Draw() {
    if (!mFade) {
        FillRectColor(GetClientRect(), mColor);
        return;
    }
    TModalWindow* modal = EnclosingModal();
    if (!modal) return;
    float p = FadeProgress(static_cast<uint32_t>(modal->GetClock()->GetTime()));
    FillRectColor(GetClientRect(), TColor4f(mColor.r, mColor.g, mColor.b, mColor.a * p));
}
