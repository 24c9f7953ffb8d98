// The pre-level shop: its toggles at set-up and as the list empties, the
// messages and keys it answers, the glow of a preview on the scene, "Close",
// and the level's scene drawn inside it.
#include "game/progression/prelevelwindow.h"

#include <gtest/gtest.h>

#include "game/progression/gloweffect.h"
#include "game/progression/upgradeselect.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "graphics/render/renderer.h"
#include "tests/progression/upgradeshoptesting.h"

namespace {

const char kShop[] = R"(MakeDialog { VPrelevelWindow {
    name = 'prelevel', x = 0, y = 0, w = 800, h = 600,
    RDisableButton { name = 'toggle_upgrades_gameplay', x = 0, y = 0, w = 60, h = 20, type = kRadio },
    RDisableButton { name = 'toggle_upgrades_aesthetic', x = 60, y = 0, w = 60, h = 20, type = kRadio },
    RDisableButton { name = 'toggle_upgrades_player', x = 120, y = 0, w = 60, h = 20, type = kRadio },
    VUpgradeList
    {
        name = 'upgrade_list', x = 0, y = 30, w = 220, h = 120,
        Slider { name = 'bar', x = 200, y = 0, w = 20, h = 120 },
    },
} })";

// Records the view it is drawn in.
class ViewSprite : public VSprite {
public:
    static std::shared_ptr<ViewSprite> Create() {
        auto sprite = std::make_shared<ViewSprite>();
        Adopt(sprite);
        return sprite;
    }
    ViewSprite() : VSprite("view", 0) {}
    void Render(const TDrawState& parentState, int depth) override {
        views.push_back(parentState.matrix);
        VSprite::Render(parentState, depth);
    }
    std::vector<TMat3> views;
};

class PrelevelWindowTest : public UpgradeShopFixture {
protected:
    void SetUp() override {
        UpgradeShopFixture::SetUp();
        TWindowManager* windows = TWindowManager::GetInstance();
        windows->RegisterWindowType("VUpgradeList", VUpgradeList::ClassId());
        windows->RegisterWindowType("VPrelevelWindow", VPrelevelWindow::ClassId());
    }
    RDisableButton* Toggle(const char* name) {
        return dynamic_cast<RDisableButton*>(shop->FindChildWindow(name, -1));
    }
    // The shop as a dialog script makes it, in the dialog.
    void Open(const char* script = kShop) {
        AddFile("scripts/testshop.lua", script);
        TWindowManager::GetInstance()->RunWindowScript(dialog, "scripts/testshop.lua");
        shop = dynamic_cast<VPrelevelWindow*>(dialog->FindChildWindow("prelevel", -1));
        ASSERT_NE(shop, nullptr);
    }

    VPrelevelWindow* shop = nullptr;
};

TEST_F(PrelevelWindowTest, TheFirstCategoryWithOpenUpgradesIsOnAndThoseWithoutAreDisabled) {
    Open();
    ASSERT_NE(shop->GetList(), nullptr);
    struct Case {
        const char* toggle;
        bool on;
        bool disabled;
    };
    const Case cases[] = {{"toggle_upgrades_gameplay", true, false},
                          {"toggle_upgrades_aesthetic", false, true},
                          {"toggle_upgrades_player", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toggle);
        ASSERT_NE(Toggle(c.toggle), nullptr);
        EXPECT_EQ(Toggle(c.toggle)->GetToggleState(), c.on);
        EXPECT_EQ(Toggle(c.toggle)->IsDisabled(), c.disabled);
    }
    EXPECT_STREQ(shop->GetCategory().c_str(), "station");
    EXPECT_STREQ(shop->GetList()->GetCategory().c_str(), "station");
}

TEST_F(PrelevelWindowTest, TogglesShowTheirCategoryAndBuyingTheLastTabDisablesTheToggleOnTheNextStep) {
    SetMoney(1000);
    Open();
    EXPECT_FALSE(Press(shop, "toggle_upgrades_player"));
    EXPECT_STREQ(shop->GetList()->GetCategory().c_str(), "gameplay");
    Toggle("toggle_upgrades_gameplay")->SetToggleState(false);
    Toggle("toggle_upgrades_player")->SetToggleState(true);
    EXPECT_FALSE(Press(shop, "btn_buy"));
    EXPECT_FLOAT_EQ(Money(), 200.0f);
    shop->Animate();
    EXPECT_FALSE(Toggle("toggle_upgrades_player")->IsDisabled());
    shop->GetList()->Animate();  // the bought tabs leave
    EXPECT_TRUE(shop->GetList()->IsEmpty());
    shop->Animate();
    EXPECT_TRUE(Toggle("toggle_upgrades_player")->IsDisabled());
}

