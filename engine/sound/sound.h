// A sound: a cached asset for one Ogg Vorbis file in one sound group.
// Playing it makes an instance, through which the caller changes the volume,
// stops it, chains a following sound and hears of its end. Dropping the
// last holder of a sound stops every instance of it.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/asset.h"
#include "foundation/tstring.h"

class TSoundCallBack;
class TSoundData;
class TSoundInstance;

class TSound : public TAsset {
public:
    static inline const TAssetClassId ClassId = &ClassId;

    // A sound with empty data, which plays silence.
    TSound();
    // Stops every instance without telling their callbacks.
    ~TSound() override;

    const char* GetClassName() const override { return "TSound"; }
    bool IsA(TAssetClassId id) const override { return id == ClassId || TAsset::IsA(id); }

    // The sound of the ".ogg" file of that name, which may end in a query
    // with "group=n" (else the default group). Cached in the asset manager
    // under "<file>;<loadIntoMemory>;<group>". `loadIntoMemory` decodes
    // sounds of up to 2 s at once; others stream. Null (logged) when it
    // cannot load.
    static std::shared_ptr<TSound> Get(const TString& name, uint8_t loadIntoMemory, int defaultGroup);

    // Starts a new instance at its group's volume; null (logged) without
    // data or without a sound manager.
    std::shared_ptr<TSoundInstance> Play(bool loop);
    // Ends the instance now; its callback hears of it before this returns.
    // False for a null instance.
    bool Stop(const std::shared_ptr<TSoundInstance>& instance);
    // The work behind TSoundInstance::SetCallBack.
    void SetCallBack(const std::shared_ptr<TSoundInstance>& instance, TSoundCallBack* callback,
                     const std::shared_ptr<TSound>& following);
    // The file name, without the query.
    TString GetFileName() const;

    const std::shared_ptr<TSoundData>& GetData() const { return mData; }

private:
    // Queues the following sound on the instance's stream; nothing changes
    // once the stream can take none.
    void QueueFollowing(const std::shared_ptr<TSoundInstance>& instance, TSoundCallBack* callback,
                        const std::shared_ptr<TSound>& following);
    // A new instance over this sound whose stream has already finished, so
    // that a callback set on an ended instance still hears of its end.
    std::shared_ptr<TSoundInstance> StandInForEnded();
    // Empty for a sound that no shared pointer owns.
    std::shared_ptr<TSound> Self();

    std::shared_ptr<TSoundData> mData;
};

// Registers the "ogg" loader of asset maps; the platform calls it at start-up.
void RegisterSoundLoader();
