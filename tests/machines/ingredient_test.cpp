// The ingredient machine: a whole cycle with the ingredient's overlay found
// where the bucket filed it and fading in over the 1000 ms pump, a table of
// visits with what moves between hands and machine, a bucket loaded while
// the machine closes, an icon without overlay art, the tops' art of the
// highest owned option, and a machine without owned options.
#include "game/machines/ingredient.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/machines/machinebutton.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class IngredientTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        ForwardAndBack("intro");
        Sheet("pump", "function DoAnim() frames{1,2,3,4} end");
        ForwardAndBack("top");
        Define(R"(
            local function button(id) return { id = id, assets = { button = { anim = false, { file = "art/base.png" } } } } end
            local function top(anim)
                return { assets = { anim = { anim = anim, { file = "anims/top.xml", anim = anim },
                                             { state = "upgrade2", file = "anims/top.xml", anim = anim } } } }
            end
            ingredient = { name = "ingredient", assets = { base = { anim = false, { file = "art/base.png" } } },
                           selections = { button1 = button(0), button2 = button(1), button3 = button(2) },
                           children = { anim_intro = Part("intro"), anim_pump = Part("pump"),
                                        anim_top1 = top(true), anim_top2 = top(true),
                                        static_top1 = top(false), static_top2 = top(false) } }
            bare = { name = "bare", assets = ingredient.assets, selections = ingredient.selections }
        )");
    }

    std::shared_ptr<VIngredient> Ingredient(const char* global = "ingredient") {
        return Working<VIngredient>(3, global, {"kIngredient1", "kIngredient2"});
    }

    std::shared_ptr<VChocolate> Bucket(int type = 1) { return vendor->MakeChocolateIcon(type, true); }
};

TEST_F(IngredientTest, ACycleOpensPumpsWithTheIngredientFadingInAndCloses) {
    std::shared_ptr<VIngredient> machine = Ingredient();
    std::shared_ptr<VChocolate> bucket = Bucket();
    ASSERT_TRUE(machine->PutItem(bucket, 1, false));
    machine->Select(1);
    ASSERT_TRUE(machine->TryStartWork());
    EXPECT_EQ(bucket->GetIngredient(), 1);
    EXPECT_EQ(bucket->GetTopLayer(), 1);
    std::shared_ptr<VObject> overlay = machine->GetOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->GetOwner(), bucket->GetSlot(0)->GetChildObject("icon"));
    EXPECT_STREQ(overlay->GetCurrentState().c_str(), "option_1");
    EXPECT_FALSE(overlay->IsVisible());
    EXPECT_TRUE(machine->GetChildObject("anim_top1")->IsVisible());

    std::vector<std::string> log = Cycle(machine);
    EXPECT_EQ(log, (std::vector<std::string>{"machine_noise", "phase 1 held", "glug_machine", "phase 2 held",
                                             "phase 3 free", "phase 0 free"}));
    ASSERT_EQ(frames.size(), 4u);
    // The pump runs 1000 ms: the first frame at or past it ends it.
    EXPECT_EQ(frames[2] - frames[1], 63);
    EXPECT_TRUE(overlay->IsVisible());
    EXPECT_FLOAT_EQ(overlay->GetDrawState().alpha, 1.0f);
    EXPECT_EQ(machine->GetOverlay(), nullptr);
    EXPECT_EQ(machine->GetItem(), bucket);
    EXPECT_TRUE(machine->IsProcessed());
    EXPECT_FALSE(machine->GetChildObject("anim_pump")->IsVisible());
    EXPECT_TRUE(machine->GetChildObject("static_top1")->IsVisible());
}

