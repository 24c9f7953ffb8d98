#include "game/utilities/forwardevent.h"

#include <set>

#include "core/app/platformevent.h"
#include "core/windows/window.h"

namespace {

// The windows whose forwarded event is being routed now.
std::set<TWindow*>& Forwarding() {
    static std::set<TWindow*> windows;
    return windows;
}

}  // namespace

bool ForwardEventToChildAt(TWindow* window, const TPoint& point, int eventType) {
    if (!window || Forwarding().count(window)) return false;
    TWindow* target = window->FindWindowAtPoint(point, -1);
    if (!target || target == window) return false;
    TPoint local = target->GlobalToLocal(window->LocalToGlobal(point));
    TPlatformEvent event;
    event.type = eventType;
    event.x = local.x;
    event.y = local.y;
    Forwarding().insert(window);
    target->RouteEvent(event, false);
    Forwarding().erase(window);
    return true;
}
