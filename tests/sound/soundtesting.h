// Helpers of the sound tests: spoolers that write a recognisable ramp, data
// that records its completion notices, and a manager on a manual device
// whose time and worker passes the test drives.
#pragma once

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "platform/audio/manualdevice.h"
#include "platform/os/timer.h"
#include "sound/soundmanager.h"
#include "sound/soundstream.h"
#include "tests/support/luatesting.h"
#include "tests/support/oggwriter.h"

// A source of `frames` frames whose samples tell which source and which
// frame they are: stereo carries the frame number's low 15 bits on the left
// and id * 256 plus its higher bits on the right; mono carries the low bits.
class RampSpooler : public TStreamSpooler {
public:
    RampSpooler(int id, uint32_t frames, uint32_t channels = 2, uint32_t rate = 44100)
        : mId(id), mFrames(frames), mChannels(channels), mRate(rate) {}

    bool Read(uint32_t bytes, uint8_t* destination, uint32_t* written, bool loop) override {
        std::memset(destination, 0, bytes);
        uint32_t frameBytes = mChannels * 2;
        uint32_t wanted = bytes / frameBytes;
        uint32_t count = std::min(wanted, mFrames - mPosition);
        auto* samples = reinterpret_cast<int16_t*>(destination);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t frame = mPosition + i;
            samples[i * mChannels] = static_cast<int16_t>(frame & 0x7FFF);
            if (mChannels == 2) samples[i * 2 + 1] = static_cast<int16_t>(mId * 256 + (frame >> 15));
        }
        bool ended = mPosition + wanted > mFrames;
        mPosition += count;
        *written = count * frameBytes;
        if (!ended) return true;
        if (!loop || mFrames == 0) return false;
        mPosition = 0;
        uint32_t rest = 0;
        bool more = Read(bytes - *written, destination + *written, &rest, loop);
        *written += rest;
        return more;
    }
    void Seek(double seconds) override { mPosition = static_cast<uint32_t>(seconds * mRate); }
    double GetDuration() override { return static_cast<double>(mFrames) / mRate; }
    void Release() override { ++releases; }
    void Rewind() override { mPosition = 0; }

    int releases = 0;

private:
    int mId;
    uint32_t mFrames;
    uint32_t mChannels;
    uint32_t mRate;
    uint32_t mPosition = 0;
};

// Sound data that counts the notices it gets and may act on them.
class RecordingNotify : public TStreamNotify {
public:
    void OnStreamDone(TSoundStream* stream) override {
        ++notices;
        lastThread = std::this_thread::get_id();
        if (onDone) onDone(stream);
    }

    int notices = 0;
    std::thread::id lastThread;
    std::function<void(TSoundStream*)> onDone;
};

