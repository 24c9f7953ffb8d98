#include "sound/soundstream.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sound/sound.h"
#include "sound/soundinstance.h"
#include "tests/sound/soundtesting.h"

namespace {

const uint32_t kSecond = 44100;

TEST(SoundStreamSizing, BufferBytesRoundUpWithinTheDeviceLimits) {
    struct Case {
        uint64_t bytesPerSecond;
        float seconds;
        uint32_t bytes;
    };
    const Case cases[] = {
        {176400, 2.0f, 352800},     {44100, 2.0f, 88200},      {22050, 2.0f, 44104},  // up to a multiple of 8
        {3, 1.0f, 8},               {2, 0.1f, 4},              {176400, 0.0f, 4},     // nothing rounds to 4
        {176400, -1.0f, 4},         {176400, NAN, 4},          {200000000, 2.0f, 0x0FFFFFFF},
        {134217727, 2.0f, 0x0FFFFFFF},  // rounding up reaches 0x10000000
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TSoundStream::BufferBytesFor(c.bytesPerSecond, c.seconds), c.bytes)
            << c.bytesPerSecond << " bytes/s for " << c.seconds << " s";
    }
}

class SoundStreamTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        MakeManager();
    }
};

TEST_F(SoundStreamTest, BufferSizeHalvesAndNotifyPositions) {
    struct Case {
        int rate;
        int channels;
        uint32_t bytes;
        float seconds;
    };
    const Case cases[] = {{44100, 2, 352800, 2.0f}, {22050, 1, 88200, 2.0f}, {11025, 1, 44104, 44104 / 22050.0f}};
    for (const Case& c : cases) {
        auto stream = Stream(Spooler(1, 100, c.channels, c.rate), false, nullptr);
        ASSERT_TRUE(stream->CreateBuffer(c.rate, c.channels)) << c.rate;
        EXPECT_EQ(stream->GetBufferBytes(), c.bytes);
        EXPECT_FLOAT_EQ(stream->GetBufferSeconds(), c.seconds);
        ASSERT_NE(stream->GetBuffer(), nullptr);
        EXPECT_EQ(stream->GetBuffer()->GetSize(), c.bytes);
        EXPECT_EQ(stream->GetBuffer()->GetNotifyPositions(), (std::vector<uint32_t>{0, c.bytes / 2}));
        stream->Finish(false);
    }
    EXPECT_FALSE(mLog.Contains("DX Error"));
}

TEST_F(SoundStreamTest, FormatsThatCannotPlayAreRefusedAndLeaveTheStreamBufferless) {
    struct Case {
        int rate;
        int channels;
        int bits;
    };
    const Case cases[] = {{0, 2, 16},    {-5, 2, 16},  {44100, 0, 16},         {44100, 3, 16}, {44100, 2, 0},
                          {44100, 1, 7}, {44100, 2, 8}, {44100, 2147483647, 16}, {44100, 2, -16},
                          {44100, 2, 2147483647}, {2147483647, 2, 16}};
    int refused = 0;
    for (const Case& c : cases) {
        auto stream = Stream(Spooler(1, 100), false, nullptr);
        EXPECT_FALSE(stream->CreateBuffer(c.rate, c.channels, c.bits)) << c.rate << " " << c.channels << " " << c.bits;
        EXPECT_EQ(stream->GetBuffer(), nullptr);
        EXPECT_EQ(mLog.Count("DX Error:  (0x3), File .\\soundstream, Line 232"), static_cast<size_t>(++refused));
        stream->Finish(false);
    }
}

TEST_F(SoundStreamTest, OneShotShorterThanTheBufferPlaysOnceThenEnds) {
    auto data = std::make_shared<RecordingNotify>();
    std::weak_ptr<TSoundStream> stream = Playing(Spooler(1, kSecond / 2), false, true, data);
    std::vector<Span> spans = Spans(Play(2500));
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0], (Span{1, 0, kSecond / 2}));
    EXPECT_EQ(spans[1].id, 0);
    EXPECT_FALSE(stream.expired());  // retired, waiting for the main thread
    EXPECT_EQ(data->notices, 0);
    mManager->Update();
    EXPECT_TRUE(stream.expired());
    EXPECT_EQ(data->notices, 1);
}

