#include "widgets/slider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/app/message.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "graphics/render/drawstate.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "widgets/image.h"
#include "widgets/widgetnotify.h"

namespace {

std::shared_ptr<TTexture> TextureOf(const TWindowStyle& style, const char* key) {
    TString name = style.GetString(key, TString());
    return name.Length() > 0 ? TTexture::GetWithOptions(name, 0) : nullptr;
}

}  // namespace

TWindow* TSlider::Create() {
    return new TSlider();
}

TSlider::~TSlider() = default;

const char* TSlider::GetClassName() const {
    return "TSlider";
}

bool TSlider::IsA(TWindowClassId id) const {
    return id == ClassId() || TWindow::IsA(id);
}

void TSlider::Init(const TWindowStyle& style) {
    if (mInitialised) return;
    mInitialised = true;
    int width = style.GetInt("w", GetWidth());
    int height = style.GetInt("h", GetHeight());
    TWindow::Init(style);
    mHorizontal = style.GetBool("hslider", height < width);
    mRailTop = TextureOf(style, "railtop");
    mRailMid = TextureOf(style, "railmid");
    mRailBottom = TextureOf(style, "railbot");
    mThumbNormal = TextureOf(style, "sliderimage");
    mThumbRollover = TextureOf(style, "sliderrollimage");
    mScale = static_cast<float>(style.GetNumber("scale", 1.0));
    mYOffset = style.GetInt("yoffset", 0);

    mThumb = new TImage();
    mThumb->SetImage(mThumbNormal, mScale);
    AddChild(mThumb, false);
    mThickness = ComputeThickness();
    if (mHorizontal) {
        SetSize(GetWidth(), mThickness);
    } else {
        SetSize(mThickness, GetHeight());
    }
    PlaceThumb();
}

int TSlider::ThumbLength() const {
    if (!mThumb) return 0;
    return mHorizontal ? mThumb->GetWidth() : mThumb->GetHeight();
}

int TSlider::ComputeThickness() const {
    float rail = 0;
    for (const auto* texture : {&mRailTop, &mRailMid, &mRailBottom}) {
        if (!*texture) continue;
        int across = mHorizontal ? (*texture)->GetHeight() : (*texture)->GetWidth();
        rail = std::max(rail, static_cast<float>(across) * mScale);
    }
    int thumb = mThumb ? (mHorizontal ? mThumb->GetHeight() : mThumb->GetWidth()) : 0;
    return std::max(static_cast<int>(std::lround(rail)), thumb + std::abs(mYOffset));
}

void TSlider::PlaceThumb() {
    if (!mThumb) return;
    int along = static_cast<int>(std::lround(mValue * static_cast<float>(Length() - ThumbLength())));
    if (mHorizontal) {
        mThumb->SetPosition(along, mYOffset);
    } else {
        mThumb->SetPosition(mYOffset, along);
    }
}

void TSlider::SetValue(float value, bool silent) {
    mValue = std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
    PlaceThumb();
    if (!silent) Notify(TMessage::kSliderValChanged);
}

void TSlider::Notify(int type) {
    PostWidgetMessage(type, GetName(), GetParent());
}

bool TSlider::IsOverThumb(const TPoint& point) const {
    return mThumb && mThumb->GetRect().Contains(point);
}

void TSlider::ShowRollover(bool rollover) {
    if (!mThumb) return;
    // Without a rollover image the thumb keeps its normal one.
    const std::shared_ptr<TTexture>& wanted = rollover && mThumbRollover ? mThumbRollover : mThumbNormal;
    if (mThumb->GetTexture() != wanted) {
        mThumb->SetImage(wanted, mScale);
        PlaceThumb();
    }
    TWindowManager* manager = TWindowManager::GetInstance();
    if (!manager) return;
    if (rollover) {
        manager->CaptureMouse(this);
    } else {
        manager->ReleaseMouse(this);
    }
}

bool TSlider::OnMouseDown(const TPoint& point) {
    if (IsOverThumb(point)) {
        mDragging = true;
        if (TWindowManager* manager = TWindowManager::GetInstance()) manager->CaptureMouse(this);
        return true;
    }
    int thumbStart = mThumb ? Along(TPoint(mThumb->GetRect().left, mThumb->GetRect().top)) : 0;
    Notify(Along(point) < thumbStart ? TMessage::kSliderPageUp : TMessage::kSliderPageDown);
    return true;
}

bool TSlider::OnMouseMove(const TPoint& point) {
    ShowRollover(mDragging || IsOverThumb(point));
    // A slider without length has no position to drag to.
    if (mDragging && Length() > 0) SetValue(static_cast<float>(Along(point)) / static_cast<float>(Length()), false);
    return true;
}

bool TSlider::OnMouseUp(const TPoint& point) {
    mDragging = false;
    ShowRollover(IsOverThumb(point));
    Notify(TMessage::kSliderMouseUp);
    return true;
}

bool TSlider::OnMouseLeave(const TPoint&) {
    if (!mDragging) ShowRollover(false);
    return true;
}

float TSlider::PieceLength(const std::shared_ptr<TTexture>& texture) const {
    if (!texture) return 0;
    return static_cast<float>(mHorizontal ? texture->GetWidth() : texture->GetHeight()) * mScale;
}

void TSlider::Draw() {
    TBegin2dScope scope;
    float length = static_cast<float>(Length());
    float top = PieceLength(mRailTop);
    float bottom = PieceLength(mRailBottom);
    DrawRailPiece(mRailTop, 0, top);
    DrawRailPiece(mRailMid, top, length - top - bottom);
    DrawRailPiece(mRailBottom, length - bottom, bottom);
}

void TSlider::DrawRailPiece(const std::shared_ptr<TTexture>& texture, float start, float length) const {
    if (!texture || length <= 0 || texture->GetWidth() <= 0 || texture->GetHeight() <= 0) return;
    auto width = static_cast<float>(texture->GetWidth());
    auto height = static_cast<float>(texture->GetHeight());
    // In the slider's own coordinates, as the window tree draws.
    TDrawState state(TVec2(0, 0), 1.0f, 1.0f, TDrawState::kUsePivot);
    if (mHorizontal) {
        state.matrix.Scale(length / width, mScale);
        state.matrix.m[2][0] += start;
        state.matrix.m[2][1] += (static_cast<float>(GetHeight()) - height * mScale) / 2;
    } else {
        state.matrix.Scale(mScale, length / height);
        state.matrix.m[2][0] += (static_cast<float>(GetWidth()) - width * mScale) / 2;
        state.matrix.m[2][1] += start;
    }
    texture->Draw(state);
}
