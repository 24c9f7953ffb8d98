// A bar gauge: a quad from a fixed base corner to a corner moved from a
// start to an end position by the value, showing that part of an image laid
// over the whole window, with an optional overlay drawn over it.
#pragma once

#include <memory>
#include <vector>

#include "foundation/vector.h"
#include "game/widgets/gauge.h"

class KBar : public KGauge {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    KBar();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    void Init(const TWindowStyle& style) override;
    void PostDraw() override;
    void SetValue(float value) override;
    float GetValue() const override { return mValue; }

    // Window coordinates and texture coordinates, in fan order.
    const std::vector<TRenderVertex>& GetVertices() const { return mVertices; }

    // Positions the description leaves out.
    static constexpr float kUnsetPosition = -1337;

private:
    void BuildQuad();

    TVec2 mBase{kUnsetPosition, kUnsetPosition};
    TVec2 mStart{kUnsetPosition, kUnsetPosition};
    TVec2 mEnd{kUnsetPosition, kUnsetPosition};
    std::shared_ptr<TTexture> mBarImage;
    std::shared_ptr<TTexture> mOverlay;
    float mValue = 0;
    std::vector<TRenderVertex> mVertices;
};
