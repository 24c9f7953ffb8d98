// The belt: arcs that stand still, run backwards or degenerate, the slowdown
// behind a close entry and near angle 0, the hand a chocolate comes from,
// gifts to the most impatient waiting customer, expiry, the end into the bin
// and the most chocolates on the belt at once.
#include "game/machines/conveyor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "game/floor/customer.h"
#include "game/shell/valuemanager.h"
#include "tests/machines/specialstationtesting.h"

namespace {

const float kCenter = 400.0f;

// "{x, y}" of the point at the angle and radius around the test centre.
std::string At(float angle, float radius = 100.0f) {
    char point[64];
    std::snprintf(point, sizeof point, "{%f, %f}", kCenter + radius * std::cos(angle), kCenter - radius * std::sin(angle));
    return point;
}

// An arc of radius 100 from one angle to another.
std::string Arc(float start, float end, float velocity, const std::string& stations = "{}") {
    return "{ arcCenter = {400, 400}, arcStart = " + At(start) + ", arcEnd = " + At(end) +
           ", arcVelocity = " + std::to_string(velocity) + ", stations = " + stations + " }";
}

class ConveyorTest : public SpecialStationTest {
protected:
    std::shared_ptr<VConveyor> Belt(const std::string& description) {
        Grant("kConveyor1", "station");
        std::shared_ptr<VConveyor> belt = Loaded<VConveyor>(20, VStation::kConveyorStation, description);
        // Later frames measure their time from this one.
        Run(belt);
        return belt;
    }

    static float AngleOf(const VConveyor& belt, int index) {
        auto entry = belt.GetBelt().begin();
        std::advance(entry, index);
        return entry->angle;
    }

