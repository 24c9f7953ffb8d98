// A source of 16-bit PCM bytes for a sound stream.
#pragma once

#include <cstdint>
#include <memory>

class TStreamSpooler {
public:
    virtual ~TStreamSpooler() = default;
    // Fills `bytes` bytes (silence where the source has none) and reports in
    // `written` how many came from the source; false once the source ended.
    // With `loop` the source starts over at its end.
    virtual bool Read(uint32_t bytes, uint8_t* destination, uint32_t* written, bool loop) = 0;
    virtual void Seek(double seconds) = 0;
    virtual double GetDuration() = 0;
    // The stream is done with the spooler; spoolers that own themselves go here.
    virtual void Release() {}
    // Back to the start of the source.
    virtual void Rewind() {}
};

// A stream's hold on a spooler: Release, exactly once, when the hold ends.
struct TSpoolerRelease {
    void operator()(TStreamSpooler* spooler) const { spooler->Release(); }
};
using TSpoolerHold = std::unique_ptr<TStreamSpooler, TSpoolerRelease>;
