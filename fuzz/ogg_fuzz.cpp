// Feeds arbitrary bytes to the sound loader as a memory file, both decoded
// whole and streamed, and reads a few halves from each through spoolers,
// looping and not: every read must end and stay inside its buffer.
#include "foundation/file.h"
#include "foundation/virtualfiles.h"
#include "sound/memspooler.h"
#include "sound/sounddata.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// 50 ms of 44.1 kHz stereo, and an odd size that is no whole frame.
const uint32_t kHalves[] = {8820, 4411};

void Spool(const std::shared_ptr<TSoundData>& data) {
    for (bool loop : {false, true}) {
        TMemSpooler spooler(data);
        for (uint32_t bytes : kHalves) {
            std::vector<uint8_t> half(bytes);
            for (int i = 0; i < 3; ++i) {
                uint32_t written = 0;
                spooler.Read(bytes, half.data(), &written, loop);
                if (written > bytes) std::abort();
            }
        }
        spooler.Seek(data->GetDuration() / 2);
        spooler.Rewind();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t kNothing = 0;
    RegisterMemoryFile("fuzz.ogg", size ? data : &kNothing, size);
    for (bool streamed : {false, true}) {
        auto sound = std::make_shared<TSoundData>();
        sound->Load(FileOpen("fuzz.ogg", kFileReadBinary), streamed);
        if (sound->GetDecodedBytes() > sound->GetPcmCapacity()) std::abort();
        Spool(sound);
    }
    RegisterMemoryFile("fuzz.ogg", nullptr, 0);
    return 0;
}
