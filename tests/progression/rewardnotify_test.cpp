#include "game/progression/rewardnotify.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/objects/tiledobject.h"
#include "game/progression/achievementmanager.h"
#include "tests/progression/achievementtesting.h"

namespace {

class RewardNotifyTest : public AchievementFixture {
protected:
    // Seven achievements of the fixture's kind, named a0 to a6.
    VAchievementManager::AchievementList Seven() {
        VAchievementManager::AchievementList list;
        for (int i = 0; i < 7; ++i) list.push_back(VAchievement::Create((std::string("a") += std::to_string(i)).c_str(), "", i));
        return list;
    }
    VRewardNotify* Show(int hold, size_t count = 1) {
        VAchievementManager::AchievementList list = Seven();
        list.resize(count);
        Achievements()->ShowNotification(list, hold);
        return Achievements()->GetOpenNotifications().empty() ? nullptr
                                                               : Achievements()->GetOpenNotifications().back();
    }
    static float BoardX(VRewardNotify* notification) { return notification->GetBackground()->GetPosition().x; }
};

TEST_F(RewardNotifyTest, SixItemsAtMostEachAtLeastFiftyFivePixelsHigh) {
    VRewardNotify* notification = Show(3000, 7);
    ASSERT_NE(notification, nullptr);
    const auto& items = notification->GetBackground()->GetChildList();
    ASSERT_EQ(items.size(), 6u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]->GetPosition().y, 10.0f + 55.0f * static_cast<float>(i));
    }
    EXPECT_EQ(notification->GetHeight(), 6 * 55);
    EXPECT_EQ(notification->GetWidth(), 300);
    EXPECT_EQ(notification->GetDuration(), 3000);
}

// Each step moves by the time since the phase began: the slides speed up
// and take about 100 ms over the 300-pixel board.
TEST_F(RewardNotifyTest, SlidesInHoldsForItsDurationSlidesOutAndGoes) {
    VRewardNotify* notification = Show(1000);
    ASSERT_NE(notification, nullptr);
    EXPECT_EQ(BoardX(notification), 300);
    RunFor(48);
    EXPECT_EQ(BoardX(notification), 300 - 16 - 32 - 48);
    RunFor(400);
    EXPECT_EQ(BoardX(notification), 0);
    EXPECT_EQ(notification->GetPhase(), VRewardNotify::kHold);
    RunFor(500);
    EXPECT_EQ(notification->GetPhase(), VRewardNotify::kHold);
    RunFor(200);
    EXPECT_EQ(notification->GetPhase(), VRewardNotify::kSlideOut);
    EXPECT_GT(BoardX(notification), 0);
    EXPECT_LT(BoardX(notification), 300);
    RunFor(800);
    EXPECT_TRUE(Achievements()->GetOpenNotifications().empty());
    EXPECT_EQ(dialog->FindChildWindow("reward_notify", -1), nullptr);
}

TEST_F(RewardNotifyTest, AHoldFlagKeepsItUntilHideNotification) {
    VRewardNotify* notification = Show(0);
    ASSERT_NE(notification, nullptr);
    RunFor(60000);
    EXPECT_EQ(notification->GetPhase(), VRewardNotify::kHold);
    EXPECT_EQ(BoardX(notification), 0);
    Achievements()->HideNotification();
    RunFor(1000);
    EXPECT_TRUE(Achievements()->GetOpenNotifications().empty());
}

TEST_F(RewardNotifyTest, ASecondNotificationStacksBelowTheFirst) {
    VRewardNotify* first = Show(5000, 2);
    VRewardNotify* second = Show(5000, 1);
    ASSERT_NE(first, second);
    EXPECT_EQ(first->GetRect().top, 10);
    EXPECT_EQ(second->GetRect().top, 10 + 2 * 55);
    EXPECT_EQ(Achievements()->GetOpenNotifications().size(), 2u);
    // Once the first has gone, a new one takes the top place again.
    RunFor(7000);
    EXPECT_TRUE(Achievements()->GetOpenNotifications().empty());
    EXPECT_EQ(Show(5000)->GetRect().top, 10);
}

TEST_F(RewardNotifyTest, NoTransitionTimeMovesAtOnce) {
    AddFile("scripts/rewardnotify.lua",
            "MakeDialog { VRewardNotify { name = 'reward_notify', x = 490, y = 10, w = 300, h = 80,"
            " transition = 0, duration = 100, background = { x = 300, y = 0, w = 300, h = 80 } } }");
    VRewardNotify* notification = Show(100);
    ASSERT_NE(notification, nullptr);
    RunFor(16);
    EXPECT_EQ(BoardX(notification), 0);
    RunFor(200);
    EXPECT_TRUE(Achievements()->GetOpenNotifications().empty());
}

TEST_F(RewardNotifyTest, AScriptWithoutTheNotificationShowsNothing) {
    AddFile("scripts/rewardnotify.lua", "MakeDialog { VRewardsWindow { name = 'reward_notify' } }");
    EXPECT_EQ(Show(100), nullptr);
    EXPECT_EQ(dialog->FindChildWindow("reward_notify", -1), nullptr);
    EXPECT_TRUE(mLog.Contains("reward_notify"));
}

}  // namespace
