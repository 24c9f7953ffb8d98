// The shipped shop floor of the first location, as the build leaves it in
// its assets: the zones, the stations on them, the player with its frame
// sheets, what payments and customers play, show and count, and the
// machines' parts and buttons; and each location's table: the shared floor
// with its own counters, backdrop, customers and music.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "foundation/file.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "game/floor/background.h"
#include "game/floor/customer.h"
#include "game/floor/customervendor.h"
#include "game/floor/player.h"
#include "game/level/upgrademanager.h"
#include "game/machines/conveyor.h"
#include "game/machines/display.h"
#include "game/machines/disposal.h"
#include "game/machines/machine.h"
#include "game/machines/machinebutton.h"
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
        const char* firstOption;
    };
    for (const Place& place : {Place{7, "mixer", "kMixer1"}, Place{9, "press", "kPress1"}}) {
        std::shared_ptr<VStation> station = screen->FindStationByNumber(place.station);
        ASSERT_EQ(station->GetMachines().size(), 1u) << place.machine;
        std::shared_ptr<VMachine> machine = station->GetMachine(place.machine);
        ASSERT_NE(machine, nullptr) << place.machine;
        EXPECT_STREQ(machine->GetName().c_str(), place.machine);
        EXPECT_NE(machine->GetAsset("base"), nullptr);
        // A machine shows once one of its options is owned, as level 1 owns the first.
        EXPECT_FALSE(machine->IsVisible());
        ASSERT_TRUE(upgrades->GrantUpgrade(place.firstOption, "station", false, nullptr));
        machine->ApplyUpgrades();
        EXPECT_TRUE(machine->IsVisible());
        EXPECT_EQ(machine->GetCurrentAsset(), machine->GetAsset("base"));
        EXPECT_EQ(machine->GetStation(), station);
    }
    for (const char* sound : {"audio/sfx/pickup_drop.ogg", "audio/sfx/buttonclick.ogg"}) {
        EXPECT_TRUE(FileExists(sound)) << sound;
    }
    ReleaseManagerSingleton<VUpgradeManager>();
}

TEST_F(ShopContentTest, TheMachinesPartsPlayForwardAndBackAndLeaveTheirStepsToTheMachine) {
    struct Place {
        int station;
        const char* machine;
        const char* icons[3];
        std::vector<const char*> parts;
    } places[] = {
        {7, "mixer", {"dark", "milk", "white"}, {"anim_arm", "anim_tube", "anim_spray", "tank1", "tank2", "tank3"}},
        {9, "press", {"bar", "truffle", "novelty"},
         {"static_door", "static_largeweight", "static_wheel", "anim_door", "anim_largeweight", "anim_wheel",
          "anim_fill"}},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.machine);
        std::shared_ptr<VMachine> machine = screen->FindStationByNumber(place.station)->GetMachine(place.machine);
        ASSERT_NE(machine, nullptr);
        VUpgradeManager::Get()->LoadCatalogue("locations/grytviken/upgrades.xml");
        for (const char* option : {"kMixer1", "kPress1"}) {
            VUpgradeManager::Get()->GrantUpgrade(option, "station", false, nullptr);
        }
        machine->ApplyUpgrades();
        for (const char* name : place.parts) {
            std::shared_ptr<VObject> part = machine->GetChildObject(name);
            ASSERT_NE(part, nullptr) << name;
            ASSERT_NE(part->GetTexture(), nullptr) << name;
            if (std::string(name).rfind("anim_", 0) != 0) continue;
            TScript* animation = part->GetScript();
            ASSERT_NE(animation, nullptr) << name;
            EXPECT_EQ(animation->DoLuaString("assert(type(DoAnim) == 'function' and type(Reverse) == 'function')"), 0)
                << name;
        }
        ASSERT_EQ(machine->GetSelections().size(), 3u);
        for (int option = 0; option < 3; ++option) {
            const auto& button = machine->GetSelections().at(TString::Format("button%i", option + 1));
            EXPECT_EQ(button->GetId(), option);
            for (const char* look : {"default", "over", "on", "on_over", "disabled"}) {
                ASSERT_NE(button->GetAsset("button"), nullptr);
                EXPECT_TRUE(button->GetAsset("button")->HasState(look)) << look;
            }
            for (const char* icon : place.icons) EXPECT_TRUE(button->GetAsset("icon")->HasState(icon)) << icon;
        }
    }
    // The machine sets the steps' delay; the door drops and the weight stamps.
    std::map<std::string, std::string> calls;
    for (const char* sheet : {"mixer_arm", "mixer_tube_0", "mixer_spray_2", "press_door", "press_weight", "press_wheel",
                              "press_fill", "press_base"}) {
        std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/shop/machines/" + sheet + ".xml", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        EXPECT_EQ(text.str().find("delay("), std::string::npos) << sheet;
        calls[sheet] = text.str();
    }
    EXPECT_NE(calls["press_door"].find("drop()"), std::string::npos);
    EXPECT_NE(calls["press_weight"].find("unlock()"), std::string::npos);
    EXPECT_NE(calls["press_fill"].find("DoAnim_2"), std::string::npos);
    for (const char* sound : {"robot_arm", "robot_arm_2", "spray", "stamp", "barrel_trap_door", "machine_noise",
                              "glug_machine", "topping_machine", "topping", "infusion_machine"}) {
        EXPECT_TRUE(FileExists((std::string("audio/sfx/") + sound + ".ogg").c_str())) << sound;
    }
    VValueManager::Get()->Load("values.xml");
    for (const char* count : {"num_bars", "num_truffles", "num_infusions"}) {
        std::shared_ptr<VValue> value = VValueManager::Get()->Find(count);
        ASSERT_NE(value, nullptr) << count;
        EXPECT_TRUE(value->IsSaved()) << count;
    }
    ReleaseManagerSingleton<VUpgradeManager>();
}

