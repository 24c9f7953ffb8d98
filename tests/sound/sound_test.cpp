#include "sound/sound.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/assetmap.h"
#include "sound/sounddata.h"
#include "sound/soundcallback.h"
#include "sound/soundinstance.h"
#include "tests/sound/soundtesting.h"

namespace {

const uint32_t kSecond = 44100;

// Records every completion it hears of, and may act on it.
class RecordingCallBack : public TSoundCallBack {
public:
    struct Notice {
        std::shared_ptr<TSoundInstance> instance;
        std::shared_ptr<TSound> following;
        std::thread::id thread;
    };

    void OnDone(const std::shared_ptr<TSoundInstance>& instance, const std::shared_ptr<TSound>& following) override {
        notices.push_back({instance, following, std::this_thread::get_id()});
        // A copy: the action may delete this callback.
        if (auto action = onDone) action(instance);
    }

    std::vector<Notice> notices;
    std::function<void(const std::shared_ptr<TSoundInstance>&)> onDone;
};

class SoundGetTest : public SoundAssetTest {};

TEST_F(SoundGetTest, NamesGiveTheirCacheKeys) {
    AddFile("audio/music/theme.ogg", MakeOgg(22050, 1, 2205));
    AddFile("sfx/CLICK.OGG", MakeOgg(22050, 1, 2205));
    struct Case {
        const char* name;
        uint8_t memory;
        int group;
        const char* key;
    };
    const Case cases[] = {
        {"audio/music/theme.ogg", 1, 1000, "audio/music/theme.ogg;1;1000"},
        {"audio/music/theme.ogg?group=1001", 1, 1000, "audio/music/theme.ogg;1;1001"},
        {"audio/music/theme.ogg", 0, 1000, "audio/music/theme.ogg;0;1000"},
        {"audio/music/theme.ogg?group=abc", 1, 1000, "audio/music/theme.ogg;1;0"},
        {"audio/music/theme.ogg?loop&group=-7", 1, 1000, "audio/music/theme.ogg;1;-7"},
        {"sfx/CLICK.OGG", 1, 5, "sfx/CLICK.OGG;1;5"},
    };
    std::vector<std::shared_ptr<TSound>> held;
    for (const Case& c : cases) {
        auto sound = TSound::Get(c.name, c.memory, c.group);
        ASSERT_NE(sound, nullptr) << c.name;
        EXPECT_EQ(mAssets.GetAsset(c.key), sound) << c.name;
        EXPECT_EQ(sound->GetData()->GetGroup(), TString(c.key).SubString(TString(c.key).FindChar(';', TString::kBackwards) + 1).ToInt());
        EXPECT_EQ(std::string(sound->GetFileName().c_str()), std::string(c.name).substr(0, std::string(c.name).find('?')));
        EXPECT_EQ(TSound::Get(c.name, c.memory, c.group), sound) << c.name;  // the same while held
        held.push_back(sound);
    }
    EXPECT_EQ(held.size(), 6u);
    EXPECT_NE(held[0], held[1]);
    EXPECT_NE(held[0], held[2]);
    EXPECT_FALSE(mLog.Contains("TSound::Get"));
}

TEST_F(SoundGetTest, NamesThatGiveNoSound) {
    AddFile("audio/click.wav", MakeOgg(22050, 1, 2205));
    AddFile("audio/broken.ogg", "OggS but not really");
    struct Case {
        const char* name;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"", {}},
        {"audio/click.wav", {}},
        {"audio/click.wav?x=.ogg", {}},
        {"audio/missing.ogg", {"TSound::Get: OGG file not found: audio/missing.ogg\n"}},
        {"audio/broken.ogg?group=2",
         {"OGG file could not be opened\n", "TSound::Get: Error loading audio/broken.ogg\n"}},
    };
    for (const Case& c : cases) {
        TestLog log;
        EXPECT_EQ(TSound::Get(c.name, 1, 0), nullptr) << c.name;
        std::string text = log.Text();
        size_t at = 0;
        for (const std::string& line : c.log) {
            at = text.find(": " + line, at);
            EXPECT_NE(at, std::string::npos) << line << " in " << text;
        }
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(c.log.size())) << text;
    }
}

TEST_F(SoundGetTest, AReleasedSoundLoadsAgain) {
    AddFile("a.ogg", MakeOgg(22050, 1, 2205));
    std::weak_ptr<TSound> first = TSound::Get("a.ogg", 1, 0);
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(mAssets.GetAsset("a.ogg;1;0"), nullptr);
    auto again = TSound::Get("a.ogg", 1, 0);
    EXPECT_NE(again, nullptr);
}

