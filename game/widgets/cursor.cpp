#include "game/widgets/cursor.h"

#include "core/windows/windowstyle.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/sprite.h"
#include "graphics/texture.h"

namespace {

void PlaceSprite(TSprite& sprite, float x, float y) {
    sprite.GetDrawState().matrix.m[2][0] = x;
    sprite.GetDrawState().matrix.m[2][1] = y;
}

}  // namespace

TWindow* RCursor::Create() {
    return new RCursor();
}

RCursor::RCursor() : mBackground(TSprite::Create(0)), mCursor(TSprite::Create(0)) {}

const char* RCursor::GetClassName() const {
    return "RCursor";
}

bool RCursor::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), KGauge::ClassId(), TWindow::ClassId()});
}

void RCursor::PostInit(const TWindowStyle& style) {
    KGauge::PostInit(style);
    SetBackgroundImage(GetImage(style.GetString("background", TString())));
    SetCursorImage(GetImage(style.GetString("cursor", TString())));
}

void RCursor::SetBackgroundImage(const std::shared_ptr<TTexture>& image) {
    mBackground->SetTexture(image);
    if (!image) return;
    if (GetWidth() < image->GetWidth()) SetSize(image->GetWidth(), GetHeight());
    if (GetHeight() < image->GetHeight()) SetSize(GetWidth(), image->GetHeight());
}

void RCursor::SetCursorImage(const std::shared_ptr<TTexture>& image) {
    mCursor->SetTexture(image);
    if (!image) return;
    const std::shared_ptr<TTexture>& background = mBackground->GetTexture();
    if (GetWidth() < image->GetWidth()) {
        SetSize(image->GetWidth(), GetHeight());
    } else if (background) {
        SetSize(2 * image->GetWidth() + background->GetWidth(), GetHeight());
    }
    if (GetHeight() < image->GetHeight()) SetSize(GetWidth(), image->GetHeight());
}

void RCursor::Draw() {
    const std::shared_ptr<TTexture>& background = mBackground->GetTexture();
    const std::shared_ptr<TTexture>& cursor = mCursor->GetTexture();
    if (!background || !cursor) return;
    auto half = [](int side) { return static_cast<float>(side > 0 ? side / 2 : 0); };
    PlaceSprite(*mBackground, half(GetWidth()), half(GetHeight()));
    PlaceSprite(*mCursor,
                static_cast<float>(cursor->GetWidth()) + mValue * static_cast<float>(background->GetWidth()),
                half(GetHeight()));
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    TDrawState state(TVec2(0, 0), 1, 1, 0);
    mBackground->Draw(state, -1);
    mCursor->Draw(state, -1);
}
