#include "platform/audio/buffer.h"

#include <gtest/gtest.h>

#include "tests/platform/audio/audiotesting.h"

namespace {

class BufferTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mDevice.Initialize(), audio::Result::kOk);
        ASSERT_EQ(mDevice.CreateBuffer(kMono, 16, &mBuffer), audio::Result::kOk);
    }

    uint32_t Status() {
        uint32_t status = 0;
        EXPECT_EQ(mBuffer->GetStatus(&status), audio::Result::kOk);
        return status;
    }

    audio::ManualDevice mDevice;
    std::unique_ptr<audio::Buffer> mBuffer;
};

TEST_F(BufferTest, CreateRefusesWhatCannotPlay) {
    struct Case {
        audio::Format format;
        uint32_t bytes;
    };
    const Case cases[] = {
        {{0, 2, 16}, 400},      {{44100, 0, 16}, 400},   {{44100, 3, 16}, 400},
        {{44100, 2, 8}, 400},   {{44100, 2, 16}, 3},     {{44100, 2, 16}, 0x10000000},
        {{200001, 2, 16}, 400},
    };
    for (const Case& c : cases) {
        std::unique_ptr<audio::Buffer> buffer;
        EXPECT_EQ(mDevice.CreateBuffer(c.format, c.bytes, &buffer), audio::Result::kInvalidParam)
            << c.format.sampleRate << " Hz, " << c.format.channels << " channels, " << c.bytes << " bytes";
        EXPECT_EQ(buffer, nullptr);
    }
}

TEST_F(BufferTest, CreateNeedsAnInitialisedDevice) {
    audio::ManualDevice fresh;
    std::unique_ptr<audio::Buffer> buffer;
    EXPECT_EQ(fresh.CreateBuffer(kStereo, 400, &buffer), audio::Result::kNotInitialized);
    EXPECT_EQ(fresh.SetPrimaryFormat(audio::kOutputFormat), audio::Result::kNotInitialized);
    fresh.RefuseInitialize(audio::Result::kNoDriver);
    EXPECT_EQ(fresh.Initialize(), audio::Result::kNoDriver);
    EXPECT_EQ(fresh.CreateBuffer(kStereo, 400, &buffer), audio::Result::kNotInitialized);
}

TEST_F(BufferTest, PrimaryFormatIsFixed) {
    EXPECT_EQ(mDevice.SetPrimaryFormat(audio::kOutputFormat), audio::Result::kOk);
    EXPECT_EQ(mDevice.SetPrimaryFormat({22050, 2, 16}), audio::Result::kUnsupportedFormat);
}

TEST_F(BufferTest, LockChecksItsRangeAndPairsWithUnlock) {
    uint8_t* data = nullptr;
    EXPECT_EQ(mBuffer->Lock(8, 9, &data), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->Lock(17, 1, &data), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->Lock(0, 0, &data), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->Lock(0xFFFFFFF0u, 0x20, &data), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->Unlock(), audio::Result::kNotLocked);
    ASSERT_EQ(mBuffer->Lock(8, 8, &data), audio::Result::kOk);
    EXPECT_EQ(mBuffer->Lock(0, 8, &data), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->Unlock(), audio::Result::kOk);
    EXPECT_EQ(mBuffer->Unlock(), audio::Result::kNotLocked);
}

TEST_F(BufferTest, WritesReachTheMixerAtUnlock) {
    uint8_t* data = nullptr;
    ASSERT_EQ(mBuffer->Lock(4, 4, &data), audio::Result::kOk);
    const int16_t written[] = {7000, -7000};
    std::memcpy(data, written, sizeof written);
    mBuffer->Play(false);
    EXPECT_EQ(Channel(mDevice.Render(8), 0), (std::vector<int16_t>{0, 0, 0, 0, 0, 0, 0, 0}));
    mBuffer->Unlock();
    mBuffer->Play(false);
    EXPECT_EQ(Channel(mDevice.Render(8), 0), (std::vector<int16_t>{0, 0, 7000, -7000, 0, 0, 0, 0}));
}

TEST_F(BufferTest, StatusShowsPlayingLoopingAndLost) {
    EXPECT_EQ(Status(), 0u);
    mBuffer->Play(true);
    EXPECT_EQ(Status(), audio::kStatusPlaying | audio::kStatusLooping);
    mBuffer->Play(false);
    EXPECT_EQ(Status(), audio::kStatusPlaying);
    mBuffer->Stop();
    EXPECT_EQ(Status(), 0u);
    mBuffer->Play(true);
    mDevice.LoseBuffers();
    EXPECT_EQ(Status(), audio::kStatusLost);
}

TEST_F(BufferTest, LostBufferRefusesUntilRestoredSilent) {
    uint8_t* data = nullptr;
    ASSERT_EQ(mBuffer->Lock(0, 16, &data), audio::Result::kOk);
    std::memset(data, 0x11, 16);
    mBuffer->Unlock();
    mDevice.LoseBuffers();
    EXPECT_EQ(mBuffer->Lock(0, 16, &data), audio::Result::kBufferLost);
    EXPECT_EQ(mBuffer->Play(false), audio::Result::kBufferLost);
    EXPECT_EQ(mBuffer->Restore(), audio::Result::kOk);
    EXPECT_EQ(Status(), 0u);
    ASSERT_EQ(mBuffer->Play(false), audio::Result::kOk);
    EXPECT_EQ(Channel(mDevice.Render(8), 0), std::vector<int16_t>(8, 0));
}

TEST_F(BufferTest, VolumeRangeAndRecording) {
    EXPECT_EQ(mBuffer->SetVolume(1), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->SetVolume(-10001), audio::Result::kInvalidParam);
    EXPECT_EQ(mBuffer->SetVolume(-300), audio::Result::kOk);
    EXPECT_EQ(mBuffer->SetVolume(-10000), audio::Result::kOk);
    EXPECT_EQ(mBuffer->GetVolume(), -10000);
    EXPECT_EQ(mDevice.VolumeWrites(mBuffer.get()), (std::vector<int32_t>{-300, -10000}));
}

TEST_F(BufferTest, NotifyPositionsAreKeptWhenInside) {
    EXPECT_EQ(mBuffer->SetNotifyPositions({0, 16}), audio::Result::kInvalidParam);
    EXPECT_TRUE(mBuffer->GetNotifyPositions().empty());
    EXPECT_EQ(mBuffer->SetNotifyPositions({0, 8}), audio::Result::kOk);
    EXPECT_EQ(mBuffer->GetNotifyPositions(), (std::vector<uint32_t>{0, 8}));
}

}  // namespace
