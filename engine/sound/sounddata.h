// The audio of one sound: the whole sound decoded in advance, or an open
// Ogg Vorbis stream decoded as it plays, with the instances now playing it.
// Streams tell it when they are done with it.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "foundation/tstring.h"
#include "sound/oggsource.h"
#include "sound/streamnotify.h"

class TFile;
class TSoundInstance;

class TSoundData : public TStreamNotify {
public:
    // Reads the file, taking it: closed here, or kept open by the stream it
    // feeds. False (logged) when it holds no playable Vorbis stream. A sound
    // of up to 2 s that is not streamed is decoded whole and its stream closed.
    bool Load(TFile* file, bool streamed);
    // Main thread: tells the instance's callback that it ended or moved on to
    // its following sound.
    void OnStreamDone(TSoundStream* stream) override;

    void AddInstance(const std::shared_ptr<TSoundInstance>& instance) { mInstances.insert(instance); }
    void RemoveInstance(const std::shared_ptr<TSoundInstance>& instance) { mInstances.erase(instance); }
    // A copy: stopping an instance changes the set.
    std::vector<std::shared_ptr<TSoundInstance>> GetInstances() const;

    int GetGroup() const { return mGroup; }
    void SetGroup(int group) { mGroup = group; }
    const TString& GetFileName() const { return mFileName; }
    void SetFileName(const TString& name) { mFileName = name; }

    int GetSampleRate() const { return mSampleRate; }
    int GetChannels() const { return mChannels; }
    // Bytes of one frame of 16-bit samples; 0 before a load.
    uint32_t GetFrameBytes() const { return static_cast<uint32_t>(mChannels) * 2; }
    double GetDuration() const { return mDuration; }
    // The decoded sound; null when it streams or did not load.
    const uint8_t* GetPcm() const { return mPcm.empty() ? nullptr : mPcm.data(); }
    uint32_t GetPcmCapacity() const { return mPcmCapacity; }
    uint32_t GetDecodedBytes() const { return mDecodedBytes; }
    // The open stream of a sound decoded as it plays, else null.
    OggVorbis_File* GetOggStream() const { return mOggStream.get(); }

    // Largest file read into memory whole.
    static constexpr long kMaxMemoryBytes = 64L << 20;

private:
    bool ReadFormat();
    void DecodeAll();

    std::set<std::shared_ptr<TSoundInstance>> mInstances;
    int mGroup = 0;
    std::vector<uint8_t> mPcm;  // capacity + 4 zero bytes
    int mSampleRate = 0;
    int mChannels = 0;
    double mDuration = 0.0;
    uint32_t mPcmCapacity = 0;
    uint32_t mDecodedBytes = 0;
    TOggStreamPtr mOggStream;
    TString mFileName;
};
