#include "sound/sound.h"

#include <cstdlib>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "sound/memspooler.h"
#include "sound/sounddata.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "sound/soundstream.h"

namespace {

const char kOggExtension[] = ".ogg";
const char kGroupOption[] = "group=";
const int kBits = 16;
const float kBufferSeconds = 2.0f;

}  // namespace

TSound::TSound() : mData(std::make_shared<TSoundData>()) {}

TSound::~TSound() {
    TPlatformSoundLock lock;
    std::vector<std::shared_ptr<TSoundInstance>> instances = mData->GetInstances();
    for (const auto& instance : instances) {
        instance->DetachCallBack();
    }
    for (const auto& instance : instances) {
        Stop(instance);
    }
    // Under the lock: the worker thread reads the data only under it.
    mData.reset();
}

std::shared_ptr<TSound> TSound::Get(const TString& name, uint8_t loadIntoMemory, int defaultGroup) {
    if (name.Length() == 0) {
        return nullptr;
    }
    int query = name.FindChar('?');
    TString fileName = query >= 0 ? name.SubString(0, query) : name;
    int option = name.Find(kGroupOption);
    int group = option >= 0 ? std::atoi(name.c_str() + option + sizeof kGroupOption - 1) : defaultGroup;
    int memory = loadIntoMemory ? 1 : 0;
    TString key = TString::Format("%s;%d;%d", fileName.c_str(), memory, group);
    TAssetManager* cache = GetAssetManager();
    if (cache) {
        if (auto cached = std::dynamic_pointer_cast<TSound>(cache->GetAsset(key))) {
            return cached;
        }
    }
    auto sound = std::make_shared<TSound>();
    if (cache) {
        cache->RegisterAsset(key, sound);
    }
    sound->mData->SetFileName(fileName);
    sound->mData->SetGroup(group);
    if (fileName.Find(kOggExtension, TString::kIgnoreCase) < 0) {
        return nullptr;
    }
    TFile* file = FileOpen(fileName, kFileReadBinary);
    if (!file) {
        DebugLog("TSound::Get: OGG file not found: %s", fileName.c_str());
        return nullptr;
    }
    // Load takes the file, whether it succeeds or not.
    if (!sound->mData->Load(file, !memory)) {
        DebugLog("TSound::Get: Error loading %s", fileName.c_str());
        return nullptr;
    }
    return sound;
}

std::shared_ptr<TSoundInstance> TSound::Play(bool loop) {
    if (!mData) {
        DebugLog("Play of uninitialized sound");
        return nullptr;
    }
    TSoundManager* manager = GetSoundManager();
    if (!manager) {
        DebugLog("No Sound Manager");
        return nullptr;
    }
    TSoundLock lock(*manager);
    auto stream = TSoundStream::Create(manager, new TMemSpooler(mData), loop, mData->GetGroup(), mData);
    auto instance = std::make_shared<TSoundInstance>();
    instance->SetStream(stream.get());
    instance->SetSound(Self());
    mData->AddInstance(instance);
    stream->SetInstance(instance);
    stream->CreateBuffer(mData->GetSampleRate(), mData->GetChannels(), kBits, kBufferSeconds);
    // A sound shorter than the buffer plays once from it; others stream.
    stream->Play(!loop && stream->GetBufferSeconds() > mData->GetDuration());
    return instance;
}

bool TSound::Stop(const std::shared_ptr<TSoundInstance>& instance) {
    if (!instance) {
        return false;
    }
    TPlatformSoundLock lock;
    // The caller's pointer may live in a set that the stop changes.
    std::shared_ptr<TSoundInstance> held = instance;
    mData->RemoveInstance(held);
    TSoundStream* stream = held->GetStream();
    if (stream && stream->GetCurrentData() == mData) {
        stream->Finish(false);
    }
    return true;
}

void TSound::SetCallBack(const std::shared_ptr<TSoundInstance>& instance, TSoundCallBack* callback,
                         const std::shared_ptr<TSound>& following) {
    if (!instance) {
        return;
    }
    TPlatformSoundLock lock;
    if (following) {
        QueueFollowing(instance, callback, following);
        return;
    }
    if (!callback) {
        instance->DetachCallBack();
        instance->SetQueuedSound(nullptr);
        return;
    }
    std::shared_ptr<TSoundInstance> target = instance->GetStream() ? instance : StandInForEnded();
    if (!target) {
        return;
    }
    target->AttachCallBack(callback);
    target->SetSound(Self());
    target->SetQueuedSound(nullptr);
}

void TSound::QueueFollowing(const std::shared_ptr<TSoundInstance>& instance, TSoundCallBack* callback,
                            const std::shared_ptr<TSound>& following) {
    auto* spooler = new TMemSpooler(following->GetData());
    TSoundStream* stream = instance->GetStream();
    if (!stream || !stream->QueueNext(following->GetData(), spooler)) {
        spooler->Release();
        return;
    }
    instance->SetQueuedSound(following);
    instance->AttachCallBack(callback);
}

std::shared_ptr<TSound> TSound::Self() {
    return std::static_pointer_cast<TSound>(weak_from_this().lock());
}

std::shared_ptr<TSoundInstance> TSound::StandInForEnded() {
    TSoundManager* manager = GetSoundManager();
    if (!manager) {
        DebugLog("No Sound Manager");
        return nullptr;
    }
    // A bufferless stream, retired at once: the next Update destroys it and
    // its completion reaches the callback.
    auto stream = TSoundStream::Create(manager, new TMemSpooler(mData), false, mData->GetGroup(), mData);
    auto standIn = std::make_shared<TSoundInstance>();
    // The set keeps it until its completion is heard.
    mData->AddInstance(standIn);
    standIn->SetStream(stream.get());
    stream->SetInstance(standIn);
    stream->Finish(true);
    return standIn;
}

TString TSound::GetFileName() const {
    return mData ? mData->GetFileName() : TString();
}

void RegisterSoundLoader() {
    TAssetMap::RegisterLoader("ogg", [](const TString& loadName) -> std::shared_ptr<TAsset> {
        return TSound::Get(loadName, 1, -1);
    });
}