TEST_F(SoundStreamTest, LoopWrapsWithoutAGap) {
    const uint32_t frames = kSecond * 3 / 10;
    Playing(Spooler(1, frames), true, false, nullptr);
    std::vector<Span> spans = Spans(Play(3000));
    EXPECT_EQ(spans, std::vector<Span>(10, Span{1, 0, frames}));
}

TEST_F(SoundStreamTest, NonLoopingSourceStopsAfterTheTailAndReleasesItsSpoolerOnce) {
    auto data = std::make_shared<RecordingNotify>();
    RampSpooler* spooler = Spooler(1, kSecond * 3);
    std::weak_ptr<TSoundStream> stream = Playing(spooler, false, false, data);
    std::vector<Span> spans = Spans(Play(6000));
    EXPECT_EQ(Sounding(spans), (std::vector<Span>{{1, 0, kSecond * 3}}));
    mManager->Update();
    EXPECT_TRUE(stream.expired());
    EXPECT_EQ(data->notices, 1);
    EXPECT_EQ(spooler->releases, 1);
}

TEST_F(SoundStreamTest, QueuedSoundFollowsWithoutAGap) {
    auto first = std::make_shared<RecordingNotify>();
    auto second = std::make_shared<RecordingNotify>();
    auto stream = Playing(Spooler(1, kSecond * 12 / 10), false, false, first);
    auto instance = std::make_shared<TSoundInstance>();
    auto queuedSound = std::make_shared<TSound>();
    instance->SetQueuedSound(queuedSound);
    stream->SetInstance(instance);
    RampSpooler* next = Spooler(2, kSecond);
    ASSERT_TRUE(stream->QueueNext(second, next));

    std::vector<int16_t> output = Play(600);
    EXPECT_EQ(stream->GetCurrentData(), second);
    EXPECT_EQ(instance->GetSound(), queuedSound);
    EXPECT_EQ(instance->GetQueuedSound(), nullptr);
    EXPECT_EQ(instance->GetStream(), stream.get());
    mManager->Update();
    EXPECT_EQ(first->notices, 1);  // told it is done while the stream plays on
    EXPECT_EQ(second->notices, 0);

    stream.reset();
    std::vector<int16_t> rest = Play(4000);
    output.insert(output.end(), rest.begin(), rest.end());
    EXPECT_EQ(Sounding(Spans(output)), (std::vector<Span>{{1, 0, kSecond * 12 / 10}, {2, 0, kSecond}}));
    mManager->Update();
    EXPECT_EQ(second->notices, 1);
    EXPECT_EQ(first->notices, 1);
    EXPECT_EQ(next->releases, 1);
}

TEST_F(SoundStreamTest, QueueingIsRefusedOnceTheTailRanOut) {
    auto stream = Playing(Spooler(1, kSecond / 4), false, false, nullptr);
    Play(5000);
    RampSpooler* late = Spooler(2, kSecond);
    EXPECT_FALSE(stream->QueueNext(std::weak_ptr<TStreamNotify>(), late));
    EXPECT_EQ(late->releases, 0);  // still the caller's
}

TEST_F(SoundStreamTest, SoundQueuedAfterASilentHalfStillPlaysToItsEnd) {
    auto stream = Playing(Spooler(1, kSecond * 3 / 10), false, false, nullptr);
    std::vector<int16_t> output = Play(600);  // the sweep at 550 ms wrote a silent half
    ASSERT_TRUE(stream->QueueNext(std::weak_ptr<TStreamNotify>(), Spooler(2, kSecond * 3 / 2)));
    std::vector<int16_t> rest = Play(6000);
    output.insert(output.end(), rest.begin(), rest.end());
    EXPECT_EQ(Sounding(Spans(output)), (std::vector<Span>{{1, 0, kSecond * 3 / 10}, {2, 0, kSecond * 3 / 2}}));
}

