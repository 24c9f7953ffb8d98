// The shipped quests of the first location, read with the shipped catalogue
// and texts from the build's assets: one quest from the first level, every
// reward type, upgrades that exist, and texts for every label.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/readfile.h"
#include "tests/progression/questtesting.h"

namespace {

const char* const kQuestKeys[] = {"morning_rush", "nest_egg", "regulars", "busy_day", "small_fortune"};

class QuestContentTest : public QuestTestBase {
protected:
    void SetUp() override {
        QuestTestBase::SetUp();
        for (const char* name : {kQuestFile, kCataloguePath, "values.xml"}) Ship(name);
        StartPlayer();
        Ship("strings/en/strings.xml");
        ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("strings/en/strings.xml"));
        Quests().LoadQuests(kQuestFile);
    }

    // The build's copy of the asset in place of the fixture's.
    void Ship(const std::string& name) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(("::" + std::string(VANDERMOOT_ASSETS) + "/" + name).c_str(), bytes)) << name;
        AddFile(name, bytes);
    }
};

TEST_F(QuestContentTest, FiveQuestsWithEveryRewardOnUpgradesThatExist) {
    Upgrades().LoadCatalogue(kCataloguePath);
    std::set<std::string> rewardTypes;
    for (const char* key : kQuestKeys) {
        SCOPED_TRACE(key);
        const VQuest& quest = Quest(key);
        rewardTypes.insert(quest.GetRewardType().c_str());
        if (quest.GetRewardType() == "money") {
            EXPECT_GT(quest.GetReward().ToFloat(), 0.0f);
            continue;
        }
        std::shared_ptr<VUpgrade> upgrade = Upgrades().GetUpgrade(quest.GetReward(), quest.GetRewardCategory());
        ASSERT_NE(upgrade, nullptr);
        // Only a hidden upgrade is worth revealing.
        EXPECT_EQ(upgrade->IsHidden(), quest.GetRewardType() == "reveal");
    }
    EXPECT_EQ(rewardTypes, (std::set<std::string>{"money", "reveal", "activate"}));

    PlayLevel(1);
    EXPECT_EQ(ActiveNames(), std::vector<std::string>{"quest_morning_rush"});
}

TEST_F(QuestContentTest, EveryLineOfTheWindowAndTheResultsHasItsText) {
    for (int level = 1; level <= 10; ++level) {
        PlayLevel(level);
        for (const auto& quest : Quests().GetActiveQuests()) {
            SCOPED_TRACE(quest->GetName().c_str());
            EXPECT_EQ(std::string(quest->GetDisplayName().c_str()).find("#####"), std::string::npos);
            EXPECT_EQ(std::string(quest->GetProgressText().c_str()).find("#####"), std::string::npos);
        }
        Values().SetValue("current_worth", 5000, false);
        Values().SetValue("num_served", 100, false);
        Values().SetValue("served_this_level", 20, false);
        EXPECT_EQ(std::string(Quests().FinishLevel().c_str()).find("#####"), std::string::npos) << level;
    }
    EXPECT_FALSE(mLog.Contains("Missing"));
}

TEST_F(QuestContentTest, TheNestEggRevealsComfySeatsForTheShop) {
    PlayLevel(3);
    const int open = Upgrades().CountOpenUpgrades("gameplay");
    Values().SetValue("current_worth", 1200, false);
    EXPECT_NE(std::string(Quests().FinishLevel().c_str()).find("Nest egg complete! You earned Comfy seats."),
              std::string::npos);
    PlayLevel(4);
    Quests().ApplyReveals();
    EXPECT_EQ(Upgrades().CountOpenUpgrades("gameplay"), open + 1);
    EXPECT_NE(Upgrades().GetUpgrade("kComfySeats", "gameplay"), nullptr);
    EXPECT_FALSE(Upgrades().GetUpgrade("kComfySeats", "gameplay")->IsHidden());
}

}  // namespace
