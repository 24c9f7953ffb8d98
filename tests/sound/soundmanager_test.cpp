#include "sound/soundmanager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "tests/sound/soundtesting.h"
#include "tests/support/tempfolder.h"

namespace {

const uint32_t kSecond = 44100;

class SoundManagerTest : public SoundTest {};

TEST_F(SoundManagerTest, StartTwiceMakesOneThread) {
    MakeManager();
    EXPECT_EQ(WorkerThreads(), 1);
    EXPECT_TRUE(mManager->Start());
    EXPECT_TRUE(mManager->IsStarted());
    EXPECT_EQ(WorkerThreads(), 1);
}

TEST_F(SoundManagerTest, FailedStartKeepsOneThreadAndTriesTheDeviceAgain) {
    MakeManager(false);
    mDevice->RefuseInitialize(audio::Result::kNoDriver);
    EXPECT_FALSE(mManager->Start());
    EXPECT_FALSE(mManager->Start());
    EXPECT_EQ(WorkerThreads(), 1);
    mDevice->RefuseInitialize(audio::Result::kOk);
    EXPECT_TRUE(mManager->Start());
    EXPECT_EQ(WorkerThreads(), 1);
}

TEST_F(SoundManagerTest, DeviceFailuresAreLoggedWithTheirLine) {
    struct Case {
        audio::Result initialize;
        audio::Result primary;
        const char* line;
    };
    const Case cases[] = {
        {audio::Result::kNoDriver, audio::Result::kOk, "DX Error:  (0x1), File .\\soundmanager, Line 163"},
        {audio::Result::kOk, audio::Result::kNoDevice, "DX Error:  (0x2), File .\\soundmanager, Line 183"},
    };
    for (const Case& c : cases) {
        TestLog log;
        MakeManager(false);
        mDevice->RefuseInitialize(c.initialize);
        mDevice->RefusePrimaryBuffer(c.primary);
        EXPECT_FALSE(mManager->Start());
        EXPECT_FALSE(mManager->IsStarted());
        EXPECT_EQ(log.Count("DX Error: "), 1u) << log.Text();
        EXPECT_TRUE(log.Contains(c.line)) << log.Text();
    }
}

TEST_F(SoundManagerTest, WithoutADeviceAStreamEndsOnItsClock) {
    MakeManager(false);
    mDevice->RefuseInitialize(audio::Result::kNoDriver);
    ASSERT_FALSE(mManager->Start());
    auto data = std::make_shared<RecordingNotify>();
    auto stream = TSoundStream::Create(mManager.get(), Spooler(1, kSecond * 7 / 2), false, 0, data);
    EXPECT_FALSE(stream->CreateBuffer(44100, 2));
    stream->Play(false);
    stream.reset();
    // Sweeps every 700 ms: the one at 3.5 s still finds it playing.
    for (int sweep = 1; sweep <= 5; ++sweep) {
        Advance(700);
        mManager->Update();
        EXPECT_EQ(data->notices, 0) << sweep;
    }
    Advance(700);
    EXPECT_EQ(data->notices, 0);
    mManager->Update();
    EXPECT_EQ(data->notices, 1);
    EXPECT_EQ(data->lastThread, std::this_thread::get_id());
    EXPECT_EQ(mLog.Count("DX Error: "), 1u);
}

TEST_F(SoundManagerTest, SweepsComeOnlyAfterMoreThanHalfASecond) {
    MakeManager();
    auto data = std::make_shared<RecordingNotify>();
    TSoundStream::Create(mManager.get(), Spooler(1, 0), false, 0, data)->Play(false);
    mTimer.Advance(1);
    Advance(499);  // 500 ms since the start: not yet
    mManager->Update();
    EXPECT_EQ(data->notices, 0);
    Advance(1);
    mManager->Update();
    EXPECT_EQ(data->notices, 1);
}

TEST_F(SoundManagerTest, SweepOffTheThreadRemovesAtOnce) {
    MakeManager();
    auto data = std::make_shared<RecordingNotify>();
    std::weak_ptr<TSoundStream> stream = TSoundStream::Create(mManager.get(), Spooler(1, 0), false, 0, data);
    stream.lock()->Play(false);
    Advance(501, false);
    EXPECT_TRUE(stream.expired());
    EXPECT_EQ(data->notices, 1);
}

TEST_F(SoundManagerTest, GroupVolumesMultiplyTheMaster) {
    MakeManager();
    mManager->SetMasterVolume(0.5f);
    mManager->SetGroupVolume(7, 0.5f);  // before any stream of the group
    auto grouped = Playing(Spooler(1, kSecond), false, false, nullptr, 7);
    auto ungrouped = Playing(Spooler(2, kSecond), false, false, nullptr, 8);
    EXPECT_FLOAT_EQ(mManager->GetGroupVolume(7), 0.25f);
    EXPECT_FLOAT_EQ(mManager->GetGroupVolume(8), 0.5f);
    EXPECT_FLOAT_EQ(mManager->GetGroupVolume(-1), 0.5f);
    EXPECT_EQ(grouped->GetBuffer()->GetVolume(), -3750);
    EXPECT_EQ(ungrouped->GetBuffer()->GetVolume(), -2500);
}

TEST_F(SoundManagerTest, VolumeChangesReachTheDeviceAsTwoWrites) {
    MakeManager();
    auto quiet = Playing(Spooler(1, kSecond), false, false, nullptr, 7);
    auto loud = Playing(Spooler(2, kSecond), false, false, nullptr, 8);
    mManager->SetGroupVolume(7, 0.25f);
    // Below a half the step aside goes up, from a half on it goes down.
    std::vector<int32_t> quietWrites = mDevice->VolumeWrites(quiet->GetBuffer());
    ASSERT_GE(quietWrites.size(), 2u);
    EXPECT_EQ(quietWrites[quietWrites.size() - 2], -3500);
    EXPECT_EQ(quietWrites.back(), -3750);
    std::vector<int32_t> loudWrites = mDevice->VolumeWrites(loud->GetBuffer());
    ASSERT_GE(loudWrites.size(), 2u);
    EXPECT_EQ(loudWrites[loudWrites.size() - 2], -250);
    EXPECT_EQ(loudWrites.back(), 0);
}

TEST_F(SoundManagerTest, VolumesFromCallersAreClamped) {
    MakeManager();
    struct Case {
        float volume;
        float stored;
    };
    const Case cases[] = {{0.5f, 0.5f}, {3.0f, 1.0f}, {-2.0f, 0.0f}, {NAN, 0.0f}, {INFINITY, 1.0f}};
    for (const Case& c : cases) {
        mManager->SetMasterVolume(c.volume);
        EXPECT_FLOAT_EQ(mManager->GetGroupVolume(-1), c.stored) << c.volume;
        mManager->SetMasterVolume(1.0f);
        mManager->SetGroupVolume(3, c.volume);
        EXPECT_FLOAT_EQ(mManager->GetGroupVolume(3), c.stored) << c.volume;
    }
}

TEST_F(SoundManagerTest, FocusPausesAllAndAGamePauseSurvives) {
    MakeManager();
    auto playing = Playing(Spooler(1, kSecond * 3), false, false, nullptr);
    auto pausedByGame = Playing(Spooler(2, kSecond * 3), false, false, nullptr);
    pausedByGame->SetPaused(true);
    mManager->SetActive(false);
    EXPECT_FALSE(mManager->IsActive());
    EXPECT_TRUE(playing->IsPaused());
    EXPECT_EQ(Status(playing), 0u);
    auto startedInactive = Playing(Spooler(3, kSecond * 3), false, false, nullptr);
    EXPECT_TRUE(startedInactive->IsPaused());
    EXPECT_EQ(Status(startedInactive), 0u);
    std::vector<int16_t> silent = Play(200);
    EXPECT_EQ(Sounding(Spans(silent)), std::vector<Span>{});

    size_t writes = mDevice->VolumeWrites(playing->GetBuffer()).size();
    mManager->SetActive(true);
    EXPECT_FALSE(playing->IsPaused());
    EXPECT_NE(Status(playing) & audio::kStatusPlaying, 0u);
    EXPECT_NE(Status(startedInactive) & audio::kStatusPlaying, 0u);
    EXPECT_TRUE(pausedByGame->IsPaused());
    EXPECT_EQ(Status(pausedByGame), 0u);
    EXPECT_EQ(mDevice->VolumeWrites(playing->GetBuffer()).size(), writes + 3);  // Play, then the two writes
}

TEST_F(SoundManagerTest, ShutdownEndsTheThreadBeforeAnyNotice) {
    MakeManager();
    auto data = std::make_shared<RecordingNotify>();
    bool shuttingDown = false;
    TSoundManager* manager = mManager.get();
    // Shutting down is set only once the worker thread has been joined.
    data->onDone = [&](TSoundStream*) { shuttingDown = manager->IsShuttingDown(); };
    Playing(Spooler(1, kSecond * 3), true, false, data);
    Playing(Spooler(2, kSecond * 3), false, false, data);
    Play(100);
    mManager.reset();
    EXPECT_EQ(data->notices, 2);
    EXPECT_TRUE(shuttingDown);
}

TEST_F(SoundManagerTest, NoticesMayPlayAndStopStreamsDuringUpdate) {
    MakeManager();
    auto bystanderData = std::make_shared<RecordingNotify>();
    std::weak_ptr<TSoundStream> bystander = Playing(Spooler(1, kSecond * 5), true, false, bystanderData);
    std::weak_ptr<TSoundStream> started;
    auto endingData = std::make_shared<RecordingNotify>();
    endingData->onDone = [&](TSoundStream*) {
        started = Playing(Spooler(3, kSecond * 5), true, false, nullptr);
        if (auto stream = bystander.lock()) stream->Finish(false);
    };
    Playing(Spooler(2, kSecond / 10), false, true, endingData);
    Play(1500);
    mManager->Update();
    EXPECT_EQ(endingData->notices, 1);
    EXPECT_EQ(bystanderData->notices, 1);
    EXPECT_TRUE(bystander.expired());
    ASSERT_FALSE(started.expired());

    // A stream that stops itself from its moved-on notice, while Update walks the live list.
    auto first = std::make_shared<RecordingNotify>();
    auto self = Playing(Spooler(4, kSecond / 10), false, false, first);
    ASSERT_TRUE(self->QueueNext(std::weak_ptr<TStreamNotify>(), Spooler(5, kSecond * 5)));
    std::weak_ptr<TSoundStream> weakSelf = self;
    self.reset();
    first->onDone = [&](TSoundStream* stream) {
        if (stream == weakSelf.lock().get()) stream->Finish(false);
    };
    Play(600);
    mManager->Update();
    EXPECT_TRUE(weakSelf.expired());
    EXPECT_GE(first->notices, 1);
}

TEST(SoundManagerOutput, StartsOnTheSystemOutputAndPlays) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    TestLog log;
    TSoundManager manager;
    ASSERT_TRUE(manager.Start());
    RampSpooler spooler(1, kSecond);
    auto stream = TSoundStream::Create(&manager, &spooler, false, 0, {});
    ASSERT_TRUE(stream->CreateBuffer(44100, 2));
    stream->Play(false);
    // SDL's audio thread moves the play cursor on.
    uint32_t play = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (play == 0 && std::chrono::steady_clock::now() < deadline) {
        uint32_t write = 0;
        stream->GetBuffer()->GetCursors(&play, &write);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GT(play, 0u);
    stream->Finish(false);
    EXPECT_FALSE(log.Contains("DX Error"));
}

}  // namespace
