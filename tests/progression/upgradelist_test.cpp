// The shop's tabs and their list: what a tab shows for its upgrade's state
// and the money, hovering and previews, buying, and the list's order, its
// buy-all and the bought tabs leaving.
#include "game/progression/upgradelist.h"

#include <gtest/gtest.h>

#include "game/progression/upgradeselect.h"
#include "tests/progression/upgradeshoptesting.h"

namespace {

class UpgradeTabTest : public UpgradeShopFixture {
protected:
    void SetUp() override {
        UpgradeShopFixture::SetUp();
        AddStrings();
        list = MakeList();
        ASSERT_TRUE(list->ShowCategory("station"));
    }
    void AddStrings() {
        TStringTable* table = mPlatform->GetData().GetStringTable();
        std::string xml = "<Workbook><Worksheet><Table>" + Row("hdr_a", "Faster mixer") +
                          Row("txt_a", "Mixes in half the time") + "</Table></Worksheet></Workbook>";
        mSheet = xml;
        RegisterMemoryFile("shop_strings.xml", mSheet.data(), mSheet.size());
        ASSERT_TRUE(table->AddFile("shop_strings.xml"));
    }
    VUpgradeTab* Tab(const char* name) { return FindTab(*list, name); }

    VUpgradeList* list = nullptr;
    std::string mSheet;
};

TEST_F(UpgradeTabTest, TheTabShowsItsUpgradesTextsAndPrice) {
    VUpgradeTab* tab = Tab("upgrade_tab_ka");
    ASSERT_NE(tab, nullptr);
    EXPECT_STREQ(TextOf(tab, "txt_header").c_str(), "Faster mixer");
    EXPECT_STREQ(TextOf(tab, "txt_content").c_str(), "Mixes in half the time");
    EXPECT_STREQ(TextOf(tab, "txt_price").c_str(), "$300");
    EXPECT_STREQ(TextOf(tab, "txt_price_shadow").c_str(), "$300");
    EXPECT_FLOAT_EQ(tab->GetCost(), 300.0f);
    // Without texts of its own a tab shows the table's mark of a missing label.
    VUpgradeTab* plain = Tab("upgrade_tab_kb");
    ASSERT_NE(plain, nullptr);
    EXPECT_NE(TextOf(plain, "txt_header").Find("#####"), -1);
    auto* thumbnail = dynamic_cast<TImage*>(plain->FindChildWindow("img_thumbnail", -1));
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_FALSE(thumbnail->HasTexture());
    EXPECT_FLOAT_EQ(VUpgradeTab().GetCost(), 0.0f);
}

TEST_F(UpgradeTabTest, LayerAndBuyButtonFollowStateAndMoney) {
    struct Case {
        const char* tab;
        float money;
        bool grant;
        int layer;
        bool buyVisible;
        bool buyDisabled;
    };
    const Case cases[] = {
        {"upgrade_tab_ka", 500, false, VUpgradeTab::kOfferedLayer, true, false},
        {"upgrade_tab_ka", 299, false, VUpgradeTab::kOfferedLayer, true, true},
        {"upgrade_tab_kd", 500, false, VUpgradeTab::kLockedLayer, false, false},
        {"upgrade_tab_kb", 500, true, VUpgradeTab::kBoughtLayer, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tab);
        SetMoney(c.money);
        VUpgradeTab* tab = Tab(c.tab);
        ASSERT_NE(tab, nullptr);
        if (c.grant) Upgrades()->GrantUpgrade(tab->GetUpgrade()->GetName(), "station", false, nullptr);
        tab->Refresh();
        EXPECT_EQ(tab->GetShownLayer(), c.layer);
        ASSERT_NE(tab->GetBuyButton(), nullptr);
        EXPECT_EQ(tab->GetBuyButton()->IsVisible(), c.buyVisible);
        if (c.buyVisible) {
            EXPECT_EQ(tab->GetBuyButton()->IsDisabled(), c.buyDisabled);
        }
    }
}

TEST_F(UpgradeTabTest, HoveringAnAffordableTabPreviewsItsUpgradeUntilThePointerLeaves) {
    VUpgradeTab* tab = Tab("upgrade_tab_ka");
    tab->OnMouseMove(TPoint(10, 10));
    EXPECT_TRUE(tab->IsHovered());
    EXPECT_TRUE(TWindowManager::GetInstance()->HasCapture(tab));
    EXPECT_EQ(tab->GetShownLayer(), VUpgradeTab::kHoveredLayer);
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kPreview);
    tab->OnMouseCancel();
    EXPECT_FALSE(tab->IsHovered());
    EXPECT_FALSE(TWindowManager::GetInstance()->HasCapture(tab));
    EXPECT_EQ(tab->GetShownLayer(), VUpgradeTab::kOfferedLayer);
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kAvailable);
}