TEST_F(ShopContentTest, TheLayerMachinesComeInWithTheirFirstOptionAndHaveTheirParts) {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    upgrades->LoadCatalogue("locations/grytviken/upgrades.xml");
    upgrades->ApplyUpgradeEffects(*screen->GetSpriteManager());
    struct Place {
        int station;
        const char* machine;
        const char* firstOption;
        const char* icon;
        // Each part, with the animation function the machine plays.
        std::vector<std::vector<const char*>> parts;
    } places[] = {
        {8, "ingredient", "kIngredient1", "ingredient_%i",
         {{"anim_intro", "Reverse"}, {"anim_pump", "DoAnim"}, {"anim_top1", "Reverse"}, {"anim_top2", "Reverse"},
          {"static_top1"}, {"static_top2"}}},
        {10, "decorator", "kTopping1", "topping_%i", {{"anim_funnel", "DoAnim"}, {"anim_particles", "DoParticles"}}},
        {12, "infuser", "kInfusion1", "infusion_%i",
         {{"static_base"}, {"static_top"}, {"anim_base", "DoAnim"}, {"anim_top_working", "DoAnim"},
          {"anim_door", "DoDoor"}}},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.machine);
        std::shared_ptr<VStation> station = screen->FindStationByNumber(place.station);
        std::shared_ptr<VMachine> machine = station->GetMachine(place.machine);
        ASSERT_NE(machine, nullptr);
        EXPECT_FALSE(machine->IsVisible());
        EXPECT_EQ(station->GetSoleMachine(), nullptr);
        // The grant alone brings the machine in and its station counts it.
        ASSERT_TRUE(upgrades->GrantUpgrade(place.firstOption, "station", false, nullptr));
        EXPECT_TRUE(machine->IsVisible());
        EXPECT_EQ(station->GetSoleMachine(), machine);
        EXPECT_EQ(machine->GetCurrentAsset(), machine->GetAsset("base"));
        ASSERT_NE(machine->GetTexture(), nullptr);
        for (const std::vector<const char*>& part : place.parts) {
            std::shared_ptr<VObject> child = machine->GetChildObject(part[0]);
            ASSERT_NE(child, nullptr) << part[0];
            ASSERT_NE(child->GetTexture(), nullptr) << part[0];
            if (part.size() < 2) continue;
            ASSERT_NE(child->GetScript(), nullptr) << part[0];
            std::string check = std::string("assert(type(") + part[1] + ") == 'function')";
            EXPECT_EQ(child->GetScript()->DoLuaString(check.c_str()), 0) << part[0];
        }
        for (int option = 0; option < 3; ++option) {
            const auto& button = machine->GetSelections().at(TString::Format("button%i", option + 1));
            EXPECT_EQ(button->GetId(), option);
            EXPECT_TRUE(button->GetAsset("icon")->HasState(TString::Format(place.icon, option))) << option;
        }
    }
    // The ingredient machine's dials take the highest ingredient's look.
    ASSERT_TRUE(upgrades->GrantUpgrade("kIngredient2", "station", false, nullptr));
    std::shared_ptr<VMachine> ingredient = screen->FindStationByNumber(8)->GetMachine("ingredient");
    ingredient->ApplyUpgrades();
    EXPECT_STREQ(ingredient->GetChildObject("static_top1")->GetCurrentState().c_str(), "upgrade2");
    // The head frees the station; the machine sets the steps' delay.
    std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/shop/machines/infuser_head.xml", std::ios::binary);
    std::ostringstream head;
    head << file.rdbuf();
    EXPECT_NE(head.str().find("unlock()"), std::string::npos);
    EXPECT_EQ(head.str().find("delay("), std::string::npos);
    ReleaseManagerSingleton<VUpgradeManager>();
}