TEST_F(SoundGetTest, AssetMapsLoadSoundsThatPlay) {
    RegisterSoundLoader();
    AddFile("sounds/click.ogg", MakeOgg(44100, 2, kSecond / 2));
    const char* const names[] = {"sounds\\click", "sounds/click.ogg?group=3", nullptr};
    TAssetMap map;
    map.AddAssets(names);
    auto plain = std::dynamic_pointer_cast<TSound>(mAssets.GetAsset("sounds/click.ogg;1;-1"));
    auto grouped = std::dynamic_pointer_cast<TSound>(mAssets.GetAsset("sounds/click.ogg;1;3"));
    ASSERT_NE(plain, nullptr) << mLog.Text();
    ASSERT_NE(grouped, nullptr);
    auto instance = grouped->Play(false);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->GetGroup(), 3);
    std::vector<int16_t> played = Play(1000);
    EXPECT_EQ(Take(played, 0, kSecond / 2), DecodeOgg(MakeOgg(44100, 2, kSecond / 2)));
    TAssetMap::RegisterLoader("ogg", nullptr);
}

class SoundPlayTest : public SoundAssetTest {
protected:
    // A stereo 44.1 kHz sound under the name, kept in memory or streamed.
    std::shared_ptr<TSound> Sound(const std::string& name, uint32_t frames, bool memory,
                                  OggWave wave = OggWave::kSine) {
        std::string bytes = MakeOgg(44100, 2, frames, wave);
        mDecoded[name] = DecodeOgg(bytes);
        AddFile(name, bytes);
        return TSound::Get(name.c_str(), memory ? 1 : 0, 0);
    }
    const std::vector<int16_t>& Decoded(const std::string& name) { return mDecoded[name]; }

    std::map<std::string, std::vector<int16_t>> mDecoded;
};

TEST_F(SoundPlayTest, ALoopWrapsInsideAHalf) {
    for (bool memory : {true, false}) {
        auto sound = Sound(memory ? "loop.ogg" : "loopstream.ogg", kSecond * 3 / 10, memory, OggWave::kRamp);
        ASSERT_NE(sound, nullptr);
        const std::vector<int16_t>& once = Decoded(memory ? "loop.ogg" : "loopstream.ogg");
        auto instance = sound->Play(true);
        std::vector<int16_t> played = Play(3000);
        std::vector<int16_t> expected;
        while (expected.size() < played.size()) expected.insert(expected.end(), once.begin(), once.end());
        expected.resize(played.size());
        EXPECT_EQ(played, expected) << memory;
        instance->Stop();
    }
}

TEST_F(SoundPlayTest, InstancesOfOneStreamedSoundPlayTheirOwnPositions) {
    auto sound = Sound("voice.ogg", kSecond * 4, false);
    ASSERT_NE(sound->GetData()->GetOggStream(), nullptr);
    const std::vector<int16_t>& decoded = Decoded("voice.ogg");
    auto first = sound->Play(false);
    std::vector<int16_t> alone = Play(1000);
    auto second = sound->Play(false);
    first->SetVolume(0.0f);
    std::vector<int16_t> secondOnly = Play(1000);
    first->SetVolume(1.0f);
    second->SetVolume(0.0f);
    std::vector<int16_t> firstAgain = Play(1000);
    EXPECT_EQ(alone, Take(decoded, 0, kSecond));
    EXPECT_EQ(secondOnly, Take(decoded, 0, kSecond));
    EXPECT_EQ(firstAgain, Take(decoded, 2 * kSecond, kSecond));
}

// The first sound is shorter than the buffer, so it starts as a one-shot play.
TEST_F(SoundPlayTest, AFollowingSoundContinuesWithoutAGap) {
    auto first = Sound("first.ogg", kSecond * 12 / 10, true);
    auto next = Sound("next.ogg", kSecond * 3, false, OggWave::kRamp);
    RecordingCallBack callback;
    auto instance = first->Play(false);
    instance->SetCallBack(&callback, next);
    EXPECT_EQ(instance->GetQueuedSound(), next);
    std::vector<int16_t> played = Play(1500);
    EXPECT_EQ(instance->GetSound(), next);
    EXPECT_EQ(instance->GetQueuedSound(), nullptr);
    EXPECT_TRUE(callback.notices.empty());
    mManager->Update();
    ASSERT_EQ(callback.notices.size(), 1u);
    EXPECT_EQ(callback.notices[0].instance, instance);
    EXPECT_EQ(callback.notices[0].following, next);

    std::vector<int16_t> rest = Play(4000);
    played.insert(played.end(), rest.begin(), rest.end());
    std::vector<int16_t> expected = Decoded("first.ogg");
    expected.insert(expected.end(), Decoded("next.ogg").begin(), Decoded("next.ogg").end());
    EXPECT_EQ(Take(played, 0, expected.size() / 2), expected);
    mManager->Update();
    ASSERT_EQ(callback.notices.size(), 2u);  // the following sound's end is heard too
    EXPECT_EQ(callback.notices[1].following, nullptr);
}

