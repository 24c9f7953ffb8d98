#include "game/sprites/hoverglow.h"

#include <algorithm>

#include "game/sprites/sprite.h"
#include "graphics/render/drawstate.h"

namespace {

// The renderer's additive mode the glow draws with.
constexpr int kGlowBlendMode = 2;
// Milliseconds of a full rise or fall.
constexpr float kGlowTime = 100.0f;

}  // namespace

void VHoverGlow::VHoverListener::OnMouseEnter(const std::shared_ptr<VSprite>&) {
    if (std::shared_ptr<VHoverGlow> glow = mGlow.lock()) glow->mHovered = true;
}

void VHoverGlow::VHoverListener::OnMouseLeave(const std::shared_ptr<VSprite>&) {
    if (std::shared_ptr<VHoverGlow> glow = mGlow.lock()) glow->mHovered = false;
}

std::shared_ptr<VHoverGlow> VHoverGlow::Create(bool propagate, float strength, bool spreadHorizontally,
                                               bool spreadVertically) {
    return Make<VHoverGlow>(propagate, strength, spreadHorizontally, spreadVertically);
}

VHoverGlow::VHoverGlow(bool propagate, float strength, bool spreadHorizontally, bool spreadVertically)
    : VSpriteEffect(propagate),
      mSpreadHorizontally(spreadHorizontally),
      mSpreadVertically(spreadVertically),
      mStrength(strength) {}

void VHoverGlow::OnAdded(const std::shared_ptr<VSprite>& sprite) {
    if (!mListener && sprite) {
        mListener = std::make_shared<VHoverListener>(
            std::static_pointer_cast<VHoverGlow>(SharedFromThis()));
        sprite->AddListener(mListener);
    }
    VSpriteEffect::OnAdded(sprite);
}

void VHoverGlow::OnRemoved(const std::shared_ptr<VSprite>& sprite) {
    if (mListener && sprite) sprite->RemoveListener(mListener);
    VSpriteEffect::OnRemoved(sprite);
}

bool VHoverGlow::Update(bool paused) {
    float step = mStrength * static_cast<float>(GetElapsed()) / kGlowTime;
    if (mActive && mHovered) {
        mGlow = std::min(mStrength, mGlow + step);
    } else {
        mGlow = std::max(0.0f, mGlow - step);
    }
    VSpriteEffect::Update(paused);
    return mActive || mGlow > 0;
}

void VHoverGlow::EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int) {
    if (mGlow > 0 && sprite) {
        for (float dx : {0.5f, -0.5f}) {
            for (float dy : {0.5f, -0.5f}) {
                TVec2 offset(mSpreadHorizontally ? dx : 0.0f, mSpreadVertically ? dy : 0.0f);
                TDrawState glow(offset, mGlow, 1.0f, 0);
                glow.blendMode = kGlowBlendMode;
                sprite->Draw(TDrawState::Compose(glow, state), 0);
            }
        }
    }
    mDone = !mActive && mGlow <= 0;
}
