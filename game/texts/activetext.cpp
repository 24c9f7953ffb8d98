#include "game/texts/activetext.h"

#include <algorithm>

#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/text/textlayout.h"

RActiveText::RActiveText(const TString& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags,
                         const TString& font, int32_t fontSize, float r, float g, float b, float a)
    : mX(x),
      mY(y),
      mWidth(width),
      mHeight(height),
      mFlags(flags),
      mFont(font),
      mFontSize(fontSize),
      mColor(r, g, b, a) {
    mLayout = TTextLayout::Create(mWidth, mHeight, mFont, mFontSize, mColor, mFlags, TString());
    SetText(text);
}

RActiveText::~RActiveText() = default;

void RActiveText::Draw() {
    if (!mLayout) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    TRect box(mX - mWidth / 2, mY - mHeight / 2, mX + mWidth / 2, mY + mHeight / 2);
    mLayout->DrawInRect(box, mScale, mExtraSpacing, mAlpha);
}

bool RActiveText::Update(uint32_t) {
    return true;
}

void RActiveText::SetText(const TString& text) {
    if (mLayout) mLayout->SetText(text);
}

TWindow* RActiveTextLayer::Create() {
    return new RActiveTextLayer();
}

const char* RActiveTextLayer::GetClassName() const {
    return "RActiveTextLayer";
}

bool RActiveTextLayer::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

RActiveTextLayer::~RActiveTextLayer() = default;

void RActiveTextLayer::Draw() {
    RWindow::Draw();
    for (const auto& text : mTexts) text->Draw();
}

bool RActiveTextLayer::Animate() {
    RWindow::Animate();
    const uint32_t frameTime = GetFrameTime();
    std::erase_if(mTexts, [frameTime](const std::unique_ptr<RActiveText>& text) { return !text->Update(frameTime); });
    return true;
}

void RActiveTextLayer::AddText(RActiveText* text) {
    if (text) mTexts.emplace_back(text);
}

void RActiveTextLayer::Clear() {
    mTexts.clear();
}