TEST_F(UpgradeTabTest, HoveringATabTooDearChangesNothing) {
    SetMoney(299);
    VUpgradeTab* tab = Tab("upgrade_tab_ka");
    tab->Refresh();
    tab->OnMouseMove(TPoint(10, 10));
    EXPECT_EQ(tab->GetShownLayer(), VUpgradeTab::kOfferedLayer);
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kAvailable);
    EXPECT_TRUE(tab->GetBuyButton()->IsDisabled());
    EXPECT_FALSE(tab->Purchase());
    EXPECT_FLOAT_EQ(Money(), 299.0f);
}

TEST_F(UpgradeTabTest, APointerOutsideTheListsViewLeavesTheTab) {
    VUpgradeTab* tab = Tab("upgrade_tab_kd");  // the fourth tab lies below the view
    ASSERT_GE(tab->GetRect().top, list->GetHeight());
    tab->OnMouseMove(TPoint(10, 10));
    EXPECT_FALSE(tab->IsHovered());
    VUpgradeTab* top = Tab("upgrade_tab_kb");
    top->OnMouseMove(TPoint(10, 10));
    EXPECT_TRUE(top->IsHovered());
}

TEST_F(UpgradeTabTest, BuyingInTheStorySpendsTheWorthBanksLessRecordsAndChimes) {
    StartSound();
    VLevelManager::Get()->SetCurrentLevel(5);
    VLevelManager::Get()->SetCurrentLocationScore(900);
    VUpgradeTab* tab = Tab("upgrade_tab_ka");
    tab->OnMouseMove(TPoint(10, 10));  // previewing
    EXPECT_FALSE(Press(tab, "btn_buy_upgrade"));  // never handled
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kBought);
    EXPECT_FALSE(tab->IsPreviewing());
    EXPECT_EQ(tab->GetShownLayer(), VUpgradeTab::kBoughtLayer);
    EXPECT_FLOAT_EQ(Money(), 200.0f);
    EXPECT_EQ(VLevelManager::Get()->GetCurrentLocationScore(), 600);
    TGameState* state = TGameState::Get();
    EXPECT_STREQ(state->GetState("begin-status").c_str(), "UpgradeChosenStory");
    EXPECT_STREQ(state->GetState("add-value").c_str(), "ka");
    EXPECT_STREQ(state->GetState("end-status").c_str(), "UpgradeChosenStory");
    EXPECT_FALSE(tab->Purchase());
    EXPECT_FLOAT_EQ(Money(), 200.0f);
}

TEST_F(UpgradeTabTest, OnlyGameplayUpgradesCountAsTheCharactersUpgrades) {
    float before = VValueManager::Get()->GetReal("num_char_upgrades", 0);
    ASSERT_TRUE(Tab("upgrade_tab_kb")->Purchase());
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("num_char_upgrades", 0), before);
    ASSERT_TRUE(list->ShowCategory("gameplay"));
    ASSERT_TRUE(Tab("upgrade_tab_kp")->Purchase());
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("num_char_upgrades", 0), before + 1);
}

TEST_F(UpgradeTabTest, AnEndlessPurchaseSpendsTheLevelsTakingsAndRecordsNothing) {
    VGame::Get()->SetCurrentGameMode(1);
    VUpgradeList* endless = Make<VUpgradeList>("{ name = 'endless_list', x = 300, y = 10, w = 220, h = 120 }");
    ASSERT_TRUE(endless->ShowCategory("station"));
    VUpgradeTab* tab = FindTab(*endless, "upgrade_tab_kb");
    ASSERT_NE(tab, nullptr);
    EXPECT_STREQ(tab->GetMoneyName().c_str(), "current_level_total");
    SetMoney(150, "current_level_total");
    ASSERT_TRUE(tab->Purchase());
    EXPECT_FLOAT_EQ(Money("current_level_total"), 50.0f);
    EXPECT_FLOAT_EQ(Money(), 500.0f);
    EXPECT_STREQ(TGameState::Get()->GetState("begin-status").c_str(), "");
}

class UpgradeListTest : public UpgradeShopFixture {};