// A span of output frames: consecutive frames of one source, or silence (id 0).
struct Span {
    int id;
    uint32_t first;
    uint32_t count;
    bool operator==(const Span&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Span& run) {
    return out << "{" << run.id << ", " << run.first << ", " << run.count << "}";
}

// Stereo output of ramp spoolers at full volume, as spans.
inline std::vector<Span> Spans(const std::vector<int16_t>& stereo) {
    std::vector<Span> spans;
    for (size_t i = 0; i + 1 < stereo.size(); i += 2) {
        int id = stereo[i + 1] / 256;
        uint32_t frame = (static_cast<uint32_t>(stereo[i + 1] % 256) << 15) | static_cast<uint16_t>(stereo[i]);
        if (id == 0) frame = 0;
        Span* last = spans.empty() ? nullptr : &spans.back();
        if (last && last->id == id && (id == 0 || frame == last->first + last->count)) {
            ++last->count;
        } else {
            spans.push_back({id, frame, 1});
        }
    }
    return spans;
}

// The spans that are not silence.
inline std::vector<Span> Sounding(const std::vector<Span>& spans) {
    std::vector<Span> sounding;
    std::copy_if(spans.begin(), spans.end(), std::back_inserter(sounding), [](const Span& r) { return r.id != 0; });
    return sounding;
}

// The sound managers' worker threads running in this process.
inline int WorkerThreads() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
            std::string name;
            std::getline(comm, name);
            if (name == "TSoundManager") ++count;
        }
        closedir(tasks);
    }
    return count;
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override { os::SetCurrentTimer(&mTimer); }
    void TearDown() override {
        if (mManager) {
            EXPECT_EQ(mManager->GetLockDepth(), 0);
        }
        mManager.reset();
        os::SetCurrentTimer(nullptr);
    }

    // A manager on a manual device; started unless told otherwise.
    void MakeManager(bool start = true) {
        auto device = std::make_unique<audio::ManualDevice>();
        mDevice = device.get();
        mManager = std::make_unique<TSoundManager>(std::move(device));
        if (start) {
            ASSERT_TRUE(mManager->Start());
        }
    }

    RampSpooler* Spooler(int id, uint32_t frames, uint32_t channels = 2, uint32_t rate = 44100) {
        return &mSpoolers.emplace_back(id, frames, channels, rate);
    }

    std::shared_ptr<TSoundStream> Stream(RampSpooler* spooler, bool loop, const std::shared_ptr<RecordingNotify>& data,
                                         int group = 0) {
        return TSoundStream::Create(mManager.get(), spooler, loop, group, data);
    }

    // A buffered stereo stream of a ramp source, playing.
    std::shared_ptr<TSoundStream> Playing(RampSpooler* spooler, bool loop, bool once,
                                          const std::shared_ptr<RecordingNotify>& data, int group = 0) {
        auto stream = Stream(spooler, loop, data, group);
        EXPECT_TRUE(stream->CreateBuffer(44100, 2));
        stream->Play(once);
        return stream;
    }

    // Plays `ms` milliseconds as the system would: the device mixes 50 ms at
    // a time and the worker's pass spans after each.
    std::vector<int16_t> Play(int ms) {
        std::vector<int16_t> output;
        for (int t = 0; t < ms; t += 50) {
            std::vector<int16_t> block = mDevice->Render(2205);
            output.insert(output.end(), block.begin(), block.end());
            Advance(50);
        }
        return output;
    }

    // Moves the clock on and runs the worker's pass, holding the lock so
    // that the worker thread cannot take this pass first.
    void Advance(uint32_t ms, bool fromThread = true) {
        TSoundLock lock(*mManager);
        mTimer.Advance(ms);
        mManager->ThreadUpdate(fromThread);
    }

    uint32_t Status(const std::shared_ptr<TSoundStream>& stream) {
        uint32_t status = 0;
        EXPECT_EQ(stream->GetBuffer()->GetStatus(&status), audio::Result::kOk);
        return status;
    }

    os::FakeTimer mTimer{1000};
    TestLog mLog;
    std::deque<RampSpooler> mSpoolers;
    audio::ManualDevice* mDevice = nullptr;
    std::unique_ptr<TSoundManager> mManager;
};

// Sounds as the game loads them: files in memory under asset names, the
// platform's asset cache and sound manager in place.
class SoundAssetTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        SetAssetManager(&mAssets);
        MakeManager();
        SetSoundManager(mManager.get());
    }
    void TearDown() override {
        SetSoundManager(nullptr);
        SoundTest::TearDown();
        SetAssetManager(nullptr);
        ClearVirtualFiles();
    }

    // Registers the bytes as a file under the name; they stay until the test ends.
    void AddFile(const std::string& name, const std::string& bytes) {
        const std::string& kept = mFiles.emplace_back(bytes);
        static const char kNothing = 0;
        RegisterMemoryFile(name.c_str(), kept.empty() ? &kNothing : kept.data(), kept.size());
    }

    // `frames` frames of interleaved stereo, from frame `skipFrames` on.
    static std::vector<int16_t> Take(const std::vector<int16_t>& samples, size_t skipFrames, size_t frames) {
        size_t from = std::min(samples.size(), skipFrames * 2);
        size_t to = std::min(samples.size(), from + frames * 2);
        return std::vector<int16_t>(samples.begin() + from, samples.begin() + to);
    }

    TAssetManager mAssets;
    std::deque<std::string> mFiles;
};
