#include "game/floor/thoughtbubble.h"

#include <algorithm>
#include <cmath>

#include "game/shell/valuemanager.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/tinteffect.h"

namespace {

const char kCloudAsset[] = "bubble_single";
constexpr int kDefaultTransition = 200;
// One default for placing and sliding, or the clouds would slide across.
constexpr float kDefaultOffset = 5.0f;

int TransitionTime() { return VValueManager::Get()->GetInt("transition_time", kDefaultTransition); }
float ThoughtOffset() { return VValueManager::Get()->GetReal("thought_offset", kDefaultOffset); }
// The tint of a cloud the given number of places behind the current one.
float TintLevel(float behind) {
    return VValueManager::Get()->ScaleWithinLimits("thought_tint", std::sqrt(behind), true);
}

// One coordinate towards its target by at most the step.
float Approach(float from, float to, float step) {
    return from < to ? std::min(to, from + step) : std::max(to, from - step);
}

}  // namespace

std::shared_ptr<VThoughtBubble> VThoughtBubble::Create() {
    auto bubble = std::make_shared<VThoughtBubble>();
    Adopt(bubble);
    return bubble;
}

VThoughtBubble::VThoughtBubble() : VObject(TString(), TString(), 0) {}

VThoughtBubble::~VThoughtBubble() = default;

const char* VThoughtBubble::MoodState(int mood) {
    static const char* const kLooks[] = {"content", "neutral", "annoyed", "angry"};
    return mood >= 2 && mood <= 5 ? kLooks[mood - 2] : "happy";
}

std::shared_ptr<VObject> VThoughtBubble::GetCloud(int index) const {
    return index >= 0 && index < GetItemCount() ? mItems[index].cloud : nullptr;
}

std::shared_ptr<VTintEffect> VThoughtBubble::GetTint(int index) const {
    return index >= 0 && index < static_cast<int>(mTintEffects.size()) ? mTintEffects[index] : nullptr;
}

bool VThoughtBubble::IsUnavailable(int index) const {
    return index >= 0 && index < GetItemCount() && mItems[index].unavailable != 0;
}

void VThoughtBubble::Show(const std::shared_ptr<VSprite>& item, const TString& slot, bool available) {
    int transition = TransitionTime();
    float offset = ThoughtOffset();
    int count = GetItemCount();
    std::shared_ptr<VObject> cloud = AddChildObject(kCloudAsset, "default", -count);
    mItems.push_back({available ? 0 : 1, cloud});
    mFadeEffects.emplace_back();
    if (!cloud) {
        mTintEffects.emplace_back();
        return;
    }
    cloud->SetPosition(TVec2(-offset * static_cast<float>(count), -offset * static_cast<float>(count)));
    if (!available) cloud->GetDrawState().color = TColor4f(1.0f, 0.75f, 0.75f, 1.0f);
    // Later clouds take longer, so they appear one after the other.
    cloud->AddEffect(VAlphaEffect::Create(true, 1.0f, transition + count * (transition / 2), -1.0f, 0));
    std::shared_ptr<VTintEffect> tint;
    if (count > 0) {
        float red = available ? 0.0f : 1.0f;
        tint = VTintEffect::Create(TintLevel(static_cast<float>(count)), transition, red, 0.0f, 0.0f, 1.0f, 0.0f);
        cloud->AddEffect(tint);
    }
    mTintEffects.push_back(tint);
    if (item) {
        cloud->AddChild(item);
        item->SetAnchor(slot);
    }
    ++mShownCount;
}

bool VThoughtBubble::Advance() {
    ++mServedCount;
    return mServedCount < GetItemCount();
}

void VThoughtBubble::SetMood(int mood) {
    const char* state = MoodState(mood);
    for (const Item& item : mItems) {
        if (item.cloud) item.cloud->SetAssetState(state, "default");
    }
}

void VThoughtBubble::Clear() {
    RemoveAllChildren();
    mItems.clear();
    mFadeEffects.clear();
    mTintEffects.clear();
    mServedCount = 0;
    mShownCount = 0;
}

void VThoughtBubble::Update(bool paused) {
    int transition = TransitionTime();
    float offset = ThoughtOffset();
    uint32_t elapsed = GetFrameTime();
    for (size_t index = 0; index < mItems.size(); ++index) {
        if (!mItems[index].cloud) continue;
        if (static_cast<int>(index) < mServedCount && FadeServed(index, transition)) continue;
        if (mServedCount >= GetItemCount()) continue;
        float waiting = static_cast<float>(static_cast<int>(index) - mServedCount);
        TintWaiting(index, waiting);
        SlideWaiting(index, waiting, offset, transition, elapsed);
    }
    VSprite::Update(paused);
}

bool VThoughtBubble::FadeServed(size_t index, int transition) {
    std::shared_ptr<VObject> cloud = mItems[index].cloud;
    std::shared_ptr<VAlphaEffect>& fade = mFadeEffects[index];
    if (fade && !fade->IsActive()) {
        RemoveCloud(index);
        return true;
    }
    if (!fade) {
        fade = VAlphaEffect::Create(false, 1.0f, transition, cloud->GetAlpha(), 0);
        cloud->DetachEffects();
        cloud->AddEffect(fade);
    }
    return false;
}

void VThoughtBubble::RemoveCloud(size_t index) {
    std::shared_ptr<VObject> cloud = mItems[index].cloud;
    cloud->DetachEffects();
    RemoveChild(std::shared_ptr<VSprite>(cloud));
    mItems[index].cloud.reset();
    --mShownCount;
    mFadeEffects[index].reset();
    mTintEffects[index].reset();
}

void VThoughtBubble::TintWaiting(size_t index, float waiting) {
    std::shared_ptr<VTintEffect>& tint = mTintEffects[index];
    // A served cloud's tint went with its other effects.
    if (!tint || waiting < 0) return;
    if (waiting == 0) {
        // The current item shows untinted.
        tint->Finish();
        tint.reset();
    } else {
        tint->SetLevel(TintLevel(waiting));
    }
}

void VThoughtBubble::SlideWaiting(size_t index, float waiting, float offset, int transition, uint32_t elapsed) {
    std::shared_ptr<VObject> cloud = mItems[index].cloud;
    TVec2 target(-waiting * offset, -waiting * offset);
    TVec2 position = cloud->GetPosition();
    if (position.x == target.x && position.y == target.y) return;
    // Without a transition time a cloud takes its place at once.
    if (transition <= 0) {
        cloud->SetPosition(target);
        return;
    }
    float step = std::fabs(offset) * static_cast<float>(elapsed) / static_cast<float>(transition);
    cloud->SetPosition(TVec2(Approach(position.x, target.x, step), Approach(position.y, target.y, step)));
}