TEST_F(PrelevelWindowTest, ArrowKeysScrollTheListOtherKeysPass) {
    Open();
    VUpgradeList* list = shop->GetList();
    ASSERT_GT(list->GetInterior()->GetHeight(), list->GetHeight());
    EXPECT_TRUE(shop->OnKeyDown(40, 0));
    EXPECT_GT(list->GetScrollPosition(), 0.0f);
    EXPECT_TRUE(shop->OnKeyDown(38, 0));
    EXPECT_FLOAT_EQ(list->GetScrollPosition(), 0.0f);
    EXPECT_FALSE(shop->OnKeyDown(37, 0));
    EXPECT_FALSE(Press(shop, "slider_end"));
    EXPECT_GT(list->GetScrollPosition(), 0.0f);
    Press(shop, "slider_start");
    EXPECT_FLOAT_EQ(list->GetScrollPosition(), 0.0f);
}

TEST_F(PrelevelWindowTest, AShopWithoutListOrToggleClassesStillWorksAndCloses) {
    Open("MakeDialog { VPrelevelWindow { name = 'prelevel', x = 0, y = 0, w = 800, h = 600,"
         " Text { name = 'toggle_upgrades_gameplay', x = 0, y = 0, w = 10, h = 10 } } }");
    EXPECT_EQ(shop->GetList(), nullptr);
    EXPECT_FALSE(Press(shop, "btn_buy"));
    EXPECT_FALSE(shop->OnKeyDown(40, 0));
    EXPECT_TRUE(shop->Animate());
    Upgrades()->PreviewUpgrade("ka", "station", nullptr);
    EXPECT_EQ(Run("Close()"), "");
    EXPECT_EQ(Upgrade("ka")->GetState(), VUpgrade::kAvailable);
}

TEST_F(PrelevelWindowTest, APreviewMakesItsTargetsGlowWithTheirChildrenWhenRecursive) {
    auto scene = VSpriteManager::Create();
    std::shared_ptr<VObject> objects[2];
    std::shared_ptr<VObject> children[2];
    const char* names[] = {"lamp", "shelf"};
    for (int i = 0; i < 2; ++i) {
        objects[i] = VObject::Create(names[i], "test", 0);
        children[i] = VObject::Create(std::string(names[i]).append("_top").c_str(), "test", 0);
        objects[i]->AddChild(children[i]);
        scene->AddSprite(objects[i]);
    }
    Upgrades()->ApplyUpgradeEffects(*scene);
    SetMoney(1000);
    Open();
    Press(shop, "toggle_upgrades_player");
    std::shared_ptr<VGlowEffect> glow = shop->GetList()->GetSelect()->GetGlow();
    struct Case {
        const char* tab;
        int object;
        bool childGlows;
    };
    for (const Case& c : {Case{"upgrade_tab_kp", 0, false}, Case{"upgrade_tab_kq", 1, true}}) {
        SCOPED_TRACE(c.tab);
        VUpgradeTab* tab = FindTab(*shop->GetList(), c.tab);
        ASSERT_NE(tab, nullptr);
        tab->OnMouseMove(TPoint(5, 5));
        EXPECT_TRUE(objects[c.object]->HasEffect(glow));
        EXPECT_EQ(children[c.object]->HasEffect(glow), c.childGlows);
        tab->OnMouseCancel();
        EXPECT_FALSE(objects[c.object]->HasEffect(glow));
        EXPECT_FALSE(children[c.object]->HasEffect(glow));
    }
    // "Close" ends a preview still on; the glow stops with the shop.
    FindTab(*shop->GetList(), "upgrade_tab_kq")->OnMouseMove(TPoint(5, 5));
    ASSERT_EQ(Upgrade("kq", "gameplay")->GetState(), VUpgrade::kPreview);
    EXPECT_EQ(Run("Close()"), "");
    EXPECT_EQ(Upgrade("kq", "gameplay")->GetState(), VUpgrade::kAvailable);
    dialog->RemoveChild(shop);
    delete shop;
    TWindowManager::GetInstance()->FlushDeletes();  // the station tabs left before
    EXPECT_TRUE(glow->IsDone());
}

TEST_F(PrelevelWindowTest, TheSceneIsDrawnHalfSizeAtItsPlaceAndTheViewIsRestored) {
    auto* level = Make<ShopWindow>("{ name = 'shop', x = 0, y = 0, w = 800, h = 600 }");
    ASSERT_EQ(ShopWindow::GetCurrent(), level);
    auto sprite = ViewSprite::Create();
    level->AddSprite(sprite);
    TDrawState before = level->GetDrawState();
    before.matrix.m[2][0] = 7;
    level->SetDrawState(before);
    Open();
    TRenderer* renderer = TRenderer::GetInstance();
    ASSERT_TRUE(renderer->BeginDraw(false));
    shop->Draw();
    renderer->EndDraw(false);
    ASSERT_FALSE(sprite->views.empty());
    const TMat3& view = sprite->views.back();
    EXPECT_FLOAT_EQ(view.m[2][0], 342.0f);
    EXPECT_FLOAT_EQ(view.m[2][1], 93.0f);
    EXPECT_FLOAT_EQ(view.m[0][0], 0.5f);
    EXPECT_FLOAT_EQ(view.m[1][1], 0.5f);
    EXPECT_FLOAT_EQ(level->GetDrawState().matrix.m[2][0], 7.0f);
    EXPECT_FLOAT_EQ(level->GetDrawState().matrix.m[0][0], 1.0f);
}

}  // namespace
