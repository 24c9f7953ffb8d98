#include "game/progression/rewardswindow.h"

#include <gtest/gtest.h>

#include <string>

#include "game/objects/tiledobject.h"
#include "game/progression/reward.h"
#include "game/sprites/spritemove.h"
#include "game/sprites/textsprite.h"
#include "tests/progression/achievementtesting.h"

namespace {

class RewardsWindowTest : public AchievementFixture {
protected:
    VRewardsWindow* Open(const std::string& rewards) {
        AddFile("rewards_screen.lua",
                "MakeDialog { VRewardsWindow { name = 'rewards', x = 0, y = 100, w = 800, h = 380, rewards = " +
                    rewards + ", box_top = { x = 170, y = 30 } } }");
        windows()->RunWindowScript(dialog, "rewards_screen.lua");
        return static_cast<VRewardsWindow*>(dialog->FindChildWindow("rewards", -1));
    }
    VRewardsWindow* OpenOne() {
        return Open("{ Reward_First = { name = 'First_Sale', category = 'adventure', x = 100, y = 50, boxX = 40,"
                    " boxY = 120, box = { w = 200, h = 90 }, headerStyle = { w = 10 }, contentStyle = {} } }");
    }
    static std::shared_ptr<VReward> Only(VRewardsWindow* window) {
        return window->GetRewards().empty() ? nullptr : window->GetRewards().begin()->second;
    }
    static std::string TextsOf(const VTiledObject& box) {
        std::string texts;
        for (const auto& child : box.GetChildList()) {
            if (auto text = std::dynamic_pointer_cast<VTextSprite>(child)) texts += std::string(text->GetText().c_str()) + "|";
        }
        return texts;
    }
};

TEST_F(RewardsWindowTest, RewardsComeFromTablesUnderKeysBeginningWithRewardInAnyCase) {
    VRewardsWindow* window = Open(
        "{ Reward_First = { name = 'first_sale', category = 'adventure' }, REWARD_long = { name = 'long',"
        " category = 'endless' }, reward_text = 'no table', medal_x = { name = 'x' }, rewards = { name = 'y' } }");
    ASSERT_NE(window, nullptr);
    std::string keys;
    for (const auto& [key, reward] : window->GetRewards()) keys += std::string(key.c_str()) + " ";
    EXPECT_EQ(keys, "reward_first reward_long ");
    ASSERT_NE(window->GetTopBox(), nullptr);
    EXPECT_NE(window->FindSprite("first_sale"), nullptr);
}

TEST_F(RewardsWindowTest, AnUnearnedRewardIsGreyUntilEarnedAndReset) {
    VRewardsWindow* window = OpenOne();
    std::shared_ptr<VReward> reward = Only(window);
    ASSERT_NE(reward, nullptr);
    EXPECT_TRUE(reward->IsVisible());
    EXPECT_FLOAT_EQ(reward->GetAlpha(), 0.2f);
    EXPECT_EQ(reward->GetDrawState().color, TColor4f(0.2f, 0.2f, 0.2f, 1.0f));
    Achievements()->Award("first_sale", "adventure");
    reward->Reset();
    EXPECT_FLOAT_EQ(reward->GetAlpha(), 1.0f);
    EXPECT_EQ(reward->GetDrawState().color, TColor4f(1.0f, 1.0f, 1.0f, 1.0f));
}

TEST_F(RewardsWindowTest, TheHoverCardHoldsTheTitleAndDescriptionAndFades) {
    VRewardsWindow* window = OpenOne();
    std::shared_ptr<VReward> reward = Only(window);
    std::shared_ptr<VTiledObject> box = reward->GetBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextsOf(*box), "First sale|Serve a customer.|");
    EXPECT_FALSE(box->IsVisible());
    EXPECT_EQ(box->GetPosition(), TVec2(40, 120));

    reward->OnMouseEnter();
    EXPECT_TRUE(box->IsVisible());
    RunFor(160);
    float reached = box->GetAlpha();
    EXPECT_GT(reached, 0.3f);
    EXPECT_LT(reached, 0.9f);
    // Leaving half way fades out from there, at 1.0 per 100 ms.
    reward->OnMouseLeave();
    EXPECT_FLOAT_EQ(box->GetAlpha(), reached);
    RunFor(32);
    EXPECT_TRUE(box->IsVisible());
    EXPECT_LT(box->GetAlpha(), reached);
    EXPECT_GT(box->GetAlpha(), 0);
    RunFor(200);
    EXPECT_FALSE(box->IsVisible());
}

TEST_F(RewardsWindowTest, ARewardWithoutItsAchievementHasAnEmptyCard) {
    VRewardsWindow* window = Open("{ reward_gone = { name = 'gone', category = 'adventure' } }");
    std::shared_ptr<VReward> reward = Only(window);
    ASSERT_NE(reward, nullptr);
    ASSERT_NE(reward->GetBox(), nullptr);
    EXPECT_EQ(TextsOf(*reward->GetBox()), "");
}

TEST_F(RewardsWindowTest, WhenReadyTheTopBoxFliesOffAfterASecond) {
    VRewardsWindow* window = OpenOne();
    EXPECT_EQ(Run("RewardWindowReady()"), "");
    std::shared_ptr<VObject> top = window->GetTopBox();
    RunFor(992);
    EXPECT_EQ(top->GetPosition(), TVec2(170, 30));
    RunFor(600);
    EXPECT_EQ(top->GetPosition(), TVec2(600, -600));
}

}  // namespace
