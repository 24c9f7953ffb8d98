// The shipped levels of the first location, the goals of all sixty and the
// location's upgrade catalogue, as the build leaves them in its assets: the
// story opens orders level by level without the shop, and every fixed order
// can be made with what its level owns.
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "game/chocolates/chocolatevendor.h"
#include "game/level/customerdata.h"
#include "game/level/level.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/shell/valuemanager.h"
#include "tests/level/leveltesting.h"

namespace {

const char kCatalogue[] = "locations/grytviken/upgrades.xml";

std::string ReadAsset(const std::string& name) {
    std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class LevelContentTest : public LevelTestBase {
protected:
    void SetUp() override {
        LevelTestBase::SetUp();
        for (int level = 1; level <= 10; ++level) Ship(LevelFile(level));
        for (const char* name : {"levels/goals.xml", kCatalogue, "values.xml"}) Ship(name);
        Ship("strings/en/strings.xml");
        ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("strings/en/strings.xml"));
    }

    void Ship(const std::string& name) {
        std::string bytes = ReadAsset(name);
        ASSERT_FALSE(bytes.empty()) << name;
        AddFile(name, bytes);
    }

    static std::string LevelFile(int level) {
        return TString::Format("levels/level%02d.xml", level).c_str();
    }

    // The station upgrades owned on the level, as the story sets it up.
    std::set<std::string> OwnedOn(int level) {
        auto upgrades = VUpgradeManager::Get();
        upgrades->SelectLocation(level, kCatalogue, -1, level, nullptr);
        std::set<std::string> owned;
        for (const auto& [name, upgrade] : upgrades->GetCategory("station")) {
            if (upgrade->IsOwned()) owned.insert(name.c_str());
        }
        return owned;
    }
};

TEST_F(LevelContentTest, SixtyLevelsHaveRisingGoalsBelowTheirMastery) {
    auto levels = VLevelManager::Get();
    for (int level = 1; level <= VLevelManager::kLevelCount; ++level) {
        SCOPED_TRACE(level);
        EXPECT_GT(levels->GetGoalScore(level), level > 1 ? levels->GetGoalScore(level - 1) : 0);
        EXPECT_GT(levels->GetMasteryScore(level), levels->GetGoalScore(level));
    }
    EXPECT_EQ(levels->GetGoalScore(61), 0);
}

TEST_F(LevelContentTest, TheFirstLocationsLevelsAreWhole) {
    auto levels = VLevelManager::Get();
    for (int number = 1; number <= 10; ++number) {
        SCOPED_TRACE(number);
        auto level = ZqLevel::Create(number, LevelFile(number).c_str());
        EXPECT_STREQ(level->GetLocation().c_str(), "grytviken");
        EXPECT_GT(level->GetName().Length(), 0);
        EXPECT_EQ(level->GetName().Find("#####"), -1) << level->GetName().c_str();
        EXPECT_GE(level->GetMinutes(), 2);
        EXPECT_LE(level->GetMinutes() * 60 + level->GetSeconds(), 4 * 60);
        EXPECT_EQ(level->GetGoal(), static_cast<float>(levels->GetGoalScore(number)));
        EXPECT_EQ(level->GetMastery(), static_cast<float>(levels->GetMasteryScore(number)));
        EXPECT_EQ(level->GetMaxLayers() == 1, number <= 3);
        EXPECT_EQ(level->GetChocolateDecay() > 0, number >= 6);
        EXPECT_EQ(level->GetCustomerDecay() > 0.0f, number >= 6);

        const auto& customers = level->GetCustomers();
        EXPECT_GE(customers.size(), 4u);
        EXPECT_LE(customers.size(), 12u);
        int withStation = 0;
        int withOrder = 0;
        for (const auto& customer : customers) {
            EXPECT_GT(customer->GetType().Length(), 0);
            EXPECT_GE(customer->GetStart(), 0.0f);
            EXPECT_LE(customer->GetStart(), 100.0f);
            withStation += customer->GetStation().Length() > 0;
            withOrder += !customer->GetOrders().empty();
        }
        EXPECT_GT(withStation, 0);
        EXPECT_GT(withOrder, 0);
    }
}

TEST_F(LevelContentTest, TheStoryOpensOrdersStepByStepWithoutTheShop) {
    std::set<std::string> before;
    for (int number = 1; number <= 10; ++number) {
        SCOPED_TRACE(number);
        std::set<std::string> owned = OwnedOn(number);
        if (number == 1) {
            // The bin comes first: it frees full hands.
            EXPECT_EQ(owned, (std::set<std::string>{"kdisposal", "kmixer1", "kpress1"}));
        }
        EXPECT_TRUE(std::includes(owned.begin(), owned.end(), before.begin(), before.end()));
        EXPECT_GT(owned.size(), before.size());
        before = owned;
        // What the shop offers has a price.
        for (const char* category : {"station", "aesthetic"}) {
            for (const auto& [name, upgrade] : VUpgradeManager::Get()->GetCategory(category)) {
                if (upgrade->GetState() == VUpgrade::kAvailable) {
                    EXPECT_GT(upgrade->GetCost(), 0.0f) << name.c_str();
                }
            }
        }

        auto vendor = VChocolateVendor::Create();
        vendor->UpdateAvailability();
        auto level = ZqLevel::Create(number, LevelFile(number).c_str());
        for (const auto& customer : level->GetCustomers()) {
            for (const VChocolateSpec& order : customer->GetOrders()) ExpectMakeable(*vendor, order, level->GetMaxLayers());
        }
    }
}

TEST_F(LevelContentTest, TheCatalogueHoldsEveryKindWithinTheBlock) {
    auto upgrades = VUpgradeManager::Get();
    upgrades->LoadCatalogue(kCatalogue);
    std::vector<std::string> station;
    for (const char* kind : {"kmixer", "kingredient", "ktopping", "kpress", "kinfusion"}) {
        for (int n = 1; n <= 3; ++n) station.push_back(kind + std::to_string(n));
    }
    for (const char* kind : {"kmixerq", "kingredientq", "ktoppingq", "kinfusionq"}) {
        for (int n = 1; n <= 3; ++n) station.push_back(kind + std::to_string(n));
    }
    for (const char* machine : {"ksauce1", "kdrink1", "kconveyor1", "ksauce3", "kdelivery1"}) station.push_back(machine);
    for (const char* special : {"kdisposal", "kdisplay1", "kdisplay2"}) station.push_back(special);
    for (const std::string& name : station) EXPECT_NE(upgrades->GetUpgrade(name.c_str(), "station"), nullptr) << name;
    for (const char* name : {"kstation1", "kstation2"}) EXPECT_NE(upgrades->GetUpgrade(name, "aesthetic"), nullptr);
    for (const char* name : {"kbackground1", "kbackground2"}) {
        std::shared_ptr<VUpgrade> upgrade = upgrades->GetUpgrade(name, "aesthetic");
        ASSERT_NE(upgrade, nullptr) << name;
        ASSERT_EQ(upgrade->GetEffects().count("background"), 1u) << name;
        const VUpgradeEffect& effect = upgrade->GetEffects().at("background");
        EXPECT_EQ(effect.asset.Length() + effect.state.Length(), 0) << name;
    }
    int count = 0;
    for (const char* category : {"station", "aesthetic"}) {
        for (const auto& [name, upgrade] : upgrades->GetCategory(category)) {
            EXPECT_LT(upgrade->GetIndex(), VUpgradeManager::kSavedUpgrades) << name.c_str();
            ++count;
        }
    }
    EXPECT_EQ(count, static_cast<int>(station.size()) + 4);
}

TEST_F(LevelContentTest, EveryUpgradeHasItsShopTextsThumbnailAndChime) {
    auto upgrades = VUpgradeManager::Get();
    upgrades->LoadCatalogue(kCatalogue);
    const TStringTable* strings = mPlatform->GetData().GetStringTable();
    for (const auto& [category, upgradesOfCategory] : upgrades->GetCatalogue()) {
        for (const auto& [name, upgrade] : upgradesOfCategory) {
            SCOPED_TRACE(name.c_str());
            for (const char* property : {"header", "content"}) {
                TString label = upgrade->GetProperty(property);
                EXPECT_GT(label.Length(), 0) << property;
                EXPECT_EQ(strings->GetString(label).Find("Missing string"), -1) << label.c_str();
            }
            EXPECT_FALSE(ReadAsset(upgrade->GetProperty("image").c_str()).empty());
        }
    }
    for (const char* asset : {"audio/sfx/purchase_upgrade_button.ogg", "scripts/upgrade.lua", "scripts/prelevel.lua",
                              "ui/upgrades/tab_offered.png", "ui/upgrades/tab_bought.png"}) {
        EXPECT_FALSE(ReadAsset(asset).empty()) << asset;
    }
    VValueManager::Get()->Load("values.xml");
    std::shared_ptr<VValue> count = VValueManager::Get()->Find("num_char_upgrades");
    ASSERT_NE(count, nullptr);
    EXPECT_TRUE(count->IsSaved());
}

TEST_F(LevelContentTest, MoneyShowsDollarsInGroupsOfThousands) {
    EXPECT_STREQ(FormatMoney(42).c_str(), "$42");
    EXPECT_STREQ(FormatMoney(1234567).c_str(), "$1,234,567");
    EXPECT_STREQ(ZqLevel::Create(8, LevelFile(8).c_str())->GetGoalText().c_str(), "$1,500");
}

}  // namespace
