// A value shown as a cursor image placed along a background image, like a
// slider that takes no input.
#pragma once

#include <memory>

#include "game/widgets/gauge.h"

class TSprite;

class RCursor : public KGauge {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RCursor();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Reads "background", then "cursor", growing the window to hold them.
    void PostInit(const TWindowStyle& style) override;
    void Draw() override;
    // Stored; the next frame places the cursor.
    void SetValue(float value) override { mValue = ClampUnit(value); }
    float GetValue() const override { return mValue; }

    // The window grows to the image's width and height where it is smaller.
    void SetBackgroundImage(const std::shared_ptr<TTexture>& image);
    // The window becomes as wide as the cursor when narrower, else as wide
    // as the background with a cursor's width on each side; and as high as
    // the cursor when lower.
    void SetCursorImage(const std::shared_ptr<TTexture>& image);

    const std::shared_ptr<TSprite>& GetBackgroundSprite() const { return mBackground; }
    const std::shared_ptr<TSprite>& GetCursorSprite() const { return mCursor; }

private:
    float mValue = 0;
    std::shared_ptr<TSprite> mBackground;
    std::shared_ptr<TSprite> mCursor;
};
