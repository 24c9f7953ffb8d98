// The first level of the story as a player meets it from the main menu: the
// level screen opens with its HUD counting down, customers come to the
// counters, a click on a customer's counter walks the player there and the
// customer shows its order, and customers left waiting go away angry.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/gamestate.h"
#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/level/level.h"
#include "game/machines/station.h"
#include "game/shop/shophud.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "game/texts/timer.h"
#include "tests/startup/gamescreentesting.h"

namespace {

class PlayLevelTest : public GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        for (const char* folder : {"scripts/shop", "shop", "zones", "levels", "locations", "audio", "anim", "ui"}) {
            AddAssetTree(folder);
        }
        for (const char* name : {"assets.xml", "values.xml"}) AddFile(name, ReadAsset(name));
        // The level script reads the floor's descriptions through the working folder.
        for (const char* name : {"scripts/shop/posse.lua", "scripts/shop/grytviken.lua", "scripts/shop/chocolates.lua"}) {
            AddFile(std::string("assets/") + name, ReadAsset(name));
        }
    }

    // The level screen once Play has opened it.
    ShopWindow* PlayFromTheMenu() {
        // The player is in the window: entering the level asks no pause.
        static_cast<window::ScriptedWindow&>(mPlatform->GetData().GetWindow()).focused = true;
        GameMainSetUp(mPlatform.get(), mSession);
        EXPECT_TRUE(RunUntilShown("play"));
        Click(FindInTop("play"));
        EXPECT_TRUE(RunUntilShown("shop"));
        return dynamic_cast<ShopWindow*>(FindInTop("shop"));
    }

    static int Stat(const char* key) { return StateValueToInt(TGameState::Get()->GetState(key).c_str()); }
};

TEST_F(PlayLevelTest, PlayOpensTheFirstLevelWhoseClockRunsDownOnceItsHoldIsOver) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(ShopWindow::GetCurrent(), shop);
    EXPECT_TRUE(VGame::Get()->IsGameLoaded());
    EXPECT_TRUE(VGame::Get()->AreInsideGame());
    ASSERT_NE(shop->GetLevel(), nullptr);
    EXPECT_EQ(shop->GetLevel()->GetNumber(), 1);
    EXPECT_FALSE(shop->IsEndlessMode());
    RTimer* timer = shop->GetLevelTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_STREQ(timer->GetText().c_str(), "2:00");
    EXPECT_EQ(TextOf("goal_score"), "$300");
    EXPECT_EQ(TextOf("level_name"), "Level  1");
    EXPECT_FALSE(FindInTop("extension")->IsVisible());

    RunFor(3000);
    EXPECT_FALSE(shop->IsStartPending());
    EXPECT_FALSE(shop->GetSpriteManager()->IsPaused());
    EXPECT_TRUE(timer->IsRunning());
    EXPECT_GT(timer->GetElapsedTime(), 0);
    EXPECT_LT(timer->GetElapsedTime(), 3000);
    EXPECT_EQ(TextOf("game_timer"), "1:58");
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, CustomersArriveAnOrderIsTakenAtStationOneAndTheWaitingLeaveAngry) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    RunFor(3000);
    // Level 1's first customer comes at once to its own counter.
    std::shared_ptr<VStation> first = shop->FindStation("station01");
    ASSERT_NE(first, nullptr);
    std::shared_ptr<VCustomer> customer = first->GetCustomer();
    ASSERT_NE(customer, nullptr);
    EXPECT_EQ(Stat("TotalCustomers"), 1);
    EXPECT_TRUE(customer->IsVisible());

    // A click on the counter walks the player there. (Sprites are hit where
    // they are drawn, which the recording display does not show; the click
    // is handed to the counter.)
    first->OnClick();
    // The walk, then the customer's look at the menu.
    RunFor(7000);
    std::shared_ptr<VPlayer> player = shop->GetPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(shop->FindStationAtPoint(player->GetCurrentPoint()), first);
    EXPECT_TRUE(customer->HasOutstandingOrder());
    EXPECT_EQ(customer->GetState(), VCustomer::kWaiting);

    // Three minutes on, no one was served: customers came, and those whose
    // patience ran out have left angry, the first of them.
    RunFor(180000);
    EXPECT_GE(Stat("TotalCustomers"), 3);
    EXPECT_GE(Stat("TotalCustomersLost"), 2);
    EXPECT_EQ(customer->GetState(), VCustomer::kDone);
    EXPECT_EQ(first->GetCustomer(), nullptr);
    EXPECT_EQ(std::count(shop->GetActiveCustomers().begin(), shop->GetActiveCustomers().end(), customer), 0);
    EXPECT_EQ(shop->FindSprite(customer->GetName()), nullptr);
    EXPECT_TRUE(shop->IsLevelClosing());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

}  // namespace
