// The delivery station and its airship: orders from the level file before
// the vendor's, the moods of an order left alone and its expiry, the timer
// stopped by a pause, a closing level, the hand a chocolate is taken from,
// its size in the box and its price, the states of one delivery, a station
// not owned, a variance of 0; the airship's curves from the game's random
// generator, its hover while the box is not ready, one release per pickup
// and its engine sound.
#include "game/machines/delivery.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/random.h"
#include "game/floor/thoughtbubble.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/machines/stationkind.h"
#include "game/machines/zeppelin.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/gamerandom.h"
#include "sound/soundinstance.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class DeliveryTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        for (const char* name : {"box_station", "pickup_zepplin", "zepplin_loop"}) {
            WriteAsset(std::string("audio/sfx/") + name + ".ogg", MakeOgg(22050, 1, 2205));
        }
        WriteAsset("locations/test/delivery.xml",
                   "<upgrades><upgradetype type=\"station\"><upgrade name=\"kDelivery1\"/></upgradetype></upgrades>");
        VUpgradeManager::Get()->LoadCatalogue("locations/test/delivery.xml");
        WriteImage("anims/long.png", 16 * 60, 16);
        Sequence("anims/", "back", "long.png", 60, "function DoAnim() " + Frames(60) + " end");
        Sequence("anims/", "front", "long.png", 3, "function DoFront() frames{1,2,3} end");
        Sequence("anims/", "base", "long.png", 3, "function DoAnim() frames{1} end");
        const std::string ships = "anim/machines/delivery/";
        WriteImage(ships + "long.png", 16 * 60, 16);
        Sequence(ships, "zepp_no_box", "long.png", 2, "function DoAnim() frames{1,2} end");
        Sequence(ships, "zepp_with_box", "long.png", 2, "function DoAnim() frames{1,2} end");
        Sequence(ships, "zepp_pickup", "long.png", 10, "function DoAnim() " + Frames(10) + " end");
        Define(R"(
            delivery = { name = "delivery", assets = { base = { { file = "anims/base.xml", anim = true } } },
                         children = { anim_boxing_back = Part("back"), anim_boxing_front = Part("front") },
                         bubble = { assets = { bubble_single = { anim = false, { file = "art/base.png" } } } } }
        )");
        values = VValueManager::Get().get();
        values->SetValue("delivery_interval", 2000, false);
        values->SetValue("delivery_variance", 2, false);
        values->SetValue("layer_price", 100, false);
        values->SetValue("salemodifier", 1, false);
        GetGameRandom().Seed(7);
    }
    void TearDown() override {
        VLevelManager::Get()->SetCurrentLevelObject(nullptr);
        WorkingMachineTest::TearDown();
    }

    static std::string Frames(int count) {
        std::string list;
        for (int n = 1; n <= count; ++n) {
            if (n > 1) list += ',';
            list += std::to_string(n);
        }
        return "frames{" + list + "}";
    }


    std::shared_ptr<VDelivery> Delivery(std::initializer_list<const char*> owned = {"kDelivery1"}) {
        std::shared_ptr<VDelivery> delivery = Working<VDelivery>(kDeliveryStation, "delivery", owned);
        delivery->GetZeppelin()->SetManager(manager);
        return delivery;
    }

    // One frame of the station, its airship and the bubble's effects.
    void Run(const std::shared_ptr<VDelivery>& delivery, uint32_t milliseconds = 16, bool paused = false) {
        Tick(milliseconds);
        delivery->Update(paused);
        delivery->GetZeppelin()->Update(false);
        station->Update(false);
        manager->UpdateEffects();
    }

    // Frames until the state is reached, at most the time given.
    bool RunUntilState(const std::shared_ptr<VDelivery>& delivery, int state, uint32_t limit = 20000) {
        for (uint32_t time = 0; time < limit; time += 16) {
            if (delivery->GetDeliveryState() == state) return true;
            Run(delivery);
        }
        return delivery->GetDeliveryState() == state;
    }

    // A chocolate as the vendor makes it for the order.
    std::shared_ptr<VChocolate> Chocolate(int shape, int mix) {
        VChocolateSpec spec = VChocolateSpec::Init(0);
        spec.shape = shape;
        spec.mix = mix;
        spec.layers = 1;
        return vendor->CreateOrderChocolate(spec);
    }

    void LevelWithOrders(const std::string& orders) {
        WriteAsset("levels/airship.xml", "<level><name>air</name><zeppelin>" + orders + "</zeppelin></level>");
        VLevelManager::Get()->SetCurrentLevelObject(ZqLevel::Create(3, "levels/airship.xml"));
    }

    static int Mix(const VChocolate& chocolate) { return chocolate.GetSlot(kChocolateLayer)->GetOption(); }

    VValueManager* values = nullptr;
};

