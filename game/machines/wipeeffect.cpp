#include "game/machines/wipeeffect.h"

#include <algorithm>

#include "game/sprites/sprite.h"
#include "graphics/render/renderer.h"

std::shared_ptr<VWipeEffect> VWipeEffect::Create(int direction, bool reveal, uint32_t duration) {
    return Make<VWipeEffect>(direction, reveal, duration);
}

VWipeEffect::VWipeEffect(int direction, bool reveal, uint32_t duration)
    : VSpriteEffect(false), mDirection(direction), mReveal(reveal), mDuration(duration) {}

bool VWipeEffect::Update(bool paused) {
    uint32_t elapsed = GetElapsed();
    float step = mDuration == 0 ? 1.0f : static_cast<float>(elapsed) / static_cast<float>(mDuration);
    mProgress = std::min(1.0f, mProgress + step);
    VSpriteEffect::Update(paused);
    return mActive;
}

TRect VWipeEffect::Clip(const TRect& bounds) const {
    bool vertical = mDirection == kFromTop || mDirection == kFromBottom;
    int span = vertical ? bounds.bottom - bounds.top : bounds.right - bounds.left;
    int moved = static_cast<int>(static_cast<float>(span) * mProgress);
    TRect clip = mSavedClip;
    switch (mDirection) {
    case kFromTop: (mReveal ? clip.bottom : clip.top) = bounds.top + moved; break;
    case kFromBottom: (mReveal ? clip.top : clip.bottom) = bounds.bottom - moved; break;
    case kFromLeft: (mReveal ? clip.right : clip.left) = bounds.left + moved; break;
    case kFromRight: (mReveal ? clip.left : clip.right) = bounds.right - moved; break;
    default: break;
    }
    clip.Intersect(clip, mSavedClip);
    return clip;
}

void VWipeEffect::BeginRender(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int) {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer || !sprite) return;
    mStackWasEmpty = !renderer->HasViewRect();
    mSavedClip = mStackWasEmpty ? renderer->GetScreenRect() : renderer->GetViewRect();
    renderer->PushViewRect(Clip(sprite->GetBounds(state, -1)));
}

void VWipeEffect::EndRender(const std::shared_ptr<VSprite>& sprite, const TDrawState&, int) {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer || !sprite) return;
    if (mStackWasEmpty) {
        renderer->ClearViewRects();
    } else {
        renderer->PopViewRect();
    }
    mActive = mProgress < 1.0f;
    if (mActive) return;
    Finish();
    if (!mReveal) sprite->SetVisible(false);
}