TEST_F(SoundPlayTest, CompletionIsHeardInUpdateOnTheMainThread) {
    auto sound = Sound("short.ogg", kSecond / 4, true);
    RecordingCallBack callback;
    auto instance = sound->Play(false);
    instance->SetCallBack(&callback, nullptr);
    EXPECT_EQ(sound->GetData()->GetInstances().size(), 1u);
    // The worker thread runs meanwhile; only Update delivers.
    Play(3000);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_TRUE(callback.notices.empty());
    mManager->Update();
    ASSERT_EQ(callback.notices.size(), 1u);
    EXPECT_EQ(callback.notices[0].instance, instance);
    EXPECT_EQ(callback.notices[0].following, nullptr);
    EXPECT_EQ(callback.notices[0].thread, std::this_thread::get_id());
    EXPECT_EQ(instance->GetStream(), nullptr);
    EXPECT_EQ(instance->GetGroup(), -1);
    EXPECT_TRUE(sound->GetData()->GetInstances().empty());
    mManager->Update();
    EXPECT_EQ(callback.notices.size(), 1u);
}

TEST_F(SoundPlayTest, StoppingTwiceIsHarmless) {
    auto sound = Sound("music.ogg", kSecond * 3, false);
    RecordingCallBack callback;
    auto instance = sound->Play(true);
    instance->SetCallBack(&callback, nullptr);
    Play(200);
    EXPECT_TRUE(sound->Stop(instance));
    ASSERT_EQ(callback.notices.size(), 1u);  // before Stop returned
    EXPECT_EQ(instance->GetStream(), nullptr);
    EXPECT_TRUE(sound->Stop(instance));
    instance->Stop();
    EXPECT_FALSE(sound->Stop(nullptr));
    EXPECT_EQ(callback.notices.size(), 1u);
    EXPECT_EQ(Play(500), std::vector<int16_t>(kSecond, 0));
}

TEST_F(SoundPlayTest, ACallBackSetOnAnEndedInstanceFiresOnTheNextUpdate) {
    auto sound = Sound("ping.ogg", kSecond / 10, true);
    auto instance = sound->Play(false);
    instance->Stop();
    RecordingCallBack callback;
    instance->SetCallBack(&callback, nullptr);
    EXPECT_TRUE(callback.notices.empty());
    mManager->Update();
    ASSERT_EQ(callback.notices.size(), 1u);
    EXPECT_NE(callback.notices[0].instance, instance);
    EXPECT_EQ(callback.notices[0].instance->GetSound(), sound);
}

TEST_F(SoundPlayTest, AFollowingSoundIsRefusedOnceTheInstanceEnded) {
    auto sound = Sound("once.ogg", kSecond / 10, true);
    auto next = Sound("after.ogg", kSecond / 10, true);
    RecordingCallBack callback;
    auto instance = sound->Play(false);
    instance->Stop();
    instance->SetCallBack(&callback, next);
    EXPECT_EQ(instance->GetQueuedSound(), nullptr);
    EXPECT_EQ(instance->GetCallBack(), nullptr);
    mManager->Update();
    EXPECT_TRUE(callback.notices.empty());
}

TEST_F(SoundPlayTest, ACallBackDestroyedWhileItsInstancesPlayIsNeverCalled) {
    auto sound = Sound("tick.ogg", kSecond / 4, true);
    auto next = Sound("tock.ogg", kSecond / 4, true);
    auto callback = std::make_unique<RecordingCallBack>();
    auto plain = sound->Play(false);
    plain->SetCallBack(callback.get(), nullptr);
    auto chained = sound->Play(false);
    chained->SetCallBack(callback.get(), next);
    callback.reset();
    EXPECT_EQ(plain->GetCallBack(), nullptr);
    EXPECT_EQ(chained->GetCallBack(), nullptr);
    Play(4000);
    mManager->Update();  // ASan reports a call into the freed callback
    EXPECT_EQ(plain->GetStream(), nullptr);
}

