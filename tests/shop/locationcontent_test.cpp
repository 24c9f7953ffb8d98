// The shipped story across its six locations, read from the build's assets:
// every level file belongs to its location and carries the goals of
// "levels/goals.xml", every fixed order can be made with what its level
// owns, every catalogue holds the keys the floor asks within the saved
// block, every plot table loads and holds the episodes its levels name, the
// first and the last level set up on the level screen without a missing
// piece when the map plays them, and the end dialog leads on through them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/scripting/luaobject.h"
#include "foundation/stringtable.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/level/customerdata.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/progression/plotmanager.h"
#include "game/progression/worldmap.h"
#include "game/shop/shopwindow.h"
#include "game/utilities/luacommand.h"
#include "tests/level/leveltesting.h"
#include "tests/startup/gamescreentesting.h"

namespace {

const char* const kLocations[] = {"grytviken", "namche", "krakatoa", "kamchatka", "iquitos", "gaberoun"};
constexpr int kLevels = 60;
constexpr int kLevelsPerLocation = 10;
// The bytes of a location's "plot_" record.
constexpr size_t kPlotRecord = 60;

std::string LevelFile(int level) {
    return TString::Format("levels/level%02d.xml", level).c_str();
}

std::string Catalogue(const std::string& location) {
    return "locations/" + location + "/upgrades.xml";
}

std::string LocationOf(int level) {
    return kLocations[(level - 1) / kLevelsPerLocation];
}

class LocationContentTest : public GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        for (const char* folder : {"levels", "locations", "scripts/shop"}) AddBothWays(folder);
        for (const char* folder : {"shop", "zones", "audio", "anim", "ui", "fonts"}) AddAssetTree(folder);
        for (const char* name : {"assets.xml", "values.xml"}) AddFile(name, ReadAsset(name));
    }

    // Under the asset name, and under the working folder where scripts
    // read each other.
    void AddBothWays(const std::string& folder) {
        AddAssetTree(folder);
        std::string root = std::string(VANDERMOOT_ASSETS) + "/";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root + folder)) {
            if (!entry.is_regular_file()) continue;
            std::string name = entry.path().string().substr(root.size());
            AddFile("assets/" + name, ReadAsset(name));
        }
    }

    bool HasText(const TString& label) const {
        return label.Length() > 0 &&
               std::string(mPlatform->GetData().GetStringTable()->GetString(label).c_str()) != "#####";
    }

    // The upgrades of a category owned on the level, as the story sets it up.
    static std::set<std::string> OwnedOn(int level) {
        std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
        upgrades->SelectLocation(level, Catalogue(LocationOf(level)).c_str(), -1, level, nullptr);
        std::set<std::string> owned;
        for (const auto& [name, upgrade] : upgrades->GetCategory("station")) {
            if (upgrade->IsOwned()) owned.insert(name.c_str());
        }
        return owned;
    }

    // Every (category, name) of a location's catalogue with its cost.
    static std::map<std::pair<std::string, std::string>, float> Upgrades(const std::string& location) {
        std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
        upgrades->LoadCatalogue(Catalogue(location).c_str());
        std::map<std::pair<std::string, std::string>, float> all;
        for (const auto& [category, byName] : upgrades->GetCatalogue()) {
            for (const auto& [name, upgrade] : byName) all[{category.c_str(), name.c_str()}] = upgrade->GetCost();
        }
        return all;
    }

    // The strings of the fields of that name anywhere in the global table.
    std::vector<std::string> Fields(const std::string& global, const std::string& field) {
        EXPECT_EQ(Run("found = {} "
                      "local function Collect(t) for k, v in pairs(t) do "
                      "  if k == '" + field + "' and type(v) == 'string' then table.insert(found, v) "
                      "  elseif type(v) == 'table' then Collect(v) end end end "
                      "Collect(" + global + ")"),
                  "");
        std::vector<std::string> found;
        int count = std::stoi(Eval("table.getn(found)"));
        for (int i = 1; i <= count; ++i) found.push_back(Eval("found[" + std::to_string(i) + "]"));
        return found;
    }
};

