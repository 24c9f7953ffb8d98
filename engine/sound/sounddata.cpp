#include "sound/sounddata.h"

#include <new>

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "sound/soundcallback.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "sound/soundstream.h"

namespace {

// Sounds longer than this stream even when asked to load into memory.
const double kLongestDecoded = 2.0;
// Room for a sound a little longer than its header says.
const double kDecodeSlack = 0.1;
const long kMaxSampleRate = 192000;
const int kMaxChannels = 2;
// Zero bytes after the decoded sound.
const size_t kPcmGuard = 4;

// The whole file; false when it cannot be read or is too large to hold.
bool ReadWhole(TFile* file, std::vector<uint8_t>* bytes) {
    long size = file->GetSize();
    if (size < 0 || size > TSoundData::kMaxMemoryBytes || !file->Seek(0, kSeekStart)) {
        return false;
    }
    try {
        bytes->resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    bytes->resize(file->Read(bytes->data(), bytes->size()));
    return true;
}

}  // namespace

bool TSoundData::Load(TFile* file, bool streamed) {
    if (!file) {
        return false;
    }
    if (streamed) {
        mOggStream = OpenOggFile(file);
    } else {
        std::vector<uint8_t> bytes;
        bool read = ReadWhole(file, &bytes);
        FileClose(file);
        if (!read) {
            return false;
        }
        mOggStream = OpenOggMemory(std::move(bytes));
    }
    if (!mOggStream || !ReadFormat()) {
        mOggStream.reset();
        DebugLog("OGG file could not be opened");
        return false;
    }
    if (!streamed && mDuration <= kLongestDecoded) {
        DecodeAll();
    }
    return true;
}

bool TSoundData::ReadFormat() {
    vorbis_info* info = ov_info(mOggStream.get(), -1);
    if (!info || info->rate < 1 || info->rate > kMaxSampleRate || info->channels < 1 || info->channels > kMaxChannels) {
        return false;
    }
    double duration = ov_time_total(mOggStream.get(), -1);
    // Negative when the total is unknown; NaN fails this too.
    if (!(duration >= 0.0)) {
        return false;
    }
    mSampleRate = static_cast<int>(info->rate);
    mChannels = info->channels;
    mDuration = duration;
    return true;
}

void TSoundData::DecodeAll() {
    // At most about 1.6 MB given the limits on duration, rate and channels.
    auto capacity = static_cast<uint64_t>((mDuration + kDecodeSlack) * mSampleRate * mChannels * 2);
    mPcm.assign(capacity + kPcmGuard, 0);
    mPcmCapacity = static_cast<uint32_t>(capacity);
    bool ended = false;
    mDecodedBytes = ReadOggPcm(mOggStream.get(), mPcm.data(), mPcmCapacity, GetFrameBytes(), &ended);
    mOggStream.reset();
}

std::vector<std::shared_ptr<TSoundInstance>> TSoundData::GetInstances() const {
    return std::vector<std::shared_ptr<TSoundInstance>>(mInstances.begin(), mInstances.end());
}

void TSoundData::OnStreamDone(TSoundStream* stream) {
    std::shared_ptr<TSoundInstance> instance = stream->GetInstance();
    if (!instance) {
        return;
    }
    // Set when the stream went on to the instance's following sound, which
    // plays on; held since then and let go here, on the main thread.
    std::shared_ptr<TSound> followed = instance->TakeFollowedSound();
    bool movedOn = followed != nullptr;
    // A sound queued after the move is for the end of the following sound.
    std::shared_ptr<TSound> queued = movedOn ? nullptr : instance->TakeQueuedSound();
    if (!queued) {
        RemoveInstance(instance);
    }
    TSoundCallBack* callback = instance->GetCallBack();
    if (!callback) {
        return;
    }
    // An instance that plays on keeps its callback, which hears of its end too.
    if (!movedOn) {
        instance->DetachCallBack();
    }
    if (!stream->GetManager()->IsShuttingDown()) {
        callback->OnDone(instance, movedOn ? followed : queued);
    }
}
