// The image window: one texture drawn at the window's origin, with its
// scale, alpha, mirror flags and an optional quarter turn. Buttons build
// their looks from it and scripts create it as "Bitmap".
#pragma once

#include <memory>

#include "core/windows/imagelink.h"
#include "core/windows/window.h"
#include "foundation/tstring.h"

class TTexture;

class TImage : public TWindow, public TImageLink {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TImage() = default;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~TImage() override;
    void Init(const TWindowStyle& style) override;
    void Draw() override;

    // Sizes the window to the texture times the scale (swapped when turned);
    // without a texture the window is 0 x 0.
    void SetImage(const std::shared_ptr<TTexture>& texture, float scale);
    // The drawable texture of the named image.
    void SetImage(const TString& imageName, float scale) override;
    bool HasTexture() const override { return mTexture != nullptr; }
    const std::shared_ptr<TTexture>& GetTexture() const { return mTexture; }

    // The window stays opaque (kFullSize) only at alpha 1 with a texture
    // that has no alpha channel.
    void SetAlpha(float alpha);
    float GetAlpha() const { return mAlpha; }
    float GetScale() const { return mScale; }
    // A quarter turn swaps the window's width and height.
    void SetRotate(bool rotate);
    bool IsRotated() const { return mRotate; }
    // TDrawState::kMirrorHorizontal and kMirrorVertical.
    void SetDrawFlags(int flags) { mDrawFlags = flags; }
    int GetDrawFlags() const { return mDrawFlags; }

private:
    void FitToTexture();

    std::shared_ptr<TTexture> mTexture;
    float mScale = 1.0f;
    float mAlpha = 1.0f;
    int mDrawFlags = 0;
    bool mRotate = false;
};

// The window when it is an image window, else null.
TImage* CastToTImage(TWindow* window);
