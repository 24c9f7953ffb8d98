// Quest items: the goal tested against a game value, the upgrade handed out
// once, the completion or failure text, and the player's "quest_" record.
#include "game/progression/questitem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/stringtable.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "tests/progression/plottesting.h"

namespace {

const char kCatalogue[] = R"(<upgrades>
  <upgradetype type="station">
    <upgrade name="kMixer2"><cost>250</cost><header>hdr_mixer2</header><content>cnt_mixer2</content></upgrade>
  </upgradetype>
  <upgradetype type="aesthetic">
    <upgrade name="kBackground1" hidden="true"><cost>40</cost></upgrade>
  </upgradetype>
</upgrades>)";
const char kCataloguePath[] = "locations/grytviken/upgrades.xml";

// "story_06_goal" (index 1) asks for ten served customers for the second
// mixer; "story_01_plain" (0) is an episode without a goal and
// "story_07_far" (2) a goal whose index lies past a short stored record.
const char kQuestPlot[] = R"(
questplot = {
  story_06_goal = { type = "quest", threshold = 10, compare = "greaterthan+equal", compValue = "served_this_level",
                    rewardCategory = "Station", reward = "KMIXER2", rewardType = "Activate",
                    nextStep = { responses = { yes = { value = 4, button = {} } } } },
  story_01_plain = { nextStep = { responses = { yes = { value = 2, button = {} } } } },
  story_07_far = { type = "quest", compare = ">=", compValue = "served_this_level" },
  story_08_case = { type = "Quest" },
  story_09_reveal = { type = "quest", compare = ">=", compValue = "served_this_level", rewardCategory = "aesthetic",
                      reward = "kBackground1", rewardType = "reveal" },
}
-- Thirty plain episodes, then goals at indexes 30 and 31.
longplot = {}
for i = 0, 29 do longplot[string.format("story_%02d", i)] = {} end
longplot.story_30 = { type = "quest", compare = ">=", compValue = "served_this_level" }
longplot.story_31 = { type = "quest", compare = ">=", compValue = "served_this_level" }
longplot.story_01 = { type = "quest", compare = ">=", compValue = "served_this_level" }
longplot.story_02 = { type = "quest", compare = ">=", compValue = "served_this_level" }
)";

class QuestItemTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        if (IsSkipped()) return;
        AddFile(kCataloguePath, kCatalogue);
        AddFile("questitemstrings.xml", "<Workbook><Worksheet><Table>" + Row("quest_complete", "Won %1%: %2%") +
                                            Row("quest_failed", "Missed") + Row("hdr_mixer2", "Second mixer") +
                                            Row("cnt_mixer2", "mixes faster") + "</Table></Worksheet></Workbook>");
        ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("questitemstrings.xml"));
        ASSERT_EQ(Run(kQuestPlot), "");
    }
    void TearDown() override {
        ReleaseManagerSingleton<VUpgradeManager>();
        PlotTest::TearDown();
    }

    // The level of the first location made current, its catalogue set up.
    void SetUpLevel(const std::vector<std::string>& plots) {
        std::shared_ptr<VLevel> level = Level("grytviken", plots, 6);
        VUpgradeManager::Get()->SetupForLevel(level, kCataloguePath, -1, 6, false, nullptr);
    }

    // A quest item loaded from the Lua table text.
    std::shared_ptr<VQuestItem> MakeItem(const std::string& table) {
        EXPECT_EQ(Run("item = " + table), "");
        std::shared_ptr<VQuestItem> item = VQuestItem::Create("story_test", 0);
        item->Load(VLuaStyle::Create(windows()->GetScript()->GetGlobalTable("item"), nullptr));
        return item;
    }

    static void Serve(float served) { VValueManager::Get()->SetValue("served_this_level", served, false); }
    static std::shared_ptr<VUpgrade> Upgrade(const char* name, const char* category) {
        return VUpgradeManager::Get()->GetUpgrade(name, category);
    }
    std::shared_ptr<VQuestItem> Quest(const char* name) {
        return std::dynamic_pointer_cast<VQuestItem>(Plots()->FindItem(name));
    }
};

