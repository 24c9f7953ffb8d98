// A button holding buttons: it shows its hover look only while no child
// button lies under the pointer.
#pragma once

#include "widgets/button.h"

class RParentButton : public TButton {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Over a child button: leaves its own hover and does not take the move.
    bool OnMouseMove(const TPoint& point) override;
};
