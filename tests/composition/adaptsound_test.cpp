// Sounds of a composition on a manual audio device: a loop stops with its
// item, a one-shot plays out after its item is gone.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/tasklist.h"
#include "game/composition/adapt.h"
#include "game/composition/adaptitem.h"
#include "scriptedsprites/animationhost.h"
#include "tests/sound/soundtesting.h"

namespace {

class TestHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override { return 4; }
    TTaskList tasks;
};

constexpr int kRate = 44100;

class AdaptSoundTest : public SoundAssetTest {
protected:
    void SetUp() override {
        SoundAssetTest::SetUp();
        SetAnimationHost(&host);
        AddFile("loop.ogg", MakeOgg(kRate, 2, kRate / 2));
        AddFile("once.ogg", MakeOgg(kRate, 2, kRate));
    }
    void TearDown() override {
        host.tasks.Clear();
        SetAnimationHost(nullptr);
        SoundAssetTest::TearDown();
    }
    // A composition of the one element, built.
    std::unique_ptr<RAdapt> Composition(const std::string& element) {
        composition = "<adapt>" + element + "</adapt>";
        AddFile("sound.xml", composition);
        auto adapt = std::make_unique<RAdapt>();
        adapt->SetXmlFile("sound.xml");
        adapt->Rebuild();
        return adapt;
    }
    // True when any of the next ms of output is not silence; the tasks and
    // the sound manager run in between.
    bool Sounds(int ms) {
        bool sounding = false;
        for (int t = 0; t < ms; t += 50) {
            std::vector<int16_t> block = mDevice->Render(kRate / 20);
            sounding |= std::any_of(block.begin(), block.end(), [](int16_t s) { return s != 0; });
            Advance(50);
            mManager->Update();
            host.tasks.RunAll(0);
        }
        return sounding;
    }

    TestHost host;
    std::string composition;
};

TEST_F(AdaptSoundTest, ALoopStopsWithItsItem) {
    auto adapt = Composition("<sound source=\"loop.ogg\" loop=\"1\" delay=\"100\"/>");
    EXPECT_FALSE(Sounds(50));
    EXPECT_TRUE(Sounds(1500));  // past the half-second file: looped
    adapt.reset();
    Sounds(200);
    EXPECT_FALSE(Sounds(1000));
}

TEST_F(AdaptSoundTest, AOneShotPlaysOutAfterItsItemAndItsTaskEnds) {
    auto adapt = Composition("<sound source=\"once.ogg\"/>");
    auto* item = dynamic_cast<RAdaptSound*>(adapt->GetItems().front().get());
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(Sounds(200));
    adapt.reset();
    EXPECT_TRUE(Sounds(300));
    Sounds(1000);
    EXPECT_FALSE(Sounds(500));
}

TEST_F(AdaptSoundTest, TheTaskEndsOnceTheSoundIsDone) {
    auto adapt = Composition("<sound source=\"loop.ogg\"/>");
    auto* item = dynamic_cast<RAdaptSound*>(adapt->GetItems().front().get());
    Sounds(100);
    EXPECT_NE(item->GetTask(), nullptr);
    Sounds(2000);
    EXPECT_EQ(item->GetTask(), nullptr);
}

}  // namespace