TEST_F(LocationContentTest, EveryLevelBelongsToItsLocationWithTheGoalsOfTheGoalsFileAndItsName) {
    ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("strings/en/strings.xml"));
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    for (int number = 1; number <= kLevels; ++number) {
        SCOPED_TRACE(number);
        ASSERT_FALSE(ReadAsset(LevelFile(number)).empty());
        auto level = ZqLevel::Create(number, LevelFile(number).c_str());
        EXPECT_EQ(level->GetLocation().c_str(), LocationOf(number));
        EXPECT_GT(levels->GetGoalScore(number), 0);
        EXPECT_EQ(level->GetGoal(), static_cast<float>(levels->GetGoalScore(number)));
        EXPECT_EQ(level->GetMastery(), static_cast<float>(levels->GetMasteryScore(number)));
        EXPECT_GT(level->GetName().Length(), 0);
        EXPECT_STRNE(level->GetName().c_str(), "#####");
        EXPECT_GT(level->GetMinutes() * 60 + level->GetSeconds(), 0);
        // The milliseconds a shaped chocolate keeps, when it goes stale at all.
        if (level->GetChocolateDecay() != 0) {
            EXPECT_GE(level->GetChocolateDecay(), 30000);
        }
        EXPECT_FALSE(level->GetCustomers().empty());
    }
    for (const char* location : kLocations) {
        EXPECT_TRUE(HasText(TString::Format("location_name_%s", location))) << location;
    }
}

// What a level's customers and airship ask for by name can be made with the
// machines its location has given by then, without the shop.
TEST_F(LocationContentTest, EveryFixedOrderUsesOnlyWhatItsLevelOwns) {
    for (int number = 1; number <= kLevels; ++number) {
        SCOPED_TRACE(number);
        std::set<std::string> owned = OwnedOn(number);
        auto vendor = VChocolateVendor::Create();
        vendor->UpdateAvailability();
        auto level = ZqLevel::Create(number, LevelFile(number).c_str());
        std::vector<VChocolateSpec> orders = level->GetAirshipOrders();
        if (!orders.empty()) {
            EXPECT_EQ(owned.count("kdelivery1"), 1u) << "the airship orders need the delivery station";
        }
        for (const auto& customer : level->GetCustomers()) {
            orders.insert(orders.end(), customer->GetOrders().begin(), customer->GetOrders().end());
        }
        for (const VChocolateSpec& order : orders) ExpectMakeable(*vendor, order, level->GetMaxLayers());
    }
}

// Each location keeps its own ownership: its first level is given what it
// needs, and what the shop offers has a price, dearer than in the location
// before.
TEST_F(LocationContentTest, EveryCatalogueGrantsItsFirstLevelAndSellsTheRestDearerThanTheLast) {
    std::map<std::pair<std::string, std::string>, float> before;
    for (int index = 0; index < 6; ++index) {
        const std::string location = kLocations[index];
        SCOPED_TRACE(location);
        int first = index * kLevelsPerLocation + 1;
        std::set<std::string> owned = OwnedOn(first);
        for (const char* needed : {"kmixer1", "kpress1", "kdisposal"}) EXPECT_EQ(owned.count(needed), 1u) << needed;
        int offered = 0;
        for (int number = first; number < first + kLevelsPerLocation; ++number) {
            OwnedOn(number);
            for (const auto& [category, byName] : VUpgradeManager::Get()->GetCatalogue()) {
                for (const auto& [name, upgrade] : byName) {
                    if (upgrade->GetState() != VUpgrade::kAvailable) continue;
                    EXPECT_GT(upgrade->GetCost(), 0.0f) << name.c_str() << " on " << number;
                    ++offered;
                }
            }
        }
        EXPECT_GT(offered, 0);
        std::map<std::pair<std::string, std::string>, float> costs = Upgrades(location);
        for (const auto& [key, cost] : costs) {
            auto earlier = before.find(key);
            if (earlier != before.end() && earlier->second > 0) {
                EXPECT_GT(cost, earlier->second) << key.second;
            }
        }
        before = costs;
    }
}

