#include "sound/memspooler.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/file.h"
#include "sound/sounddata.h"
#include "tests/sound/soundtesting.h"

namespace {

class MemSpoolerTest : public SoundAssetTest {
protected:
    std::shared_ptr<TSoundData> Data(const std::string& bytes, bool streamed) {
        std::string name = "spool/" + std::to_string(mFiles.size()) + ".ogg";
        AddFile(name, bytes);
        auto data = std::make_shared<TSoundData>();
        EXPECT_TRUE(data->Load(FileOpen(name.c_str(), kFileReadBinary), streamed));
        return data;
    }

    struct Result {
        std::vector<int16_t> samples;
        uint32_t written;
        bool more;
    };

    static Result Read(TMemSpooler& spooler, uint32_t bytes, bool loop) {
        std::vector<uint8_t> out(bytes, 0xEE);
        uint32_t written = 12345;
        bool more = spooler.Read(bytes, out.data(), &written, loop);
        const auto* words = reinterpret_cast<const int16_t*>(out.data());
        return {std::vector<int16_t>(words, words + bytes / 2), written, more};
    }

    // The samples repeated to `count`.
    static std::vector<int16_t> Tiled(const std::vector<int16_t>& samples, size_t count) {
        std::vector<int16_t> tiled;
        while (tiled.size() < count) {
            tiled.insert(tiled.end(), samples.begin(), samples.begin() + std::min(samples.size(), count - tiled.size()));
        }
        return tiled;
    }

