// Loading a level on the level screen: the level file of the current level
// (the first of its block of ten in endless mode), the location's floor,
// the scripted customers waiting, the clock held until the level starts,
// what loads once per screen, and a description with parts missing.
#include <gtest/gtest.h>

#include <string>

#include "game/chocolates/chocolatevendor.h"
#include "game/floor/customervendor.h"
#include "game/floor/player.h"
#include "game/level/levelmanager.h"
#include "game/sprites/spritemanager.h"
#include "tests/shop/leveltesting.h"

namespace {

class LevelSetupTest : public LevelTest {
protected:
    // "values.xml" with the current level and the given values.
    void WriteValues(int level, const std::string& values = "") {
        WriteAsset("values.xml", "<values><value name=\"current_level\" value=\"" + std::to_string(level) +
                                     "\"/>" + values + "</values>");
    }
};

TEST_F(LevelSetupTest, TheLevelLoadsItsFloorAndCustomersAndHoldsTheClockUntilItStarts) {
    WriteValues(1);
    screen->LevelSetup();
    ASSERT_NE(screen->GetLevel(), nullptr);
    EXPECT_EQ(screen->GetLevel()->GetNumber(), 1);
    EXPECT_EQ(VLevelManager::Get()->GetCurrentLevelObject(), screen->GetLevel());
    ASSERT_NE(screen->FindStation("station01"), nullptr);
    ASSERT_NE(screen->FindStation("station02"), nullptr);
    EXPECT_EQ(screen->FindStationByNumber(3), nullptr);
    ASSERT_NE(screen->GetPlayer(), nullptr);
    EXPECT_EQ(screen->GetPlayer()->GetPosition(), TVec2(200, 300));
    EXPECT_NE(screen->GetChocolateVendor(), nullptr);
    EXPECT_EQ(screen->GetChocolateVendor()->GetMaxLayers(), 2);
    // Both scripted customers wait, the location's kind and the common one.
    ASSERT_EQ(screen->GetPendingCustomers().size(), 2u);
    EXPECT_EQ(TypeOf(screen->GetPendingCustomers().front()), "kid");
    EXPECT_EQ(TypeOf(screen->GetPendingCustomers().back()), "grown");
    EXPECT_TRUE(screen->GetActiveCustomers().empty());

    EXPECT_STREQ(timer->GetText().c_str(), "2:30");
    EXPECT_EQ(hud->GetLevelTime(), 150000);
    EXPECT_FALSE(timer->IsRunning());
    EXPECT_TRUE(screen->GetSpriteManager()->IsPaused());
    EXPECT_TRUE(screen->GetSpriteManager()->IsInputRestricted());
    EXPECT_TRUE(screen->IsStartPending());
    EXPECT_EQ(screen->GetHoldTime(), 1000);
    EXPECT_EQ(State("LevelNumber"), "1");
    EXPECT_EQ(State("LatestLevelStory"), "1");

    // A script that never asked for the pre-level shop starts once the hold is over.
    for (int frame = 0; frame < 62; ++frame) Frame();
    EXPECT_TRUE(screen->IsStartPending());
    Frame();
    Frame();
    EXPECT_FALSE(screen->IsStartPending());
    EXPECT_FALSE(screen->GetSpriteManager()->IsPaused());
    EXPECT_FALSE(screen->GetSpriteManager()->IsInputRestricted());
    EXPECT_TRUE(timer->IsRunning());
}

TEST_F(LevelSetupTest, TheClockWaitsATickForThePrelevelShopOrThePlotOnlyInTheStory) {
    // Levels above the third ask for the pre-level shop.
    WriteAsset("levels/level04.xml", LevelFile(""));
    const struct {
        int mode;
        int level;
        bool ready;
        int ticks;
        const char* why;
    } cases[] = {
        {0, 1, false, 1, "no request"},
        {0, 1, true, 2, "the plot is looked at first"},
        {0, 4, true, 2, "the pre-level shop is queued first"},
        {1, 1, true, 1, "endless mode waits for neither"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        ReplaceScreen("screen");
        PlayMode(c.mode, 0);
        WriteValues(c.level);
        screen->LevelSetup();
        // 63 ticks of 16 ms use up the hold of 1000 ms; the script asks
        // for the pre-level shop just then.
        for (int tick = 0; tick < 63; ++tick) Frame();
        EXPECT_TRUE(screen->IsStartPending());
        if (c.ready) screen->ReadyForPrelevel();
        int ticks = 0;
        for (; ticks < 10 && screen->IsStartPending(); ++ticks) Frame();
        EXPECT_EQ(ticks, c.ticks);
        if (c.mode == 0) {
            EXPECT_FALSE(screen->IsPrelevelRequested());
        }
        EXPECT_FALSE(screen->IsPlotPending());
        EXPECT_EQ(screen->GetLevel()->NeedPrelevel(), false);
        EXPECT_TRUE(timer->IsRunning());
    }
}

TEST_F(LevelSetupTest, EndlessModePlaysTheFirstLevelOfTheBlockOfTen) {
    for (int level : {1, 11, 21}) WriteAsset("levels/level" + std::string(level < 10 ? "0" : "") + std::to_string(level) + ".xml", LevelFile(""));
    const struct {
        int mode;
        int current;
        int played;
    } cases[] = {{0, 0, 1}, {1, 0, 1}, {1, 15, 11}, {1, 10, 1}, {1, 21, 21}, {2, 20, 11}, {0, 15, 15}};
    WriteAsset("levels/level15.xml", LevelFile(""));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", level " << c.current);
        PlayMode(c.mode, 0);
        WriteValues(c.current);
        screen->LevelSetup();
        EXPECT_EQ(screen->GetLevel()->GetNumber(), c.played);
        EXPECT_EQ(VLevelManager::Get()->GetCurrentLevel(), c.played);
        EXPECT_EQ(screen->IsEndlessMode(), c.mode != 0);
    }
}

