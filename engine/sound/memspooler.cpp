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
    bool fromStart = mPosition == 0;
    for (;;) {
        uint8_t* at = destination + *written;
        bool ended = false;
        uint32_t got = ReadFromPosition(*data, at, bytes - *written, &ended);
        *written += got;
        if (!ended) {
            return true;
        }
        // A pass from the start that yields nothing: there is nothing to loop.
        if (!loop || (fromStart && got == 0)) {
            return false;
        }
        if (fromStart) {
            // The whole sound is at `at`: copies of it fill the rest, however
            // short it is, without decoding it again for every repeat.
            *written += RepeatWhole(*data, at, got, at + got, bytes - *written);
            return true;
        }
        mPosition = 0;
        fromStart = true;
    }
}

uint32_t TMemSpooler::RepeatWhole(const TSoundData& data, const uint8_t* sound, uint32_t soundBytes,
                                  uint8_t* destination, uint32_t bytes) {
    uint32_t filled = 0;
    for (; bytes - filled >= soundBytes; filled += soundBytes) {
        std::memcpy(destination + filled, sound, soundBytes);
    }
    uint32_t rest = bytes - filled;
    bool decoded = data.GetPcm() != nullptr;
    // An Ogg position counts whole frames.
    if (!decoded) {
        rest -= rest % data.GetFrameBytes();
    }
    std::memcpy(destination + filled, sound, rest);
    mPosition = decoded ? rest : rest / data.GetFrameBytes();
    return filled + rest;
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
