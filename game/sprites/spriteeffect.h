// A timed change to how sprites look, attached to one or more sprites. The
// sprites call the brackets around their drawing (begins in id order, ends in
// reverse) and drop the effect once it is done; the sprite manager steps it.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "foundation/clock.h"

class VSprite;
struct TDrawState;

class VSpriteEffect {
public:
    explicit VSpriteEffect(bool propagate);
    virtual ~VSpriteEffect() = default;
    VSpriteEffect(const VSpriteEffect&) = delete;
    VSpriteEffect& operator=(const VSpriteEffect&) = delete;

    // Empty, with a log line, for an effect that no factory made.
    std::shared_ptr<VSpriteEffect> SharedFromThis();

    // With propagate set these carry the effect on to the sprite's children.
    virtual void OnAdded(const std::shared_ptr<VSprite>& sprite);
    virtual void OnRemoved(const std::shared_ptr<VSprite>& sprite);
    virtual bool IsActive() const { return mActive; }
    // Also true once no sprite holds the effect.
    virtual bool IsDone() const { return mDone || mAttachments <= 0; }
    // The effect winds down in its own way.
    virtual void Deactivate() { mActive = false; }
    virtual void Finish() { mDone = true; }
    // Milliseconds since the last Update; the first call answers 0.
    virtual uint32_t GetElapsed();
    // One step; false once the effect has nothing more to do.
    virtual bool Update(bool paused);
    virtual void BeginImage(const std::shared_ptr<VSprite>& /*sprite*/, const TDrawState& /*state*/, int /*depth*/) {}
    virtual void EndImage(const std::shared_ptr<VSprite>& /*sprite*/, const TDrawState& /*state*/, int /*depth*/) {}
    virtual void BeginRender(const std::shared_ptr<VSprite>& /*sprite*/, const TDrawState& /*state*/, int /*depth*/) {}
    virtual void EndRender(const std::shared_ptr<VSprite>& /*sprite*/, const TDrawState& /*state*/, int /*depth*/) {}

    uint32_t GetId() const { return mId; }
    bool IsPropagating() const { return mPropagate; }
    // Takes effect at the next attachment or removal.
    void SetPropagating(bool propagate) { mPropagate = propagate; }

protected:
    // The factories' construction: the new effect knows its own owner.
    template <typename T, typename... Args>
    static std::shared_ptr<T> Make(Args&&... args) {
        std::shared_ptr<T> effect(new T(std::forward<Args>(args)...));
        effect->mSelf = effect;
        return effect;
    }

    bool mActive = true;
    bool mDone = false;

private:
    std::weak_ptr<VSpriteEffect> mSelf;
    TClock mClock;
    uint32_t mLastUpdate = 0;  // 0 = not yet
    int mAttachments = 0;
    uint32_t mId;
    bool mPropagate;
};
