// Quests loaded from their script: slots, the levels that activate them,
// what the window shows during a level, the end-of-level test with its
// rewards and result lines, and the states kept in the player's block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/progression/questtesting.h"

namespace {

class QuestTest : public QuestTestBase {
protected:
    void Begin() {
        StartQuestPlayer();
        Quests().LoadQuests(kQuestFile);
    }

    std::vector<uint8_t> StoredStates() { return Stored("quest_block"); }
};

TEST_F(QuestTest, DescriptionsLoadWithSlotsInTheByteOrderOfTheirKeys) {
    Begin();
    EXPECT_EQ(Quest("tidy").GetSlot(), 0);
    EXPECT_EQ(Quest("Served").GetSlot(), 1);
    EXPECT_EQ(Quest("worth").GetSlot(), 2);
    for (const char* skipped : {"note", "7"}) EXPECT_EQ(Quests().FindQuest(skipped), nullptr) << skipped;

    EXPECT_STREQ(Quest("served").GetRewardType().c_str(), "money");
    const VQuest& tidy = Quest("tidy");
    EXPECT_STREQ(tidy.GetRewardType().c_str(), "activate");
    EXPECT_STREQ(tidy.GetReward().c_str(), "kmixer2");
    EXPECT_STREQ(tidy.GetRewardCategory().c_str(), "station");
    EXPECT_STREQ(tidy.GetDisplayName().c_str(), "Keep it tidy");
}

TEST_F(QuestTest, TheLevelRangeChoosesTheActiveQuests) {
    Begin();
    const struct {
        int level;
        std::vector<std::string> active;
    } cases[] = {
        {0, {}}, {1, {"quest_tidy", "quest_served", "quest_worth"}}, {2, {"quest_tidy", "quest_served", "quest_worth"}},
        {3, {"quest_served", "quest_worth"}}, {4, {"quest_worth"}}, {5, {}},
    };
    for (const auto& c : cases) {
        Quests().SetLevel(c.level);
        EXPECT_EQ(ActiveNames(), c.active) << "level " << c.level;
    }

    // Without "maxlevel" the range ends at 0.
    AddFile("open.lua", "quests = { open = { threshold = 1 } }");
    Quests().LoadQuests("open.lua");
    Quests().SetLevel(0);
    EXPECT_EQ(ActiveNames(), std::vector<std::string>{"open"});
    Quests().SetLevel(1);
    EXPECT_TRUE(ActiveNames().empty());
}

TEST_F(QuestTest, ALessThanQuestShowsPendingButEndsCompleteWithItsUpgrade) {
    Begin();
    PlayLevel(1);
    Values().SetValue("disposed_this_level", 1, false);
    VQuest& tidy = Quest("tidy");
    EXPECT_EQ(tidy.Evaluate(), VQuest::kPending);
    EXPECT_STREQ(tidy.GetProgressText().c_str(), "Going");

    Values().SetValue("disposed_this_level", 5, false);
    EXPECT_EQ(tidy.Evaluate(), VQuest::kFailed);
    EXPECT_STREQ(tidy.GetProgressText().c_str(), "Missed");
    Values().SetValue("disposed_this_level", 1, false);

    Quests().FinishLevel();
    EXPECT_TRUE(tidy.IsComplete());
    EXPECT_STREQ(tidy.GetResultText().c_str(), "Keep it tidy done: Second mixer, mixes faster");
    EXPECT_TRUE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
    EXPECT_EQ(Stored("upgrades_grytviken").at(1), 1);
    EXPECT_EQ(StoredStates().at(0), VQuest::kComplete);
}

TEST_F(QuestTest, AWorthGoalCountsUpFailsAndIsActiveAgainInTheNextLevel) {
    Begin();
    PlayLevel(1);
    Values().SetValue("current_worth", 450, false);
    Values().SetValue("served_this_level", 4, false);
    EXPECT_STREQ(Quest("worth").GetProgressText().c_str(), "450/500 units");
    EXPECT_STREQ(Quest("served").GetProgressText().c_str(), "$10 customers");

    EXPECT_STREQ(Quests().FinishLevel().c_str(),
                 "Keep it tidy done: Second mixer, mixes faster\nServe the crowd missed\nSave up missed");
    EXPECT_STREQ(Quests().GetStatusText().c_str(), Quests().FinishLevel().c_str());
    EXPECT_EQ(Quest("worth").GetState(), VQuest::kFailed);
    EXPECT_EQ(StoredStates().at(2), VQuest::kFailed);

    PlayLevel(2);
    EXPECT_EQ(ActiveNames(), (std::vector<std::string>{"quest_served", "quest_worth"}));
    EXPECT_STREQ(Quests().GetStatusText().c_str(), "");
    Values().SetValue("current_worth", 600, false);
    EXPECT_EQ(Quest("worth").Evaluate(), VQuest::kComplete);
    EXPECT_STREQ(Quest("worth").GetProgressText().c_str(), "Done");
}

TEST_F(QuestTest, ACompletedQuestStaysCompleteForTheNextManager) {
    Begin();
    PlayLevel(2);
    Values().SetValue("current_worth", 600, false);
    Quests().FinishLevel();
    ASSERT_TRUE(Quest("worth").IsComplete());

    ReleaseManagerSingleton<VQuestManager>();
    Quests().LoadQuests(kQuestFile);
    EXPECT_TRUE(Quest("worth").IsComplete());
    PlayLevel(3);
    EXPECT_EQ(ActiveNames(), std::vector<std::string>{"quest_served"});
    EXPECT_EQ(StoredStates().size(), static_cast<size_t>(VQuestManager::kQuestBlockSize));
}

TEST_F(QuestTest, ANewPlayerStartsWithNoQuestDone) {
    Begin();
    PlayLevel(2);
    Values().SetValue("current_worth", 600, false);
    Quests().FinishLevel();
    ASSERT_TRUE(Quest("worth").IsComplete());

    VGame::Get()->CreateNewUser("Bea");
    EXPECT_EQ(Quest("worth").GetState(), VQuest::kPending);
    VGame::Get()->SetCurrentUser(0);
    EXPECT_TRUE(Quest("worth").IsComplete());
}

TEST_F(QuestTest, MoneyIsAddedAndSavedBeforeTheNextQuestIsChecked) {
    Begin();
    PlayLevel(3);
    Values().SetValue("current_worth", 200, false);
    Values().SetValue("served_this_level", 10, false);
    EXPECT_STREQ(Quests().FinishLevel().c_str(), "Serve the crowd done:$250\nSave up missed");
    EXPECT_EQ(Values().GetReal("current_worth", 0), 450.0f);
    EXPECT_EQ(Prefs().GetInt(0, "current_worth", -1), 450);
    EXPECT_EQ(StoredStates().at(1), VQuest::kComplete);
    EXPECT_EQ(StoredStates().at(2), VQuest::kFailed);
}

TEST_F(QuestTest, ARevealedUpgradeIsRevealedAgainAfterTheNextSetUp) {
    Begin();
    PlayLevel(2);
    Values().SetValue("current_worth", 600, false);
    Quests().FinishLevel();
    EXPECT_FALSE(Upgrades().GetUpgrade("kBackground1", "aesthetic")->IsHidden());

    // The next set-up reads the catalogue afresh, hidden.
    PlayLevel(3);
    EXPECT_TRUE(Upgrades().GetUpgrade("kBackground1", "aesthetic")->IsHidden());
    Quests().ApplyReveals();
    EXPECT_FALSE(Upgrades().GetUpgrade("kBackground1", "aesthetic")->IsHidden());
}

TEST_F(QuestTest, AShortStoredBlockKeepsItsLengthAndLaterSlotsLiveInMemory) {
    AddFile("many.lua", R"(
        quests = {}
        for i = 0, 50 do quests[string.format("q%02d", i)] = { minlevel = 1, maxlevel = 1, compare = "not" } end)");
    const std::vector<uint8_t> shortBlock = {0, 0, 0, 7, 0, 1, 0, 0, 0, 0};
    StartQuestPlayer(&shortBlock);
    Quests().LoadQuests("many.lua");
    EXPECT_EQ(Quest("q03").GetState(), VQuest::kPending);
    EXPECT_TRUE(Quest("q05").IsComplete());
    Quests().SetLevel(1);
    EXPECT_EQ(Quests().GetActiveQuests().size(), 50u);

    Quests().FinishLevel();
    EXPECT_EQ(StoredStates(), std::vector<uint8_t>(10, VQuest::kComplete));
    EXPECT_TRUE(Quest("q50").IsComplete());
    Quests().LoadQuestStates();
    EXPECT_TRUE(Quest("q50").IsComplete());
}

TEST_F(QuestTest, AScriptThatGivesNoQuestsLeavesNoneWithOneLogLine) {
    const struct {
        const char* file;
        const char* source;  // null: no such file
        const char* message;
    } cases[] = {
        {"quests/missing.lua", nullptr, "quests/missing.lua: cannot read"},
        {"quests/syntax.lua", "quests = {", "quests/syntax.lua: quests/syntax.lua:1:"},
        {"quests/run.lua", "quests = {} error('boom')", "quests/run.lua:1: boom"},
        {"quests/number.lua", "quests = 5", "quests/number.lua: no table"},
    };
    Begin();
    for (const auto& c : cases) {
        Quests().LoadQuests(kQuestFile);
        if (c.source) AddFile(c.file, c.source);
        Quests().LoadQuests(c.file);
        EXPECT_EQ(Quests().FindQuest("worth"), nullptr) << c.file;
        Quests().SetLevel(1);
        EXPECT_TRUE(ActiveNames().empty()) << c.file;
        EXPECT_EQ(mLog.Count("Quests: " + std::string(c.file)), 1u) << c.file;
        EXPECT_TRUE(mLog.Contains(c.message)) << c.file;
    }
}

TEST_F(QuestTest, OddEntriesReadAsNeverMetOrGiveNothing) {
    AddFile("odd.lua", R"(quests = {
        odd = { minlevel = 1, maxlevel = 1, threshold = "lots", compare = "about", compvalue = "odd_value" },
        ghost = { minlevel = 1, maxlevel = 1, compare = "not", rewardcategory = "station", reward = "kNothing" },
        free = { minlevel = 1, maxlevel = 1, compare = "not", rewardtype = "money", reward = "lots" },
        gift = { minlevel = 1, maxlevel = 1, compare = "not", rewardtype = "Other", reward = "kMixer2",
                 rewardcategory = "station" },
    })");
    StartQuestPlayer();
    Quests().LoadQuests("odd.lua");
    PlayLevel(1);
    Values().SetValue("odd_value", -1, false);
    EXPECT_STREQ(Quest("odd").GetProgressText().c_str(), "-1/0 ");

    Values().SetValue("odd_value", 0, false);
    Quests().FinishLevel();
    EXPECT_EQ(Quest("odd").GetState(), VQuest::kFailed);
    EXPECT_TRUE(Quest("ghost").IsComplete());
    EXPECT_STREQ(Quest("ghost").GetResultText().c_str(), "");
    EXPECT_EQ(Values().GetReal("current_worth", 0), 0.0f);
    EXPECT_TRUE(Quest("gift").IsComplete());
    EXPECT_FALSE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
}

}  // namespace