TEST_F(SoundStreamTest, DestructionNotifiesEachDataOnceAndUnlinksTheInstance) {
    auto data = std::make_shared<RecordingNotify>();
    auto stream = Playing(Spooler(1, kSecond * 5), false, false, data);
    ASSERT_TRUE(stream->QueueNext(data, Spooler(2, kSecond)));  // the same data twice
    auto instance = std::make_shared<TSoundInstance>();
    instance->SetStream(stream.get());
    stream->SetInstance(instance);
    std::weak_ptr<TSoundStream> weak = stream;
    stream.reset();
    weak.lock()->Finish(false);
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(data->notices, 1);
    EXPECT_EQ(instance->GetStream(), nullptr);
}

TEST_F(SoundStreamTest, GamePauseStopsTheBufferAndResumeGoesOn) {
    auto stream = Playing(Spooler(1, kSecond * 5), false, false, nullptr);
    std::vector<int16_t> output = Play(300);
    stream->SetPaused(true);
    EXPECT_TRUE(stream->IsPaused());
    EXPECT_EQ(Status(stream), 0u);
    std::vector<int16_t> paused = Play(200);
    EXPECT_EQ(Sounding(Spans(paused)), std::vector<Span>{});
    stream->SetPaused(false);
    EXPECT_EQ(Status(stream), audio::kStatusPlaying | audio::kStatusLooping);
    std::vector<int16_t> rest = Play(300);
    output.insert(output.end(), rest.begin(), rest.end());
    EXPECT_EQ(Spans(output), (std::vector<Span>{{1, 0, kSecond * 6 / 10}}));
}

TEST_F(SoundStreamTest, VolumeLevelsBecomeHundredthsOfADecibel) {
    auto stream = Playing(Spooler(1, kSecond), false, false, nullptr);
    struct Case {
        float level;
        int32_t hundredthsDb;
    };
    const Case cases[] = {{1.0f, 0},     {0.5f, -2500},       {0.25f, -3750},   {0.0f, -10000},
                          {2.0f, 0},     {-1.0f, -10000},     {NAN, -10000},    {0.001f, -4995}};
    for (const Case& c : cases) {
        stream->SetVolume(c.level);
        EXPECT_EQ(stream->GetBuffer()->GetVolume(), c.hundredthsDb) << c.level;
    }
}

TEST_F(SoundStreamTest, LostBufferIsRestoredBeforeAVolumeChange) {
    auto stream = Playing(Spooler(1, kSecond), false, false, nullptr);
    mDevice->LoseBuffers();
    EXPECT_EQ(Status(stream), audio::kStatusLost);
    stream->SetVolume(0.5f);
    EXPECT_EQ(Status(stream), 0u);
    EXPECT_EQ(stream->GetBuffer()->GetVolume(), -2500);
}

TEST_F(SoundStreamTest, CreateNeedsAManagerAndASpooler) {
    EXPECT_EQ(TSoundStream::Create(nullptr, Spooler(1, 10), false, 0, {}), nullptr);
    EXPECT_EQ(TSoundStream::Create(mManager.get(), nullptr, false, 0, {}), nullptr);
}

TEST_F(SoundStreamTest, BufferlessStreamMovesOnToTheQueuedSoundOnItsClock) {
    MakeManager(false);
    auto first = std::make_shared<RecordingNotify>();
    auto stream = Stream(Spooler(1, kSecond), false, first);
    EXPECT_FALSE(stream->CreateBuffer(44100, 2));
    EXPECT_FALSE(mLog.Contains("DX Error"));
    stream->Play(false);
    ASSERT_TRUE(stream->QueueNext(std::weak_ptr<TStreamNotify>(), Spooler(2, kSecond)));
    mTimer.Advance(1001);
    EXPECT_TRUE(stream->Refill(false));
    mManager->Update();
    EXPECT_EQ(first->notices, 1);
    mTimer.Advance(1000);
    EXPECT_TRUE(stream->Refill(false));  // the clock started again with the second sound
    mTimer.Advance(1);
    EXPECT_FALSE(stream->Refill(false));
}

}  // namespace
