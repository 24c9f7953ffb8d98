#include <gtest/gtest.h>

#include "core/windows/windowstyle.h"
#include "game/floor/player.h"
#include "game/floor/zonecontroller.h"
#include "game/machines/station.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "tests/floor/customertesting.h"

namespace {

// Counts the players that reach it through its station.
class CountingCustomer : public VCustomer {
public:
    static std::shared_ptr<CountingCustomer> Create() {
        auto customer = std::make_shared<CountingCustomer>();
        Adopt(customer);
        return customer;
    }
    CountingCustomer() : VCustomer(nullptr) {}
    void Interact(const std::shared_ptr<VPlayer>& /*player*/) override { ++interactions; }
    int interactions = 0;
};

// Writes the hover leaves it hears.
class LeaveListener : public VSpriteListener {
public:
    void OnMouseLeave(const std::shared_ptr<VSprite>&) override { ++leaves; }
    int leaves = 0;
};

class StationCustomerTest : public CustomerTest {
protected:
    // A current level screen whose zone graph has the customer points.
    void OpenScreen() {
        WriteAsset("zones/zones.xml",
                   "<zonecontroller><zone name=\"customers\"><point name=\"custA\" x=\"40\" y=\"250\"/>"
                   "<point name=\"customer07\" x=\"340\" y=\"250\"/></zone></zonecontroller>");
        screen = CurrentScreen(clock);
        screen->LoadZones();
    }
    void TearDown() override {
        screen.reset();
        CustomerTest::TearDown();
    }

    std::shared_ptr<VStation> Loaded(const std::string& description) {
        Define("station = " + description);
        auto station = VStation::Create(0, 0);
        station->Load(Describe("station"));
        return station;
    }

    std::unique_ptr<ShopWindow> screen;
};

TEST_F(StationCustomerTest, OnlyAFreePlainStationTakesACustomer) {
    auto first = Made();
    auto second = Made();
    auto mixer = VStation::Create(2, 2);
    EXPECT_FALSE(mixer->AttachCustomer(first));
    EXPECT_EQ(mixer->GetCustomer(), nullptr);
    auto counter = VStation::Create(1, VStation::kPlainStation);
    counter->SetMouseEnabled(false);
    EXPECT_FALSE(counter->AttachCustomer(nullptr));
    EXPECT_TRUE(counter->AttachCustomer(first));
    EXPECT_TRUE(counter->IsMouseEnabled());
    EXPECT_FALSE(counter->AttachCustomer(second));
    EXPECT_EQ(counter->GetCustomer(), first);

    // The second customer arriving there finds it taken.
    second->Arrive(counter, 100);
    EXPECT_EQ(counter->GetCustomer(), first);
}

TEST_F(StationCustomerTest, DetachingTakesTheMenuAndMoneyOffTheStation) {
    auto customer = Made();
    auto station = VStation::Create(1, VStation::kPlainStation);
    auto listener = std::make_shared<LeaveListener>();
    station->AddListener(listener);
    station->Update(false);
    customer->Arrive(station, 100);
    station->AddChild(customer->GetMenuSprite());
    station->AddChild(customer->GetMoneySprite());
    station->SetHovered(true);

    EXPECT_EQ(station->DetachCustomer(), customer);
    EXPECT_EQ(customer->GetMenuSprite()->GetOwner(), nullptr);
    EXPECT_EQ(customer->GetMoneySprite()->GetOwner(), nullptr);
    EXPECT_TRUE(station->GetChildList().empty());
    EXPECT_EQ(customer->GetStation(), nullptr);
    EXPECT_EQ(station->GetCustomer(), nullptr);
    // No machine wants the mouse: the pointer over it leaves.
    EXPECT_FALSE(station->IsMouseEnabled());
    EXPECT_EQ(listener->leaves, 1);
    EXPECT_EQ(station->DetachCustomer(), nullptr);
}

TEST_F(StationCustomerTest, TheCustomerPointIsNamedOrNumbered) {
    OpenScreen();
    struct Case {
        const char* description;
        const char* point;
        float moneyX, moneyY;
    };
    for (const Case& c :
         {Case{"{ stationType = 1, stationID = 7, custPoint = 'custA', money = { 40, 12 } }", "custA", 40, 12},
          Case{"{ stationType = 1, stationID = 7, money = { 5 } }", "customer07", 5, 0},
          Case{"{ stationType = 1, stationID = 8, custPoint = 'nowhere' }", nullptr, 0, 0},
          Case{"{ stationType = 2, stationID = 7, custPoint = 'custA', money = { 40, 12 } }", nullptr, 0, 0}}) {
        SCOPED_TRACE(c.description);
        auto station = Loaded(c.description);
        if (c.point) {
            ASSERT_NE(station->GetCustomerPoint(), nullptr);
            EXPECT_STREQ(station->GetCustomerPoint()->GetName().c_str(), c.point);
        } else {
            EXPECT_EQ(station->GetCustomerPoint(), nullptr);
        }
        EXPECT_FLOAT_EQ(station->GetMoneyPosition().x, c.moneyX);
        EXPECT_FLOAT_EQ(station->GetMoneyPosition().y, c.moneyY);
    }

    // The customer stands on the point.
    auto station = Loaded("{ stationType = 1, stationID = 7 }");
    auto customer = Made();
    customer->Arrive(station, 100);
    EXPECT_FLOAT_EQ(customer->GetPosition().x, 340);
    EXPECT_FLOAT_EQ(customer->GetPosition().y, 250);
    // A new load sends the customer away.
    station->Load(Describe("station"));
    EXPECT_EQ(station->GetCustomer(), nullptr);
}

TEST_F(StationCustomerTest, TheArrivingPlayerMeetsTheCustomerUnlessTheStationWorks) {
    auto station = VStation::Create(1, VStation::kPlainStation);
    auto customer = CountingCustomer::Create();
    ASSERT_TRUE(station->AttachCustomer(customer));
    auto player = VPlayer::Create(nullptr, "player", 0);
    station->Interact(player, nullptr);
    EXPECT_EQ(customer->interactions, 1);
    station->Suspend(0);
    station->Interact(player, nullptr);
    EXPECT_EQ(customer->interactions, 1);
}

}  // namespace
