#include "game/progression/achievement.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/gamestate.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/compare.h"
#include "game/shell/block.h"
#include "game/shell/game.h"
#include "game/shell/valuemanager.h"
#include "tests/progression/achievementtesting.h"

namespace {

using AchievementTest = AchievementFixture;

void SetValue(const char* name, float value) {
    VValueManager::Get()->SetValue(name, value, false);
}

std::string EarnedStatistic() {
    return TGameState::Get()->GetState("SweetRewardsEarnedID").c_str();
}

TEST_F(AchievementTest, IndicesFollowTheFileAcrossCategoriesAndADuplicateReplacesWithAnIndexOfItsOwn) {
    const struct {
        const char* category;
        const char* name;
        int index;
        float threshold;
        int flags;
    } expected[] = {
        {"adventure", "first_sale", 0, 1, kCompareGreater | kCompareEqual},
        {"adventure", "REGULARS", 1, 100, kCompareGreater | kCompareEqual},
        {"endless", "long", 3, 900, kCompareGreater | kCompareEqual},
        {"", "loose", 4, 0, kCompareGreater},
    };
    for (const auto& entry : expected) {
        SCOPED_TRACE(entry.name);
        std::shared_ptr<VAchievement> achievement = Find(entry.category, entry.name);
        ASSERT_NE(achievement, nullptr);
        EXPECT_EQ(achievement->GetIndex(), entry.index);
        EXPECT_EQ(achievement->GetThreshold(), entry.threshold);
        EXPECT_EQ(achievement->GetCompareFlags(), entry.flags);
    }
    std::shared_ptr<VAchievement> first = Find("adventure", "first_sale");
    EXPECT_EQ(first->GetName(), "first_sale");
    EXPECT_EQ(first->GetTitle(), "t_first");
    EXPECT_EQ(first->GetDescription(), "d_first");
    EXPECT_EQ(first->GetMedal(), "medal_a");
    EXPECT_EQ(Find("endless", "long")->GetMedal(), "m\"x");
    EXPECT_EQ(Find("adventure", "long"), nullptr);
    VAchievementManager::AchievementList all;
    Achievements()->ListAll(all);
    EXPECT_EQ(all.size(), 4u);
}

TEST_F(AchievementTest, NewAchievementsAreRecordedInTheStatisticsOnceEach) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"-1", "first_sale,long"},
        {"", "first_sale,long"},
        {"old", "old,first_sale,long"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.before);
        Achievements()->RevokeAll();
        TGameState::Get()->SetState("SweetRewardsEarnedID", entry.before);
        SetValue("num_served", 3);
        SetValue("endless_time", 900);
        Achievements()->AwardNewAchievements("", false, 0);
        EXPECT_EQ(EarnedStatistic(), entry.after);
        EXPECT_EQ(Achievements()->GetNewlyEarned().size(), 2u);
        // Still met, yet earned: nothing new.
        Achievements()->ShowNewAchievements(3000);
        Achievements()->AwardNewAchievements("", false, 0);
        EXPECT_EQ(EarnedStatistic(), entry.after);
        EXPECT_TRUE(Achievements()->GetNewlyEarned().empty());
    }
}

TEST_F(AchievementTest, AFilterChecksOnlyItsCategory) {
    SetValue("num_served", 3);
    SetValue("endless_time", 900);
    TGameState::Get()->SetState("SweetRewardsEarnedID", "-1");
    Achievements()->AwardNewAchievements("nothing", false, 0);
    EXPECT_EQ(EarnedStatistic(), "-1");
    EXPECT_FALSE(Achievements()->IsEarned("first_sale", "adventure"));

    Achievements()->AwardNewAchievements("endless", false, 0);
    EXPECT_EQ(EarnedStatistic(), "long");
    EXPECT_TRUE(Achievements()->IsEarned("LONG", "endless"));
    EXPECT_FALSE(Achievements()->IsEarned("first_sale", "adventure"));
}

TEST_F(AchievementTest, EarnedFlagsAreThePlayersBytesAndSurviveANewManager) {
    Achievements()->Award("first_sale", "adventure");
    Achievements()->Award("long", "endless");
    std::shared_ptr<VBinaryBlock> block = GetPlayerBinaryBlock("achievements");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->ReadByte(0), 1);
    EXPECT_EQ(block->ReadByte(3), 1);
    EXPECT_EQ(block->ReadByte(1), 0);

    ReleaseManagerSingleton<VAchievementManager>();
    VGame::Get()->LoadUserProgress();
    EXPECT_TRUE(Achievements()->IsEarned("first_sale", "adventure"));
    EXPECT_TRUE(Achievements()->IsEarned("long", "endless"));
    EXPECT_FALSE(Achievements()->IsEarned("regulars", "adventure"));
    VAchievementManager::AchievementList earned;
    Achievements()->ListEarned(earned);
    EXPECT_EQ(earned.size(), 2u);
}

