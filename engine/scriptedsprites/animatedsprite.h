// A sprite whose frames a Lua script plays. Each sprite owns a script state
// with the animation library and the sprite's own functions; playing runs a
// function of the animation's script as a coroutine on the platform task
// list, timed by the sprite's clock. Removed scripts and coroutines are
// parked, because the call removing them may come from the coroutine itself
// ("Die"), and deleted at a later clean-up once nothing of theirs runs.
#pragma once

#include <memory>

#include "foundation/tstring.h"
#include "graphics/animatedtexture.h"
#include "graphics/sprite.h"

struct lua_State;
class TClock;
class TScript;
class TSpriteScriptTask;

class TAnimatedSprite : public TSprite {
public:
    static const TSpriteClassId ClassId;
    static TSpriteClassId GetClassId() { return ClassId; }

    static std::shared_ptr<TAnimatedSprite> Create(int layer);

    explicit TAnimatedSprite(int layer) : TSprite(layer) {}
    // Takes its tasks off the task list before deleting them.
    ~TAnimatedSprite() override;

    const char* GetClassName() const override { return "TAnimatedSprite"; }
    bool IsA(TSpriteClassId id) const override { return id == ClassId || TSprite::IsA(id); }
    // These show the current frame of the animated texture first.
    void Draw(const TDrawState& parentState, int depth) override;
    // Pivoted on the current frame's registration point unless the sprite
    // has a pivot of its own.
    TRect GetBounds(const TDrawState& parentState, int depth) override;
    bool HitTest(const TPoint& point, const TDrawState& parentState, int threshold, int depth) override;
    // An animated texture also becomes the animation's texture.
    void SetTexture(const std::shared_ptr<TTexture>& texture) override;

    // Ignored below -1; the texture shows it when it has that frame.
    void SetCurrentFrame(int frame);
    int GetCurrentFrame() const { return mCurrentFrame; }
    // 1 without an animated texture.
    int GetFrameCount() const;
    // Passed on to the running coroutine.
    void SetClock(TClock* clock);
    std::shared_ptr<TAnimatedTexture> GetAnimatedTexture() const { return mAnimatedTexture; }
    // The animation's texture (not the one drawn) becomes the named one;
    // false when it cannot be loaded.
    bool Load(const TString& name, const TString& image, const TString& mask);

    // A new script: the library, the sprite's functions and the animation's
    // script text. The old one is parked.
    void InitScript();
    // The running coroutine, else the script (set up when there is none).
    TScript* GetScript();
    // Starts the named function of the script as the coroutine; an empty
    // name sets the coroutine up and runs nothing.
    void Play(const TString& functionName);
    // Ends the running coroutine.
    void Stop();
    // Stops and parks the script: the sprite is finished.
    void Die();
    // Suspends or (1 ms later) resumes the coroutine, and those of animated
    // descendants down to the depth (-1: all).
    void Pause(bool pause, int depth);
    // The coroutine, or one of a descendant down to the depth, waits in a yield.
    bool IsPlaying(int depth);
    // Neither the sprite nor a descendant down to the depth owns a script.
    bool IsFinished(int depth);
    float GetSpeed() const { return mSpeed; }

    // The body of the script function "WaitLuaNextFrame": schedules the
    // coroutine and yields it when L is that coroutine and may yield.
    int WaitNextFrame(lua_State* L);
    // A task of this sprite was deleted by its task list.
    void ForgetTask(TSpriteScriptTask* task);

private:
    std::shared_ptr<TAnimatedSprite> Self();
    // Deletes what was parked before (once nothing of it runs).
    void BuryRetiredCoroutine();
    void BuryRetiredScript();
    void RetireCoroutine();
    void RetireScript();
    void RegisterFunctions(lua_State* L);
    void PauseOwn(bool pause);
    bool YieldsHere(lua_State* L) const;

    int mCurrentFrame = 0;
    std::shared_ptr<TAnimatedTexture> mAnimatedTexture;
    TClock* mClock = nullptr;                         // not owned; null is the platform timer
    TSpriteScriptTask* mScript = nullptr;             // on the task list while it exists
    TSpriteScriptTask* mCoroutine = nullptr;          // the animation being played
    TSpriteScriptTask* mRetiredScript = nullptr;      // parked until the next clean-up
    TSpriteScriptTask* mRetiredCoroutine = nullptr;
    float mSpeed = 1.0f;
};
