// Customers coming to the counters: the scripted customers of a story level
// at their point of the level time, at their own counter or a free one
// drawn at random, one by one as counters free up and none once the time
// is up; endless mode's customers at intervals that shorten with the
// level time; and customers who have left going off the floor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/floor/customervendor.h"
#include "game/sprites/spritemanager.h"
#include "tests/shop/leveltesting.h"

namespace {

class ArrivalTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteAsset("values.xml", "<values><value name=\"current_level\" value=\"1\"/></values>");
        kStationSound = "audio/sfx/customer_arrives.ogg";
        WriteAsset(kStationSound, MakeOgg(22050, 1, 2205));
    }

    // The level time at the percentage of the 2:30 level, then one tick.
    void At(int percent) {
        timer->SetElapsedTime(150000 * percent / 100);
        Frame();
    }

    std::string kStationSound;
};

TEST_F(ArrivalTest, StoryCustomersComeAtTheirTimeToTheirOwnCounterOrAFreeOne) {
    // The first comes on the tick that starts the clock.
    StartLevel();
    EXPECT_EQ(CustomerAt("station01"), "kid");
    EXPECT_EQ(CustomerAt("station02"), "");
    EXPECT_EQ(State("TotalCustomers"), "1");
    EXPECT_EQ(Played(), std::vector<std::string>{kStationSound});
    At(49);
    EXPECT_EQ(screen->GetPendingCustomers().size(), 1u);
    // The one free counter is the draw's only choice.
    At(50);
    EXPECT_EQ(CustomerAt("station02"), "grown");
    EXPECT_TRUE(screen->GetPendingCustomers().empty());
    EXPECT_EQ(screen->GetActiveCustomers().size(), 2u);
    EXPECT_EQ(State("TotalCustomers"), "2");
    EXPECT_NE(screen->FindSprite(screen->FindStation("station02")->GetCustomer()->GetName()), nullptr);
}

