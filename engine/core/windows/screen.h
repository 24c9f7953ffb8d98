// The root modal window under every other window: it clears the frame and
// draws the background.
#pragma once

#include "core/windows/modalwindow.h"
#include "foundation/color.h"

class TScreen : public TModalWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // Named "_screen_", cacheable and full-size.
    TScreen();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Clears the view with the clear colour when the screen is the top modal
    // window or clears always, unless clearing is off; then draws the window
    // manager's background image (its cache of the lower modal windows) at
    // the origin.
    void Draw() override;

    void SetClearAlways(bool on) { mClearAlways = on; }
    void SetClearingOff(bool off) { mClearingOff = off; }
    void SetClearColor(const TColor4f& color) { mClearColor = color; }
    const TColor4f& GetClearColor() const { return mClearColor; }

private:
    bool mClearAlways = false;
    bool mClearingOff = false;
    TColor4f mClearColor;  // transparent black
};
