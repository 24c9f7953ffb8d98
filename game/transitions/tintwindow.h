// A plain colour panel that screens place in their window tree. With "fade"
// it fades in (or, reversed, out) over "time" milliseconds on the clock of
// its enclosing modal window, so it stops while that modal is covered; its
// invalidator on that modal's task list keeps frames coming meanwhile.
#pragma once

#include <cstdint>
#include <memory>

#include "core/windows/window.h"
#include "foundation/color.h"

class RScreenInvalidator;
class TModalWindow;

class VTintWindow : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    static constexpr float kDefaultFadeTime = 500.0f;

    VTintWindow();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VTintWindow() override;

    // Reads "color", "fade" and "time", then puts the invalidator on the
    // enclosing modal window's task list.
    void PostInit(const TWindowStyle& style) override;
    void Draw() override;

    bool IsFading() const { return mFade; }
    bool IsRising() const { return mRising; }
    float GetFadeTime() const { return mFadeTime; }
    const TColor4f& GetColor() const { return mColor; }
    // Fades back from its current end state, starting at its next draw.
    void ReverseFade();
    // The share of the colour's alpha shown at the modal clock's reading now
    // (starting the fade at the first call).
    float FadeProgress(uint32_t now);

private:
    TModalWindow* EnclosingModal() const;

    TColor4f mColor;
    bool mFade = false;
    bool mRising = true;
    float mFadeTime = kDefaultFadeTime;
    uint32_t mStartTime = 0;
    bool mStarted = false;
    // Owned by the modal's task list once handed over, else by the window.
    RScreenInvalidator* mInvalidator;
    bool mInvalidatorHandedOver = false;
    // Expires with the window, ending an invalidator it could not take back.
    std::shared_ptr<const int> mLifeToken;
};
