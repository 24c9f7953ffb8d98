// Results of the audio layer. The numbers appear in the engine's log lines,
// so they never change.
#pragma once

#include <cstdint>

namespace audio {

enum class Result : uint32_t {
    kOk = 0,
    kNoDriver = 1,          // the audio system could not start
    kNoDevice = 2,          // no output device could be opened
    kInvalidParam = 3,      // a format, size, offset or volume out of range
    kNotInitialized = 4,    // the device was not initialised first
    kBufferLost = 5,        // the buffer lost its memory and must be restored
    kUnsupportedFormat = 6, // the output runs in another format
    kNotLocked = 7,         // Unlock without a matching Lock
};

inline bool Succeeded(Result result) { return result == Result::kOk; }

}  // namespace audio
