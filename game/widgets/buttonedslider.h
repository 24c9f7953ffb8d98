// A slider whose child buttons keep working while the pointer is over
// them: over a button, the slider drops its own hover.
#pragma once

#include "widgets/slider.h"

class RButtonedSlider : public TSlider {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    bool OnMouseMove(const TPoint& point) override;

    bool IsPressed() const { return mPressed; }

private:
    bool mPressed = false;
};
