// Quests on the shell's platform: three quests over the first levels, a
// small upgrade catalogue of the first location, the texts of the quest
// labels, and a player whose progress is loaded.
#pragma once

#include <string>
#include <vector>

#include "game/level/level.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/progression/quest.h"
#include "game/progression/questmanager.h"
#include "game/shell/valuemanager.h"
#include "tests/level/leveltesting.h"

// Keys sort "Tidy", "served", "worth": their slots are 0, 1 and 2. The
// entries that are no tables are no quests.
const char kQuestScript[] = R"(
quests = {
  served = { name = "quest_served", units = "units_customers", minlevel = 1, maxlevel = 3, threshold = 10,
             compare = "GreaterThan + Equal", compvalue = "served_this_level", rewardtype = "Money",
             reward = "250", display = 1, format = "Currency" },
  Tidy = { name = "quest_tidy", minlevel = 1, maxlevel = 2, threshold = 3, compare = "lessthan",
           compvalue = "disposed_this_level", rewardcategory = "Station", reward = "kMixer2", display = 2 },
  worth = { name = "quest_worth", units = "units_worth", minlevel = 1, maxlevel = 4, threshold = 500,
            compare = ">=", compvalue = "current_worth", rewardcategory = "aesthetic",
            reward = "kBackground1", rewardtype = "reveal" },
  note = "not a quest",
  [7] = 7,
}
)";

const char kQuestCatalogue[] = R"(<upgrades>
  <upgradetype type="Station">
    <upgrade name="kMixer1"><cost>100</cost><enabled>1</enabled></upgrade>
    <upgrade name="kMixer2"><cost>250</cost><minlevel>2</minlevel><maxlevel>3</maxlevel>
      <header>hdr_mixer2</header><content>cnt_mixer2</content></upgrade>
  </upgradetype>
  <upgradetype type="aesthetic">
    <upgrade name="kBackground1" hidden="true"><cost>40</cost><minlevel>9</minlevel></upgrade>
  </upgradetype>
</upgrades>)";

class QuestTestBase : public LevelTestBase {
protected:
    static constexpr const char* kQuestFile = "locations/quests.lua";
    static constexpr const char* kCataloguePath = "locations/grytviken/upgrades.xml";

    void SetUp() override {
        LevelTestBase::SetUp();
        AddFile("values.xml", "<values><value name=\"current_worth\" value=\"0\" min=\"0\" saved=\"true\"/></values>");
        AddFile(kQuestFile, kQuestScript);
        AddFile(kCataloguePath, kQuestCatalogue);
    }

    // A player whose progress is loaded (with the stored quest block when
    // given), and the texts of the quests: the game's start reloads the table.
    void StartQuestPlayer(const std::vector<uint8_t>* questBlock = nullptr) {
        if (questBlock) {
            StartPlayerWith("quest_block", *questBlock);
        } else {
            StartPlayer();
        }
        AddStrings({{"quest_served", "Serve the crowd"},
                    {"quest_tidy", "Keep it tidy"},
                    {"quest_worth", "Save up"},
                    {"units_customers", "customers"},
                    {"units_worth", "units"},
                    {"quest_pending", "Going"},
                    {"quest_complete", "Done"},
                    {"quest_failed", "Missed"},
                    {"quest_complete_info", "%1% done:%2%%3%"},
                    {"quest_failed_info", "%1% missed"},
                    {"hdr_mixer2", " Second mixer"},
                    {"cnt_mixer2", ", mixes faster"}});
    }

    void TearDown() override {
        ReleaseManagerSingleton<VQuestManager>();
        LevelTestBase::TearDown();
    }

    VQuestManager& Quests() { return *VQuestManager::Get(); }
    VValueManager& Values() { return *VValueManager::Get(); }
    VUpgradeManager& Upgrades() { return *VUpgradeManager::Get(); }

    // The upgrades of the level set up as the level screen does, then its quests.
    void PlayLevel(int number) {
        std::string name = "levels/questlevel" + std::to_string(mFiles.size()) + ".xml";
        AddFile(name, "<level><location>grytviken</location></level>");
        Upgrades().SetupForLevel(ZqLevel::Create(number, name.c_str()), kCataloguePath, -1, number, true, nullptr);
        Quests().SetLevel(number);
    }

    std::vector<std::string> ActiveNames() {
        std::vector<std::string> names;
        for (const auto& quest : Quests().GetActiveQuests()) names.emplace_back(quest->GetName().c_str());
        return names;
    }

    // The quest of that name; a stand-in that fails the test when there is none.
    VQuest& Quest(const char* name) {
        std::shared_ptr<VQuest> quest = Quests().FindQuest(name);
        EXPECT_NE(quest, nullptr) << name;
        if (quest) return *quest;
        mMissing = VQuest::Create("missing", -1);
        return *mMissing;
    }

    std::shared_ptr<VQuest> mMissing;
};
