// The game sound manager on a manual sound device whose time the test moves:
// effects, music with and without cross-fades, voice-over lines one after
// another, pauses by group, missing sounds and the script functions.
#include "game/shell/gamesoundmanager.h"

#include <algorithm>

#include "platform/audio/manualdevice.h"
#include "sound/sound.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "sound/soundstream.h"
#include "tests/shell/shelltesting.h"
#include "tests/support/oggwriter.h"

namespace {

const int kRate = 44100;

class GameSoundTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        auto device = std::make_unique<audio::ManualDevice>();
        mDevice = device.get();
        mEngine = std::make_unique<TSoundManager>(std::move(device));
        ASSERT_TRUE(mEngine->Start());
        SetSoundManager(mEngine.get());
        // Short effects and lines, a longer track for each music name.
        for (const char* name : {"sfx/click.ogg", "vo/one.ogg", "vo/two.ogg", "vo/three.ogg", "vo/four.ogg"}) {
            AddFile(name, MakeOgg(kRate, 2, kRate / 5));
        }
        for (const char* name : {"music/a.ogg", "music/b.ogg"}) {
            AddFile(name, MakeOgg(kRate, 2, kRate * 3));
        }
        AddFile("sfx/broken.ogg", "OggS but not really");
        AddFile("music/broken.ogg", "");
        VGame::Create();
        mManager = VSoundManager::Create();
    }

    void TearDown() override {
        VSoundManager::Release();
        mPlatform->GetTaskList().Clear();
        SetSoundManager(nullptr);
        mEngine.reset();
        ShellTest::TearDown();
    }

    // Plays ms milliseconds as the platform would: the device mixes 16 ms at
    // a time, the worker's pass follows, then the idle pass of the pump.
    void Play(int ms) {
        for (int t = 0; t < ms; t += 16) {
            mDevice->Render(kRate * 16 / 1000);
            {
                TSoundLock lock(*mEngine);
                mTimer.Advance(16);
                mEngine->ThreadUpdate(true);
            }
            mEngine->Update();
            mPlatform->GetTaskList().RunAll(0);
        }
    }

    // The device buffer of a playing instance; kept to read its volumes later.
    static const audio::Buffer* BufferOf(const std::shared_ptr<TSoundInstance>& instance) {
        return instance->GetStream()->GetBuffer();
    }
    std::vector<int32_t> Volumes(const audio::Buffer* buffer) { return mDevice->VolumeWrites(buffer); }

    static bool Stopped(const std::shared_ptr<TSoundInstance>& instance) { return instance->GetStream() == nullptr; }

    std::vector<std::string> Tracked() const {
        std::vector<std::string> names;
        for (const auto& sound : mManager->GetSounds()) names.push_back(sound->GetSound()->GetFileName().c_str());
        return names;
    }

    audio::ManualDevice* mDevice = nullptr;
    std::unique_ptr<TSoundManager> mEngine;
    VSoundManager* mManager = nullptr;
};

TEST_F(GameSoundTest, EffectsPlayAndAreDroppedOnceDone) {
    auto instance = mManager->PlaySFX("sfx/click.ogg");
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->GetGroup(), VSoundManager::kEffectGroup);
    EXPECT_EQ(Tracked(), std::vector<std::string>{"sfx/click.ogg"});
    Play(100);
    EXPECT_EQ(Tracked().size(), 1u);
    Play(2500);
    EXPECT_TRUE(Tracked().empty());
}

TEST_F(GameSoundTest, MusicAlreadyPlayingGoesOnWithoutRestart) {
    auto first = mManager->PlayMusic("music/a.ogg", nullptr, true, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetGroup(), VSoundManager::kMusicGroup);
    Play(1100);
    size_t writes = Volumes(BufferOf(first)).size();
    EXPECT_EQ(mManager->PlayMusic("music/a.ogg", nullptr, true, true), first);
    Play(200);
    EXPECT_EQ(Volumes(BufferOf(first)).size(), writes);
    EXPECT_EQ(Tracked(), std::vector<std::string>{"music/a.ogg"});
    EXPECT_EQ(Eval("PlayMusic('music/a.ogg', true, true)"), "true");
}