TEST_F(AchievementTest, RevokingClearsTheFlagAndTheWatchedValue) {
    VValueManager::Get()->Load("values.xml");
    SetValue("num_served", 7);
    Achievements()->Award("first_sale", "adventure");
    Achievements()->Revoke("first_sale", "adventure");
    EXPECT_FALSE(Achievements()->IsEarned("first_sale", "adventure"));
    EXPECT_EQ(VValueManager::Get()->GetReal("num_served", -1), 0);
    EXPECT_EQ(GetPlayerBinaryBlock("achievements")->ReadByte(0), 0);
    // Unknown ones change nothing.
    Achievements()->Award("nothing", "adventure");
    Achievements()->Revoke("first_sale", "nothing");
    EXPECT_FALSE(Achievements()->Check(5, "nothing", "adventure", true));
}

TEST_F(AchievementTest, MedalsOfEarnedAchievementsOnlyWithTheirNamesEscaped) {
    TString medals("stale");
    Achievements()->GetMedalsXml(medals);
    EXPECT_EQ(medals, "");
    Achievements()->Award("regulars", "adventure");
    Achievements()->GetMedalsXml(medals);
    EXPECT_EQ(medals, "");
    Achievements()->AwardAll();
    Achievements()->GetMedalsXml(medals);
    EXPECT_EQ(std::string(medals.c_str()),
              "<medal name=\"medal_a\" per=\"type\"/>\r\n<medal name=\"m&quot;x\" per=\"type\"/>\r\n");
}

// Achievements numbered past the player's block have no byte: they read not
// earned and write nothing, also when a shorter block was stored.
TEST_F(AchievementTest, AnIndexPastTheBlockIsNeverEarnedNorWritten) {
    std::string many = "<achievements>";
    for (int i = 0; i <= 100; ++i) {
        many += "<achievement name=\"a" + std::to_string(i) + "\"><compare>=</compare></achievement>";
    }
    many += "</achievements>";
    AddFile("many.xml", many);
    Achievements()->Load("many.xml");
    Achievements()->AwardAll();
    std::shared_ptr<VBinaryBlock> block = GetPlayerBinaryBlock("achievements");
    EXPECT_EQ(block->GetSize(), 100);
    EXPECT_EQ(block->ReadByte(99), 1);
    Achievements()->LoadProgress();
    EXPECT_TRUE(Achievements()->IsEarned("a99", ""));
    EXPECT_FALSE(Achievements()->IsEarned("a100", ""));

    std::string stored(10, '\1');
    Prefs().SetData(0, "achievements", stored.data(), 10, true);
    block->Load();
    Achievements()->LoadProgress();
    EXPECT_TRUE(Achievements()->IsEarned("a9", ""));
    EXPECT_FALSE(Achievements()->IsEarned("a50", ""));
    Achievements()->Award("a50", "");
    EXPECT_EQ(block->GetSize(), 10);
}

TEST_F(AchievementTest, AMissingOrBrokenFileLeavesNoAchievements) {
    AddFile("broken.xml", "<achievements><achievement name=\"x\">");
    for (const char* file : {"absent.xml", "broken.xml"}) {
        SCOPED_TRACE(file);
        Achievements()->Load(file);
        VAchievementManager::AchievementList all;
        Achievements()->ListAll(all);
        EXPECT_LE(all.size(), 1u);
        SetValue("num_served", 3);
        Achievements()->AwardNewAchievements("", true, 0);
        EXPECT_TRUE(Achievements()->GetNewlyEarned().empty());
    }
    EXPECT_TRUE(mLog.Contains("absent.xml"));
}

TEST_F(AchievementTest, ScriptsCheckShowAndHide) {
    SetValue("num_served", 3);
    EXPECT_EQ(Run("CheckAllAchievements('adventure', false, 0)"), "");
    EXPECT_TRUE(Achievements()->IsEarned("first_sale", "adventure"));
    EXPECT_EQ(Achievements()->GetNewlyEarned().size(), 1u);
    EXPECT_EQ(Run("ShowNewAchievements(0)"), "");
    EXPECT_TRUE(Achievements()->GetNewlyEarned().empty());
    ASSERT_EQ(Achievements()->GetOpenNotifications().size(), 1u);
    VRewardNotify* notification = Achievements()->GetOpenNotifications().front();
    EXPECT_EQ(notification->GetParent(), dialog);
    RunFor(20000);
    EXPECT_EQ(notification->GetPhase(), VRewardNotify::kHold);
    EXPECT_EQ(Run("HideNotification()"), "");
    RunFor(2000);
    EXPECT_TRUE(Achievements()->GetOpenNotifications().empty());
    EXPECT_EQ(dialog->FindChildWindow("reward_notify", -1), nullptr);
}

}  // namespace
