// Stations: the factory and its glows, player points and their facings, a
// click that sends the player to the nearest point and always counts, the
// machines by key and the arrivals they take, the tutorials waiting for the
// player, the tabletop of the owned upgrade, and the player's facing when it
// arrives.
#include "game/machines/station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "game/floor/player.h"
#include "game/machines/conveyor.h"
#include "game/machines/display.h"
#include "game/machines/disposal.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/machines/faketutorial.h"
#include "tests/machines/machinetesting.h"

namespace {

class StationTest : public MachineFloorTest {
protected:
    void SetUp() override {
        MachineFloorTest::SetUp();
        SetGameStateServices(&services);
    }
    void TearDown() override {
        ClearGameState();
        MachineFloorTest::TearDown();
    }

    std::shared_ptr<VStation> Loaded(const std::string& description) {
        Define("station = " + description);
        std::shared_ptr<VStation> station = VStation::Create(0, 1);
        station->Load(Describe("station"));
        return station;
    }

    std::string Points(const VStation& station) {
        std::string text;
        for (const std::shared_ptr<ZonePoint>& point : station.GetPlayerPoints()) {
            text += std::string(text.empty() ? "" : " ") + point->GetName().c_str() + ":" +
                    std::to_string(station.GetFacing(point->GetName()));
        }
        return text;
    }