TEST_F(GameSoundTest, MusicWithoutCrossFadeStopsTheOldTrackAtTheNextUpdate) {
    auto a = mManager->PlayMusic("music/a.ogg", nullptr, true, false);
    Play(32);
    auto b = mManager->PlayMusic("music/b.ogg", nullptr, true, false);
    EXPECT_FALSE(Stopped(a));
    Play(16);
    EXPECT_TRUE(Stopped(a));
    EXPECT_FALSE(Stopped(b));
    EXPECT_EQ(Tracked(), std::vector<std::string>{"music/b.ogg"});
    EXPECT_EQ(mManager->GetCurrentMusic()->GetInstance(), b);
}

TEST_F(GameSoundTest, CrossFadeRampsBothTracksOverOneSecond) {
    mEngine->SetGroupVolume(VSoundManager::kMusicGroup, 0.5f);
    const int32_t kGroupLevel = -2500;  // half volume as the engine writes it
    auto a = mManager->PlayMusic("music/a.ogg", nullptr, true, false);
    Play(32);
    auto b = mManager->PlayMusic("music/b.ogg", nullptr, true, true);
    const audio::Buffer* aBuffer = BufferOf(a);
    const audio::Buffer* bBuffer = BufferOf(b);
    Play(496);
    EXPECT_FALSE(Stopped(a));
    EXPECT_FALSE(Stopped(b));
    Play(560);
    EXPECT_TRUE(Stopped(a));
    EXPECT_FALSE(Stopped(b));

    std::vector<int32_t> in = Volumes(bBuffer);
    ASSERT_GE(in.size(), 30u);
    EXPECT_NEAR(in[0], kGroupLevel, 2);  // started at its group's level,
    EXPECT_EQ(in[1], -10000);            // silenced by the fade at once,
    EXPECT_TRUE(std::is_sorted(in.begin() + 1, in.end()));
    EXPECT_NEAR(in.back(), kGroupLevel, 2);  // and back at the level it began with.
    // Half way through, half the group's level.
    auto middle = std::find_if(in.begin(), in.end(), [](int32_t v) { return v > -3850 && v < -3650; });
    EXPECT_NE(middle, in.end());

    std::vector<int32_t> out = Volumes(aBuffer);
    std::vector<int32_t> fade(out.begin() + 1, out.end());
    EXPECT_TRUE(std::is_sorted(fade.rbegin(), fade.rend()));
    EXPECT_EQ(fade.back(), -10000);
}

TEST_F(GameSoundTest, SoundOffSkipsFades) {
    Prefs().SetInt(0, "soundoff", 1, false);
    Prefs().SetInt(TPrefs::kGlobal, "curuser", 0, false);
    EXPECT_TRUE(mManager->IsSoundOff());
    auto a = mManager->PlayMusic("music/a.ogg", nullptr, true, false);
    Play(32);
    auto b = mManager->PlayMusic("music/b.ogg", nullptr, true, true);
    Play(16);
    EXPECT_TRUE(Stopped(a));
    EXPECT_EQ(Volumes(BufferOf(b)), std::vector<int32_t>{0});  // its group level from the start
    EXPECT_FALSE(mManager->StartFade(nullptr, true));
}

TEST_F(GameSoundTest, VoiceOverLinesAreSpokenOneAfterAnother) {
    mManager->PlayVO("vo/one.ogg");
    mManager->PlayVO("vo/two.ogg");
    mManager->PlayVO("vo/three.ogg");
    mManager->PlayVO("vo/four.ogg", nullptr, false, true);  // dropped: lines wait
    EXPECT_EQ(mManager->GetVOQueue().size(), 3u);
    EXPECT_TRUE(Tracked().empty());

    std::vector<std::string> spoken;
    for (int step = 0; step < 400 && spoken.size() < 3; ++step) {
        Play(16);
        const auto& current = mManager->GetCurrentVO();
        std::string name = current ? current->GetSound()->GetFileName().c_str() : "";
        if (!name.empty() && (spoken.empty() || spoken.back() != name)) spoken.push_back(name);
        EXPECT_LE(Tracked().size(), 2u);
    }
    EXPECT_EQ(spoken, (std::vector<std::string>{"vo/one.ogg", "vo/two.ogg", "vo/three.ogg"}));

    // With only the line being spoken, only-if-idle is accepted.
    EXPECT_TRUE(mManager->GetVOQueue().empty());
    mManager->PlayVO("vo/four.ogg", nullptr, false, true);
    EXPECT_EQ(mManager->GetVOQueue().size(), 1u);
}