// The floor's machines, backdrop and counters ask the keys of the first
// catalogue; every catalogue has them, the hidden one a quest reveals, and
// fits the player's saved block of its location.
TEST_F(LocationContentTest, EveryCatalogueHoldsTheKeysTheFloorAsksWithinTheSavedBlock) {
    std::map<std::pair<std::string, std::string>, float> keys = Upgrades("grytviken");
    ASSERT_GT(keys.size(), 0u);
    TStringTable* strings = mPlatform->GetData().GetStringTable();
    ASSERT_TRUE(strings->AddFile("strings/en/strings.xml"));
    for (const char* location : kLocations) {
        SCOPED_TRACE(location);
        std::map<std::pair<std::string, std::string>, float> upgrades = Upgrades(location);
        for (const auto& [key, cost] : keys) EXPECT_EQ(upgrades.count(key), 1u) << key.first << " " << key.second;
        std::shared_ptr<VUpgradeManager> manager = VUpgradeManager::Get();
        std::shared_ptr<VUpgrade> seats = manager->GetUpgrade("kcomfyseats", "gameplay");
        ASSERT_NE(seats, nullptr);
        EXPECT_TRUE(seats->IsHidden());
        EXPECT_LE(upgrades.size(), static_cast<size_t>(VUpgradeManager::kSavedUpgrades));
        for (const auto& [category, byName] : manager->GetCatalogue()) {
            for (const auto& [name, upgrade] : byName) {
                SCOPED_TRACE(name.c_str());
                EXPECT_LT(upgrade->GetIndex(), VUpgradeManager::kSavedUpgrades);
                for (const char* property : {"header", "content"}) {
                    EXPECT_TRUE(HasText(upgrade->GetProperty(property))) << property;
                }
                EXPECT_FALSE(ReadAsset(upgrade->GetProperty("image").c_str()).empty());
            }
        }
        // The upgrades the location's own table names, its backdrop's
        // decorations among them.
        ASSERT_EQ(Run("ReadFile('scripts/shop/posse.lua') location = ReadFile('scripts/shop/" + std::string(location) +
                      ".lua')"),
                  "");
        for (const std::string& name : Fields("location", "upgrade")) {
            EXPECT_TRUE(manager->GetUpgrade(name.c_str(), "aesthetic") || manager->GetUpgrade(name.c_str(), "station"))
                << name;
        }
    }
}

// Each location's plot table fits its record, holds every episode its level
// files name, and shows only labels with a text.
TEST_F(LocationContentTest, EveryPlotLoadsWithinItsRecordWithTheEpisodesItsLevelsName) {
    ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("strings/en/strings.xml"));
    std::shared_ptr<VPlotManager> plots = VPlotManager::Get();
    for (int index = 0; index < 6; ++index) {
        const std::string location = kLocations[index];
        SCOPED_TRACE(location);
        ASSERT_EQ(Run("story = ReadFile('locations/" + location + "/plot.lua')"), "");
        ASSERT_EQ(Eval("type(story)"), "table");
        plots->Clear();
        plots->LoadPlotItems(std::shared_ptr<TLuaTable>(TWindowManager::GetInstance()->GetScript()->GetGlobalTable("story")));
        EXPECT_GT(plots->GetItems().size(), 0u);
        EXPECT_LE(plots->GetItems().size(), kPlotRecord);
        for (int number = index * kLevelsPerLocation + 1; number <= (index + 1) * kLevelsPerLocation; ++number) {
            auto level = ZqLevel::Create(number, LevelFile(number).c_str());
            for (const TString& plot : level->GetPlots()) {
                EXPECT_NE(plots->FindItem(plot), nullptr) << plot.c_str() << " of level " << number;
            }
        }
        for (const std::string& label : Fields("story", "label")) EXPECT_TRUE(HasText(label.c_str())) << label;
    }
    plots->Clear();
}

