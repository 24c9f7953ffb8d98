#include "sound/memspooler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sound/sounddata.h"

bool TMemSpooler::Read(uint32_t bytes, uint8_t* destination, uint32_t* written, bool loop) {
    std::memset(destination, 0, bytes);
    *written = 0;
    std::shared_ptr<TSoundData> data = mData.lock();
    if (!data) {
        return false;
    }
    // Each pass that reaches the end starts the next at the beginning; one
    // that yields nothing from the beginning means there is nothing to loop.
    bool fromStart = false;
    for (;;) {
        bool ended = false;
        uint32_t got = ReadFromPosition(*data, destination + *written, bytes - *written, &ended);
        *written += got;
        if (!ended) {
            return true;
        }
        if (!loop || (fromStart && got == 0)) {
            return false;
        }
        mPosition = 0;
        fromStart = true;
    }
}

uint32_t TMemSpooler::ReadFromPosition(TSoundData& data, uint8_t* destination, uint32_t bytes, bool* ended) {
    if (data.GetPcm()) {
        return CopyPcm(data, destination, bytes, ended);
    }
    if (data.GetOggStream()) {
        return DecodeOgg(data, destination, bytes, ended);
    }
    *ended = true;
    return 0;
}

uint32_t TMemSpooler::CopyPcm(const TSoundData& data, uint8_t* destination, uint32_t bytes, bool* ended) {
    int64_t decoded = data.GetDecodedBytes();
    int64_t start = std::clamp<int64_t>(mPosition, 0, decoded);
    auto count = static_cast<uint32_t>(std::min<int64_t>(bytes, decoded - start));
    std::memcpy(destination, data.GetPcm() + start, count);
    mPosition = start + count;
    *ended = start + bytes > decoded;
    return count;
}

uint32_t TMemSpooler::DecodeOgg(const TSoundData& data, uint8_t* destination, uint32_t bytes, bool* ended) {
    OggVorbis_File* stream = data.GetOggStream();
    // Another spooler may have moved the shared stream; seeking costs a
    // decode from the nearest page, so only when it has.
    if (ov_pcm_tell(stream) != mPosition && ov_pcm_seek(stream, mPosition) != 0) {
        *ended = true;
        return 0;
    }
    uint32_t count = ReadOggPcm(stream, destination, bytes, data.GetFrameBytes(), ended);
    mPosition = ov_pcm_tell(stream);
    return count;
}

void TMemSpooler::Seek(double seconds) {
    std::shared_ptr<TSoundData> data = mData.lock();
    if (!data) {
        return;
    }
    // NaN and times before the start go to the start.
    double time = seconds > 0.0 ? seconds : 0.0;
    if (data->GetPcm()) {
        double frame = std::floor(time * data->GetSampleRate());
        double last = static_cast<double>(data->GetDecodedBytes() / data->GetFrameBytes());
        mPosition = static_cast<int64_t>(std::min(frame, last)) * data->GetFrameBytes();
    } else if (OggVorbis_File* stream = data->GetOggStream()) {
        ov_time_seek(stream, time);
        mPosition = ov_pcm_tell(stream);
    }
}

double TMemSpooler::GetDuration() {
    std::shared_ptr<TSoundData> data = mData.lock();
    return data ? data->GetDuration() : 0.0;
}

void TMemSpooler::Release() {
    delete this;
}

void TMemSpooler::Rewind() {
    // The next read puts the stream at the start.
    mPosition = 0;
}
