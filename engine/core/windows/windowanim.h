// The animation task of a window: each step calls the window's Animate.
#pragma once

#include "foundation/task.h"

class TWindow;

class TWindowAnim : public TAnimTask {
public:
    explicit TWindowAnim(TWindow* window) : mWindow(window) {}
    // The window forgets its animator, so it never reaches a deleted task.
    ~TWindowAnim() override;

    // The window's answer; false once the window is gone.
    bool Animate() override;
    TWindow* GetWindow() const { return mWindow; }

private:
    friend class TWindow;

    TWindow* mWindow;  // cleared by the window when it goes
};