TEST_F(DeliveryTest, AnOrderLeftAloneShowsFiveMoodsAndExpiresAfterAHundredSecondsBookingNothing) {
    std::shared_ptr<VDelivery> delivery = Delivery();
    ASSERT_TRUE(delivery->IsVisible());
    ASSERT_TRUE(RunUntilState(delivery, VDelivery::kOrderShown));
    ASSERT_NE(delivery->GetOrder(), nullptr);
    EXPECT_TRUE(delivery->GetBubble()->IsVisible());
    EXPECT_EQ(delivery->GetBubble()->GetItemCount(), 1);
    std::vector<std::pair<float, int>> moods;
    for (int second = 0; second < 101 && delivery->GetDeliveryState() == VDelivery::kOrderShown; ++second) {
        if (moods.empty() || moods.back().second != delivery->GetMood()) {
            moods.push_back({delivery->GetPatience(), delivery->GetMood()});
        }
        for (int frame = 0; frame < 10; ++frame) Run(delivery, 100);
    }
    ASSERT_EQ(moods.size(), 5u);
    for (int mood = 1; mood <= 5; ++mood) {
        EXPECT_EQ(moods[mood - 1].second, mood);
        EXPECT_NEAR(moods[mood - 1].first, 120.0f - 20.0f * static_cast<float>(mood), mood == 1 ? 20.0f : 1.0f);
    }
    EXPECT_EQ(delivery->GetDeliveryState(), VDelivery::kWaiting);
    EXPECT_EQ(delivery->GetOrder(), nullptr);
    EXPECT_EQ(values->GetReal("current_level_total", 0), 0.0f);
    EXPECT_EQ(values->GetReal("zeppelin_served_this_level", 0), 0.0f);
    for (int frame = 0; frame < 30; ++frame) Run(delivery);
    EXPECT_FALSE(delivery->GetBubble()->IsVisible());
}

TEST_F(DeliveryTest, APauseStopsTheOrderTimerButNotThePatience) {
    std::shared_ptr<VDelivery> delivery = Delivery();
    int interval = delivery->GetOrderInterval();
    ASSERT_GT(interval, 0);
    for (int frame = 0; frame < 10; ++frame) Run(delivery, 100, true);
    EXPECT_EQ(delivery->GetOrderInterval(), interval);
    ASSERT_TRUE(RunUntilState(delivery, VDelivery::kOrderShown));
    Run(delivery, 16, true);
    float patience = delivery->GetPatience();
    for (int frame = 0; frame < 10; ++frame) Run(delivery, 100, true);
    EXPECT_NEAR(delivery->GetPatience(), patience - 1.0f, 0.01f);
}

TEST_F(DeliveryTest, TheLevelsAirshipOrdersComeInFileOrderBeforeTheVendorsOwn) {
    LevelWithOrders("<order type=\"chocolate\" shape=\"truffle\" mix=\"2\" layers=\"1\"/>"
                    "<order type=\"chocolate\" shape=\"bar\" mix=\"0\" layers=\"1\"/>");
    std::shared_ptr<VDelivery> delivery = Delivery();
    ASSERT_EQ(delivery->GetOrderQueue().size(), 2u);
    struct Expected {
        int shape;
        int mix;
    } expected[] = {{1, 2}, {0, 0}};
    for (const Expected& e : expected) {
        delivery->MakeOrder();
        ASSERT_NE(delivery->GetOrder(), nullptr);
        EXPECT_EQ(delivery->GetOrder()->GetShape(), e.shape);
        EXPECT_EQ(Mix(*delivery->GetOrder()), e.mix);
        delivery->GoIdle();
    }
    EXPECT_TRUE(delivery->GetOrderQueue().empty());
    delivery->MakeOrder();
    EXPECT_NE(delivery->GetOrder(), nullptr);
}

TEST_F(DeliveryTest, WithoutAVendorOrAfterTheLevelClosesNoOrderIsMade) {
    std::shared_ptr<VDelivery> delivery = Delivery();
    screen->SetChocolateVendor(nullptr);
    delivery->MakeOrder();
    EXPECT_EQ(delivery->GetOrder(), nullptr);
    for (int frame = 0; frame < 50; ++frame) Run(delivery, 100);
    EXPECT_EQ(delivery->GetDeliveryState(), VDelivery::kWaiting);
    EXPECT_GT(delivery->GetOrderInterval(), 0);
}

