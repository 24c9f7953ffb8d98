// The spooler of a sound's data: copies from the decoded sound, or decodes
// from its Ogg stream. Each spooler keeps its own position and puts the
// shared stream there before it decodes, so several instances of one sound
// play from one stream.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/streamspooler.h"

class TSoundData;

class TMemSpooler : public TStreamSpooler {
public:
    explicit TMemSpooler(const std::weak_ptr<TSoundData>& data) : mData(data) {}

    // Silence where the data has none. Looping starts over at the end; a
    // sound with no samples at all ends instead.
    bool Read(uint32_t bytes, uint8_t* destination, uint32_t* written, bool loop) override;
    void Seek(double seconds) override;
    // The data's duration; 0 once the data is gone.
    double GetDuration() override;
    // A spooler owns itself: releasing it deletes it.
    void Release() override;
    void Rewind() override;

private:
    // One pass from the position; `ended` when the data ran out.
    uint32_t ReadFromPosition(TSoundData& data, uint8_t* destination, uint32_t bytes, bool* ended);
    // Fills `bytes` with copies of the whole sound, the last one cut short,
    // and leaves the position after that part. Returns the bytes written.
    uint32_t RepeatWhole(const TSoundData& data, const uint8_t* sound, uint32_t soundBytes, uint8_t* destination,
                         uint32_t bytes);
    uint32_t CopyPcm(const TSoundData& data, uint8_t* destination, uint32_t bytes, bool* ended);
    uint32_t DecodeOgg(const TSoundData& data, uint8_t* destination, uint32_t bytes, bool* ended);

    std::weak_ptr<TSoundData> mData;
    // A byte offset into the decoded sound, or a frame in the Ogg stream.
    int64_t mPosition = 0;
};