    FakeServices services;
};

TEST_F(StationTest, PlayerPointsComeWithTheirFacings) {
    struct Case {
        const char* description;
        const char* points;
    } cases[] = {
        {"{ playerPoint = { 'a', 3, 'b' } }", "a:3 b:2"},
        {"{ playerPoint = { 'a', 1.9, 'nowhere', 3, 'c', 0 } }", "a:1 c:0"},
        {"{ playerPoint = { 'a', 0/0, 'b', 1e300, 'c', -1e300 } }", "a:0 b:2147483647 c:-2147483648"},
        {"{ playerPoint = 'b' }", "b:0"},
        {"{ name = 'station07', playerPoint = 'nowhere' }", "station07:0"},
        {"{ name = 'station07' }", "station07:0"},
        {"{ playerPoint = 'nowhere' }", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(Points(*Loaded(c.description)), c.points);
    }
    std::shared_ptr<VStation> station = Loaded("{ stationID = 4, stationType = 11 }");
    EXPECT_EQ(station->GetStationId(), 4);
    EXPECT_EQ(station->GetKind(), 11);
    EXPECT_STREQ(VStation::Create(7, 2)->GetName().c_str(), "station07");
    EXPECT_TRUE(station->IsClickable());
}

TEST_F(StationTest, AClickSendsThePlayerToTheNearestPointFirstOnTiesAndAlwaysCounts) {
    std::shared_ptr<VStation> station = Loaded("{ playerPoint = { 'b', 2, 'a', 2, 'c', 3 } }");
    station->OnClick();
    EXPECT_EQ(TGameState::Get()->GetState("TotalValidClicks"), TString("1"));

    Define("player = { startZone = 'avatar', startPoint = 'c' }");
    screen->LoadPlayer(Describe("player"));
    std::shared_ptr<VPlayer> player = screen->GetPlayer();
    struct Case {
        TVec2 from;
        const char* chosen;
    } cases[] = {
        {TVec2(200, 300), "b"},  // a and b both 100 away: b is listed first
        {TVec2(120, 300), "a"},
        {TVec2(200, 390), "c"},
    };
    for (const Case& c : cases) {
        player->SetPosition(c.from);
        station->OnClick();
        ASSERT_FALSE(player->GetQueue().empty());
        EXPECT_EQ(player->GetQueue().back()->GetName(), TString(c.chosen));
    }
    EXPECT_EQ(TGameState::Get()->GetState("TotalValidClicks"), TString("4"));

    Loaded("{ playerPoint = 'nowhere' }")->OnClick();
    EXPECT_EQ(TGameState::Get()->GetState("TotalValidClicks"), TString("5"));
}

TEST_F(StationTest, AnArrivingPlayerWithNowhereElseToGoFacesThePointsWay) {
    std::shared_ptr<VStation> station = Loaded("{ playerPoint = { 'a', 3, 'b' } }");
    // A point named by a string has no facing of its own.
    std::shared_ptr<VStation> named = Loaded("{ playerPoint = 'b' }");
    Define("player = { startZone = 'avatar', startPoint = 'c' }");
    screen->LoadPlayer(Describe("player"));
    std::shared_ptr<VPlayer> player = screen->GetPlayer();
    std::shared_ptr<ZoneController> zones = screen->GetZoneController();
    struct Case {
        std::shared_ptr<VStation> at;
        const char* point;
        bool queued;
        TVec2 direction;
    } cases[] = {
        {station, "a", false, TVec2(0, -1)},
        {station, "b", false, TVec2(0, 1)},
        {station, "c", false, TVec2(-1, 0)},  // not the station's: code 0
        {station, "", false, TVec2(0, 1)},
        {named, "b", false, TVec2(-1, 0)},
        {station, "a", true, TVec2(1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.point) + (c.queued ? " queued" : ""));
        player->Face(VCharacter::kFaceRight);
        if (c.queued) player->QueueGoTo(zones->FindPoint("avatar", "b"));
        c.at->Interact(player, *c.point ? zones->FindPoint("avatar", c.point) : nullptr);
        EXPECT_EQ(player->GetDirection(), c.direction);
    }
}

TEST_F(StationTest, CountersAndTheSpecialStationsGlowUnderTheMouse) {
    WriteImage("art/top.png");
    // Counters show their top, the special stations their base once owned.
    Define("station = { assets = { anim = false, tabletop = { { file = 'art/top.png' } },"
           " base = { { file = 'art/top.png' } } } }");
    WriteAsset("locations/test/special.xml",
               "<upgrades><upgradetype type=\"station\"><upgrade name=\"kConveyor1\"/>"
               "<upgrade name=\"kDisplay1\"/><upgrade name=\"kDisposal\"/></upgradetype></upgrades>");
    VUpgradeManager::Get()->LoadCatalogue("locations/test/special.xml");
    for (const char* upgrade : {"kConveyor1", "kDisplay1", "kDisposal"}) Grant(upgrade, "station");
    // The draw calls of a hovered station of the kind.
    auto drawCalls = [this](int kind) {
        std::shared_ptr<VStation> station = VStation::Create(0, kind);
        station->Load(Describe("station"));
        station->ApplyUpgrades();
        manager->AddSprite(station);
        Frame(station);
        station->SendEvent(VSprite::kEventEnter, TPoint(), Identity(), 0);
        for (int frame = 0; frame < 8; ++frame) Frame(station);
        recorder->ClearCalls();
        DrawScene(station);
        manager->RemoveSprite(station);
        return recorder->GetCalls().size();
    };
    size_t plain = drawCalls(2);
    for (int kind : {1, 9, 11, 12}) EXPECT_GT(drawCalls(kind), plain) << kind;
    for (int kind : {0, 3, 8, 10, 13, -1}) EXPECT_EQ(drawCalls(kind), plain) << kind;
}


TEST_F(StationTest, TheBinShelfAndBeltHaveTheirClassesEveryOtherKindIsAPlainStation) {
    struct Case {
        int kind;
        const std::type_info& type;
    } cases[] = {{0, typeid(VStation)},  {1, typeid(VStation)},   {2, typeid(VStation)},
                 {9, typeid(VDisposal)}, {11, typeid(VDisplay)},  {12, typeid(VConveyor)},
                 {13, typeid(VStation)}, {-1, typeid(VStation)}};
    for (const Case& c : cases) {
        int kind = c.kind;
        std::shared_ptr<VStation> station = VStation::Create(3, kind);
        ASSERT_NE(station, nullptr) << kind;
        EXPECT_EQ(typeid(*station), c.type) << kind;
        EXPECT_EQ(station->GetKind(), kind);
        EXPECT_STREQ(station->GetName().c_str(), "station03");
    }
}

TEST_F(StationTest, MachinesComeByLowerCasedKeyWithTheStationsKindByDefault) {
    EventLog log;
    auto station = CountingStation::Create(log);
    Define(R"(station = { stationType = 4, playerPoint = 'a', machines = {
        Mixer = Machine("mixer"), press = { name = "press", stationType = 2 }, odd = 5 } })");
    station->Load(Describe("station"));
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (EventLog{"kind 2", "kind 4"}));
    ASSERT_EQ(station->GetMachines().size(), 2u);
    std::shared_ptr<VMachine> mixer = station->GetMachine("MIXER");
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(mixer->GetOwner(), station);
    EXPECT_EQ(mixer->GetSelections().size(), 0u);
    EXPECT_EQ(station->GetMachine("odd"), nullptr);

    // None is enabled: the station takes no pointer without a customer.
    station->ApplyUpgrades();
    EXPECT_EQ(station->GetEnabledMachineCount(), 0);
    EXPECT_FALSE(station->IsMouseEnabled());
    EXPECT_EQ(mixer->GetStation(), station);
    mixer->SetEnabled(true);
    station->ApplyUpgrades();
    EXPECT_EQ(station->GetSoleMachine(), mixer);
    EXPECT_TRUE(station->IsMouseEnabled());
    station->GetMachine("press")->SetEnabled(true);
    station->RelinkMachines();
    EXPECT_EQ(station->GetEnabledMachineCount(), 2);
    EXPECT_EQ(station->GetSoleMachine(), nullptr);

    // A new load makes new machines.
    station->Load(Describe("station"));
    EXPECT_NE(station->GetMachine("mixer"), mixer);
    EXPECT_EQ(mixer->GetOwner(), nullptr);
}

