// Nine-slice panel windows: a plain panel of the size its description
// gives, and a panel that grows to enclose its child windows.
#pragma once

#include "core/windows/window.h"
#include "game/widgets/split9.h"

class KSplit9Image : public TWindow, public KSplit9 {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    KSplit9Image();

    // Init is the window's; the panel's is read in PostInit.
    using TWindow::Init;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The panel is read and cut after the window's own set-up.
    void PostInit(const TWindowStyle& style) override;
    void Draw() override;
    // The size from "w" and "h".
    void FitWindow(const TWindowStyle& style) override;
};

class RSplit9Expander : public KSplit9Image {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The "w" and "h" size, or the children's extent with the right and
    // bottom borders less the padding added, when there is one.
    void FitWindow(const TWindowStyle& style) override;
};
