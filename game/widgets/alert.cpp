#include "game/widgets/alert.h"

#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/widgetclass.h"

TWindow* RAlert::Create() {
    return new RAlert();
}

const char* RAlert::GetClassName() const {
    return "RAlert";
}

bool RAlert::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

void RAlert::PostInit(const TWindowStyle& style) {
    RWindow::PostInit(style);
    mDelay = style.GetInt("delay", mDelay);
    mAllowClick = style.GetBool("allowclick", mAllowClick);
    mUseDelay = style.GetBool("usedelay", mUseDelay);
}

bool RAlert::Animate() {
    RWindow::Animate();
    // Unsigned: a negative delay never passes.
    if (mUseDelay && GetElapsedTime() >= static_cast<uint32_t>(mDelay)) {
        Dismiss();
        return false;
    }
    return true;
}

bool RAlert::OnMouseUp(const TPoint& point) {
    if (!mAllowClick) return RWindow::OnMouseUp(point);
    Dismiss();
    return true;
}

void RAlert::Dismiss() {
    if (mDismissed) return;
    mDismissed = true;
    TWindowManager* manager = TWindowManager::GetInstance();
    TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
    if (!top) return;
    QueueLuaCommand(TString::Format("PopModal( %s );", QuoteLuaString(top->GetName()).c_str()));
}