TEST_F(QuestItemTest, TheGoalDecidesTheStateTheRewardAndTheMessage) {
    struct Case {
        const char* name;
        const char* table;
        float served;
        int state;
        bool mixerOwned;
        bool backgroundHidden;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"reveal in mixed case",
         "{ threshold = 5, compare = '>=', compValue = 'served_this_level', rewardCategory = 'AESTHETIC',"
         " reward = 'KBackground1', rewardType = 'Reveal' }",
         5, 0, false, false, "Won #####: #####"},
        {"activate in capitals",
         "{ threshold = 5, compare = 'GreaterThan', compValue = 'served_this_level', rewardCategory = 'STATION',"
         " reward = 'kMixer2', rewardType = 'ACTIVATE' }",
         6, 0, true, true, "Won Second mixer: mixes faster"},
        {"missed goal",
         "{ threshold = 5, compare = '>=', compValue = 'served_this_level', rewardCategory = 'station',"
         " reward = 'kmixer2', rewardType = 'activate' }",
         4, 1, false, true, "Missed"},
        {"met without a reward", "{ threshold = 5, compare = '>=', compValue = 'served_this_level' }", 9, 0, false,
         true, ""},
        {"empty compare stays open",
         "{ threshold = 5, compValue = 'served_this_level', rewardCategory = 'station', reward = 'kMixer2',"
         " rewardType = 'activate' }",
         50, 1, false, true, "Missed"},
        {"unknown reward type",
         "{ compare = '>=', compValue = 'served_this_level', rewardCategory = 'station', reward = 'kMixer2',"
         " rewardType = 'gift' }",
         1, 0, false, true, "Won Second mixer: mixes faster"},
        {"reward the catalogue lacks",
         "{ compare = '>=', compValue = 'served_this_level', rewardCategory = 'station', reward = 'kNothing',"
         " rewardType = 'activate' }",
         1, 0, false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Nothing bought by an earlier case.
        std::shared_ptr<VBinaryBlock> owned = GetPlayerBinaryBlock("upgrades_grytviken");
        owned->Reset();
        owned->Save();
        SetUpLevel({});
        std::shared_ptr<VQuestItem> item = MakeItem(c.table);
        EXPECT_EQ(item->GetState(), 1);
        EXPECT_FALSE(item->IsFinished());
        Serve(c.served);
        item->Evaluate();
        EXPECT_EQ(item->GetState(), c.state);
        EXPECT_EQ(item->IsFinished(), c.state == 0);
        EXPECT_EQ(VUpgradeManager::Get()->IsUpgradeOwned("kMixer2", "station"), c.mixerOwned);
        EXPECT_EQ(Upgrade("kBackground1", "aesthetic")->IsHidden(), c.backgroundHidden);
        EXPECT_EQ(std::string(item->GetMessage().c_str()), c.message);
    }
}

TEST_F(QuestItemTest, AMetGoalIsNeverTestedAgainNorRewardedTwice) {
    SetUpLevel({});
    std::shared_ptr<VQuestItem> item = MakeItem(
        "{ threshold = 3, compare = '>=', compValue = 'served_this_level', rewardCategory = 'station',"
        " reward = 'kMixer2', rewardType = 'activate' }");
    Serve(3);
    item->Evaluate();
    ASSERT_TRUE(VUpgradeManager::Get()->IsUpgradeOwned("kMixer2", "station"));
    // A catalogue read afresh has it locked: the met goal hands out nothing more.
    VUpgradeManager::Get()->LoadCatalogue(kCataloguePath);
    ASSERT_FALSE(VUpgradeManager::Get()->IsUpgradeOwned("kMixer2", "station"));
    Serve(0);
    item->Evaluate();
    EXPECT_TRUE(item->IsFinished());
    EXPECT_FALSE(VUpgradeManager::Get()->IsUpgradeOwned("kMixer2", "station"));
}

TEST_F(QuestItemTest, OnlyTheExactTypeQuestMakesAQuestItem) {
    LoadPlot("questplot");
    EXPECT_NE(Quest("story_06_goal"), nullptr);
    EXPECT_NE(Quest("story_07_far"), nullptr);
    EXPECT_EQ(Quest("story_01_plain"), nullptr);
    ASSERT_NE(Item("story_08_case"), nullptr);
    EXPECT_EQ(Quest("story_08_case"), nullptr);
}

