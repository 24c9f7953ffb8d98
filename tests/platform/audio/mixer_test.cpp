#include "platform/audio/mixer.h"

#include <gtest/gtest.h>

#include "platform/audio/voice.h"
#include "tests/platform/audio/audiotesting.h"

namespace {

class MixerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(mDevice.Initialize(), audio::Result::kOk); }

    audio::ManualDevice mDevice{512};
};

TEST_F(MixerTest, GainFollowsHundredthsOfADecibel) {
    struct Case {
        int32_t hundredthsDb;
        int32_t gain;
    };
    const Case cases[] = {
        {0, 65536},      // unchanged
        {-2000, 6554},   // -20 dB: a tenth
        {-602, 32770},   // about a half
        {-9999, 1},      // barely audible
        {-10000, 0},     // silence, not 10^-5
    };
    for (const Case& c : cases) {
        EXPECT_EQ(audio::Voice::GainFor(c.hundredthsDb), c.gain) << c.hundredthsDb;
    }
}

TEST_F(MixerTest, StereoAtTheOutputRateIsCopiedExactly) {
    std::vector<int16_t> samples;
    for (int i = 0; i < 100; ++i) {
        samples.push_back(static_cast<int16_t>(i * 300 - 15000));
        samples.push_back(static_cast<int16_t>(-i));
    }
    auto buffer = FilledBuffer(mDevice, kStereo, samples);
    ASSERT_EQ(buffer->Play(false), audio::Result::kOk);
    std::vector<int16_t> out = mDevice.Render(100);
    EXPECT_EQ(out, samples);
}

TEST_F(MixerTest, MonoGoesToBothChannels) {
    auto buffer = FilledBuffer(mDevice, kMono, Ramp(1000, 64));
    buffer->Play(false);
    std::vector<int16_t> out = mDevice.Render(64);
    EXPECT_EQ(Channel(out, 0), Ramp(1000, 64));
    EXPECT_EQ(Channel(out, 1), Ramp(1000, 64));
}

TEST_F(MixerTest, HalfRateIsInterpolatedLinearly) {
    std::vector<int16_t> source = {0, 1000, 2000, -2000};
    auto buffer = FilledBuffer(mDevice, kMonoHalfRate, source);
    buffer->Play(false);
    std::vector<int16_t> left = Channel(mDevice.Render(10), 0);
    // Every second output frame falls halfway between two source frames; the
    // last frame of a one-shot holds its value, then the voice has stopped.
    std::vector<int16_t> expected = {0, 500, 1000, 1500, 2000, 0, -2000, -2000, 0, 0};
    EXPECT_EQ(left, expected);
}

TEST_F(MixerTest, SumsSaturateToSixteenBits) {
    auto loud = FilledBuffer(mDevice, kMono, {30000, -30000, 100});
    auto louder = FilledBuffer(mDevice, kMono, {30000, -30000, 100});
    loud->Play(false);
    louder->Play(false);
    std::vector<int16_t> left = Channel(mDevice.Render(3), 0);
    EXPECT_EQ(left, (std::vector<int16_t>{32767, -32768, 200}));
}

TEST_F(MixerTest, VolumeScalesAndSilences) {
    auto buffer = FilledBuffer(mDevice, kMono, {10000, 10000, 10000, 10000});
    buffer->Play(true);
    ASSERT_EQ(buffer->SetVolume(-2000), audio::Result::kOk);
    EXPECT_NEAR(mDevice.Render(1)[0], 1000, 1);
    ASSERT_EQ(buffer->SetVolume(audio::kVolumeMin), audio::Result::kOk);
    EXPECT_EQ(mDevice.Render(1)[0], 0);
    ASSERT_EQ(buffer->SetVolume(audio::kVolumeMax), audio::Result::kOk);
    EXPECT_EQ(mDevice.Render(1)[0], 10000);
}

TEST_F(MixerTest, LoopingWrapsAndOneShotStopsAtItsEnd) {
    auto looping = FilledBuffer(mDevice, kMono, Ramp(1, 4));
    looping->Play(true);
    EXPECT_EQ(Channel(mDevice.Render(10), 0), (std::vector<int16_t>{1, 2, 3, 4, 1, 2, 3, 4, 1, 2}));
    looping->Stop();

    auto once = FilledBuffer(mDevice, kMono, Ramp(1, 4));
    once->Play(false);
    EXPECT_EQ(Channel(mDevice.Render(6), 0), (std::vector<int16_t>{1, 2, 3, 4, 0, 0}));
    uint32_t status = 99;
    uint32_t play = 99;
    uint32_t write = 99;
    once->GetStatus(&status);
    once->GetCursors(&play, &write);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(play, 0u);
    EXPECT_EQ(write, 0u);
}

TEST_F(MixerTest, WriteCursorLeadsByWhatTheNextBlockReads) {
    struct Case {
        audio::Format format;
        uint32_t renderFrames;
        uint32_t play;
        uint32_t write;
    };
    // 512 output frames ahead: 512 frames at the output rate, 256 at half of it.
    const Case cases[] = {
        {kStereo, 100, 400, 400 + 2048},
        {kMonoHalfRate, 100, 100, 100 + 512},
        {kStereo, 4800, 19200, 1248},  // a looping buffer's cursor wraps
    };
    for (const Case& c : cases) {
        std::unique_ptr<audio::Buffer> buffer;
        ASSERT_EQ(mDevice.CreateBuffer(c.format, 20000, &buffer), audio::Result::kOk);
        buffer->Play(true);
        mDevice.Render(c.renderFrames);
        uint32_t play = 0;
        uint32_t write = 0;
        ASSERT_EQ(buffer->GetCursors(&play, &write), audio::Result::kOk);
        EXPECT_EQ(play, c.play);
        EXPECT_EQ(write, c.write);
    }
}

TEST_F(MixerTest, OneShotWriteCursorStopsAtTheEnd) {
    std::unique_ptr<audio::Buffer> buffer;
    ASSERT_EQ(mDevice.CreateBuffer(kStereo, 20000, &buffer), audio::Result::kOk);
    buffer->Play(false);
    mDevice.Render(4900);
    uint32_t play = 0;
    uint32_t write = 0;
    buffer->GetCursors(&play, &write);
    EXPECT_EQ(play, 19600u);
    EXPECT_EQ(write, 20000u);
}

}  // namespace