TEST_F(ShopContentTest, TheBottlersAndTheDeliveryStandOnTheirPlacesWithTheirArtSoundsAndValues) {
    struct Part {
        const char* name;
        int leastFrames;
        const char* function;
    };
    struct Place {
        int station;
        const char* machine;
        std::vector<Part> parts;
    } places[] = {
        {11, "sauce", {{"static_fill", 14, "DoAnim"}, {"anim_fill", 14, "Reverse"}, {"anim_dispenser", 24, "DoAnim"},
                       {"static_top", 3, "DoAnim"}, {"anim_spray", 1, "DoSauceFill"}, {"bottle", 1, "DoAnim"}}},
        {13, "drink", {{"anim_fill", 14, "Reverse"}, {"static_dispenser", 24, "DoAnim"}, {"static_top", 30, "Reverse"},
                       {"anim_spray", 1, "DoDrinkFill"}, {"anim_fill_steam", 1, "DoDrinkSteam"}}},
        {14, "delivery", {{"anim_boxing_front", 1, "DoFront"}, {"anim_boxing_back", 59, "DoAnim"}}},
    };
    VUpgradeManager::Get()->LoadCatalogue("locations/grytviken/upgrades.xml");
    for (const char* upgrade : {"kSauce1", "kDrink1", "kDelivery1"}) {
        ASSERT_TRUE(VUpgradeManager::Get()->GrantUpgrade(upgrade, "station", false, nullptr)) << upgrade;
    }
    for (const Place& place : places) {
        SCOPED_TRACE(place.machine);
        std::shared_ptr<VStation> station = screen->FindStationByNumber(place.station);
        ASSERT_NE(station, nullptr);
        std::shared_ptr<VMachine> machine = station->GetMachine(place.machine);
        ASSERT_NE(machine, nullptr);
        ASSERT_NE(machine->GetAsset("base"), nullptr);
        machine->ApplyUpgrades();
        EXPECT_TRUE(machine->IsVisible());
        for (const Part& part : place.parts) {
            std::shared_ptr<VObject> child = machine->GetChildObject(part.name);
            ASSERT_NE(child, nullptr) << part.name;
            auto sheet = std::dynamic_pointer_cast<TAnimatedTexture>(child->GetTexture());
            ASSERT_NE(sheet, nullptr) << part.name;
            EXPECT_GE(sheet->GetFrameCount(), part.leastFrames) << part.name;
            TScript* animation = child->GetScript();
            ASSERT_NE(animation, nullptr) << part.name;
            std::string check = std::string("assert(type(") + part.function + ") == 'function')";
            EXPECT_EQ(animation->DoLuaString(check.c_str()), 0) << part.name;
        }
    }
    EXPECT_FALSE(screen->FindStationByNumber(11)->GetMachine("sauce")->GetChildObject("bottle")->IsVisible());
    // The boxing takes about five seconds at the machine's 30 ms a frame.
    std::ifstream back(std::string(VANDERMOOT_ASSETS) + "/shop/machines/delivery_back.xml", std::ios::binary);
    std::ostringstream text;
    text << back.rdbuf();
    std::string script = text.str();
    size_t shown = static_cast<size_t>(std::count(script.begin(), script.end(), ',')) + 1;
    EXPECT_GE(shown * 30, 4500u);
    for (const char* art : {"zepp_no_box", "zepp_with_box", "zepp_pickup"}) {
        auto sheet = TAnimatedTexture::Get((std::string("anim/machines/delivery/") + art).c_str());
        ASSERT_NE(sheet, nullptr) << art;
        EXPECT_GE(sheet->GetFrameCount(), std::string(art) == "zepp_pickup" ? 9 : 1) << art;
    }
    for (const char* sound : {"sauce_arm_extend", "sauce_clink", "sauce_spray", "sauce_arm_retract", "box_station",
                              "pickup_zepplin", "zepplin_loop"}) {
        EXPECT_TRUE(FileExists((std::string("audio/sfx/") + sound + ".ogg").c_str())) << sound;
    }
    VValueManager* values = VValueManager::Get().get();
    values->Load("values.xml");
    for (const char* cooldown : {"drink_cooldown", "sauce_cooldown", "delivery_variance"}) {
        EXPECT_GE(values->GetMin(cooldown), 1.0f) << cooldown;
    }
    ASSERT_NE(values->Find("num_deliveries"), nullptr);
    EXPECT_TRUE(values->Find("num_deliveries")->IsSaved());
    ASSERT_NE(values->Find("zeppelin_served_this_level"), nullptr);
    EXPECT_FALSE(values->Find("zeppelin_served_this_level")->IsSaved());
    ReleaseManagerSingleton<VUpgradeManager>();
}