// Goal, pages and answers of each item come back in a new manager.
TEST_F(QuestItemTest, StateDoneAndValueRoundTripThroughThePlayersRecords) {
    LoadPlot("questplot");
    SetUpLevel({"story_06_goal", "story_01_plain"});
    Plots()->UpdateItemsForLevel();
    Plots()->SetLevel(VLevelManager::Get()->GetCurrentLevelObject());
    for (const char* name : {"story_06_goal", "story_01_plain"}) {
        Plots()->CheckItem(name);
        ASSERT_TRUE(Plots()->Respond(name, "yes")) << name;
        // As the plot window does when the episode ends.
        Item(name)->SaveState("grytviken");
    }
    Serve(10);
    Plots()->EvaluateQueuedItems();
    EXPECT_TRUE(Quest("story_06_goal")->IsFinished());

    // Twice: the level played again queues its told episodes, their values
    // back to 0, and its end must not store those.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ReleaseManagerSingleton<VPlotManager>();
        LoadPlot("questplot");
        Plots()->UpdateItemsForLevel();
        for (const char* name : {"story_06_goal", "story_01_plain"}) EXPECT_TRUE(Item(name)->IsDone()) << name;
        EXPECT_EQ(Item("story_06_goal")->GetValue(), 4);
        EXPECT_EQ(Item("story_01_plain")->GetValue(), 2);
        EXPECT_EQ(Quest("story_06_goal")->GetState(), 0);
        // Not queued, so neither tested nor saved.
        EXPECT_EQ(Quest("story_07_far")->GetState(), 1);
        Plots()->SetLevel(VLevelManager::Get()->GetCurrentLevelObject());
        Plots()->EvaluateQueuedItems();
    }
}

// Any byte is a signed state; an index past a short stored record keeps its
// state in memory and leaves the record as long as it was.
TEST_F(QuestItemTest, AShortRecordBoundsTheStatesItHolds) {
    std::vector<uint8_t> stored(10, 1);
    stored[1] = 0xfe;
    stored[2] = 0;
    Prefs().SetData(0, "quest_grytviken", stored.data(), static_cast<int>(stored.size()), true);
    LoadPlot("longplot");
    SetUpLevel({"story_30", "story_01"});
    Plots()->UpdateItemsForLevel();
    EXPECT_EQ(Quest("story_01")->GetState(), -2);
    EXPECT_FALSE(Quest("story_01")->IsFinished());
    EXPECT_TRUE(Quest("story_02")->IsFinished());
    EXPECT_EQ(Quest("story_30")->GetState(), 1);

    Plots()->SetLevel(VLevelManager::Get()->GetCurrentLevelObject());
    Plots()->EvaluateQueuedItems();
    EXPECT_TRUE(Quest("story_30")->IsFinished());
    std::vector<uint8_t> saved(10);
    ASSERT_EQ(Prefs().GetData(0, "quest_grytviken", nullptr, 0), 10);
    Prefs().GetData(0, "quest_grytviken", saved.data(), 10);
    EXPECT_EQ(saved[1], 0);
    EXPECT_EQ(saved[2], 0);

    ReleaseManagerSingleton<VPlotManager>();
    LoadPlot("longplot");
    Plots()->UpdateItemsForLevel();
    EXPECT_TRUE(Quest("story_01")->IsFinished());
    EXPECT_EQ(Quest("story_30")->GetState(), 1);
}

TEST_F(QuestItemTest, ARevealedRewardOutlivesTheNextLevelSetUp) {
    LoadPlot("questplot");
    SetUpLevel({"story_09_reveal"});
    Plots()->UpdateItemsForLevel();
    Plots()->SetLevel(VLevelManager::Get()->GetCurrentLevelObject());
    Plots()->EvaluateQueuedItems();
    ASSERT_FALSE(Upgrade("kBackground1", "aesthetic")->IsHidden());
    SetUpLevel({});
    ASSERT_TRUE(Upgrade("kBackground1", "aesthetic")->IsHidden());
    Plots()->UpdateItemsForLevel();
    EXPECT_FALSE(Upgrade("kBackground1", "aesthetic")->IsHidden());
}

}  // namespace