TEST_F(SoundPlayTest, ACallBackDestroyedAfterTheMoveToTheFollowingSoundIsNeverCalled) {
    auto first = Sound("intro.ogg", kSecond / 2, true);
    auto next = Sound("body.ogg", kSecond * 3, false);
    auto callback = std::make_unique<RecordingCallBack>();
    auto instance = first->Play(false);
    instance->SetCallBack(callback.get(), next);
    Play(1500);
    mManager->Update();
    ASSERT_EQ(callback->notices.size(), 1u);
    EXPECT_EQ(instance->GetCallBack(), callback.get());
    callback.reset();
    EXPECT_EQ(instance->GetCallBack(), nullptr);
    Play(5000);
    mManager->Update();
    EXPECT_EQ(instance->GetStream(), nullptr);
}

TEST_F(SoundPlayTest, OnDoneMayStopTheOtherInstancesAndDeleteItsCallBack) {
    auto sound = Sound("crowd.ogg", kSecond * 3, false);
    for (bool deleteFirst : {false, true}) {
        auto* callback = new RecordingCallBack;
        std::vector<std::shared_ptr<TSoundInstance>> instances;
        for (int i = 0; i < 4; ++i) {
            instances.push_back(sound->Play(true));
            instances.back()->SetCallBack(callback, nullptr);
        }
        int calls = 0;
        callback->onDone = [&](const std::shared_ptr<TSoundInstance>&) {
            if (++calls > 1) return;
            // Deleted first, it detaches from the others before they stop.
            if (deleteFirst) delete callback;
            for (const auto& other : sound->GetData()->GetInstances()) sound->Stop(other);
            if (!deleteFirst) delete callback;
        };
        Play(300);
        instances[1]->Stop();
        EXPECT_EQ(calls, deleteFirst ? 1 : 4);
        EXPECT_TRUE(sound->GetData()->GetInstances().empty());
        for (const auto& instance : instances) EXPECT_EQ(instance->GetStream(), nullptr);
        mManager->Update();
    }
}

TEST_F(SoundPlayTest, DroppingTheSoundStopsItsInstancesWithoutCallingBack) {
    auto sound = Sound("drop.ogg", kSecond * 3, false);
    RecordingCallBack callback;
    auto instance = sound->Play(true);
    instance->SetCallBack(&callback, nullptr);
    Play(300);
    sound.reset();
    EXPECT_EQ(instance->GetStream(), nullptr);
    EXPECT_EQ(instance->GetSound(), nullptr);
    mManager->Update();
    EXPECT_TRUE(callback.notices.empty());
    EXPECT_EQ(Play(500), std::vector<int16_t>(kSecond, 0));
}

TEST_F(SoundPlayTest, ALoopingPlayOfASoundWithoutSamplesIsSilentAndEnds) {
    auto empty = Sound("empty.ogg", 0, true);
    auto emptyStreamed = Sound("emptystream.ogg", 0, false);
    auto failed = std::make_shared<TSound>();
    for (const auto& sound : {empty, emptyStreamed, failed}) {
        ASSERT_NE(sound, nullptr);
        RecordingCallBack callback;
        auto instance = sound->Play(true);
        ASSERT_NE(instance, nullptr);
        instance->SetCallBack(&callback, nullptr);
        EXPECT_EQ(Play(4000), std::vector<int16_t>(kSecond * 8, 0));
        mManager->Update();
        EXPECT_EQ(callback.notices.size(), 1u);
    }
}

TEST_F(SoundPlayTest, WithoutAManagerNothingPlays) {
    auto sound = Sound("quiet.ogg", kSecond / 10, true);
    SetSoundManager(nullptr);
    EXPECT_EQ(sound->Play(false), nullptr);
    EXPECT_EQ(mLog.Count("No Sound Manager"), 1u);
}

TEST_F(SoundPlayTest, ShutdownWithSoundsPlayingCallsNoCallBack) {
    auto sound = Sound("long.ogg", kSecond * 3, false);
    RecordingCallBack callback;
    auto instance = sound->Play(true);
    instance->SetCallBack(&callback, nullptr);
    SetSoundManager(nullptr);
    mManager.reset();
    EXPECT_TRUE(callback.notices.empty());
    EXPECT_EQ(instance->GetStream(), nullptr);
}

}  // namespace