TEST_F(ShopContentTest, TheBinShelfAndBeltStandWithTheirArtAndTheBeltPassesEveryCounter) {
    VUpgradeManager::Get()->LoadCatalogue("locations/grytviken/upgrades.xml");
    for (const char* upgrade : {"kDisposal", "kDisplay1", "kConveyor1"}) {
        ASSERT_TRUE(VUpgradeManager::Get()->GrantUpgrade(upgrade, "station", false, nullptr)) << upgrade;
    }
    auto bin = std::dynamic_pointer_cast<VDisposal>(screen->FindStation("station15"));
    auto shelf = std::dynamic_pointer_cast<VDisplay>(screen->FindStationByNumber(17));
    auto belt = std::dynamic_pointer_cast<VConveyor>(screen->FindStationByNumber(18));
    ASSERT_TRUE(bin && shelf && belt);
    for (const std::shared_ptr<VStation>& station : std::vector<std::shared_ptr<VStation>>{bin, shelf, belt}) {
        station->ApplyUpgrades();
        EXPECT_TRUE(station->IsVisible()) << station->GetName().c_str();
        EXPECT_NE(station->GetTexture(), nullptr) << station->GetName().c_str();
        EXPECT_FALSE(station->GetPlayerPoints().empty()) << station->GetName().c_str();
    }
    std::shared_ptr<VObject> lid = bin->GetChildObject("active");
    ASSERT_NE(lid, nullptr);
    ASSERT_NE(lid->GetScript(), nullptr);
    EXPECT_EQ(lid->GetScript()->DoLuaString("assert(type(DoAnim) == 'function')"), 0);
    EXPECT_EQ(shelf->GetCapacity(), 1);

    // Right to left past the six counters, the sixth first, moving.
    EXPECT_LT(belt->GetStartAngle(), belt->GetEndAngle());
    EXPECT_GT(belt->GetVelocity(), 0.0f);
    ASSERT_EQ(belt->GetStations().size(), 6u);
    float before = belt->GetStartAngle();
    for (int n = 6; n >= 1; --n) {
        float angle = belt->GetStations().at(TString::Format("station%02d", n)).angle;
        EXPECT_GT(angle, before) << n;
        before = angle;
    }
    EXPECT_LT(before, belt->GetEndAngle());

    EXPECT_TRUE(FileExists("audio/sfx/disposal.ogg"));
    VValueManager* values = VValueManager::Get().get();
    values->Load("values.xml");
    ASSERT_NE(values->Find("num_disposed"), nullptr);
    EXPECT_TRUE(values->Find("num_disposed")->IsSaved());
    ASSERT_NE(values->Find("conveyor_max_this_level"), nullptr);
    EXPECT_FALSE(values->Find("conveyor_max_this_level")->IsSaved());
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

const char* const kLocations[] = {"grytviken", "namche", "krakatoa", "kamchatka", "iquitos", "gaberoun"};

std::string AssetBytes(const std::string& name) {
    std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class LocationTableTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        ScanFolder(VANDERMOOT_ASSETS, ".");
    }
};

