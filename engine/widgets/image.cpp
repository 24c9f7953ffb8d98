#include "widgets/image.h"

#include <cmath>
#include <numbers>

#include "core/windows/windowstyle.h"
#include "graphics/render/drawstate.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "widgets/widgetnotify.h"

TWindow* TImage::Create() {
    return new TImage();
}

TImage::~TImage() = default;

const char* TImage::GetClassName() const {
    return "TImage";
}

bool TImage::IsA(TWindowClassId id) const {
    return id == ClassId() || TWindow::IsA(id);
}

TImage* CastToTImage(TWindow* window) {
    return window && window->IsA(TImage::ClassId()) ? static_cast<TImage*>(window) : nullptr;
}

void TImage::Init(const TWindowStyle& style) {
    TWindow::Init(style);
    TString image = style.GetString("image", TString());
    TString mask = style.GetString("mask", TString());
    float scale = static_cast<float>(style.GetNumber("scale", 1.0));
    bool alpha = style.GetBool("alpha", false);
    bool mipmap = style.GetBool("mipmap", false);
    mDrawFlags = (style.GetBool("hflip", false) ? TDrawState::kMirrorHorizontal : 0) |
                 (style.GetBool("vflip", false) ? TDrawState::kMirrorVertical : 0);
    mRotate = style.GetBool("rotate", false);
    if (alpha) SetFlags(GetFlags() & ~static_cast<uint32_t>(kFullSize));
    if (image.Length() == 0) return;
    int options = (alpha ? TTexture::kGetAlpha : 0) | (mipmap ? TTexture::kGetMipmap : 0);
    SetImage(mask.Length() > 0 ? TTexture::GetMasked(image, mask, options) : TTexture::GetWithOptions(image, options),
             scale);
}

void TImage::SetImage(const std::shared_ptr<TTexture>& texture, float scale) {
    mTexture = texture;
    mScale = scale;
    FitToTexture();
    RedrawScreen();
}

void TImage::SetImage(const TString& imageName, float scale) {
    SetImage(TTexture::GetWithOptions(imageName, 0), scale);
}

void TImage::FitToTexture() {
    if (!mTexture) {
        // A missing image leaves an empty window rather than a stale size.
        SetSize(0, 0);
        return;
    }
    int width = static_cast<int>(std::lround(static_cast<float>(mTexture->GetWidth()) * mScale));
    int height = static_cast<int>(std::lround(static_cast<float>(mTexture->GetHeight()) * mScale));
    if (mRotate) {
        SetSize(height, width);
    } else {
        SetSize(width, height);
    }
}

void TImage::SetAlpha(float alpha) {
    mAlpha = alpha;
    bool opaque = alpha == 1.0f && mTexture && !mTexture->GetTextureData()->HasOption(TTextureData::kAlpha);
    uint32_t flags = GetFlags() & ~static_cast<uint32_t>(kFullSize);
    SetFlags(opaque ? flags | kFullSize : flags);
    RedrawScreen();
}

void TImage::SetRotate(bool rotate) {
    if (rotate == mRotate) return;
    mRotate = rotate;
    FitToTexture();
}

void TImage::Draw() {
    if (!mTexture) return;
    TBegin2dScope scope;
    // The window tree draws each window in its own coordinates.
    TDrawState state(TVec2(0, 0), mAlpha, mScale, mDrawFlags | TDrawState::kUsePivot);
    if (mRotate) {
        // A quarter turn against the clock lifts the image above the origin
        // by its turned height, the texture's width; moved down by that, it
        // fills the window.
        state.matrix.Rotate(-std::numbers::pi_v<float> / 2);
        state.matrix.m[2][1] += static_cast<float>(mTexture->GetWidth()) * mScale;
    }
    mTexture->Draw(state);
}
