// The level screen: which screen is current, its type test, and loading the
// zone graph, the stations and the player, with the station look-ups.
#include "game/shop/shopwindow.h"

#include <gtest/gtest.h>

#include <string>

#include "game/floor/player.h"
#include "game/machines/station.h"
#include "tests/floor/floortesting.h"

namespace {

class ShopWindowTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        WriteAsset("zones/zones.xml",
                   "<zonecontroller>" + AvatarRow(4) +
                       "<zone name=\"middle_center\"><point name=\"avatar\" x=\"400\" y=\"300\"/></zone>"
                       "</zonecontroller>");
        Define(R"(
            stations = {
                station_a = { name = "Counter", stationType = 1, playerPoint = "p1", x = 10,
                              children = { top = { } } },
                station_b = { name = "station03", playerPoint = { "p2", 1, "p3" } },
                station_c = { name = "station16", playerPoint = "p0" },
                station_d = "not a table",
                other = { name = "other" },
            }
            player = { startZone = "avatar", startPoint = "p2" }
        )");
    }
};

TEST_F(ShopWindowTest, TheLatestScreenIsCurrentUntilItGoes) {
    EXPECT_EQ(ShopWindow::GetCurrent(), nullptr);
    std::unique_ptr<ShopWindow> older = CurrentScreen(clock);
    EXPECT_EQ(ShopWindow::GetCurrent(), older.get());
    std::unique_ptr<ShopWindow> newer = CurrentScreen(clock);
    older.reset();
    EXPECT_EQ(ShopWindow::GetCurrent(), newer.get());
    newer.reset();
    EXPECT_EQ(ShopWindow::GetCurrent(), nullptr);

    ShopWindow screen;
    EXPECT_STREQ(screen.GetClassName(), "ShopWindow");
    for (TWindowClassId id : {ShopWindow::ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(),
                              TImage::ClassId(), TWindow::ClassId()}) {
        EXPECT_TRUE(screen.IsA(id));
    }
    EXPECT_EQ(screen.GetZoneController(), nullptr);
    EXPECT_EQ(screen.FindStation("station16"), nullptr);
    EXPECT_FALSE(screen.IsStation16Active());
}

TEST_F(ShopWindowTest, StationsLoadFromTheirEntriesAndAreFoundByNameNumberPointAndSprite) {
    std::unique_ptr<ShopWindow> screen = CurrentScreen(clock);
    screen->LoadZones();
    std::shared_ptr<ZoneController> zones = screen->GetZoneController();
    screen->LoadZones();
    EXPECT_EQ(screen->GetZoneController(), zones);
    EXPECT_FALSE(zones->FindPoint("middle_center", "avatar")->IsBlocked());
    screen->LoadStations(Describe("stations"));
    EXPECT_TRUE(zones->FindPoint("middle_center", "avatar")->IsBlocked());

    std::shared_ptr<VStation> counter = screen->FindStation("COUNTER");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->GetKind(), 1);
    EXPECT_EQ(counter->GetPosition(), TVec2(10, 0));
    EXPECT_EQ(screen->FindSprite(counter->GetName()), counter);
    EXPECT_EQ(screen->FindStation("other"), nullptr);
    EXPECT_EQ(screen->FindStation("not a table"), nullptr);

    std::shared_ptr<VStation> third = screen->FindStationByNumber(3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third, screen->FindStation("station03"));
    EXPECT_EQ(screen->FindStationAtPoint(zones->FindPoint("avatar", "p3")), third);
    EXPECT_EQ(screen->FindStationAtPoint(zones->FindPoint("avatar", "p1")), counter);
    EXPECT_EQ(screen->FindStationAtPoint(zones->FindPoint("middle_center", "avatar")), nullptr);
    EXPECT_EQ(screen->FindStationAtPoint(nullptr), nullptr);

    std::shared_ptr<VObject> top = counter->GetChildObject("top");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(screen->FindStationHolding(top), counter);
    EXPECT_EQ(screen->FindStationHolding(counter), counter);
    EXPECT_EQ(screen->FindStationHolding(VSprite::Create("loose", 0)), nullptr);

    EXPECT_TRUE(screen->IsStation16Active());
    screen->FindStation("station16")->SetVisible(false);
    EXPECT_FALSE(screen->IsStation16Active());
}

TEST_F(ShopWindowTest, ThePlayerStandsOnItsStartPointOnTheScreen) {
    std::unique_ptr<ShopWindow> screen = CurrentScreen(clock);
    screen->LoadZones();
    screen->LoadPlayer(Describe("player"));
    std::shared_ptr<VPlayer> player = screen->GetPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_STREQ(player->GetName().c_str(), "player_character");
    EXPECT_EQ(player->GetZoneController(), screen->GetZoneController());
    EXPECT_EQ(player->GetPosition(), TVec2(300, 300));
    EXPECT_EQ(screen->FindSprite("player_character"), player);
}

}  // namespace
