#include "platform/audio/sdldevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "platform/audio/buffer.h"
#include "tests/platform/audio/audiotesting.h"
#include "tests/support/tempfolder.h"

namespace {

// Polls until the condition holds or two seconds passed.
template <typename Condition>
bool WaitFor(Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::unique_ptr<audio::Buffer> SineBuffer(audio::Device& device, double hertz, uint32_t frames) {
    std::unique_ptr<audio::Buffer> buffer;
    EXPECT_EQ(device.CreateBuffer(kStereo, frames * 4, &buffer), audio::Result::kOk);
    if (!buffer) return nullptr;
    uint8_t* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, frames * 4, &data), audio::Result::kOk);
    auto* samples = reinterpret_cast<int16_t*>(data);
    for (uint32_t i = 0; i < frames; ++i) {
        auto value = static_cast<int16_t>(std::lround(10000 * std::sin(2 * M_PI * hertz * i / 44100.0)));
        samples[2 * i] = value;
        samples[2 * i + 1] = value;
    }
    EXPECT_EQ(buffer->Unlock(), audio::Result::kOk);
    return buffer;
}

TEST(SdlDevice, OpensAndMixesUnderTheDummyDriver) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    audio::SdlDevice device;
    ASSERT_EQ(device.Initialize(), audio::Result::kOk);
    ASSERT_EQ(device.Initialize(), audio::Result::kOk);
    ASSERT_EQ(device.CreatePrimaryBuffer(), audio::Result::kOk);
    EXPECT_EQ(device.SetPrimaryFormat(audio::kOutputFormat), audio::Result::kOk);
    EXPECT_EQ(device.GetMixer().BlockFrames(), 512u);
    auto buffer = SineBuffer(device, 440, 4410);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(false), audio::Result::kOk);
    // A one-shot of 0.1 s ends once the audio thread mixed it through.
    EXPECT_TRUE(WaitFor([&] {
        uint32_t status = 1;
        buffer->GetStatus(&status);
        return status == 0;
    }));
}

TEST(SdlDevice, A440HertzToneLandsInTheDiskDriversFile) {
    TempFolder folder;
    std::string file = folder / "out.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", file);
    ScopedEnv delay("SDL_DISKAUDIODELAY", "1");
    const uint32_t frames = 22050;
    {
        audio::SdlDevice device;
        ASSERT_EQ(device.Initialize(), audio::Result::kOk);
        auto buffer = SineBuffer(device, 440, 44100);
        ASSERT_NE(buffer, nullptr);
        buffer->Play(true);
        ASSERT_EQ(device.CreatePrimaryBuffer(), audio::Result::kOk);
        // Room for the silence SDL may write before the output is unpaused.
        ASSERT_TRUE(WaitFor([&] {
            std::error_code error;
            return std::filesystem::file_size(file, error) >= 2 * frames * 4 && !error;
        }));
    }
    std::vector<int16_t> left = Channel(Read16(folder.Read("out.raw")), 0);
    auto sounding = std::find_if(left.begin(), left.end(), [](int16_t sample) { return sample != 0; });
    ASSERT_NE(sounding, left.end());
    size_t start = static_cast<size_t>(sounding - left.begin()) - 1;  // the tone starts at 0
    ASSERT_GE(left.size(), start + frames);
    int rising = 0;
    for (size_t i = start + 1; i < start + frames; ++i) {
        if (left[i - 1] < 0 && left[i] >= 0) ++rising;
    }
    // Half a second of 440 Hz rises through zero 220 times.
    EXPECT_NEAR(rising, 220, 1);
    EXPECT_NEAR(left[start + 25], 10000, 10);  // a quarter period in
}

}  // namespace
