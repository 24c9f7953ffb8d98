#include "sound/sounddata.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "foundation/file.h"
#include "sound/memspooler.h"
#include "sound/sound.h"
#include "tests/sound/soundtesting.h"
#include "tests/support/tempfolder.h"

namespace {

class SoundDataTest : public SoundAssetTest {
protected:
    // A data loaded from the bytes, in memory or streamed.
    std::shared_ptr<TSoundData> Loaded(const std::string& bytes, bool streamed, bool* loaded = nullptr) {
        AddFile("load/sound.ogg", bytes);
        auto data = std::make_shared<TSoundData>();
        bool result = data->Load(FileOpen("load/sound.ogg", kFileReadBinary), streamed);
        if (loaded) *loaded = result;
        return data;
    }

    // Everything a spooler gives, read in halves of `bytes` until it ends.
    static std::vector<int16_t> SpoolAll(const std::shared_ptr<TSoundData>& data, uint32_t bytes = 4000) {
        TMemSpooler spooler(data);
        std::vector<int16_t> samples;
        std::vector<uint8_t> half(bytes);
        for (bool more = true; more;) {
            uint32_t written = 0;
            more = spooler.Read(bytes, half.data(), &written, false);
            const auto* words = reinterpret_cast<const int16_t*>(half.data());
            samples.insert(samples.end(), words, words + written / 2);
        }
        return samples;
    }
};

TEST_F(SoundDataTest, ShortSoundsAreDecodedWholeAndLongOnesStream) {
    std::string shortSound = MakeOgg(22050, 1, 22050 * 3 / 2);
    auto decoded = Loaded(shortSound, false);
    EXPECT_EQ(decoded->GetSampleRate(), 22050);
    EXPECT_EQ(decoded->GetChannels(), 1);
    EXPECT_DOUBLE_EQ(decoded->GetDuration(), 1.5);
    EXPECT_EQ(decoded->GetPcmCapacity(), 70560u);  // (1.5 + 0.1) x 22,050 x 1 x 2
    EXPECT_EQ(decoded->GetDecodedBytes(), 66150u);
    EXPECT_EQ(decoded->GetOggStream(), nullptr);
    ASSERT_NE(decoded->GetPcm(), nullptr);
    std::vector<int16_t> expected = DecodeOgg(shortSound);
    ASSERT_EQ(expected.size(), 33075u);
    EXPECT_EQ(std::memcmp(decoded->GetPcm(), expected.data(), 66150), 0);
    EXPECT_EQ(std::vector<uint8_t>(decoded->GetPcm() + 66150, decoded->GetPcm() + 70564), std::vector<uint8_t>(4414, 0));

    auto longSound = Loaded(MakeOgg(22050, 1, 22050 * 5 / 2), false);
    EXPECT_EQ(longSound->GetPcm(), nullptr);
    EXPECT_NE(longSound->GetOggStream(), nullptr);
    EXPECT_DOUBLE_EQ(longSound->GetDuration(), 2.5);

    auto streamed = Loaded(shortSound, true);
    EXPECT_EQ(streamed->GetPcm(), nullptr);
    EXPECT_NE(streamed->GetOggStream(), nullptr);
    EXPECT_EQ(SpoolAll(streamed), expected);
}

TEST_F(SoundDataTest, AStreamedFileOnDiskDecodesLikeTheFixture) {
    TempFolder folder;
    std::string sound = MakeOgg(44100, 2, 44100 * 3, OggWave::kRamp);
    folder.Write("music.ogg", sound);
    auto data = std::make_shared<TSoundData>();
    ASSERT_TRUE(data->Load(FileOpen(("::" + (folder / "music.ogg")).c_str(), kFileReadBinary), true));
    EXPECT_EQ(SpoolAll(data, 176400), DecodeOgg(sound));
}

TEST_F(SoundDataTest, BadFilesAreRefusedWithALogLine) {
    std::string good = MakeOgg(22050, 1, 22050);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"garbage", std::string(5000, '\x5a')},
        {"cut inside the headers", good.substr(0, 60)},
        {"cut after the first page", good.substr(0, 100)},
        {"0 Hz", WithHeaderFormat(good, 1, 0)},
        {"0 channels", WithHeaderFormat(good, 0, 22050)},
        {"6 channels", WithHeaderFormat(good, 6, 22050)},
        {"3 channels", WithHeaderFormat(good, 3, 22050)},
        {"192,001 Hz", WithHeaderFormat(good, 1, 192001)},
        {"4 GHz", WithHeaderFormat(good, 2, 0xFFFFFFFF)},
    };
    for (bool streamed : {false, true}) {
        for (const Case& c : cases) {
            TestLog log;
            bool loaded = true;
            auto data = Loaded(c.bytes, streamed, &loaded);
            EXPECT_FALSE(loaded) << c.what;
            EXPECT_EQ(log.Count("OGG file could not be opened"), 1u) << c.what;
            EXPECT_EQ(data->GetPcm(), nullptr) << c.what;
            EXPECT_EQ(data->GetOggStream(), nullptr) << c.what;
            EXPECT_EQ(data->GetSampleRate(), 0) << c.what;
        }
    }
}

TEST_F(SoundDataTest, FormatsAtTheLimitsLoad) {
    std::string good = MakeOgg(22050, 2, 2205);
    for (uint32_t rate : {1u, 192000u}) {
        bool loaded = false;
        auto data = Loaded(WithHeaderFormat(good, 2, rate), true, &loaded);
        EXPECT_TRUE(loaded) << rate;
        EXPECT_EQ(data->GetSampleRate(), static_cast<int>(rate));
    }
}

TEST_F(SoundDataTest, DamagedAudioDecodesWhatItCanAndEnds) {
    std::string sound = MakeOgg(44100, 2, 44100 * 3 / 2);
    size_t whole = DecodeOgg(sound).size();
    // Damage a byte in every page of the middle third; each damage is a
    // different way for the decoder to lose its place.
    for (size_t step : {97u, 1009u, 4001u}) {
        std::string damaged = sound;
        for (size_t at = damaged.size() / 3; at < damaged.size() * 2 / 3; at += step) damaged[at] ^= 0x55;
        for (bool streamed : {false, true}) {
            TestLog log;
            bool loaded = false;
            auto data = Loaded(damaged, streamed, &loaded);
            EXPECT_NE(loaded, log.Contains("OGG file could not be opened")) << step << " " << streamed;
            std::vector<int16_t> samples = SpoolAll(data);
            EXPECT_LE(samples.size(), whole + 4410 * 2) << step << " " << streamed;
        }
    }
    // Cut short, it holds what the pages that are whole hold.
    std::string cut = sound.substr(0, sound.size() * 3 / 4);
    bool loaded = false;
    auto data = Loaded(cut, false, &loaded);
    ASSERT_TRUE(loaded);
    EXPECT_LT(data->GetDuration(), 1.5);
    EXPECT_EQ(SpoolAll(data), DecodeOgg(cut));
}

TEST_F(SoundDataTest, AFileTooLargeForMemoryIsRefused) {
    TempFolder folder;
    std::string path = folder / "huge.ogg";
    folder.Write("huge.ogg", MakeOgg(22050, 1, 2205));
    ASSERT_EQ(truncate(path.c_str(), TSoundData::kMaxMemoryBytes + 1), 0);
    TestLog log;
    EXPECT_EQ(TSound::Get(("::" + path).c_str(), 1, 0), nullptr);
    EXPECT_TRUE(log.Contains("TSound::Get: Error loading ::" + path)) << log.Text();
    EXPECT_FALSE(log.Contains("OGG file could not be opened"));
}

}  // namespace