TEST_F(StationTest, AClickOnAMachineQueuesItAndWalksThePlayer) {
    EventLog log;
    auto station = CountingStation::Create(log);
    Define(R"(station = { stationType = 2, playerPoint = 'b', machines = { mixer = Machine("mixer") } })");
    station->Load(Describe("station"));
    station->ApplyUpgrades();
    std::shared_ptr<VPlayer> player = Player();
    station->GetMachine("mixer")->SendEvent(VSprite::kEventClick, TPoint(), Identity(), 0);
    EXPECT_EQ(station->GetQueuedMachines(), (std::vector<TString>{"mixer"}));
    ASSERT_FALSE(player->GetQueue().empty());
    EXPECT_STREQ(player->GetQueue().back()->GetName().c_str(), "b");
    EXPECT_EQ(TGameState::Get()->GetState("TotalValidClicks"), TString("1"));
}

TEST_F(StationTest, ArrivalsGoToTheSoleMachineElseToTheClickedOnesInOrder) {
    struct Case {
        const char* what;
        bool twoEnabled;
        std::vector<const char*> clicked;
        bool suspended;
        EventLog interactions;
    } cases[] = {
        {"one enabled, another clicked", false, {"b"}, false, {"a interact"}},
        {"one enabled, none clicked", false, {}, false, {"a interact"}},
        {"two enabled, in click order", true, {"b", "a"}, false, {"b interact", "a interact"}},
        {"two enabled, one clicked twice", true, {"a", "b", "a"}, false, {"a interact", "b interact", "a interact"}},
        {"two enabled, none clicked", true, {}, false, {}},
        {"working", true, {"a"}, true, {}},
    };
    Define(R"(station = { stationType = 2, playerPoint = { 'b', 1 }, machines = { a = Machine("a"), b = Machine("b") } })");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EventLog log;
        auto station = CountingStation::Create(log);
        station->Load(Describe("station"));
        station->GetMachine("a")->SetEnabled(true);
        station->GetMachine("b")->SetEnabled(c.twoEnabled);
        station->ApplyUpgrades();
        log.clear();
        std::shared_ptr<VPlayer> player = Player();
        player->Face(VCharacter::kFaceFront);
        for (const char* name : c.clicked) station->QueueMachine(name);
        if (c.suspended) station->Suspend(0);
        station->Interact(player, screen->GetZoneController()->FindPoint("avatar", "b"));
        EXPECT_EQ(log, c.interactions);
        EXPECT_TRUE(station->GetQueuedMachines().empty());
        // The player queued a walk for each click; only with nowhere else to go does it turn.
        EXPECT_EQ(player->GetDirection(), c.clicked.empty() ? TVec2(1, 0) : TVec2(0, 1));
    }
}

