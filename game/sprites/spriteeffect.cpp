#include "game/sprites/spriteeffect.h"

#include <vector>

#include "foundation/debuglog.h"
#include "game/sprites/sprite.h"

namespace {

uint32_t gNextEffectId = 1;

}  // namespace

VSpriteEffect::VSpriteEffect(bool propagate) : mId(gNextEffectId++), mPropagate(propagate) {
    mClock.Start();
}

std::shared_ptr<VSpriteEffect> VSpriteEffect::SharedFromThis() {
    std::shared_ptr<VSpriteEffect> self = mSelf.lock();
    if (!self) DebugLog("VSpriteEffect::SharedFromThis: the effect %u has no shared owner", mId);
    return self;
}

void VSpriteEffect::OnAdded(const std::shared_ptr<VSprite>& sprite) {
    if (mPropagate && sprite) {
        std::shared_ptr<VSpriteEffect> self = SharedFromThis();
        // A copy: adding may reach code that changes the list.
        std::vector<std::shared_ptr<VSprite>> children = sprite->GetChildList();
        for (const std::shared_ptr<VSprite>& child : children) child->AddEffect(self);
    }
    ++mAttachments;
}

void VSpriteEffect::OnRemoved(const std::shared_ptr<VSprite>& sprite) {
    if (mPropagate && sprite) {
        std::shared_ptr<VSpriteEffect> self = SharedFromThis();
        std::vector<std::shared_ptr<VSprite>> children = sprite->GetChildList();
        for (const std::shared_ptr<VSprite>& child : children) child->RemoveEffect(self);
    }
    --mAttachments;
}

uint32_t VSpriteEffect::GetElapsed() {
    uint32_t now = static_cast<uint32_t>(mClock.GetTime());
    if (mLastUpdate == 0) mLastUpdate = now;
    return now - mLastUpdate;
}

bool VSpriteEffect::Update(bool) {
    mLastUpdate = static_cast<uint32_t>(mClock.GetTime());
    return true;
}