TEST_F(DeliveryTest, HandTwoGoesFirstAndABoxedBarOrNoveltyShrinks) {
    struct Case {
        int shape;
        float scale;
    } cases[] = {{0, 0.8f}, {1, 1.0f}, {2, 0.8f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape);
        LevelWithOrders("<order type=\"chocolate\" shape=\"" + std::string(c.shape == 0 ? "bar" : c.shape == 1 ? "truffle" : "novelty") +
                        "\" mix=\"1\" layers=\"1\"/>");
        std::shared_ptr<VDelivery> delivery = Delivery();
        ASSERT_TRUE(RunUntilState(delivery, VDelivery::kOrderShown));
        std::shared_ptr<VPlayer> player = Player();
        std::shared_ptr<VChocolate> left = Chocolate(c.shape, 1);
        std::shared_ptr<VChocolate> right = Chocolate(c.shape, 1);
        // The right hand, hand 2, fills first.
        player->PickUp(right);
        player->PickUp(left);
        ASSERT_EQ(player->GetHeldItem(VPlayer::kRightHand, nullptr), right);
        delivery->Interact(player);
        EXPECT_EQ(delivery->GetItem(), right);
        EXPECT_EQ(player->GetHeldItem(VPlayer::kLeftHand, nullptr), left);
        EXPECT_EQ(player->GetHeldItem(VPlayer::kRightHand, nullptr), nullptr);
        EXPECT_FLOAT_EQ(right->GetScale().x, c.scale);
        EXPECT_EQ(delivery->GetDeliveryState(), VDelivery::kBoxing);
    }
}

TEST_F(DeliveryTest, ADeliveryRunsItsStatesAndTheAirshipLetsTheStationGoOnce) {
    LevelWithOrders("<order type=\"chocolate\" shape=\"bar\" mix=\"1\" layers=\"1\"/>"
                    "<order type=\"chocolate\" shape=\"truffle\" mix=\"2\" layers=\"1\"/>");
    std::shared_ptr<VDelivery> delivery = Delivery();
    std::vector<int> states{delivery->GetDeliveryState()};
    std::shared_ptr<VPlayer> player = Player();
    for (int delivered = 0; delivered < 2; ++delivered) {
        ASSERT_TRUE(RunUntilState(delivery, VDelivery::kOrderShown));
        states.push_back(delivery->GetDeliveryState());
        std::shared_ptr<VChocolate> chocolate = Chocolate(delivery->GetOrder()->GetShape(), Mix(*delivery->GetOrder()));
        player->PickUp(chocolate);
        float total = values->GetReal("current_level_total", 0);
        delivery->Interact(player);
        ASSERT_EQ(delivery->GetDeliveryState(), VDelivery::kBoxing);
        // Paid in full at once; a second payment in a row adds a combo bonus.
        EXPECT_GT(chocolate->GetPrice(), 0.0f);
        if (delivered == 0) {
            EXPECT_FLOAT_EQ(values->GetReal("current_level_total", 0) - total, chocolate->GetPrice());
        }
        states.push_back(delivery->GetDeliveryState());
        Run(delivery);
        EXPECT_TRUE(screen->IsDeliveryBusy());
        ASSERT_TRUE(RunUntilState(delivery, VDelivery::kAwaitingPickup));
        states.push_back(delivery->GetDeliveryState());
        EXPECT_EQ(delivery->GetItem(), nullptr);
        EXPECT_TRUE(station->IsSuspended());
        ASSERT_TRUE(RunUntilState(delivery, VDelivery::kWaiting));
        states.push_back(delivery->GetDeliveryState());
        EXPECT_FALSE(station->IsSuspended());
        // The airship lets the station go once; the pickup's later frames
        // leave its new interval alone.
        int interval = delivery->GetOrderInterval();
        while (delivery->GetZeppelin()->GetPhase() == BZeppelin::kPickingUp) Run(delivery);
        EXPECT_LT(delivery->GetOrderInterval(), interval);
        while (delivery->GetZeppelin()->GetPhase() != BZeppelin::kNone || delivery->GetZeppelin()->IsDeparting()) {
            Run(delivery);
        }
        EXPECT_FALSE(delivery->GetZeppelin()->IsVisible());
    }
    EXPECT_EQ(states, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0}));
    EXPECT_EQ(values->GetReal("num_deliveries", 0), 2.0f);
    EXPECT_EQ(values->GetReal("zeppelin_served_this_level", 0), 2.0f);
    EXPECT_EQ(Sounds().front(), "pickup_drop");
}

TEST_F(DeliveryTest, AStationNotOwnedIsHiddenAndReportsNothing) {
    std::shared_ptr<VDelivery> delivery = Delivery({});
    EXPECT_FALSE(delivery->IsVisible());
    screen->SetDeliveryBusy(true);
    for (int frame = 0; frame < 50; ++frame) Run(delivery, 100);
    EXPECT_TRUE(screen->IsDeliveryBusy());
    EXPECT_EQ(delivery->GetDeliveryState(), VDelivery::kWaiting);
    EXPECT_EQ(delivery->GetOrder(), nullptr);
}