TEST_F(StationTest, TheSoleMachineHearsThePointerOverTheStation) {
    EventLog log;
    auto station = CountingStation::Create(log);
    Define(R"(station = { stationType = 2, machines = { a = Machine("a"), b = Machine("b") } })");
    station->Load(Describe("station"));
    station->GetMachine("b")->SetEnabled(true);
    station->ApplyUpgrades();
    EventLog heard;
    station->GetMachine("b")->AddListener(std::make_shared<LoggingListener>("b", heard));
    station->GetMachine("a")->AddListener(std::make_shared<LoggingListener>("a", heard));
    Frame(station);
    station->SendEvent(VSprite::kEventEnter, TPoint(), Identity(), 0);
    EXPECT_TRUE(station->GetMachine("b")->IsHovered());
    station->SendEvent(VSprite::kEventLeave, TPoint(), Identity(), 0);
    EXPECT_FALSE(station->GetMachine("b")->IsHovered());
    EXPECT_EQ(heard, (EventLog{"b enter"}));
}

TEST_F(StationTest, ATutorialWaitingForThePlayerHereMovesOnAtTheArrival) {
    struct Case {
        int state;
        bool suspended;
        int advances;
    } cases[] = {
        {VTutorialListener::kWaitingForPlayer, false, 1},
        {VTutorialListener::kWaitingForObject, false, 0},
        {VTutorialListener::kWaitingForPlayer, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        std::shared_ptr<VStation> station = Loaded("{ name = 'counter', playerPoint = 'a' }");
        auto tutorial = std::make_shared<FakeTutorial>(c.state);
        station->AddListener(std::make_shared<VTutorialListener>(tutorial));
        station->Update(false);
        if (c.suspended) station->Suspend(0);
        station->Interact(Player(), nullptr);
        EXPECT_EQ(tutorial->advances, c.advances);
        EXPECT_EQ(tutorial->asked, c.suspended ? std::vector<std::string>{} : std::vector<std::string>{"counter"});
    }
}

TEST_F(StationTest, TheTabletopShowsTheBestStationUpgradeOwned) {
    WriteImage("art/top.png");
    Define(R"(station = { assets = { anim = false, tabletop = {
        { file = 'art/top.png' }, { state = 'upgrade1', file = 'white.png' },
        { state = 'upgrade2', file = 'white.png' } } } })");
    struct Case {
        const char* owned;
        const char* state;
    } cases[] = {{nullptr, "default"}, {"kStation1", "upgrade1"}, {"kStation2", "upgrade2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        if (c.owned) Grant(c.owned, "aesthetic");
        std::shared_ptr<VStation> station = VStation::Create(1, 1);
        station->Load(Describe("station"));
        station->ApplyUpgrades();
        ASSERT_NE(station->GetCurrentAsset(), nullptr);
        EXPECT_STREQ(station->GetCurrentState().c_str(), c.state);
        // Owning the first as well changes nothing.
        Grant("kStation1", "aesthetic");
        station->Reset();
        EXPECT_STREQ(station->GetCurrentState().c_str(), c.owned ? c.state : "upgrade1");
    }
}

}  // namespace
