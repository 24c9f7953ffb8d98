#include "game/shell/gamesoundmanager.h"

#include <algorithm>
#include <vector>

#include "runtime/platform.h"
#include "core/scripting/luabinding.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/prefs.h"
#include "game/shell/game.h"
#include "game/shell/mainscript.h"
#include "sound/sound.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "sound/soundstream.h"

namespace {

VSoundManager* gSoundManager = nullptr;

const int32_t kTickMs = 16;
const int32_t kFadeMs = 1000;
const char kSoundOffKey[] = "soundoff";

// The script functions find the manager when they run; without one they do
// nothing and answer false.
bool LuaPlaySFX(TString name, bool loop) {
    VSoundManager* manager = VSoundManager::Get();
    return manager && manager->PlaySFX(name, nullptr, loop) != nullptr;
}

bool LuaPlayMusic(TString name, bool loop, bool crossFade) {
    VSoundManager* manager = VSoundManager::Get();
    return manager && manager->PlayMusic(name, nullptr, loop, crossFade) != nullptr;
}

void LuaPlayVO(TString name, bool interrupt, bool onlyIfIdle) {
    if (VSoundManager* manager = VSoundManager::Get()) {
        manager->PlayVO(name, nullptr, interrupt, onlyIfIdle);
    }
}

void LuaPurgeSounds() {
    if (VSoundManager* manager = VSoundManager::Get()) {
        manager->PurgeSounds();
    }
}

void LuaPurgeVOQueue() {
    if (VSoundManager* manager = VSoundManager::Get()) {
        manager->PurgeVOQueue();
    }
}

void LuaPauseSounds(bool pause, int group) {
    if (VSoundManager* manager = VSoundManager::Get()) {
        manager->PauseSounds(pause, group);
    }
}

void PublishFunctions() {
    lua_State* L = GetMainScriptState();
    if (!L) {
        return;
    }
    RegisterBinding(L, "PlaySFX", &LuaPlaySFX);
    RegisterBinding(L, "PlayMusic", &LuaPlayMusic);
    RegisterBinding(L, "PlayVO", &LuaPlayVO);
    RegisterBinding(L, "PurgeSounds", &LuaPurgeSounds);
    RegisterBinding(L, "PurgeVOQueue", &LuaPurgeVOQueue);
    RegisterBinding(L, "PauseSounds", &LuaPauseSounds);
}

}  // namespace

void VSoundCallBack::OnDone(const std::shared_ptr<TSoundInstance>&, const std::shared_ptr<TSound>&) {
    if (std::shared_ptr<VSound> sound = mSound.lock()) {
        sound->SetDone(true);
    }
}

std::shared_ptr<VSound> VSound::Create(const std::shared_ptr<TSound>& sound,
                                       std::unique_ptr<VSoundCallBack> callback) {
    std::shared_ptr<VSound> made(new VSound(sound));
    callback->SetSound(made);
    made->SetCallback(std::move(callback));
    return made;
}

void VSound::Play(bool loop) {
    mInstance = mSound->Play(loop);
    if (!mInstance) {
        mDone = true;
        return;
    }
    mInstance->SetCallBack(mCallback.get(), nullptr);
}

bool VSound::Stop() {
    return mSound->Stop(mInstance);
}

void VSound::Pause(bool pause) {
    TSoundStream* stream = mInstance ? mInstance->GetStream() : nullptr;
    if (stream) {
        stream->SetPaused(pause);
    }
}

int VSound::GetGroup() const {
    return mInstance ? mInstance->GetGroup() : 0;
}

void VSound::SetCallback(std::unique_ptr<TSoundCallBack> callback) {
    mCallback = std::move(callback);
}

VSoundFade::VSoundFade(const std::shared_ptr<VSound>& sound, bool fadeIn, int32_t duration)
    : mSound(sound), mFadeIn(fadeIn), mDuration(std::max(duration, 1)) {
    mFadeClock.Start();
    const std::shared_ptr<TSoundInstance>& instance = mSound->GetInstance();
    TSoundManager* engine = GetSoundManager();
    if (instance && engine) {
        mStartLevel = engine->GetGroupVolume(instance->GetGroup());
        if (mFadeIn) {
            instance->SetVolume(0.0f);
        }
    }
    Start(kTickMs, true, true, false);
}

bool VSoundFade::Animate() {
    if (!mSound || !mSound->GetInstance() || mSound->IsDone()) {
        return false;
    }
    int32_t now = mFadeClock.GetTime();
    if (!mStartRead) {
        mStartTime = now;
        mStartRead = true;
    }
    float t = std::min(static_cast<float>(now - mStartTime) / static_cast<float>(mDuration), 1.0f);
    float level = mFadeIn ? t * mStartLevel : mStartLevel - t * mStartLevel;
    mSound->GetInstance()->SetVolume(level);
    if (!mFadeIn && t >= 1.0f) {
        mSound->SetDone(true);
    }
    return t < 1.0f;
}

bool VSoundManagerUpdate::Animate() {
    VSoundManager* manager = VSoundManager::Get();
    if (!manager) {
        return false;
    }
    manager->Update();
    return true;
}

VSoundManager* VSoundManager::Create() {
    Release();
    gSoundManager = new VSoundManager();
    return gSoundManager;
}

void VSoundManager::Release() {
    VSoundManager* manager = gSoundManager;
    gSoundManager = nullptr;
    delete manager;
}

VSoundManager* VSoundManager::Get() {
    return gSoundManager;
}

