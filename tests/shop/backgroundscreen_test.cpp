// The level screen's backdrop: made with the location's objects when a
// level is set up, and showing the upgrades the pre-level shop previews
// once the shop closes.
#include <gtest/gtest.h>

#include "game/chocolates/chocolatevendor.h"
#include "game/floor/background.h"
#include "game/level/upgrademanager.h"
#include "game/sprites/spritemanager.h"
#include "tests/shop/shoptesting.h"

namespace {

class BackgroundScreenTest : public LevelScreenTest {};

TEST_F(BackgroundScreenTest, TheLevelsSetUpMakesTheBackdropWithItsDecorations) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    std::shared_ptr<VBackground> background = screen->GetBackground();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(screen->FindSprite("background"), background);
    std::shared_ptr<VObject> lamp = background->GetStatics().at("lamp");
    EXPECT_EQ(lamp->GetManager(), screen->GetSpriteManager());
    EXPECT_FALSE(lamp->IsVisible());
    EXPECT_STREQ(background->GetCurrentState().c_str(), "default");

    // A second set-up makes a new one; the old one's decorations go.
    screen->LevelSetup();
    EXPECT_NE(screen->GetBackground(), background);
    EXPECT_EQ(lamp->GetManager(), nullptr);
}

TEST_F(BackgroundScreenTest, WhatThePreLevelShopPreviewsShowsWhenItCloses) {
    VLevelManager::Get()->SetCurrentLevel(10);
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(screen->LevelNeedsPrelevel());
    screen->SetChocolateVendor(VChocolateVendor::Create());
    std::shared_ptr<VBackground> background = screen->GetBackground();
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    // Offered, not yet previewed: the backdrop keeps its look.
    upgrades->MakeAvailable("kBackground2", "aesthetic");
    screen->RefreshAfterUpgrades();
    EXPECT_STREQ(background->GetCurrentState().c_str(), "default");

    upgrades->PreviewUpgrade("kBackground2", "aesthetic", nullptr);
    screen->RefreshAfterUpgrades();
    EXPECT_STREQ(background->GetCurrentState().c_str(), "upgrade2");
    upgrades->RevertPreviews("", "", nullptr);
    screen->RefreshAfterUpgrades();
    EXPECT_STREQ(background->GetCurrentState().c_str(), "default");
}

}  // namespace