// Without the engine's sound manager nothing starts; lines that cannot play
// count as done, so the queue moves on instead of waiting for ever.
TEST_F(GameSoundTest, LinesThatCannotPlayDoNotHoldUpTheQueue) {
    SetSoundManager(nullptr);
    mManager->PlayVO("vo/one.ogg");
    mManager->PlayVO("vo/two.ogg");
    EXPECT_EQ(mManager->PlaySFX("sfx/click.ogg"), nullptr);
    Play(16);
    EXPECT_TRUE(mManager->GetCurrentVO()->IsDone());
    Play(16);
    EXPECT_EQ(std::string(mManager->GetCurrentVO()->GetSound()->GetFileName().c_str()), "vo/two.ogg");
    Play(32);
    EXPECT_EQ(mManager->GetCurrentVO(), nullptr);
    EXPECT_TRUE(Tracked().empty());
    SetSoundManager(mEngine.get());
}

TEST_F(GameSoundTest, InterruptStopsTheLineAndReplacesTheQueue) {
    mManager->PlayVO("vo/one.ogg");
    Play(16);
    ASSERT_NE(mManager->GetCurrentVO(), nullptr);
    auto speaking = mManager->GetCurrentVO()->GetInstance();
    mManager->PlayVO("vo/two.ogg");
    mManager->PlayVO("vo/three.ogg", nullptr, true, false);
    EXPECT_TRUE(Stopped(speaking));
    EXPECT_EQ(mManager->GetCurrentVO(), nullptr);
    ASSERT_EQ(mManager->GetVOQueue().size(), 1u);
    EXPECT_EQ(std::string(mManager->GetVOQueue().front()->GetSound()->GetFileName().c_str()), "vo/three.ogg");
    Play(16);
    EXPECT_EQ(std::string(mManager->GetCurrentVO()->GetSound()->GetFileName().c_str()), "vo/three.ogg");
}

TEST_F(GameSoundTest, PauseByGroupOrAll) {
    auto music = mManager->PlayMusic("music/a.ogg", nullptr, true, false);
    auto effect = mManager->PlaySFX("sfx/click.ogg", nullptr, true);
    mManager->PlayVO("vo/one.ogg");
    mManager->PlayVO("vo/two.ogg");
    Play(16);
    auto line = mManager->GetCurrentVO()->GetInstance();

    const struct {
        const char* script;
        bool music, effect, line;
    } kCases[] = {
        {"PauseSounds(true, 1001)", true, false, false},
        {"PauseSounds(false, 1001)", false, false, false},
        {"PauseSounds(true, -1)", true, true, true},
        {"PauseSounds(false, -3.5)", false, false, false},
        {"PauseSounds(true, 1000)", false, true, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.script);
        ASSERT_EQ(Run(c.script), "");
        EXPECT_EQ(music->GetStream()->IsPaused(), c.music);
        EXPECT_EQ(effect->GetStream()->IsPaused(), c.effect);
        EXPECT_EQ(line->GetStream()->IsPaused(), c.line);
    }
    // The queued line has no instance yet: nothing to pause.
    EXPECT_EQ(mManager->GetVOQueue().front()->GetInstance(), nullptr);
}

