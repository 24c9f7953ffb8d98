// The in-game root window: it takes the keyboard focus of the top modal
// window, and Escape opens the pause dialog.
#pragma once

#include "game/widgets/gamewindow.h"

class RGame : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RGame();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Escape queues the pause dialog for the main script; other keys are
    // not handled.
    bool OnKeyDown(int key, int modifiers) override;

    static constexpr int kEscape = 27;
};