TEST_F(UpgradeListTest, OpenUpgradesAreListedByLayerThenCostKeepingNameOrder) {
    VUpgradeList* list = MakeList();
    EXPECT_TRUE(list->ShowCategory("station"));
    EXPECT_EQ(TabNames(*list), (std::vector<std::string>{"upgrade_tab_kb", "upgrade_tab_kc", "upgrade_tab_ka",
                                                          "upgrade_tab_kd"}));
    int y = 0;
    for (const VUpgradeTab* tab : list->GetTabs()) {
        EXPECT_EQ(tab->GetRect().top, y);
        EXPECT_EQ(tab->GetParent(), list->GetInterior());
        y += tab->GetHeight();
    }
    EXPECT_EQ(list->GetInterior()->GetHeight(), 200);
    EXPECT_FALSE(list->ShowCategory("aesthetic"));
    EXPECT_TRUE(list->IsEmpty());
    EXPECT_TRUE(list->GetTabs().empty());
}

TEST_F(UpgradeListTest, BuyAllBuysFromTheTopWhileTheMoneyLasts) {
    SetMoney(250);
    VUpgradeList* list = MakeList();
    list->ShowCategory("station");
    list->BuyAll();
    EXPECT_FLOAT_EQ(Money(), 50.0f);
    EXPECT_EQ(Upgrade("kb")->GetState(), VUpgrade::kBought);
    EXPECT_EQ(Upgrade("kc")->GetState(), VUpgrade::kBought);
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kAvailable);
    list->Animate();
    EXPECT_EQ(TabNames(*list), (std::vector<std::string>{"upgrade_tab_ka", "upgrade_tab_kd"}));
}

TEST_F(UpgradeListTest, TabsBelowABoughtOneRiseTenPixelsAStep) {
    VUpgradeList* list = MakeList();
    list->ShowCategory("station");
    VUpgradeTab* second = FindTab(*list, "upgrade_tab_kc");
    ASSERT_TRUE(FindTab(*list, "upgrade_tab_kb")->Purchase());
    const int tops[] = {40, 30, 20, 10, 0, 0};
    for (int top : tops) {
        list->Animate();
        EXPECT_EQ(second->GetRect().top, top);
    }
    EXPECT_EQ(FindTab(*list, "upgrade_tab_ka")->GetRect().top, 50);
    EXPECT_EQ(list->GetTabs().size(), 3u);
}

TEST_F(UpgradeListTest, ABoughtTabLeavesSafelyWhileItHoldsTheMouseAndAPressWaitsForIt) {
    TWindowManager* windows = TWindowManager::GetInstance();
    VUpgradeList* list = MakeList();
    list->ShowCategory("station");
    VUpgradeTab* tab = FindTab(*list, "upgrade_tab_kb");
    tab->OnMouseMove(TPoint(10, 10));
    ASSERT_TRUE(windows->HasCapture(tab));
    ASSERT_TRUE(tab->Purchase());
    // A second press of its buy button is already queued.
    windows->PostMessage(new TMessage(TMessage::kButtonPress, "btn_buy_upgrade", tab->GetBuyButton()));
    list->Animate();
    EXPECT_FALSE(windows->HasCapture(tab));
    windows->DeliverMessages();
    windows->FlushDeletes();
    EXPECT_EQ(FindTab(*list, "upgrade_tab_kb"), nullptr);
    EXPECT_FLOAT_EQ(Money(), 400.0f);
}

TEST_F(UpgradeListTest, AScriptThatMakesNoTabGivesNoTabAndLeaksNothing) {
    struct Case {
        const char* what;
        const char* script;
    };
    const Case cases[] = {
        {"failing", "error('no tab today')"},
        {"other class", "MakeDialog { Text { name = 'upgrade_tab', x = 0, y = 0, w = 10, h = 10 } }"},
        {"half made", "MakeDialog { Text { name = 'left_over', x = 0, y = 0, w = 10, h = 10 } } error('stop')"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddFile("scripts/upgrade.lua", c.script);
        VUpgradeList* list = MakeList();
        EXPECT_FALSE(list->ShowCategory("station"));
        EXPECT_TRUE(list->IsEmpty());
    }
}

TEST_F(UpgradeListTest, ChangingTheCategoryEndsEveryPreview) {
    VUpgradeList* list = MakeList();
    list->ShowCategory("station");
    Upgrades()->PreviewUpgrade("ka", "station", nullptr);
    ASSERT_EQ(Upgrade("ka")->GetState(), VUpgrade::kPreview);
    EXPECT_TRUE(list->ShowCategory("gameplay"));
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kAvailable);
    EXPECT_EQ(TabNames(*list), (std::vector<std::string>{"upgrade_tab_kp", "upgrade_tab_kq"}));
}

TEST_F(UpgradeListTest, ShowingTheSameCategoryAgainKeepsItsTabs) {
    VUpgradeList* list = MakeList();
    list->ShowCategory("station");
    const VUpgradeTab* first = list->GetTabs().front();
    EXPECT_TRUE(list->ShowCategory("station"));
    EXPECT_EQ(list->GetTabs().front(), first);
}

}  // namespace