TEST_F(DeliveryTest, AVarianceOfNoneCountsAsOne) {
    for (float variance : {0.0f, -3.0f}) {
        values->SetValue("delivery_variance", variance, false);
        host.scripted = {12345u};
        std::shared_ptr<VDelivery> delivery = Delivery();
        EXPECT_EQ(delivery->GetOrderInterval(), 2000);
    }
}

using ZeppelinTest = DeliveryTest;

TEST_F(ZeppelinTest, ItsCurvesComeFromTheGamesGeneratorYBeforeX) {
    auto zeppelin = BZeppelin::Create("zeppelin");
    zeppelin->SetManager(manager);
    GetGameRandom().Seed(99);
    zeppelin->Reset();
    TRandom copy;
    copy.Seed(99);
    float y0 = RandomFloat(copy, 0, 300);
    float y1 = RandomFloat(copy, 0, 500);
    float x1 = RandomFloat(copy, 50, 450);
    float y2 = RandomFloat(copy, 0, 200);
    float x2 = RandomFloat(copy, 550, 650);
    EXPECT_EQ(zeppelin->GetControlPoint(0), TVec2(-117, y0));
    EXPECT_EQ(zeppelin->GetControlPoint(1), TVec2(x1, y1));
    EXPECT_EQ(zeppelin->GetControlPoint(2), TVec2(x2, y2));
    EXPECT_EQ(zeppelin->GetControlPoint(3), TVec2(633, 145));
    EXPECT_FALSE(zeppelin->IsVisible());
    EXPECT_EQ(zeppelin->GetShip()->GetPosition(), TVec2(-117, y0));
}

TEST_F(ZeppelinTest, ABoxReadyInTimeIsPickedUpWithoutHoveringALateOneAfterHoverLoops) {
    struct Case {
        uint32_t ready;
        bool hovers;
    } cases[] = {{1000, false}, {7000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ready);
        std::shared_ptr<VDelivery> delivery = Delivery();
        std::shared_ptr<BZeppelin> zeppelin = delivery->GetZeppelin();
        // Twice: the second flight in waits for its own box.
        for (int flight = 0; flight < 2; ++flight) {
            zeppelin->Arrive();
            EXPECT_TRUE(zeppelin->IsVisible());
            bool hovered = false;
            float farthest = 0;
            int loops = 0;
            TVec2 control = zeppelin->GetControlPoint(1);
            for (uint32_t time = 0; time < c.ready; time += 16) {
                Run(delivery);
                if (zeppelin->GetPhase() == BZeppelin::kHovering) {
                    hovered = true;
                    TVec2 at = zeppelin->GetCurrentPosition();
                    farthest = std::max(farthest, std::hypot(at.x - 590.0f, at.y - 106.0f));
                    if (!(zeppelin->GetControlPoint(1) == control)) ++loops;
                    control = zeppelin->GetControlPoint(1);
                }
            }
            // A loop a second: 2500 ms of hovering make two or three.
            if (c.hovers) {
                EXPECT_GE(loops, 2);
                EXPECT_LE(loops, 3);
            }
            EXPECT_EQ(zeppelin->GetPhase() == BZeppelin::kHovering, c.hovers);
            zeppelin->SetPickup(delivery);
            for (int frame = 0; frame < 300 && zeppelin->GetPhase() != BZeppelin::kPickingUp; ++frame) Run(delivery);
            EXPECT_EQ(zeppelin->GetPhase(), BZeppelin::kPickingUp);
            EXPECT_FALSE(zeppelin->IsPickupPending());
            EXPECT_EQ(hovered, c.hovers);
            // The hover loops stay around their point.
            EXPECT_LT(farthest, 100.0f);
            for (int frame = 0; frame < 1000 && zeppelin->GetPhase() != BZeppelin::kNone; ++frame) Run(delivery);
            EXPECT_EQ(zeppelin->GetPhase(), BZeppelin::kNone);
            EXPECT_FALSE(zeppelin->IsVisible());
        }
    }
}

TEST_F(ZeppelinTest, TheEngineSoundPlaysWhileItFliesAndStopsAtReset) {
    std::shared_ptr<VDelivery> delivery = Delivery();
    std::shared_ptr<BZeppelin> zeppelin = delivery->GetZeppelin();
    zeppelin->Arrive();
    std::shared_ptr<TSoundInstance> engineSound = zeppelin->GetEngineSound();
    ASSERT_NE(engineSound, nullptr);
    EXPECT_EQ(Sounds().back(), "zepplin_loop");
    zeppelin->Arrive();
    EXPECT_EQ(zeppelin->GetEngineSound(), engineSound);
    zeppelin->Reset();
    EXPECT_EQ(zeppelin->GetEngineSound(), nullptr);
    EXPECT_EQ(engineSound->GetStream(), nullptr);
}

}  // namespace
