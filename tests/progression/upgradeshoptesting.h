// The upgrade shop on the front-end fixture: a player, a small catalogue
// evaluated for level 5, a tab script, money, and a level scene whose
// objects the upgrades' effects bind to.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/message.h"
#include "core/windows/windowmanager.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/objects/object.h"
#include "game/progression/prelevelwindow.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/upgradelist.h"
#include "game/progression/upgradetab.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/spritewindow.h"
#include "game/widgets/disablebutton.h"
#include "tests/menus/menutesting.h"
#include "widgets/slider.h"

// At level 5: station upgrades ka 300, kb and kc 100 each (a tie), kd
// locked until level 9, ke hidden, kf given; aesthetic kg hidden and kh
// given; gameplay kp 200 glowing the lamp alone and kq 600 the shelf with
// its children.
inline const char kShopCatalogue[] = R"(<upgrades>
  <upgradetype type="station">
    <upgrade name="kA"><cost>300</cost><header>hdr_a</header><content>txt_a</content><image>thumb.png</image></upgrade>
    <upgrade name="kB"><cost>100</cost></upgrade>
    <upgrade name="kC"><cost>100</cost></upgrade>
    <upgrade name="kD"><cost>50</cost><minlevel>9</minlevel></upgrade>
    <upgrade name="kE" hidden="true"><cost>10</cost></upgrade>
    <upgrade name="kF"><enabled>1</enabled></upgrade>
  </upgradetype>
  <upgradetype type="aesthetic">
    <upgrade name="kG" hidden="true"><cost>10</cost></upgrade>
    <upgrade name="kH"><enabled>1</enabled></upgrade>
  </upgradetype>
  <upgradetype type="gameplay">
    <upgrade name="kP"><cost>200</cost><object name="lamp" recursive="false"/></upgrade>
    <upgrade name="kQ"><cost>600</cost><object name="shelf"/></upgrade>
  </upgradetype>
</upgrades>)";

// A tab 200 by 50 whose windows show on every layer.
inline const char kTabScript[] = R"(
MakeDialog
{
    VUpgradeTab
    {
        name = "upgrade_tab", x = 0, y = 0, w = 200, h = 50,
        SelectLayer(kAllLayers),
        Text { name = "txt_header", x = 60, y = 0, w = 100, h = 20 },
        Text { name = "txt_content", x = 60, y = 20, w = 100, h = 20 },
        Bitmap { name = "img_thumbnail", x = 0, y = 0 },
        Text { name = "txt_price_shadow", x = 1, y = 31, w = 50, h = 18 },
        Text { name = "txt_price", x = 0, y = 30, w = 50, h = 18 },
        RDisableButton { name = "btn_buy_upgrade", x = 160, y = 10, w = 40, h = 30 },
    },
}
)";

class UpgradeShopFixture : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        CreateGameWithUser();
        VGame::Get()->LoadUserProgress();
        TWindowManager* windows = TWindowManager::GetInstance();
        windows->RegisterWindowType("VUpgradeTab", VUpgradeTab::ClassId());
        windows->RegisterWindowType("RDisableButton", RDisableButton::ClassId());
        AddFile("scripts/upgrade.lua", kTabScript);
        AddFile("shop.xml", kShopCatalogue);
        Upgrades()->SelectLocation(5, "shop.xml", -1, -1, nullptr);
        SetMoney(500);
    }
    void TearDown() override {
        ReleaseManagerSingleton<VTutorialManager>();
        MenuTest::TearDown();
    }

    static std::shared_ptr<VUpgradeManager> Upgrades() { return VUpgradeManager::Get(); }
    static std::shared_ptr<VUpgrade> Upgrade(const char* name, const char* category = "station") {
        return Upgrades()->GetUpgrade(name, category);
    }
    static void SetMoney(float money, const char* name = "current_worth") {
        VValueManager::Get()->SetValue(name, money, false);
    }
    static float Money(const char* name = "current_worth") { return VValueManager::Get()->GetReal(name, 0); }

    // A list 200 by 120 in the dialog, with a vertical scroll bar.
    VUpgradeList* MakeList() {
        return Make<VUpgradeList>(
            "{ name = 'upgrade_list', x = 10, y = 10, w = 220, h = 120,"
            " Slider { name = 'bar', x = 200, y = 0, w = 20, h = 120 } }");
    }
    static std::vector<std::string> TabNames(const VUpgradeList& list) {
        std::vector<std::string> names;
        for (const VUpgradeTab* tab : list.GetTabs()) names.push_back(tab->GetName().c_str());
        return names;
    }
    static VUpgradeTab* FindTab(const VUpgradeList& list, const char* name) {
        for (VUpgradeTab* tab : list.GetTabs()) {
            if (tab->GetName() == name) return tab;
        }
        return nullptr;
    }
    // A press of the named button, handed to the window.
    static bool Press(TWindow* window, const char* name) {
        TMessage message(TMessage::kButtonPress, name, nullptr);
        return window->OnMessage(&message);
    }
    static TString TextOf(TWindow* window, const char* name) {
        auto* text = dynamic_cast<TText*>(window->FindChildWindow(name, -1));
        return text ? text->GetText() : TString("(none)");
    }
};