TEST_F(ArrivalTest, ACustomerWaitsForItsOwnCounterOrAnyFreeOneAndNoneComesAfterTheTime) {
    const struct {
        const char* customers;
        const char* why;
    } cases[] = {
        {"<customer><type>kid</type><start>0</start><station>station01</station></customer>"
         "<customer><type>grown</type><start>0</start><station>station01</station></customer>",
         "its own counter is taken though another is free"},
        {"<customer><type>kid</type><start>0</start></customer><customer><type>kid</type><start>0</start></customer>"
         "<customer><type>grown</type><start>0</start></customer>",
         "every counter is taken"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        WriteAsset("levels/level01.xml", LevelFile(c.customers));
        ReplaceScreen("screen");
        StartLevel();
        At(0);
        ASSERT_EQ(screen->GetPendingCustomers().size(), 1u);
        std::shared_ptr<VCustomer> waiting = screen->GetPendingCustomers().front();
        EXPECT_EQ(TypeOf(waiting), "grown");
        At(40);
        EXPECT_EQ(screen->GetPendingCustomers().size(), 1u);
        // The counter frees: the next tick brings the waiting customer.
        screen->GetActiveCustomers().front()->GetStation()->DetachCustomer();
        At(41);
        EXPECT_TRUE(screen->GetPendingCustomers().empty());
        EXPECT_NE(waiting->GetStation(), nullptr);
    }
    // Once the time is up nobody comes.
    WriteAsset("levels/level01.xml", LevelFile(CustomerElement("kid", 0, nullptr)));
    ReplaceScreen("screen");
    screen->LevelSetup();
    timer->SetElapsedTime(150000);
    for (int i = 0; i < 80; ++i) Frame();
    EXPECT_FALSE(screen->IsStartPending());
    EXPECT_EQ(screen->GetPendingCustomers().size(), 1u);
    EXPECT_TRUE(screen->GetActiveCustomers().empty());
}

TEST_F(ArrivalTest, NoCustomerComesWhileTheFloorIsPaused) {
    screen->LevelSetup();
    timer->SetRunning(true);
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_TRUE(screen->GetActiveCustomers().empty());
    EXPECT_EQ(screen->GetPendingCustomers().size(), 2u);
}

TEST_F(ArrivalTest, ACustomerWhoHasLeftGoesOffTheFloorAndFreesItsCounter) {
    StartLevel();
    At(0);
    std::shared_ptr<VCustomer> kid = screen->FindStation("station01")->GetCustomer();
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(screen->FindSprite(kid->GetName()), kid);
    kid->SetState(VCustomer::kDone);
    Frame();
    EXPECT_TRUE(screen->GetActiveCustomers().empty());
    EXPECT_EQ(screen->FindStation("station01")->GetCustomer(), nullptr);
    EXPECT_EQ(screen->FindSprite(kid->GetName()), nullptr);
}

// Endless mode.

class EndlessArrivalTest : public ArrivalTest {
protected:
    void SetUp() override {
        ArrivalTest::SetUp();
        PlayMode(1, 0);
    }

    void Values(const std::string& values) {
        WriteAsset("values.xml", "<values><value name=\"current_level\" value=\"1\"/>" + values + "</values>");
    }
};

TEST_F(EndlessArrivalTest, TheNextCustomerComesAfterTheDelayShortenedWithTheLevelTime) {
    const struct {
        const char* values;
        uint32_t elapsed;
        uint32_t draw;
        uint32_t next;
        const char* why;
    } cases[] = {
        {"", 0, 700, 10000 + 200 - 250, "undeclared: 10000 and a spread of 500"},
        {"<value name=\"customer_delay\" value=\"6000\"/><value name=\"customer_delay_variance\" value=\"2000\"/>"
         "<value name=\"customer_delay_modifier\" value=\"0\" min=\"0\"/>",
         4000, 1500, 4000 + 6500, "no shortening"},
        {"<value name=\"customer_delay\" value=\"6000\"/><value name=\"customer_delay_variance\" value=\"0\"/>"
         "<value name=\"customer_delay_modifier\" value=\"0.002\" max=\"0.6\"/>",
         100000, 12345, 100000 + 4799, "no variance: no draw, the delay shortened by (a float just over) a fifth"},
        {"<value name=\"customer_delay\" value=\"6000\"/><value name=\"customer_delay_modifier\" value=\"0.002\" max=\"0.6\"/>",
         1000000, 0, 1000000 + 2299, "the shortening stops at its maximum: 5750 x (1 - 0.6), truncated"},
        {"<value name=\"customer_delay\" value=\"100\"/><value name=\"customer_delay_variance\" value=\"2000\"/>"
         "<value name=\"customer_delay_modifier\" value=\"0\" min=\"0\"/>",
         5000, 0, 5000, "a spread wider than the delay stops at no delay"},
        {"<value name=\"customer_delay_modifier\" value=\"1\" min=\"0\" max=\"4\"/>", 3000, 0, 3000,
         "a modifier of 1 or more brings the next at once"},
        {"<value name=\"customer_delay_modifier\" value=\"1\" min=\"0\" max=\"4\"/>", 2000000, 0, 2000000,
         "never before now"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Values(c.values);
        screen->LevelSetup();
        host.scripted.assign({c.draw});
        EXPECT_EQ(screen->NextArrivalTime(c.elapsed), c.next);
    }
}

TEST_F(EndlessArrivalTest, CustomersComeToFreeCountersAndTheTimeGoesOnWithoutOne) {
    Values("<value name=\"customer_delay\" value=\"2000\"/><value name=\"customer_delay_variance\" value=\"0\"/>"
           "<value name=\"customer_delay_modifier\" value=\"0\" min=\"0\"/>");
    StartLevel();
    EXPECT_EQ(screen->GetNextArrivalTime(), 3000u);
    EXPECT_EQ(screen->GetLastEndlessStepTime(), 0u);
    timer->SetElapsedTime(2999);
    Frame();
    EXPECT_TRUE(screen->GetActiveCustomers().empty());
    host.scripted.assign({1});
    timer->SetElapsedTime(3000);
    Frame();
    ASSERT_EQ(screen->GetActiveCustomers().size(), 1u);
    EXPECT_NE(screen->FindStation("station02")->GetCustomer(), nullptr);
    EXPECT_EQ(screen->GetNextArrivalTime(), 5000u);
    timer->SetElapsedTime(5000);
    Frame();
    EXPECT_EQ(screen->GetActiveCustomers().size(), 2u);
    // Both counters taken: nobody comes, and the next time is set all the same.
    timer->SetElapsedTime(7000);
    Frame();
    EXPECT_EQ(screen->GetActiveCustomers().size(), 2u);
    EXPECT_EQ(screen->GetNextArrivalTime(), 9000u);
}

}  // namespace
