// A modal message that closes its modal window after a delay or on a click.
#pragma once

#include <cstdint>

#include "game/widgets/gamewindow.h"

class RAlert : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "delay", "allowclick" and "usedelay".
    void PostInit(const TWindowStyle& style) override;
    // Dismisses once the delay has passed, when it is used.
    bool Animate() override;
    // A click dismisses when clicks are allowed.
    bool OnMouseUp(const TPoint& point) override;

    // Queues the closing of the top modal window; only the first call does,
    // so a click just before the delay does not close two windows.
    virtual void Dismiss();
    bool IsDismissed() const { return mDismissed; }

private:
    int32_t mDelay = 1000;  // ms
    bool mAllowClick = true;
    bool mUseDelay = true;
    bool mDismissed = false;
};
