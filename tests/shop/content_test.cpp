// The shipped shop floor of the first location, as the build leaves it in
// its assets: the zones, the stations on them, the player with its frame
// sheets, and what payments and customers play, show and count.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/file.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "game/floor/player.h"
#include "game/level/upgrademanager.h"
#include "game/machines/machine.h"
#include "game/machines/station.h"
#include "graphics/animatedtexture.h"
#include "tests/floor/floortesting.h"
#include "tests/shop/shoptesting.h"

namespace {

class ShopContentTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        ScanFolder(VANDERMOOT_ASSETS, ".");
        DefineShippedLocation();
        screen = CurrentScreen(clock);
        screen->LoadZones();
        screen->LoadStations(Describe("stations"));
        screen->LoadPlayer(Describe("player"));
        zones = screen->GetZoneController();
    }

    std::unique_ptr<ShopWindow> screen;
    std::shared_ptr<ZoneController> zones;
};

TEST_F(ShopContentTest, CountersStandInARowWithTheirPointsAndTheIslandInTheMiddle) {
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        std::shared_ptr<VStation> counter = screen->FindStationByNumber(n);
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(counter->GetKind(), 1);
        EXPECT_EQ(counter->GetPosition(), TVec2(120 + 112 * (n - 1), 250));
        ASSERT_EQ(counter->GetPlayerPoints().size(), 1u);
        EXPECT_EQ(counter->GetFacing(counter->GetPlayerPoints()[0]->GetName()), 3);
        EXPECT_NE(zones->FindPoint("customers", TString::Format("customer%02d", n)), nullptr);
    }
    std::set<int> kinds;
    for (int n = 7; n <= 14; ++n) {
        std::shared_ptr<VStation> place = screen->FindStationByNumber(n);
        ASSERT_NE(place, nullptr) << n;
        EXPECT_EQ(place->GetPlayerPoints().size(), 1u) << n;
        kinds.insert(place->GetKind());
    }
    EXPECT_EQ(kinds, (std::set<int>{2, 3, 4, 5, 6, 7, 8, 10}));
    EXPECT_TRUE(screen->IsStation16Active());
    EXPECT_TRUE(zones->FindPoint("middle_center", "avatar")->IsBlocked());
}

TEST_F(ShopContentTest, EveryStationIsReachedFromTheStartAroundTheIsland) {
    std::shared_ptr<ZonePoint> start = zones->FindPoint("avatar", "start");
    ASSERT_NE(start, nullptr);
    for (int n = 1; n <= 16; ++n) {
        std::shared_ptr<VStation> station = screen->FindStationByNumber(n);
        if (!station) continue;
        SCOPED_TRACE(n);
        std::shared_ptr<ZonePoint> target = station->GetPlayerPoints().at(0);
        zones->FindRoute(start, target);
        ASSERT_FALSE(zones->IsRouteEmpty());
        EXPECT_EQ(zones->GetRoute().front(), target == start ? target : start);
        EXPECT_EQ(zones->GetRoute().back(), target);
        EXPECT_FALSE(zones->IsOnRoute(zones->FindPoint("middle_center", "avatar")));
    }
}

TEST_F(ShopContentTest, ThePlayerStartsOnItsPointWithItsSheetsArmsAndIdles) {
    std::shared_ptr<VPlayer> player = screen->GetPlayer();
    EXPECT_EQ(player->GetPosition(), TVec2(400, 330));
    for (const char* walk : {"walkright", "walkfront", "walkback"}) {
        SCOPED_TRACE(walk);
        player->SetAsset(walk, "default", "default");
        auto sheet = std::dynamic_pointer_cast<TAnimatedTexture>(player->GetTexture());
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->GetFrameCount(), 4);
        for (const char* point : {"lefthand", "righthand", "bucket"}) {
            EXPECT_TRUE(sheet->GetFramePoint(0, point, nullptr, nullptr)) << point;
        }
        for (const char* arm : {"left_arm", "right_arm"}) {
            std::shared_ptr<VObject> child = player->GetChildObject(arm);
            ASSERT_NE(child, nullptr);
            for (const char* state : {"default", "carry"}) {
                child->SetAsset(walk, state, "none");
                EXPECT_STREQ(child->GetCurrentState().c_str(), state);
                EXPECT_NE(child->GetTexture(), nullptr);
            }
        }
    }
    EXPECT_EQ(player->GetIdleAnimations().size(), 2u);
    EXPECT_NE(player->GetChildObject("idle_wave")->GetTexture(), nullptr);
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("walkspeed", 0), 5.0f);
}

