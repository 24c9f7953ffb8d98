// The end of the first level as a player meets it: the debug console opened
// with Ctrl+C ends the level with a cheat, the end dialog shows the result
// and the worth on its register, and its buttons play the next level or go
// back to the main menu.
#include <gtest/gtest.h>

#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/shop/register.h"
#include "game/shop/shopwindow.h"
#include "tests/startup/gamescreentesting.h"

namespace {

class EndLevelScreenTest : public GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        for (const char* folder : {"scripts/shop", "shop", "zones", "levels", "locations", "audio", "anim", "ui"}) {
            AddAssetTree(folder);
        }
        for (const char* name : {"assets.xml", "values.xml"}) AddFile(name, ReadAsset(name));
        for (const char* name : {"scripts/shop/posse.lua", "scripts/shop/grytviken.lua", "scripts/shop/chocolates.lua"}) {
            AddFile(std::string("assets/") + name, ReadAsset(name));
        }
    }

    ShopWindow* PlayFromTheMenu() {
        static_cast<window::ScriptedWindow&>(mPlatform->GetData().GetWindow()).focused = true;
        GameMainSetUp(mPlatform.get(), mSession);
        EXPECT_TRUE(RunUntilShown("play"));
        Click(FindInTop("play"));
        EXPECT_TRUE(RunUntilShown("shop"));
        RunFor(1500);
        return dynamic_cast<ShopWindow*>(FindInTop("shop"));
    }

    void CtrlC() {
        TPlatformEvent event;
        event.type = TPlatformEvent::kKeyDown;
        event.param = 'C';
        event.extra = 2;
        HandleGameEvent(mPlatform.get(), event);
    }
};

TEST_F(EndLevelScreenTest, ACheatTypedIntoTheConsoleEndsTheLevelAndNextPlaysTheNext) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    CtrlC();
    RunFor(100);
    ASSERT_NE(FindInTop("console_window"), nullptr);
    Type("cheat 2");
    Press(13);
    ASSERT_TRUE(RunUntilShown("endlevel"));
    EXPECT_TRUE(shop->HasLevelEnded());
    EXPECT_EQ(TextOf("result"), "Level mastered!");
    EXPECT_EQ(TextOf("subtitle"), "Level 1");
    for (const char* button : {"next", "replay", "menu"}) EXPECT_NE(FindInTop(button), nullptr) << button;
    // The worth rolls up to the banked mastery score.
    RunFor(600);
    auto* register_ = dynamic_cast<VRegister*>(FindInTop("register"));
    ASSERT_NE(register_, nullptr);
    EXPECT_EQ(register_->GetShownAmount(), VLevelManager::Get()->GetMasteryScore(1));
    EXPECT_EQ(register_->GetDigits()[0]->GetCurrent(), register_->GetShownAmount() % 10);

    Click(FindInTop("next"));
    ASSERT_TRUE(RunUntilGone("endlevel"));
    ASSERT_EQ(FindInTop("shop"), shop);
    ASSERT_NE(shop->GetLevel(), nullptr);
    EXPECT_EQ(shop->GetLevel()->GetNumber(), 2);
    EXPECT_FALSE(shop->HasLevelEnded());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(EndLevelScreenTest, MenuGoesBackToTheMainMenuAfterAFailedLevel) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    ASSERT_EQ(Run("DoCheatGame(0, '')"), "");
    ASSERT_TRUE(RunUntilShown("endlevel"));
    EXPECT_EQ(TextOf("result"), "Not enough takings today");
    Click(FindInTop("menu"));
    EXPECT_TRUE(RunUntilShown("play"));
    EXPECT_EQ(FindInTop("shop"), nullptr);
    EXPECT_EQ(VLevelManager::Get()->GetCurrentLevel(), 1);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

}  // namespace
