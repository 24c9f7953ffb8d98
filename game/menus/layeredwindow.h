// A panel with three alternative contents, one layer each, starting on the
// first.
#pragma once

#include "core/windows/layeredwindow.h"

class BLayeredWindow : public TLayeredWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    static constexpr int kLayers = 3;

    BLayeredWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Shows layer 0.
    void PostInit(const TWindowStyle& style) override;
};
