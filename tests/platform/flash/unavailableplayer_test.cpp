#include <gtest/gtest.h>

#include <string>

#include "platform/flash/unavailableplayer.h"

namespace {

// Callers rely on this to take their path for a missing player: nothing starts,
// and no operation pretends to work afterwards.
TEST(UnavailablePlayer, StartsNoControlAndRefusesEveryOperation) {
    flash::UnavailablePlayer player;
    EXPECT_FALSE(player.Start("ShockwaveFlash.ShockwaveFlash.4", true));
    EXPECT_EQ(player.MajorVersion(), 0);
    EXPECT_FALSE(player.SetMovie("/tmp/intro.swf"));
    EXPECT_FALSE(player.SetLoop(true));
    EXPECT_FALSE(player.Stop());
    EXPECT_FALSE(player.Play());
    std::string value = "kept";
    EXPECT_FALSE(player.GetVariable("textvarnames", value));
    EXPECT_EQ(value, "kept");
    EXPECT_FALSE(player.SetVariable("title", "Hello"));
    bool playing = true;
    EXPECT_FALSE(player.IsPlaying(playing));
    player.Close();
}

}  // namespace
