// The owner of one scene's top-level sprites. What the sprites need of it so
// far: a shared self for their weak links, the clock they read, the dirty
// flag that asks for the hovered sprite to be worked out again, and the
// running effects it steps every update.
#pragma once

#include <memory>
#include <set>

class TClock;
class VSpriteEffect;

class VSpriteManager {
public:
    static std::shared_ptr<VSpriteManager> Create();
    virtual ~VSpriteManager() = default;
    VSpriteManager(const VSpriteManager&) = delete;
    VSpriteManager& operator=(const VSpriteManager&) = delete;

    // Empty, with a log line, for a manager that Create did not make.
    std::shared_ptr<VSpriteManager> SharedFromThis();

    virtual void MarkDirty() { mDirty = true; }
    // Steps each running effect once; drops the done and finished ones.
    virtual void UpdateEffects();
    virtual void AddRunningEffect(const std::shared_ptr<VSpriteEffect>& effect);
    virtual void SetPaused(bool paused) { mPaused = paused; }

    // May be null: then every time reads 0.
    TClock* GetClock() const { return mClock; }
    void SetClock(TClock* clock) { mClock = clock; }
    bool IsDirty() const { return mDirty; }
    bool IsRunning(const std::shared_ptr<VSpriteEffect>& effect) const { return mRunningEffects.count(effect) > 0; }

protected:
    VSpriteManager() = default;

private:
    std::weak_ptr<VSpriteManager> mSelf;
    std::set<std::shared_ptr<VSpriteEffect>> mRunningEffects;
    TClock* mClock = nullptr;  // not owned
    bool mPaused = false;
    bool mDirty = false;
};
