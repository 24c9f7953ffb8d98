// The achievement tests' fixture: a game whose first player is loaded, a
// dialog on the display as the top modal window, the achievements of a
// small "achievements.xml", a notification script, and idle passes of the
// window manager on the fake clock.
#pragma once

#include <string>

#include "core/app/platformevent.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/rewardnotify.h"
#include "game/progression/rewardswindow.h"
#include "game/shell/gameassetmanager.h"
#include "graphics/render/renderer.h"
#include "tests/shell/shelltesting.h"

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

class AchievementFixture : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        if (IsSkipped()) return;
        mPlatform->SetDisplay(800, 600, false);
        dialog = new TModalWindow();
        dialog->SetSize(800, 600);
        windows()->PushModal(dialog);
        windows()->RegisterWindowType("VRewardNotify", VRewardNotify::ClassId());
        windows()->RegisterWindowType("VRewardsWindow", VRewardsWindow::ClassId());
        AddFile("achievements.xml", kAchievementsXml);
        AddFile("scripts/rewardnotify.lua", kNotifyScript);
        AddFile("strings/en/strings.xml", "<Workbook><Worksheet><Table>" + Row("t_first", "First sale") +
                                              Row("d_first", "Serve a customer.") + "</Table></Worksheet></Workbook>");
        CreateGameWithUser();
        VGame::Get()->LoadUserProgress();
    }
    void TearDown() override {
        ReleaseManagerSingleton<VAchievementManager>();
        ReleaseManagerSingleton<VAssetManager>();
        ShellTest::TearDown();
    }

    static TWindowManager* windows() { return TWindowManager::GetInstance(); }
    static std::shared_ptr<VAchievementManager> Achievements() { return VAchievementManager::Get(); }

    std::shared_ptr<VAchievement> Find(const char* category, const char* name) {
        return Achievements()->GetAchievement(category, name);
    }

    static std::string Row(const std::string& label, const std::string& text) {
        return "<Row><Cell><Data>" + label + "</Data></Cell><Cell><Data>" + text + "</Data></Cell></Row>";
    }

    // Idle passes of 16 ms for the time given, each with a frame of the
    // dialog (effects take hold as they draw).
    void RunFor(uint32_t milliseconds) {
        for (uint32_t passed = 0; passed < milliseconds; passed += 16) {
            mTimer.Advance(16);
            TPlatformEvent idle;
            idle.type = TPlatformEvent::kIdle;
            windows()->HandleEvent(idle);
            ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
            TWindow::DrawWindowTree(dialog, TWindow::kDrawAll);
            TRenderer::GetInstance()->EndDraw(false);
        }
        windows()->FlushDeletes();
    }

    // The notification's board slides in from x 300; items are 300 wide.
    static constexpr const char* kNotifyScript =
        "MakeDialog { VRewardNotify { name = 'reward_notify', x = 490, y = 10, w = 300, h = 80, transition = 300,"
        " duration = 5000, spacing = 0, background = { x = 300, y = 0, w = 300, h = 80 },"
        " item = { x = 0, y = 10, w = 300, h = 55, text = { header = { w = 200, h = 20 },"
        " description = { y = 20, w = 200, h = 30 } } } } }";

    TModalWindow* dialog = nullptr;
};