TEST_F(IngredientTest, HalfWayThroughThePumpTheIngredientIsHalfIn) {
    std::shared_ptr<VIngredient> machine = Ingredient();
    ASSERT_TRUE(machine->PutItem(Bucket(), 1, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    std::shared_ptr<VObject> overlay = machine->GetOverlay();
    while (machine->GetPhase() < VIngredient::kPumping) Step(machine);
    for (int frame = 0; frame < 31; ++frame) Step(machine);
    EXPECT_NEAR(overlay->GetDrawState().alpha, 0.5f, 0.05f);
}

// Visits of a player: what the machine and the hands hold before and
// after, with the selection. Items: a fresh bucket, a second one, a bucket
// with its ingredient (done), a shaped bar, and "wide", done and two-handed.
TEST_F(IngredientTest, AVisitMovesOnlyWhatTheMachineTakes) {
    struct Case {
        const char* what;
        int selection;
        const char* inside;
        std::vector<const char*> hands;
        bool busy;
        const char* after;
    } cases[] = {
        {"past stage 0 only, nothing chosen", -1, "", {"bar"}, false, "machine - hands bar selection -1"},
        {"past stage 0 only, chosen", 1, "", {"bar", "done"}, false, "machine - hands bar done selection -1"},
        {"a bucket into the empty machine", -1, "", {"bar", "bucket"}, false,
         "machine bucket@1 hands bar selection -1"},
        {"the content to a free hand", -1, "done", {"bar"}, false, "machine - hands bar done selection -1"},
        {"the content stays with full hands", -1, "done", {"bar", "bucket"}, false,
         "machine done@0 hands bar bucket selection -1"},
        {"chosen: swapped and started", 2, "done", {"bucket"}, false,
         "machine bucket@0 working hands done selection -1"},
        {"chosen: a waiting bucket starts first", 2, "other", {"bucket"}, false,
         "machine other@0 working hands bucket selection -1"},
        {"chosen: two hands would be needed back", 0, "wide", {"bar", "bucket"}, false,
         "machine wide@0 hands bar bucket selection -1"},
        {"busy", -1, "other", {"bucket"}, true, "machine other@1 working hands bucket selection -1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<VIngredient> machine = Ingredient();
        std::shared_ptr<VPlayer> player = Player();
        std::map<std::string, std::shared_ptr<VChocolate>> items = {
            {"bucket", Bucket()}, {"other", Bucket()}, {"done", Bucket()}, {"bar", Bucket()}, {"wide", Bucket()}};
        items["done"]->SetIngredient(0);
        items["wide"]->SetIngredient(0);
        items["wide"]->SetKind(2);
        items["bar"]->MakeLayer(0, 2, 1);
        if (*c.inside) {
            ASSERT_TRUE(machine->PutItem(items[c.inside], c.busy ? 1 : 0, false));
        }
        if (c.busy) {
            machine->Select(1);
            ASSERT_TRUE(machine->TryStartWork());
        }
        for (const char* held : c.hands) ASSERT_TRUE(player->PickUp(items[held]));
        machine->Select(c.selection);
        machine->Interact(player);

        auto tag = [&](const std::shared_ptr<VCarriable>& item) {
            for (const auto& [name, chocolate] : items) {
                if (chocolate == item) return name;
            }
            return std::string(item ? "?" : "-");
        };
        std::string after = "machine " + tag(machine->GetItem());
        if (machine->GetItem()) after.append("@").append(std::to_string(machine->GetItem()->GetLayer()));
        if (machine->IsBusy()) after += " working";
        std::set<std::string> hands = {tag(player->GetLeftHand()), tag(player->GetRightHand())};
        hands.erase("-");
        after += " hands";
        for (const std::string& hand : hands) after += " " + hand;
        after += " selection " + std::to_string(machine->GetSelection());
        EXPECT_EQ(after, c.after);
    }
}

TEST_F(IngredientTest, ABucketSwappedInWhileTheMachineClosesStartsOnceItIsIdle) {
    std::shared_ptr<VIngredient> machine = Ingredient();
    std::shared_ptr<VPlayer> player = Player();
    std::shared_ptr<VChocolate> first = Bucket();
    std::shared_ptr<VChocolate> second = Bucket(2);
    ASSERT_TRUE(machine->PutItem(first, 0, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    while (machine->GetPhase() < VIngredient::kClosing) Step(machine);
    ASSERT_FALSE(machine->IsBusy());
    ASSERT_TRUE(player->PickUp(second));
    machine->Select(1);
    machine->Interact(player);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), first);
    EXPECT_EQ(machine->GetItem(), second);
    EXPECT_EQ(second->GetIngredient(), -1);

    std::vector<std::string> log = Cycle(machine);
    EXPECT_EQ(second->GetIngredient(), 1);
    EXPECT_EQ(machine->GetPhase(), 0);
    EXPECT_FALSE(machine->IsBusy());
    EXPECT_FALSE(station->IsSuspended());
    EXPECT_FALSE(machine->IsSuspended());
}

TEST_F(IngredientTest, NoOverlayArtOrPartsStillPumpsForItsTime) {
    Define("catalogue[1].children.icon.assets.overlay = nil");
    std::shared_ptr<VChocolateVendor> plain = VChocolateVendor::Create();
    std::unique_ptr<TLuaTable> table(script.GetGlobalTable("catalogue"));
    plain->Load(table.get());
    std::shared_ptr<VIngredient> machine = Ingredient("bare");
    std::shared_ptr<VChocolate> bucket = plain->MakeChocolateIcon(0, true);
    ASSERT_TRUE(machine->PutItem(bucket, 1, false));
    machine->Select(2);
    ASSERT_TRUE(machine->TryStartWork());
    EXPECT_EQ(machine->GetOverlay(), nullptr);
    std::vector<std::string> log = Cycle(machine);
    EXPECT_EQ(log.back(), "phase 0 free");
    ASSERT_EQ(frames.size(), 4u);
    // Missing parts hold one frame; the pump keeps its 1000 ms.
    EXPECT_EQ(frames[1] - frames[0], 1);
    EXPECT_EQ(frames[2] - frames[1], 63);
    EXPECT_EQ(frames[3] - frames[2], 1);
    EXPECT_EQ(bucket->GetIngredient(), 2);
}

TEST_F(IngredientTest, TheTopsShowTheArtOfTheHighestOwnedOption) {
    struct Case {
        std::vector<const char*> owned;
        const char* state;
    } cases[] = {
        {{"kIngredient1"}, "default"},
        {{"kIngredient1", "kIngredient2"}, "upgrade2"},
        {{"kIngredient2", "kIngredient3"}, "default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.owned.back());
        ReleaseManagerSingleton<VUpgradeManager>();
        VUpgradeManager::Get()->LoadCatalogue("locations/test/machines.xml");
        for (const char* upgrade : c.owned) Grant(upgrade, "station");
        std::shared_ptr<VIngredient> machine = Working<VIngredient>(3, "ingredient", {});
        for (const char* top : {"static_top1", "static_top2", "anim_top1", "anim_top2"}) {
            EXPECT_STREQ(machine->GetChildObject(top)->GetCurrentState().c_str(), c.state) << top;
        }
    }
}

TEST_F(IngredientTest, WithoutAnOwnedIngredientTheMachineHidesEvenInEndlessMode) {
    Grant("kIngredientQ2", "station");
    for (bool endless : {false, true}) {
        SCOPED_TRACE(endless);
        screen->SetEndlessMode(endless);
        std::shared_ptr<VIngredient> machine = Working<VIngredient>(3, "ingredient", {});
        EXPECT_FALSE(machine->IsEnabled());
        EXPECT_FALSE(machine->IsVisible());
        // Endless play still sets the machine up.
        std::shared_ptr<VAsset> shown = machine->GetCurrentAsset();
        EXPECT_EQ(shown != nullptr, endless);
        for (const auto& [key, button] : machine->GetSelections()) EXPECT_FALSE(button->IsVisible()) << key.c_str();
    }
    Grant("kIngredient2", "station");
    std::shared_ptr<VIngredient> machine = Working<VIngredient>(3, "ingredient", {});
    EXPECT_TRUE(machine->IsVisible());
    EXPECT_TRUE(machine->GetSelections().at("button2")->IsVisible());
    EXPECT_TRUE(machine->GetSelections().at("button2")->IsAvailable());
    EXPECT_FALSE(machine->GetSelections().at("button1")->IsVisible());
}

}  // namespace
