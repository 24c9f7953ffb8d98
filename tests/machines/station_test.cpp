// Stations: the factory's glows, player points and their facings, a click
// that sends the player to the nearest point and always counts, and the
// player's facing when it arrives.
#include "game/machines/station.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "game/floor/player.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/floor/floortesting.h"

namespace {

class StationTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        SetGameStateServices(&services);
        WriteAsset("zones/zones.xml",
                   "<zonecontroller><zone name=\"avatar\">"
                   "<point name=\"a\" x=\"100\" y=\"300\"/><point name=\"b\" x=\"300\" y=\"300\"/>"
                   "<point name=\"c\" x=\"200\" y=\"400\"/><point name=\"station07\" x=\"500\" y=\"300\"/>"
                   "<connection first=\"a\" second=\"b\"/><connection first=\"b\" second=\"c\"/>"
                   "</zone></zonecontroller>");
        screen = CurrentScreen(clock);
        screen->LoadZones();
    }
    void TearDown() override {
        screen.reset();
        ClearGameState();
        FloorTest::TearDown();
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
    std::unique_ptr<ShopWindow> screen;
};

TEST_F(StationTest, PlayerPointsComeWithTheirFacings) {
    struct Case {
        const char* description;
        const char* points;
    } cases[] = {
        {"{ playerPoint = { 'a', 3, 'b' } }", "a:3 b:2"},
        {"{ playerPoint = { 'a', 1.9, 'nowhere', 3, 'c', 0 } }", "a:1 c:0"},
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
    Define("player = { startZone = 'avatar', startPoint = 'c' }");
    screen->LoadPlayer(Describe("player"));
    std::shared_ptr<VPlayer> player = screen->GetPlayer();
    std::shared_ptr<ZoneController> zones = screen->GetZoneController();
    struct Case {
        const char* point;
        bool queued;
        TVec2 direction;
    } cases[] = {
        {"a", false, TVec2(0, -1)},
        {"b", false, TVec2(0, 1)},
        {"c", false, TVec2(-1, 0)},  // not the station's: code 0
        {"", false, TVec2(0, 1)},
        {"a", true, TVec2(1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.point) + (c.queued ? " queued" : ""));
        player->Face(VCharacter::kFaceRight);
        if (c.queued) player->QueueGoTo(zones->FindPoint("avatar", "b"));
        station->Interact(player, *c.point ? zones->FindPoint("avatar", c.point) : nullptr);
        EXPECT_EQ(player->GetDirection(), c.direction);
    }
}

TEST_F(StationTest, CountersAndTheSpecialStationsGlowUnderTheMouse) {
    WriteImage("art/top.png");
    Define("station = { assets = { anim = false, tabletop = { { file = 'art/top.png' } } } }");
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

}  // namespace
