// The search a transition runs over the top screen for the windows it acts
// on: every window of the class among the visited windows and all their
// descendants, each window before its descendants.
#pragma once

#include <vector>

#include "core/windows/window.h"
#include "core/windows/windowspider.h"

template <typename Window>
class ROverlaySearch : public TWindowSpider {
public:
    bool Visit(TWindow* window) override {
        if (window->IsA(Window::ClassId())) mFound.push_back(static_cast<Window*>(window));
        ROverlaySearch children;
        window->VisitChildren(children, false);
        mFound.insert(mFound.end(), children.mFound.begin(), children.mFound.end());
        return true;
    }

    const std::vector<Window*>& GetFound() const { return mFound; }

private:
    std::vector<Window*> mFound;
};
