#include "core/windows/windowspider.h"

#include <algorithm>

#include "core/windows/window.h"
#include "core/windows/windowmanagerlink.h"

bool TWindowClearFlags::Visit(TWindow* window) {
    window->SetFlags(window->GetFlags() & mMask);
    if (mRecursive) window->VisitChildren(*this, false);
    return true;
}

bool ChildrenDelete::Visit(TWindow* window) {
    mParent->RemoveChild(window);
    if (TWindowManagerLink* link = GetWindowManagerLink()) {
        link->DestroyWindowDeferred(window);
    } else {
        delete window;
    }
    return true;
}

bool GetLargest::Visit(TWindow* window) {
    mWidth = std::max(mWidth, window->GetRect().right);
    mHeight = std::max(mHeight, window->GetRect().bottom);
    return true;
}
