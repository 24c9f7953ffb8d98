// A sprite window whose game objects come from its description: "objects"
// lists object descriptions, each with optional "effects" of type "move"
// ("x", "y", "time" 300 ms, "accel", "delay"). The objects change only by
// their effects, their animations and the pointer, so once these rest the
// window stops redrawing the screen.
#pragma once

#include "game/sprites/spritewindow.h"

class VObjectWindow : public VSpriteWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VObjectWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VObjectWindow() override;
    // Builds the objects in list order, so later ones draw on top.
    void PostInit(const TWindowStyle& style) override;
    // The invalidator redraws only while the objects need drawing.
    bool StartAnimation() override;
};