VSoundManager::VSoundManager() {
    if (TPlatform* platform = TPlatform::GetInstance()) {
        mUpdateTask = new VSoundManagerUpdate();
        mUpdateTask->Start(kTickMs, true, true, false);
        platform->AddTask(mUpdateTask);
    }
    PublishFunctions();
}

// A platform torn down before the manager has deleted the task with its list.
VSoundManager::~VSoundManager() {
    TPlatform* platform = TPlatform::GetInstance();
    if (mUpdateTask && platform && platform->RemoveTask(mUpdateTask)) {
        delete mUpdateTask;
    }
    PurgeSounds();
    PurgeVOQueue();
    mCurrentMusic.reset();
}

std::shared_ptr<TSound> VSoundManager::GetSound(const TString& name, int group) {
    std::shared_ptr<TSound> sound = TSound::Get(name, group == kMusicGroup ? 0 : 1, group);
    if (!sound) {
        // Options after "?" are not part of the file's name.
        int query = name.FindChar('?');
        bool present = FileExists(query >= 0 ? name.SubString(0, query) : name);
        DebugLog(present ? "VSoundManager: Asset Damaged (%s)" : "VSoundManager: Asset Missing (%s)", name.c_str());
    }
    return sound;
}

std::shared_ptr<VSound> VSoundManager::Track(const std::shared_ptr<TSound>& sound,
                                             std::unique_ptr<VSoundCallBack> callback,
                                             std::list<std::shared_ptr<VSound>>& list) {
    std::shared_ptr<VSound> tracked = VSound::Create(sound, callback ? std::move(callback)
                                                                     : std::make_unique<VSoundCallBack>());
    list.push_back(tracked);
    return tracked;
}

std::shared_ptr<TSoundInstance> VSoundManager::PlaySFX(const TString& name, std::unique_ptr<VSoundCallBack> callback,
                                                       bool loop) {
    std::shared_ptr<TSound> sound = GetSound(name, kEffectGroup);
    if (!sound) {
        return nullptr;
    }
    std::shared_ptr<VSound> tracked = Track(sound, std::move(callback), mSounds);
    tracked->Play(loop);
    return tracked->GetInstance();
}

std::shared_ptr<TSoundInstance> VSoundManager::PlayMusic(const TString& name,
                                                         std::unique_ptr<VSoundCallBack> callback, bool loop,
                                                         bool crossFade) {
    if (mCurrentMusic && mCurrentMusic->GetSound()->GetFileName() == name) {
        return mCurrentMusic->GetInstance();
    }
    std::shared_ptr<TSound> sound = GetSound(name, kMusicGroup);
    if (!sound) {
        return nullptr;
    }
    std::shared_ptr<VSound> track = Track(sound, std::move(callback), mSounds);
    track->Play(loop);
    if (crossFade) {
        StartFade(mCurrentMusic, false);
        StartFade(track, true);
    } else if (mCurrentMusic) {
        mCurrentMusic->SetDone(true);
    }
    mCurrentMusic = track;
    return track->GetInstance();
}

void VSoundManager::PlayVO(const TString& name, std::unique_ptr<VSoundCallBack> callback, bool interrupt,
                           bool onlyIfIdle) {
    std::shared_ptr<TSound> sound = GetSound(name, kEffectGroup);
    if (!sound || (onlyIfIdle && !mVOQueue.empty())) {
        return;
    }
    if (interrupt && (!mVOQueue.empty() || mCurrentVO)) {
        PurgeVOQueue();
    }
    Track(sound, callback ? std::move(callback) : std::make_unique<VVOCallBack>(), mVOQueue);
}

void VSoundManager::PurgeSounds() {
    std::list<std::shared_ptr<VSound>> released;
    released.swap(mSounds);
}

void VSoundManager::PurgeVOQueue() {
    if (std::shared_ptr<VSound> line = mCurrentVO) {
        mCurrentVO.reset();
        line->Stop();
    }
    std::list<std::shared_ptr<VSound>> released;
    released.swap(mVOQueue);
}

void VSoundManager::PauseSounds(bool pause, int group) {
    for (const auto& sound : mSounds) {
        if (group < 0 || group == sound->GetGroup()) {
            sound->Pause(pause);
        }
    }
}

bool VSoundManager::StartFade(const std::shared_ptr<VSound>& sound, bool fadeIn) {
    if (!sound) {
        return false;
    }
    TPlatform* platform = TPlatform::GetInstance();
    if (IsSoundOff() || !platform) {
        sound->SetDone(!fadeIn);
        return false;
    }
    platform->AddTask(new VSoundFade(sound, fadeIn, kFadeMs));
    return true;
}

bool VSoundManager::IsSoundOff() const {
    TPrefs* prefs = GetGamePrefs();
    return prefs && prefs->GetInt(GetCurrentUserNumber(), kSoundOffKey, 0) == 1;
}

void VSoundManager::Update() {
    if (mCurrentVO && mCurrentVO->IsDone()) {
        mCurrentVO.reset();
    }
    StartNextLine();
    DropDoneSounds();
}

void VSoundManager::StartNextLine() {
    if (mCurrentVO || mVOQueue.empty()) {
        return;
    }
    mCurrentVO = mVOQueue.front();
    mVOQueue.pop_front();
    mSounds.push_back(mCurrentVO);
    mCurrentVO->Play(false);
}

// Stopping runs completion callbacks, so the walk goes over a copy.
void VSoundManager::DropDoneSounds() {
    std::vector<std::shared_ptr<VSound>> walk(mSounds.begin(), mSounds.end());
    for (const auto& sound : walk) {
        if (sound->IsDone()) {
            sound->Stop();
            mSounds.remove(sound);
        }
    }
}