TEST_F(LevelSetupTest, TheLevelsDecaysAndTheDifficultySetTheirValues) {
    const char kDefaults[] = "<value name=\"chocolate_decay_rate\" value=\"7\"/>"
                             "<value name=\"level_customer_decay\" value=\"1\"/>"
                             "<value name=\"endless_medium_modifier\" value=\"0.5\"/>"
                             "<value name=\"endless_hard_modifier\" value=\"1.25\"/>";
    const struct {
        const char* extra;
        int mode;
        int difficulty;
        float chocolateRate;
        float customerDecay;
        float difficultyModifier;
    } cases[] = {
        {"", 0, 0, 7, 1, 0},
        {"<chocolatedecay>4</chocolatedecay><customerdecay>0.5</customerdecay>", 0, 0, 25, 1.5f, 0},
        // Endless levels keep the values' own decays.
        {"<chocolatedecay>4</chocolatedecay><customerdecay>0.5</customerdecay>", 1, 1, 7, 1, 0.5f},
        {"", 3, 2, 7, 1, 1.25f},
        {"", 2, 0, 7, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extra + std::string(" mode ") + std::to_string(c.mode));
        WriteAsset("levels/level01.xml", LevelFile("", c.extra));
        WriteValues(1, kDefaults);
        PlayMode(c.mode, c.difficulty);
        screen->LevelSetup();
        EXPECT_FLOAT_EQ(Value("chocolate_decay_rate"), c.chocolateRate);
        EXPECT_FLOAT_EQ(Value("level_customer_decay"), c.customerDecay);
        if (c.mode != 0) {
            EXPECT_FLOAT_EQ(Value("endless_diff_modifier"), c.difficultyModifier);
        }
    }
}

TEST_F(LevelSetupTest, TheZonesAndTheCustomerTemplatesLoadOncePerScreen) {
    WriteValues(1);
    screen->LevelSetup();
    std::shared_ptr<ZoneController> zones = screen->GetZoneController();
    std::shared_ptr<VCustomerVendor> vendor = screen->GetCustomerVendor();
    ASSERT_NE(zones, nullptr);
    ASSERT_NE(vendor, nullptr);
    std::shared_ptr<VStation> first = screen->FindStation("station01");
    screen->LevelSetup();
    EXPECT_EQ(screen->GetZoneController(), zones);
    EXPECT_EQ(screen->GetCustomerVendor(), vendor);
    // The floor itself is made anew, and only once on the screen.
    EXPECT_NE(screen->FindStation("station01"), first);
    EXPECT_EQ(screen->GetSpriteManager()->GetSprites().size(), 3u);
    EXPECT_EQ(screen->GetPendingCustomers().size(), 2u);
}

TEST_F(LevelSetupTest, ALocationWithPartsMissingLeavesThemOutAndTheLevelStartsAnyway) {
    WriteValues(1);
    WriteAsset("levels/level01.xml",
               LevelFile(CustomerElement("kid", 0, "station01") + CustomerElement("ghost", 0, nullptr)));
    const char* descriptions[] = {
        "bare = { posse = { } }",
        "bare = { location_grytviken = { stations = 5, player = 'none', customers = { kid = { name = 'kid' } } } }",
    };
    for (const char* description : descriptions) {
        SCOPED_TRACE(description);
        Define(description);
        ReplaceScreen("bare");
        screen->LevelSetup();
        EXPECT_EQ(screen->FindStation("station01"), nullptr);
        EXPECT_EQ(screen->GetPlayer(), nullptr);
        // A customer type without a template makes no customer.
        for (const std::shared_ptr<VCustomer>& customer : screen->GetPendingCustomers()) {
            EXPECT_NE(TypeOf(customer), "ghost");
        }
        for (int i = 0; i < 100 && screen->IsStartPending(); ++i) Frame();
        EXPECT_FALSE(screen->IsStartPending());
        EXPECT_TRUE(timer->IsRunning());
        Frame();
        EXPECT_TRUE(screen->GetActiveCustomers().empty());
    }
}

}  // namespace
