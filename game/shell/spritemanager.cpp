#include "game/shell/spritemanager.h"

#include <vector>

#include "foundation/debuglog.h"
#include "game/shell/spriteeffect.h"

std::shared_ptr<VSpriteManager> VSpriteManager::Create() {
    std::shared_ptr<VSpriteManager> manager(new VSpriteManager());
    manager->mSelf = manager;
    return manager;
}

std::shared_ptr<VSpriteManager> VSpriteManager::SharedFromThis() {
    std::shared_ptr<VSpriteManager> self = mSelf.lock();
    if (!self) DebugLog("VSpriteManager::SharedFromThis: the manager has no shared owner");
    return self;
}

void VSpriteManager::AddRunningEffect(const std::shared_ptr<VSpriteEffect>& effect) {
    if (effect) mRunningEffects.insert(effect);
}

void VSpriteManager::UpdateEffects() {
    // A copy: a step may add running effects.
    std::vector<std::shared_ptr<VSpriteEffect>> running(mRunningEffects.begin(), mRunningEffects.end());
    for (const std::shared_ptr<VSpriteEffect>& effect : running) {
        if (effect->IsDone() || !effect->Update(mPaused)) mRunningEffects.erase(effect);
    }
}