TEST_F(ShopContentTest, CountersShowTheTopOfTheOwnedStationUpgradeAndTheMachinesTheirBodies) {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    upgrades->LoadCatalogue("locations/grytviken/upgrades.xml");
    upgrades->ApplyUpgradeEffects(*screen->GetSpriteManager());
    struct Case {
        const char* upgrade;
        const char* state;
    } cases[] = {{nullptr, "default"}, {"kStation1", "upgrade1"}, {"kStation2", "upgrade2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        if (c.upgrade) {
            ASSERT_TRUE(upgrades->GrantUpgrade(c.upgrade, "aesthetic", false, nullptr));
        }
        for (int n = 1; n <= 6; ++n) {
            std::shared_ptr<VStation> counter = screen->FindStationByNumber(n);
            ASSERT_NE(counter->GetCurrentAsset(), nullptr) << n;
            EXPECT_STREQ(counter->GetCurrentState().c_str(), c.state) << n;
        }
    }
    struct Place {
        int station;
        const char* machine;
    };
    for (const Place& place : {Place{7, "mixer"}, Place{9, "press"}}) {
        std::shared_ptr<VStation> station = screen->FindStationByNumber(place.station);
        ASSERT_EQ(station->GetMachines().size(), 1u) << place.machine;
        std::shared_ptr<VMachine> machine = station->GetMachine(place.machine);
        ASSERT_NE(machine, nullptr) << place.machine;
        EXPECT_STREQ(machine->GetName().c_str(), place.machine);
        EXPECT_NE(machine->GetAsset("base"), nullptr);
        EXPECT_EQ(machine->GetCurrentAsset(), machine->GetAsset("base"));
        EXPECT_EQ(machine->GetStation(), station);
    }
    ReleaseManagerSingleton<VUpgradeManager>();
}

TEST_F(ShopContentTest, TheSoundsTextsAndValuesOfTheMoneyAreShipped) {
    for (const std::string& name : kShopSounds) {
        EXPECT_TRUE(FileExists(("audio/sfx/" + name + ".ogg").c_str())) << name;
    }
    TStringTable strings;
    ASSERT_TRUE(strings.Load("strings/en/strings.xml"));
    for (const char* label : {"combo_menu", "combo_service", "combo_payment", "reached_goal", "reached_master"}) {
        EXPECT_EQ(strings.GetString(label).Find("Missing string"), -1) << label;
    }
    VValueManager* values = VValueManager::Get().get();
    values->Load("values.xml");
    for (const char* name : {"tipmodifier", "menu_combobonus", "service_combobonus", "payout_combobonus",
                             "menu_multiplier_this_level", "service_multiplier_this_level",
                             "payment_multiplier_this_level", "sauce_price", "drink_price", "num_served", "num_angry",
                             "num_sauce_sold", "served_this_level", "order_patience_bonus",
                             "complimentary_patience_bonus", "multi_order_chance", "endless_money_decay"}) {
        EXPECT_NE(values->Find(name), nullptr) << name;
    }
    // A chance in percent for each level past the minimum, and money that
    // waits some seconds in endless mode.
    EXPECT_GE(values->GetReal("multi_order_chance", 0), 1.0f);
    EXPECT_GE(values->GetUint("endless_money_decay", 0), 1000u);
}

}  // namespace