    // A plain counter with a customer in the state, registered on the screen.
    std::shared_ptr<VCustomer> Counter(int number, int state, float patience) {
        std::shared_ptr<VStation> counter = VStation::Create(number, VStation::kPlainStation);
        screen->AddStation(counter->GetName(), counter);
        auto customer = MakeOwned<VCustomer>(nullptr);
        counter->AttachCustomer(customer);
        customer->SetState(state);
        customer->SetPatience(patience);
        return customer;
    }
};

TEST_F(ConveyorTest, AnArcLoadsWithItsStartBetweenZeroAndAQuarterTurn) {
    // A start below and left of the centre still reads as up and right.
    std::shared_ptr<VConveyor> belt =
        Belt("{ arcCenter = {400, 400}, arcStart = {300, 500}, arcEnd = {300, 300}, arcVelocity = 3,"
             " stations = { 'station01', {400, 300}, 'station02', {}, '', {0, 0}, 'station03', {1, 1} } }");
    EXPECT_NEAR(belt->GetStartAngle(), M_PI / 4, 1e-5);
    EXPECT_NEAR(belt->GetEndAngle(), 3 * M_PI / 4, 1e-5);
    EXPECT_FLOAT_EQ(belt->GetVelocity(), 3.0f);
    // Reading stops at the empty name; a missing point is 0, 0.
    ASSERT_EQ(belt->GetStations().size(), 2u);
    EXPECT_NEAR(belt->GetStations().at("station01").angle, M_PI / 2, 1e-5);
    EXPECT_NEAR(belt->GetStations().at("station02").radius, std::hypot(400.0f, 400.0f), 1e-2);

    std::shared_ptr<VConveyor> still = Belt("{}");
    EXPECT_EQ(still->GetVelocity(), 0.0f);
    EXPECT_TRUE(still->GetStations().empty());
}

TEST_F(ConveyorTest, ArcsMoveStandStillOrDropEverything) {
    struct Case {
        const char* name;
        std::string description;
        size_t left;
        float angle;
    } cases[] = {
        // (10 / 100)^2 x 16 ms / 2 rad.
        {"moving", Arc(0.5f, 2.5f, 10), 1, 0.58f},
        {"still", Arc(0.5f, 2.5f, 0), 1, 0.5f},
        {"backwards", Arc(1.0f, 0.5f, 10), 0, 0},
        {"no length", Arc(0.5f, 0.5f, 10), 0, 0},
        {"start at the centre", "{ arcCenter = {400, 400}, arcStart = {400, 400}, arcEnd = {300, 300},"
                                " arcVelocity = 10 }", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<VConveyor> belt = Belt(c.description);
        std::shared_ptr<VChocolate> chocolate = Finished();
        belt->AddToBelt(chocolate);
        Run(belt);
        ASSERT_EQ(belt->GetBelt().size(), c.left);
        EXPECT_TRUE(std::isfinite(chocolate->GetPosition().x) && std::isfinite(chocolate->GetPosition().y));
        if (c.left == 0) {
            EXPECT_EQ(chocolate->GetOwner(), nullptr);
            continue;
        }
        EXPECT_NEAR(AngleOf(*belt, 0), c.angle, 1e-5);
        EXPECT_NEAR(chocolate->GetPosition().x, kCenter + 100 * std::cos(c.angle), 1e-2);
        EXPECT_NEAR(chocolate->GetPosition().y, kCenter - 100 * std::sin(c.angle), 1e-2);
    }
}

TEST_F(ConveyorTest, AnEntryCloseBehindAnotherOrNearAngleZeroSlowsDown) {
    std::shared_ptr<VConveyor> belt = Belt(Arc(0.5f, 2.5f, 10));
    belt->AddToBelt(Finished());
    belt->AddToBelt(Finished());
    Run(belt);
    EXPECT_NEAR(AngleOf(*belt, 0), 0.58f, 1e-5);
    EXPECT_NEAR(AngleOf(*belt, 1), 0.58f - 0.0015f, 1e-5);
    Run(belt);
    EXPECT_NEAR(AngleOf(*belt, 0), 0.66f, 1e-5);
    EXPECT_NEAR(AngleOf(*belt, 1), 0.66f - 0.003f, 1e-5);

    // The leader is compared with angle 0: from 0 to 3 rad it first loses
    // 0.0015 of its step of 0.16 / 3, then runs free.
    std::shared_ptr<VConveyor> fromZero = Belt(Arc(0.0f, 3.0f, 10));
    fromZero->AddToBelt(Finished());
    Run(fromZero);
    float step = 0.16f / 3.0f;
    EXPECT_NEAR(AngleOf(*fromZero, 0), step - 0.0015f, 1e-5);
    Run(fromZero);
    EXPECT_NEAR(AngleOf(*fromZero, 0), 2 * step - 0.0015f, 1e-5);
}

TEST_F(ConveyorTest, TheRadiusFollowsTheStationsAndSurvivesDegenerateOnes) {
    std::shared_ptr<VConveyor> belt =
        Belt("{ arcCenter = {400, 400}, arcStart = " + At(0.5f, 100) + ", arcEnd = " + At(2.5f, 200) +
             ", stations = { 'near', " + At(1.0f, 120) + ", 'far', " + At(2.0f, 160) + ", 'twin', " +
             At(2.0f, 160) + ", 'centre', {400, 400} } }");
    struct Case {
        float angle;
        const char* next;
        const char* previous;
        float radius;
    } cases[] = {
        {1.5f, "far", "near", 140},
        {0.75f, "near", "", 110},
        {2.25f, "", "far", 180},
        // Past the end the ends swap: from the end radius towards the last station.
        {2.75f, "", "far", 220},
        // Two stations at one angle.
        {2.0f, "twin", "far", 160},
        // The centre has radius 0 and angle 0: the arc's start stands in.
        {0.75f, "near", "centre", 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        EXPECT_NEAR(belt->RadiusAt(c.angle, c.next, c.previous), c.radius, 1e-2);
    }
    // A station exactly at the angle is neither neighbour.
    auto [previous, next] = belt->FindNeighbours(belt->GetStations().at("near").angle);
    EXPECT_STREQ(previous.c_str(), "centre");
    EXPECT_STREQ(next.c_str(), "far");
}

TEST_F(ConveyorTest, TheFirstFinishedChocolateGoesOnHandTwoBeforeHandOne) {
    std::shared_ptr<VConveyor> belt = Belt(Arc(0.5f, 2.5f, 0));
    std::shared_ptr<VPlayer> player = Player();
    std::shared_ptr<VChocolate> bucket = Unshaped();
    std::shared_ptr<VChocolate> left = Finished();
    player->PickUp(bucket);
    player->PickUp(left);
    ASSERT_EQ(player->GetHeldItem(VPlayer::kRightHand, nullptr), bucket);
    belt->Interact(player, nullptr);
    ASSERT_EQ(belt->GetBelt().size(), 1u);
    EXPECT_EQ(belt->GetBelt().front().item, left);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kRightHand, nullptr), bucket);

    std::shared_ptr<VChocolate> right = Finished();
    player->TakeItemFromHand(VPlayer::kRightHand);
    player->PickUp(right);
    player->PickUp(Finished());
    belt->Interact(player, nullptr);
    ASSERT_EQ(belt->GetBelt().size(), 2u);
    EXPECT_EQ(belt->GetBelt().back().item, right);
    EXPECT_EQ(belt->GetBelt().back().item->GetLayer(), 1);
    EXPECT_EQ(player->CountFreeHands(), 1);
}

TEST_F(ConveyorTest, TheMostOnTheBeltOnlyGrows) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    struct Case {
        int before;
        int added;
        int after;
    } cases[] = {{0, 3, 3}, {5, 3, 5}, {2, 3, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        values->SetValue("conveyor_max_this_level", static_cast<float>(c.before), false);
        std::shared_ptr<VConveyor> belt = Belt(Arc(0.5f, 2.5f, 0));
        for (int n = 0; n < c.added; ++n) belt->AddToBelt(Finished());
        EXPECT_EQ(values->GetInt("conveyor_max_this_level", -1), c.after);
    }
}

TEST_F(ConveyorTest, APassedCustomerGetsTheGiftUnlessAMoreImpatientOneWaitsAtALowerNumber) {
    struct Case {
        const char* name;
        int blockerState;
        float blockerPatience;
        bool taken;
    } cases[] = {
        {"more impatient, waiting", VCustomer::kWaiting, 10, false},
        {"more impatient, ordering", VCustomer::kArrived, 10, false},
        {"more patient", VCustomer::kWaiting, 90, true},
        {"served", VCustomer::kServed, 10, true},
        {"not yet arrived", VCustomer::kNotArrived, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Counter(1, c.blockerState, c.blockerPatience);
        std::shared_ptr<VCustomer> passed = Counter(2, VCustomer::kWaiting, 50);
        // Each update moves 0.08 rad; station02 lies just past the start.
        std::shared_ptr<VConveyor> belt = Belt(Arc(0.5f, 2.5f, 10, "{ 'station02', " + At(0.6f) + " }"));
        std::shared_ptr<VChocolate> gift = Finished();
        belt->AddToBelt(gift);
        for (int n = 0; n < 3; ++n) Run(belt);
        EXPECT_EQ(belt->GetBelt().empty(), c.taken);
        EXPECT_EQ(gift->GetOwner() == nullptr, c.taken);
        if (!c.taken) {
            EXPECT_STREQ(belt->GetBelt().front().lastStation.c_str(), "station02");
        }
    }
}

TEST_F(ConveyorTest, AnAbsurdStationNumberIsOfferedAtOnce) {
    std::shared_ptr<VStation> far = VStation::Create(2000000000, VStation::kPlainStation);
    far->SetName("far");
    screen->AddStation("far", far);
    auto customer = MakeOwned<VCustomer>(nullptr);
    far->AttachCustomer(customer);
    customer->SetState(VCustomer::kWaiting);
    std::shared_ptr<VConveyor> belt = Belt(Arc(0.5f, 2.5f, 10, "{ 'far', " + At(0.55f) + " }"));
    belt->AddToBelt(Finished());
    Run(belt);
    Run(belt);
    EXPECT_TRUE(belt->GetBelt().empty());
}

TEST_F(ConveyorTest, AnExpiredChocolateLeavesAtTheNextStationAndTheEndDumpsIntoTheBin) {
    std::shared_ptr<VDisposal> bin = Bin();
    std::shared_ptr<VConveyor> belt = Belt(Arc(0.5f, 0.7f, 10, "{ 'station09', " + At(0.55f) + " }"));
    VValueManager::Get()->SetValue("chocolate_decay_rate", 1000, false);
    VValueManager::Get()->SetValue("chocolate_fade_time", 16, false);
    std::shared_ptr<VChocolate> spoiled = Finished();
    spoiled->SetDecaying(true);
    spoiled->SetManager(manager);
    for (int n = 0; n < 40 && !spoiled->IsExpired(); ++n) Frame(spoiled);
    ASSERT_TRUE(spoiled->IsExpired());
    belt->AddToBelt(spoiled);
    belt->AddToBelt(Finished());
    EXPECT_FALSE(LidMoves(*bin));
    // 0.8 rad per update: the fresh one passes the end at once.
    Run(belt);
    EXPECT_EQ(belt->GetBelt().size(), 1u);
    Run(belt);
    EXPECT_TRUE(belt->GetBelt().empty());
    EXPECT_TRUE(LidMoves(*bin));
    EXPECT_EQ(Sounds(), std::vector<std::string>{"disposal"});
}

}  // namespace
