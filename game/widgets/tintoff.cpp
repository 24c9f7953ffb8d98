#include "game/widgets/tintoff.h"

#include <algorithm>
#include <cstdint>

#include "core/windows/windowmanager.h"
#include "game/widgets/tintwindow.h"

bool RTintSearch::Visit(TWindow* window) {
    if (window->IsA(VTintWindow::ClassId())) mFound.push_back(static_cast<VTintWindow*>(window));
    RTintSearch children;
    window->VisitChildren(children, false);
    mFound.insert(mFound.end(), children.mFound.begin(), children.mFound.end());
    return true;
}

RTintOff::RTintOff(int type, const TString& command) : ROverlay(type, command) {
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindow* screen = manager ? manager->GetTopModal() : nullptr;
    RTintSearch search;
    if (screen) screen->VisitChildren(search, false);
    uint32_t duration = 0;
    for (VTintWindow* tint : search.GetFound()) {
        // Whole milliseconds, truncated; below 1 (or not a number) counts as none.
        double time = tint->GetFadeTime();
        if (time >= 1.0) duration = std::max(duration, static_cast<uint32_t>(std::min(time, double(UINT32_MAX))));
        if (tint->IsFading()) tint->ReverseFade();
    }
    SetDuration(duration);
}

void RTintOff::Draw() {
    AdvanceTime();
    CheckDone();
}