TEST_F(LocationTableTest, EveryLocationBuildsTheSharedFloorWithItsOwnCountersCustomersBackdropAndPlot) {
    // Held, so that each location's pictures stay loaded beside the others'.
    std::vector<std::shared_ptr<VObject>> counters;
    std::vector<std::shared_ptr<VBackground>> backdrops;
    for (const char* location : kLocations) {
        SCOPED_TRACE(location);
        DefineShippedLocation(location);
        std::unique_ptr<ShopWindow> screen = CurrentScreen(clock);
        screen->LoadZones();
        screen->LoadStations(Describe("stations"));
        screen->LoadPlayer(Describe("player"));
        for (int n = 1; n <= 18; ++n) {
            std::shared_ptr<VStation> station = screen->FindStationByNumber(n);
            ASSERT_NE(station, nullptr) << n;
            EXPECT_FALSE(station->GetPlayerPoints().empty()) << n;
        }
        for (int n = 1; n <= 6; ++n) {
            std::shared_ptr<VObject> counter = screen->FindStationByNumber(n)->GetChildObject("counter");
            ASSERT_NE(counter, nullptr) << n;
            ASSERT_NE(counter->GetTexture(), nullptr) << n;
        }
        counters.push_back(screen->FindStationByNumber(1)->GetChildObject("counter"));
        ASSERT_NE(screen->GetPlayer(), nullptr);
        EXPECT_EQ(screen->GetPlayer()->GetPosition(), TVec2(400, 330));
        EXPECT_NE(screen->FindStationByNumber(7)->GetMachine("mixer"), nullptr);

        std::shared_ptr<VCustomerVendor> vendor = VCustomerVendor::Create();
        vendor->LoadCommonTypes(Describe("posse"));
        vendor->SetUpAssets(Describe("objects"));
        vendor->LoadLevelTypes(Describe("customers"));
        EXPECT_FALSE(vendor->GetLevelTypes().empty());
        for (const auto& [kind, pattern] : vendor->GetLevelTypes()) {
            std::shared_ptr<VCustomer> customer = vendor->CreateCustomer(kind);
            ASSERT_NE(customer, nullptr) << kind.c_str();
            EXPECT_FALSE(customer->GetStaticChildren().empty()) << kind.c_str();
        }

        std::shared_ptr<VBackground> backdrop = VBackground::Create();
        backdrop->Load(Describe("background"));
        for (const char* state : {"default", "upgrade1", "upgrade2"}) {
            backdrop->SetAsset("background", state, "none");
            EXPECT_STREQ(backdrop->GetCurrentState().c_str(), state);
            EXPECT_NE(backdrop->GetTexture(), nullptr) << state;
        }
        backdrop->SetAsset("background", "default", "none");
        EXPECT_EQ(backdrop->GetStatics().size(), 2u);
        backdrops.push_back(backdrop);

        std::shared_ptr<VLuaStyle> table = Describe("location");
        EXPECT_STREQ(table->GetString("music_01", "").c_str(), ("audio/music/" + std::string(location) + ".ogg").c_str());
        EXPECT_TRUE(FileExists(table->GetString("music_01", "").c_str()));
        std::shared_ptr<VLuaStyle> digit = table->GetSubStyle("digit");
        ASSERT_TRUE(digit && digit->IsValid());
        EXPECT_GT(digit->GetInt("w", 0), 0);
        for (const char* part : {"chocolates", "plot"}) {
            std::shared_ptr<VLuaStyle> shared = table->GetSubStyle(part);
            EXPECT_TRUE(shared && shared->IsValid()) << part;
        }
    }
    // No two locations show the same counter or wall.
    for (size_t a = 0; a < backdrops.size(); ++a) {
        for (size_t b = a + 1; b < backdrops.size(); ++b) {
            EXPECT_NE(counters[a]->GetTexture(), counters[b]->GetTexture()) << kLocations[a] << " " << kLocations[b];
            EXPECT_NE(backdrops[a]->GetTexture(), backdrops[b]->GetTexture()) << kLocations[a] << " " << kLocations[b];
        }
    }
}

TEST_F(LocationTableTest, EachLocationsPicturesAndMusicAreItsOwn) {
    // Drawn and synthesised for each location, not copies of another's.
    std::map<std::string, std::string> owners;
    for (const char* location : kLocations) {
        const std::string folder = std::string("shop/background/") + location + "/";
        for (const std::string& name : {folder + "wall.png", folder + "wall_upgrade1.png", folder + "wall_upgrade2.png",
                                        folder + "counter.png", "audio/music/" + std::string(location) + ".ogg"}) {
            std::string bytes = AssetBytes(name);
            ASSERT_FALSE(bytes.empty()) << name;
            auto [owner, added] = owners.emplace(bytes, name);
            EXPECT_TRUE(added) << name << " repeats " << owner->second;
        }
    }
}

}  // namespace
