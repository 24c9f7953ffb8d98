// The shipped quests, read with the first location's catalogue (whose keys
// every location's catalogue holds) and texts from the build's assets: one
// quest from the first level, every reward type in the first location and
// across the later ones, upgrades that exist, each location's quests in its
// own levels, saved states kept in their places, and texts for every label.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/readfile.h"
#include "tests/progression/questtesting.h"

namespace {

struct LocationQuests {
    const char* location;
    int firstLevel;
    std::vector<std::string> keys;
};

const LocationQuests kFirstLocation = {
    "grytviken", 1, {"morning_rush", "nest_egg", "regulars", "busy_day", "small_fortune"}};
const LocationQuests kLaterLocations[] = {
    {"namche", 11, {"tour_namche_supplies", "tour_namche_trade"}},
    {"krakatoa", 21, {"tour_krakatoa_calm", "tour_krakatoa_output"}},
    {"kamchatka", 31, {"tour_kamchatka_regulars", "tour_kamchatka_furs"}},
    {"iquitos", 41, {"tour_iquitos_river", "tour_iquitos_tidy"}},
    {"gaberoun", 51, {"tour_gaberoun_oasis", "tour_gaberoun_caravan"}},
};
constexpr int kLevelsPerLocation = 10;
constexpr int kLastLevel = 60;

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

    // The reward types of the location's quests; money rewards are more
    // than nothing, upgrades exist, and only a hidden one is revealed.
    std::set<std::string> RewardTypes(const LocationQuests& location) {
        std::set<std::string> types;
        for (const std::string& key : location.keys) {
            SCOPED_TRACE(key);
            const VQuest& quest = Quest(key.c_str());
            types.insert(quest.GetRewardType().c_str());
            if (quest.GetRewardType() == "money") {
                EXPECT_GT(quest.GetReward().ToFloat(), 0.0f);
                continue;
            }
            std::shared_ptr<VUpgrade> upgrade = Upgrades().GetUpgrade(quest.GetReward(), quest.GetRewardCategory());
            if (upgrade == nullptr) {
                ADD_FAILURE() << "no upgrade " << quest.GetReward().c_str();
                continue;
            }
            EXPECT_EQ(upgrade->IsHidden(), quest.GetRewardType() == "reveal");
        }
        return types;
    }

    // The build's copy of the asset in place of the fixture's.
    void Ship(const std::string& name) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(("::" + std::string(VANDERMOOT_ASSETS) + "/" + name).c_str(), bytes)) << name;
        AddFile(name, bytes);
    }
};

TEST_F(QuestContentTest, EveryRewardIsMoneyOrAnUpgradeThatExistsAndEveryTypeIsGiven) {
    Upgrades().LoadCatalogue(kCataloguePath);
    std::set<std::string> laterTypes;
    EXPECT_EQ(RewardTypes(kFirstLocation), (std::set<std::string>{"money", "reveal", "activate"}));
    for (const LocationQuests& location : kLaterLocations) {
        SCOPED_TRACE(location.location);
        std::set<std::string> types = RewardTypes(location);
        laterTypes.insert(types.begin(), types.end());
    }
    EXPECT_EQ(laterTypes, (std::set<std::string>{"money", "reveal", "activate"}));

    PlayLevel(1);
    EXPECT_EQ(ActiveNames(), std::vector<std::string>{"quest_morning_rush"});
}

// The quests a level shows are those of its own location, and each of them
// is shown in one of its levels at least.
TEST_F(QuestContentTest, EachLocationsQuestsAreActiveInItsOwnLevelsOnly) {
    std::vector<LocationQuests> locations(std::begin(kLaterLocations), std::end(kLaterLocations));
    locations.insert(locations.begin(), kFirstLocation);
    for (const LocationQuests& location : locations) {
        SCOPED_TRACE(location.location);
        std::set<std::string> own;
        for (const std::string& key : location.keys) own.insert(Quest(key.c_str()).GetName().c_str());
        std::set<std::string> shown;
        for (int level = location.firstLevel; level < location.firstLevel + kLevelsPerLocation; ++level) {
            PlayLevel(level);
            for (const std::string& name : ActiveNames()) {
                EXPECT_EQ(own.count(name), 1u) << name << " in level " << level;
                shown.insert(name);
            }
        }
        EXPECT_EQ(shown, own);
    }
}

// A player's saved state of a quest sits in the slot of its key: the quests
// added later sort after the first location's, which keep their slots.
TEST_F(QuestContentTest, TheFirstLocationsQuestsKeepTheSlotsTheirSavedStatesHave) {
    const std::pair<const char*, int> kSavedSlots[] = {
        {"busy_day", 0}, {"morning_rush", 1}, {"nest_egg", 2}, {"regulars", 3}, {"small_fortune", 4}};
    for (const auto& [key, slot] : kSavedSlots) EXPECT_EQ(Quest(key).GetSlot(), slot) << key;
    for (const LocationQuests& location : kLaterLocations) {
        for (const std::string& key : location.keys) {
            EXPECT_GE(Quest(key.c_str()).GetSlot(), static_cast<int>(std::size(kSavedSlots))) << key;
        }
    }
}

TEST_F(QuestContentTest, EveryLineOfTheWindowAndTheResultsHasItsText) {
    for (int level = 1; level <= kLastLevel; ++level) {
        PlayLevel(level);
        for (const auto& quest : Quests().GetActiveQuests()) {
            SCOPED_TRACE(quest->GetName().c_str());
            EXPECT_EQ(std::string(quest->GetDisplayName().c_str()).find("#####"), std::string::npos);
            EXPECT_EQ(std::string(quest->GetProgressText().c_str()).find("#####"), std::string::npos);
        }
        Values().SetValue("current_worth", 50000, false);
        Values().SetValue("num_served", 1000, false);
        Values().SetValue("served_this_level", 30, false);
        Values().SetValue("chocolates_made_this_level", 40, false);
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