    static std::vector<int16_t> Slice(const std::vector<int16_t>& samples, size_t from, size_t count) {
        return std::vector<int16_t>(samples.begin() + from, samples.begin() + from + count);
    }
};

TEST_F(MemSpoolerTest, ReadsToTheEndThenSilence) {
    std::string sound = MakeOgg(44100, 2, 10000);
    std::vector<int16_t> expected = DecodeOgg(sound);
    ASSERT_EQ(expected.size(), 20000u);
    for (bool streamed : {false, true}) {
        auto data = Data(sound, streamed);
        TMemSpooler spooler(data);
        Result first = Read(spooler, 24000, false);
        EXPECT_TRUE(first.more) << streamed;
        EXPECT_EQ(first.written, 24000u);
        EXPECT_EQ(first.samples, Slice(expected, 0, 12000));
        Result second = Read(spooler, 24000, false);
        EXPECT_FALSE(second.more) << streamed;
        EXPECT_EQ(second.written, 16000u);
        EXPECT_EQ(Slice(second.samples, 0, 8000), Slice(expected, 12000, 8000));
        EXPECT_EQ(Slice(second.samples, 8000, 4000), std::vector<int16_t>(4000, 0));
    }
}

TEST_F(MemSpoolerTest, LoopingWrapsInsideARead) {
    std::string sound = MakeOgg(44100, 2, 3000, OggWave::kRamp);
    std::vector<int16_t> expected = DecodeOgg(sound);
    for (bool streamed : {false, true}) {
        auto data = Data(sound, streamed);
        TMemSpooler spooler(data);
        std::vector<int16_t> played;
        for (int i = 0; i < 4; ++i) {
            Result half = Read(spooler, 17640, true);  // 4,410 frames: one and a half loops
            EXPECT_TRUE(half.more);
            EXPECT_EQ(half.written, 17640u);
            played.insert(played.end(), half.samples.begin(), half.samples.end());
        }
        EXPECT_EQ(played, Tiled(expected, played.size())) << streamed;
    }
}

TEST_F(MemSpoolerTest, TinySoundsLoopThroughAWholeHalf) {
    for (uint32_t frames : {1u, 3u, 250u}) {
        std::string sound = MakeOgg(44100, 2, frames, OggWave::kRamp);
        std::vector<int16_t> expected = DecodeOgg(sound);
        ASSERT_EQ(expected.size(), frames * 2);
        for (bool streamed : {false, true}) {
            auto data = Data(sound, streamed);
            TMemSpooler spooler(data);
            std::vector<int16_t> played;
            for (uint32_t bytes : {176400u, 1000u, 176400u}) {
                Result half = Read(spooler, bytes, true);
                EXPECT_TRUE(half.more);
                EXPECT_EQ(half.written, bytes);
                played.insert(played.end(), half.samples.begin(), half.samples.end());
            }
            EXPECT_EQ(played, Tiled(expected, played.size())) << frames << " " << streamed;
        }
    }
}

TEST_F(MemSpoolerTest, ALoopThatEndsExactlyOnAReadGoesOn) {
    std::string sound = MakeOgg(44100, 1, 2000);
    std::vector<int16_t> expected = DecodeOgg(sound);
    for (bool streamed : {false, true}) {
        auto data = Data(sound, streamed);
        TMemSpooler spooler(data);
        for (int i = 0; i < 3; ++i) {
            Result whole = Read(spooler, 4000, true);
            EXPECT_TRUE(whole.more) << streamed << " " << i;
            EXPECT_EQ(whole.samples, expected) << streamed << " " << i;
        }
    }
}

TEST_F(MemSpoolerTest, DataWithoutSamplesGivesSilenceEvenWhenLooping) {
    auto failed = std::make_shared<TSoundData>();
    auto noSamples = Data(MakeOgg(44100, 2, 0), false);
    auto noSamplesStreamed = Data(MakeOgg(44100, 2, 0), true);
    for (const auto& data : {failed, noSamples, noSamplesStreamed}) {
        TMemSpooler spooler(data);
        for (bool loop : {false, true}) {
            Result half = Read(spooler, 176400, loop);
            EXPECT_FALSE(half.more);
            EXPECT_EQ(half.written, 0u);
            EXPECT_EQ(half.samples, std::vector<int16_t>(88200, 0));
        }
    }
}

TEST_F(MemSpoolerTest, DataGoneGivesSilenceAndADurationOfZero) {
    auto data = Data(MakeOgg(22050, 1, 22050), false);
    TMemSpooler spooler(data);
    EXPECT_DOUBLE_EQ(spooler.GetDuration(), 1.0);
    data.reset();
    Result half = Read(spooler, 100, true);
    EXPECT_FALSE(half.more);
    EXPECT_EQ(half.written, 0u);
    EXPECT_EQ(half.samples, std::vector<int16_t>(50, 0));
    EXPECT_EQ(spooler.GetDuration(), 0.0);
}

TEST_F(MemSpoolerTest, SpoolersOfOneStreamKeepTheirOwnPositions) {
    std::string sound = MakeOgg(44100, 2, 44100 * 3);
    std::vector<int16_t> expected = DecodeOgg(sound);
    auto data = Data(sound, true);
    TMemSpooler first(data);
    TMemSpooler second(data);
    const uint32_t kHalf = 44100;  // a quarter second of stereo
    EXPECT_EQ(Read(first, kHalf, false).samples, Slice(expected, 0, kHalf / 2));
    EXPECT_EQ(Read(first, kHalf, false).samples, Slice(expected, kHalf / 2, kHalf / 2));
    EXPECT_EQ(Read(second, kHalf, false).samples, Slice(expected, 0, kHalf / 2));
    EXPECT_EQ(Read(first, kHalf, false).samples, Slice(expected, kHalf, kHalf / 2));
    EXPECT_EQ(Read(second, kHalf, false).samples, Slice(expected, kHalf / 2, kHalf / 2));
}

TEST_F(MemSpoolerTest, SeekAndRewind) {
    std::string sound = MakeOgg(22050, 2, 22050);
    std::vector<int16_t> expected = DecodeOgg(sound);
    for (bool streamed : {false, true}) {
        auto data = Data(sound, streamed);
        TMemSpooler spooler(data);
        spooler.Seek(0.5);
        EXPECT_EQ(Read(spooler, 400, false).samples, Slice(expected, 22050, 200)) << streamed;
        spooler.Rewind();
        EXPECT_EQ(Read(spooler, 400, false).samples, Slice(expected, 0, 200)) << streamed;
        spooler.Seek(0.25);
        spooler.Seek(-3.0);  // before the start: the start
        EXPECT_EQ(Read(spooler, 400, false).samples, Slice(expected, 0, 200)) << streamed;
    }
}

TEST_F(MemSpoolerTest, DecodedSoundSeeksStayInside) {
    std::string sound = MakeOgg(22050, 2, 22050);
    std::vector<int16_t> expected = DecodeOgg(sound);
    auto data = Data(sound, false);
    TMemSpooler spooler(data);
    for (double seconds : {-1.0, double(NAN), 0.0}) {
        spooler.Seek(seconds);
        EXPECT_EQ(Read(spooler, 400, false).samples, Slice(expected, 0, 200)) << seconds;
    }
    spooler.Seek(1e300);
    Result past = Read(spooler, 400, false);
    EXPECT_FALSE(past.more);
    EXPECT_EQ(past.written, 0u);
}

}  // namespace