TEST_F(GameSoundTest, MissingOrBrokenSoundsLogOncePerCallAndChangeNothing) {
    const struct {
        const char* script;
        const char* result;
    } kCases[] = {
        {"PlaySFX('sfx/none.ogg', false)", "false"},
        {"PlayMusic('music/none.ogg', true, true)", "false"},
        {"PlaySFX('sfx/broken.ogg', false)", "false"},
        {"PlayMusic('music/broken.ogg?group=2', true, true)", "false"},
        {"PlayVO('vo/none.ogg', true, false)", "nil"},
        {"PlaySFX('sfx/click', false)", "false"},
    };
    mManager->PlayVO("vo/one.ogg");
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(Eval(c.script), c.result);
    }
    EXPECT_EQ(mLog.Count("VSoundManager: Asset Missing (sfx/none.ogg)"), 1u);
    EXPECT_EQ(mLog.Count("VSoundManager: Asset Damaged (sfx/broken.ogg)"), 1u);
    EXPECT_EQ(mLog.Count("VSoundManager: Asset Damaged (music/broken.ogg?group=2)"), 1u);
    EXPECT_EQ(mLog.Count("VSoundManager: Asset Missing"), 4u);
    EXPECT_EQ(mLog.Count("VSoundManager: Asset Damaged"), 2u);
    EXPECT_TRUE(Tracked().empty());
    EXPECT_EQ(mManager->GetCurrentMusic(), nullptr);
    EXPECT_EQ(mManager->GetVOQueue().size(), 1u);
}

TEST_F(GameSoundTest, ScriptFunctionsPlayAndDoNothingOnceReleased) {
    EXPECT_EQ(Eval("PlaySFX('sfx/click.ogg')"), "true");
    ASSERT_EQ(Run("PlayVO('vo/one.ogg') PlayVO('vo/two.ogg') PurgeVOQueue()"), "");
    EXPECT_TRUE(mManager->GetVOQueue().empty());
    ASSERT_EQ(Run("PurgeSounds()"), "");
    EXPECT_TRUE(Tracked().empty());

    VSoundManager::Release();
    mManager = nullptr;
    EXPECT_EQ(Eval("PlaySFX('sfx/click.ogg', false)"), "false");
    EXPECT_EQ(Eval("PlayMusic('music/a.ogg', false, false)"), "false");
    EXPECT_EQ(Run("PlayVO('vo/one.ogg') PurgeSounds() PurgeVOQueue() PauseSounds(true, -1)"), "");
    Play(32);
}

// A line's callback that goes on after the notice it passes on: it reads its
// own fields once the base has run, so it must still exist then.
class CountingLineCallBack : public VVOCallBack {
public:
    explicit CountingLineCallBack(int* heard) : mHeard(heard) {}
    void OnDone(const std::shared_ptr<TSoundInstance>& instance, const std::shared_ptr<TSound>& following) override {
        VVOCallBack::OnDone(instance, following);
        ++*mHeard;
    }

private:
    int* mHeard;
};

// The line being spoken outlives a purge of the sounds; its end is heard by
// its callback, which must not release the line (and so itself) while it runs.
TEST_F(GameSoundTest, LineEndingAfterPurgeIsDroppedByTheNextUpdate) {
    int heard = 0;
    mManager->PlayVO("vo/one.ogg", std::make_unique<CountingLineCallBack>(&heard));
    mManager->PlayVO("vo/two.ogg");
    Play(16);
    std::weak_ptr<VSound> first = mManager->GetCurrentVO();
    mManager->PurgeSounds();
    ASSERT_FALSE(first.expired());
    for (int step = 0; step < 400 && mManager->GetCurrentVO() == first.lock(); ++step) Play(16);
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(first.expired());
    ASSERT_NE(mManager->GetCurrentVO(), nullptr);
    EXPECT_EQ(std::string(mManager->GetCurrentVO()->GetSound()->GetFileName().c_str()), "vo/two.ogg");
}

TEST_F(GameSoundTest, ReleaseTakesTheUpdateOffThePlatformAndStopsTheLine) {
    mManager->PlayVO("vo/one.ogg");
    Play(16);
    auto line = mManager->GetCurrentVO()->GetInstance();
    VSoundManager::Create();  // replaces the first
    EXPECT_TRUE(Stopped(line));
    mManager = VSoundManager::Get();
    VSoundManager::Release();
    mManager = nullptr;
    Play(32);
    EXPECT_EQ(VSoundManager::Get(), nullptr);
}

}  // namespace
