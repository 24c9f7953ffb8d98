// The achievement tests' fixture: the achievements of a small
// "achievements.xml" and a notification script for the loaded player.
#pragma once

#include <string>

#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/rewardnotify.h"
#include "game/progression/rewardswindow.h"
#include "tests/progression/progressiontesting.h"

// Two categories and one achievement outside any; "long" comes twice.
inline const char kAchievementsXml[] =
    "<achievements>"
    "<achievementcategory name=\"adventure\">"
    "<achievement name=\"First_Sale\"><title>t_first</title><description>d_first</description>"
    "<value>num_served</value><compare>&gt;=</compare><threshold>1</threshold><medal>medal_a</medal></achievement>"
    "<achievement name=\"regulars\"><value>num_served</value><compare>greaterthan+equal</compare>"
    "<threshold>100</threshold></achievement>"
    "</achievementcategory>"
    "<achievementcategory name=\"endless\">"
    "<achievement name=\"long\"><value>endless_time</value><compare>&gt;=</compare><threshold>600</threshold>"
    "</achievement>"
    "<achievement name=\"long\"><title>t_long</title><value>endless_time</value><compare>&gt;=</compare>"
    "<threshold>900</threshold><medal>m\"x</medal><colour>ignored</colour></achievement>"
    "</achievementcategory>"
    "<achievement name=\"loose\"><value>loose_value</value><compare>&gt;</compare><threshold>0</threshold>"
    "</achievement>"
    "<unknown/>"
    "</achievements>";

class AchievementFixture : public ProgressionTest {
protected:
    void SetUp() override {
        ProgressionTest::SetUp();
        if (IsSkipped()) return;
        windows()->RegisterWindowType("VRewardNotify", VRewardNotify::ClassId());
        windows()->RegisterWindowType("VRewardsWindow", VRewardsWindow::ClassId());
        AddFile("achievements.xml", kAchievementsXml);
        AddFile("scripts/rewardnotify.lua", kNotifyScript);
        AddFile("strings/en/strings.xml", "<Workbook><Worksheet><Table>" + Row("t_first", "First sale") +
                                              Row("d_first", "Serve a customer.") + "</Table></Worksheet></Workbook>");
        StartPlayer();
    }
    void TearDown() override {
        ReleaseManagerSingleton<VAchievementManager>();
        ProgressionTest::TearDown();
    }

    static std::shared_ptr<VAchievementManager> Achievements() { return VAchievementManager::Get(); }

    std::shared_ptr<VAchievement> Find(const char* category, const char* name) {
        return Achievements()->GetAchievement(category, name);
    }

    // The notification's board slides in from x 300; items are 300 wide.
    static constexpr const char* kNotifyScript =
        "MakeDialog { VRewardNotify { name = 'reward_notify', x = 490, y = 10, w = 300, h = 80, transition = 300,"
        " duration = 5000, spacing = 0, background = { x = 300, y = 0, w = 300, h = 80 },"
        " item = { x = 0, y = 10, w = 300, h = 55, text = { header = { w = 200, h = 20 },"
        " description = { y = 20, w = 200, h = 30 } } } } }";
};
