// The game's front end to the engine's sound: effects, music tracks with
// cross-fades and voice-over lines spoken one after another. It keeps every
// sound it started until that sound is done, pauses by group and offers all
// of this to the scripts. Main thread only.
#pragma once

#include <list>
#include <memory>

#include "foundation/task.h"
#include "foundation/clock.h"
#include "foundation/tstring.h"
#include "sound/soundcallback.h"

class TSound;
class TSoundInstance;
class VSound;

// Marks its sound done when the instance ends; the manager's next update
// stops and drops it.
class VSoundCallBack : public TSoundCallBack {
public:
    void SetSound(const std::weak_ptr<VSound>& sound) { mSound = sound; }
    void OnDone(const std::shared_ptr<TSoundInstance>& instance, const std::shared_ptr<TSound>& following) override;

private:
    std::weak_ptr<VSound> mSound;
};

// The callback of voice-over lines. Like every callback it only marks the
// line done: the manager's next update ends it as the current line, since
// releasing the line here would delete the callback while it runs.
class VVOCallBack : public VSoundCallBack {};

// One sound the manager started, with the callback it owns.
class VSound : public std::enable_shared_from_this<VSound> {
public:
    // Points the callback's link at the new sound and takes it.
    static std::shared_ptr<VSound> Create(const std::shared_ptr<TSound>& sound,
                                          std::unique_ptr<VSoundCallBack> callback);
    virtual ~VSound() = default;
    VSound(const VSound&) = delete;
    VSound& operator=(const VSound&) = delete;

    // A sound that cannot start counts as done at once.
    void Play(bool loop);
    bool Stop();
    void Pause(bool pause);
    // 0 without an instance.
    int GetGroup() const;
    // Deletes the callback held before.
    void SetCallback(std::unique_ptr<TSoundCallBack> callback);

    bool IsDone() const { return mDone; }
    void SetDone(bool done) { mDone = done; }
    const std::shared_ptr<TSound>& GetSound() const { return mSound; }
    const std::shared_ptr<TSoundInstance>& GetInstance() const { return mInstance; }

private:
    explicit VSound(const std::shared_ptr<TSound>& sound) : mSound(sound) {}

    std::unique_ptr<TSoundCallBack> mCallback;
    std::shared_ptr<TSound> mSound;
    std::shared_ptr<TSoundInstance> mInstance;
    bool mDone = false;
};

// Moves a sound's volume linearly between silence and the level of its group
// when the fade began; a finished fade-out marks the sound done.
class VSoundFade : public TAnimTask {
public:
    VSoundFade(const std::shared_ptr<VSound>& sound, bool fadeIn, int32_t duration);
    bool Animate() override;

private:
    std::shared_ptr<VSound> mSound;
    bool mFadeIn;
    float mStartLevel = 0.0f;
    int32_t mDuration;
    TClock mFadeClock;
    bool mStartRead = false;
    int32_t mStartTime = 0;
};

// Runs the live manager's update; ends once there is none.
class VSoundManagerUpdate : public TAnimTask {
public:
    bool Animate() override;
};

class VSoundManager {
public:
    static constexpr int kEffectGroup = 1000;
    static constexpr int kMusicGroup = 1001;

    // Releases any existing manager first.
    static VSoundManager* Create();
    static void Release();
    // Null before Create and after Release.
    static VSoundManager* Get();

    virtual ~VSoundManager();
    VSoundManager(const VSoundManager&) = delete;
    VSoundManager& operator=(const VSoundManager&) = delete;

    // Music streams; the rest is decoded into memory. Null (logged) when missing.
    std::shared_ptr<TSound> GetSound(const TString& name, int group);
    std::shared_ptr<TSoundInstance> PlaySFX(const TString& name, std::unique_ptr<VSoundCallBack> callback = nullptr,
                                            bool loop = false);
    // The playing track of that name goes on without a restart.
    std::shared_ptr<TSoundInstance> PlayMusic(const TString& name, std::unique_ptr<VSoundCallBack> callback = nullptr,
                                              bool loop = false, bool crossFade = false);
    // Queues a line; only-if-idle drops it while lines wait, interrupt
    // replaces the line being spoken and the waiting ones.
    void PlayVO(const TString& name, std::unique_ptr<VSoundCallBack> callback = nullptr, bool interrupt = false,
                bool onlyIfIdle = false);
    // Forgets every sound; those playing go on to their end unheard.
    void PurgeSounds();
    void PurgeVOQueue();
    // A group below 0 pauses or resumes every sound.
    void PauseSounds(bool pause, int group);
    // False when no fade runs: an empty sound, or sound off (a fade-out then
    // ends the sound at the next update).
    bool StartFade(const std::shared_ptr<VSound>& sound, bool fadeIn);
    // The current user's "soundoff" is 1.
    bool IsSoundOff() const;
    // Ends a finished current line, starts the next waiting one, and stops
    // and drops the sounds that are done.
    void Update();

    const std::list<std::shared_ptr<VSound>>& GetSounds() const { return mSounds; }
    const std::list<std::shared_ptr<VSound>>& GetVOQueue() const { return mVOQueue; }
    const std::shared_ptr<VSound>& GetCurrentMusic() const { return mCurrentMusic; }
    const std::shared_ptr<VSound>& GetCurrentVO() const { return mCurrentVO; }

private:
    VSoundManager();

    std::shared_ptr<VSound> Track(const std::shared_ptr<TSound>& sound, std::unique_ptr<VSoundCallBack> callback,
                                  std::list<std::shared_ptr<VSound>>& list);
    void StartNextLine();
    void DropDoneSounds();

    std::list<std::shared_ptr<VSound>> mSounds;
    std::list<std::shared_ptr<VSound>> mVOQueue;
    std::shared_ptr<VSound> mCurrentMusic;
    std::shared_ptr<VSound> mCurrentVO;
    // In the platform task list, which owns it; null without a platform.
    VSoundManagerUpdate* mUpdateTask = nullptr;
};
