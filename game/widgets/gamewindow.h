// The image window most game screens and widgets derive from. Beside the
// image it can show a colour quad, start a screen transition when it is set
// up, start hidden, and it measures the time between the steps of its own
// animation.
#pragma once

#include <cstdint>

#include "foundation/color.h"
#include "graphics/render/vertexset.h"
#include "widgets/image.h"

class RWindow : public TImage {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~RWindow() override;
    // "imagealpha", "disable", "bgcolor", "effect" with "luastring", then the
    // animation every 16 ms on the enclosing or else the top modal window.
    void PostInit(const TWindowStyle& style) override;
    // The image, then the colour quad over it.
    void Draw() override;
    // Measures the time since the previous step on the animator's clock.
    bool Animate() override;

    // A quad of the window's present size in the colour, drawn from now on.
    void SetBackgroundColor(float r, float g, float b, float a);
    bool HasBackground() const { return mHasBackground; }
    const TColor4f& GetBackgroundColor() const { return mBackground; }
    const TRenderVertex* GetBackgroundQuad() const { return mQuad; }

    uint32_t GetFrameTime() const { return mFrameTime; }
    uint32_t GetElapsedTime() const { return mElapsedTime; }

    // "effect" when it posts nothing.
    static constexpr int kNoEffect = 1000;
    // Milliseconds between animation steps.
    static constexpr int32_t kAnimationPeriod = 16;

private:
    void ReadBackground(const TWindowStyle& style);
    void PostEffect(const TWindowStyle& style);
    void StartFrameClock();

    uint32_t mLastTime = 0;  // 0 until the first step
    uint32_t mFrameTime = 0;
    uint32_t mElapsedTime = 0;
    TColor4f mBackground{-1, -1, -1, -1};
    bool mHasBackground = false;
    TRenderVertex mQuad[4];
};
