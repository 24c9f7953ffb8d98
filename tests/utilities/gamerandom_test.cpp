// The game's own generator, seeded once from the platform's generator, and
// the platform's generator as the shop floor draws from it.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/platform.h"
#include "foundation/random.h"
#include "game/utilities/gamerandom.h"
#include "platform/os/timer.h"
#include "tests/runtime/platformfolder.h"
#include "tests/support/luatesting.h"

namespace {

// A living platform on a fake timer, with the log read back.
class GameRandomTest : public testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&timer);
        platform = std::make_unique<TPlatform>(folder.MakeData());
    }
    void TearDown() override {
        platform.reset();
        os::SetCurrentTimer(nullptr);
    }

    os::FakeTimer timer{5000};
    TestPlatformFolder folder;
    TestLog log;
    std::unique_ptr<TPlatform> platform;
};

// The generator is made once per process: this is the only test that asks
// for it.
TEST_F(GameRandomTest, TheGeneratorIsSeededFromThePlatformsNextValueOnce) {
    TRandom platformCopy = platform->GetData().GetRandom();
    TRandom expected;
    expected.Seed(platformCopy.Next());
    TRandom& game = GetGameRandom();
    EXPECT_EQ(&GetGameRandom(), &game);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(game.Next(), expected.Next());
    // The platform's generator moved on by the one value.
    EXPECT_EQ(platform->Rand(), platformCopy.Next());
}

TEST_F(GameRandomTest, PlatformDrawsComeFromTheLivingPlatformElseZeroWithALogLine) {
    TRandom platformCopy = platform->GetData().GetRandom();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(PlatformRandom(), platformCopy.Next());
    EXPECT_FALSE(log.Contains("PlatformRandom"));

    platform.reset();
    EXPECT_EQ(PlatformRandom(), 0u);
    EXPECT_TRUE(log.Contains("PlatformRandom: no platform"));
}

}  // namespace