// From the main menu's Play and the map, as a player reaches them.
TEST_F(LocationContentTest, TheFirstAndLastLevelsOfTheStorySetUpWithoutAMissingPiece) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("play"));
    static_cast<window::ScriptedWindow&>(mPlatform->GetData().GetWindow()).focused = true;
    for (int number : {11, 60}) {
        SCOPED_TRACE(number);
        VLevelManager::Get()->SetCurrentLevel(number);
        size_t logged = mLog.Text().size();
        Click(FindInTop("play"));
        ASSERT_TRUE(RunUntilShown("world_map"));
        // The map's developer cheat plays any level, reached or not.
        auto* map = dynamic_cast<VWorldMap*>(FindInTop("world_map"));
        ASSERT_NE(map, nullptr);
        EXPECT_STREQ(map->DoCheatMap(4, number).c_str(), "");
        // Later levels open on the upgrade shop first.
        for (int i = 0; i < 100 && !FindInTop("shop") && !FindInTop("prelevel"); ++i) RunFor(20);
        if (FindInTop("prelevel")) Click(FindInTop("done"));
        ASSERT_TRUE(RunUntilShown("shop")) << mLog.Text().substr(logged);
        auto* shop = dynamic_cast<ShopWindow*>(FindInTop("shop"));
        ASSERT_NE(shop, nullptr);
        ASSERT_NE(shop->GetLevel(), nullptr);
        EXPECT_EQ(shop->GetLevel()->GetNumber(), number);
        EXPECT_EQ(shop->GetLevel()->GetLocation().c_str(), LocationOf(number));
        // Every customer of the level file has its kind on this floor.
        EXPECT_EQ(shop->GetPendingCustomers().size(), shop->GetLevel()->GetCustomers().size());
        EXPECT_NE(shop->FindStation("station01"), nullptr);
        EXPECT_NE(shop->GetPlayer(), nullptr);
        std::string log = mLog.Text().substr(logged);
        for (const char* fault : {"Lua error", "Missing string", "cannot", "not found", "no template", "no \""}) {
            EXPECT_EQ(log.find(fault), std::string::npos) << fault << "\n" << log;
        }
        ASSERT_EQ(Run("PopModal('scripts/loading.lua')"), "");
        ASSERT_TRUE(RunUntilShown("play"));
    }
}

// The end dialog's Next leads on to the next level from every level of the
// story, and replays a failed one, until the last level is passed.
TEST_F(LocationContentTest, NextLeadsOnThroughTheStoryUntilTheLastLevelIsPassed) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("play"));
    // The level screen has read the customers the floor's table uses; its
    // words for the result and the episode's are not asked here.
    ASSERT_EQ(Run("ReadFile('scripts/shop/posse.lua') "
                  "function GetEndlevelText() return '' end function GetPlotMessage() return '' end"),
              "");
    const struct {
        int level;
        int status;
        bool next;
    } cases[] = {{10, 1, true}, {11, 2, true}, {59, 1, true}, {60, 0, true}, {60, 1, false}, {60, 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.level) + " status " + std::to_string(c.status));
        // Where the level's end has left the story: on past a passed level,
        // which the last one cannot go.
        VLevelManager::Get()->SetCurrentLevel(c.status > 0 ? c.level + 1 : c.level);
        QueueLuaCommand(TString::Format(
            "DisplayDialog { 'scripts/endlevel.lua', level_pass = 'endlevel_pass', level_num = %i, level_status = %i }",
            c.level, c.status));
        ASSERT_TRUE(RunUntilShown("endlevel")) << mLog.Text();
        EXPECT_EQ(FindInTop("next") != nullptr, c.next);
        EXPECT_NE(FindInTop("replay"), nullptr);
        ASSERT_EQ(Run("CloseWindow()"), "");
        ASSERT_TRUE(RunUntilGone("endlevel"));
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

}  // namespace
