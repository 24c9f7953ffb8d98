// The drink and sauce machines: a level's first bottle, the refill on the
// gauge, one clink per fill, a changed refill time, a bottle falling due
// while the machine still holds itself, refill times of 0, the enabling
// rules and the hands a bottle needs.
#include "game/machines/drink.h"
#include "game/machines/sauce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/objects/carriable.h"
#include "game/shell/valuemanager.h"
#include "game/machines/stationkind.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class BottleMachineTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        for (const char* name : {"sauce_arm_extend", "sauce_clink", "sauce_spray", "sauce_arm_retract"}) {
            WriteAsset(std::string("audio/sfx/") + name + ".ogg", MakeOgg(22050, 1, 2205));
        }
        WriteAsset("locations/test/bottles.xml",
                   "<upgrades><upgradetype type=\"station\"><upgrade name=\"kDrink1\"/><upgrade name=\"kSauce1\"/>"
                   "<upgrade name=\"kSauce3\"/></upgradetype></upgrades>");
        VUpgradeManager::Get()->LoadCatalogue("locations/test/bottles.xml");
        ForwardAndBack("top");
        ForwardAndBack("spray");
        ForwardAndBack("steam");
        // The gauge: twelve frames, filled backward.
        WriteImage("anims/twelve.png", 192, 16);
        Sequence("anims/", "fill", "twelve.png", 12, "function Reverse() frames{3,2,1} end");
        // The dispenser reaches frame 23 on its way out.
        WriteImage("anims/long.png", 384, 16);
        Sequence("anims/", "dispenser", "long.png", 24, "function DoAnim() frames{23,24} end");
        Define(R"(
            function Bottler(name)
                return { name = name, assets = { base = { anim = false, { file = "art/base.png" } } },
                         children = { anim_fill = Part("fill"), static_fill = Part("fill"),
                                      anim_dispenser = Part("dispenser"), static_dispenser = Still(),
                                      anim_top = Part("top"), static_top = Part("dispenser"),
                                      anim_spray = Part("spray"), anim_fill_steam = Part("steam"),
                                      bottle = { visible = false, assets = { look = { anim = false,
                                                                                      { file = "art/base.png" } } } } } }
            end
            drink = Bottler("machine_drink")
            sauce = Bottler("machine_sauce")
            sauce2 = Bottler("machine_sauce_2")
            dry = Bottler("machine_drink")
            dry.children.bottle = nil
        )");
    }


    std::shared_ptr<VDrink> Drink(const char* global = "drink") {
        return Working<VDrink>(kDrinkStation, global, {"kDrink1"});
    }

    // Steps until the machine has a bottle standing and is idle again; the
    // frames it took, or -1 after 10 s.
    int UntilBottleStands(const std::shared_ptr<VMachine>& machine, const std::shared_ptr<VBottleMachine>& bottler) {
        for (int frame = 1; frame <= 625; ++frame) {
            Step(machine);
            if (bottler->GetBottle() && bottler->GetBottle()->IsVisible() && bottler->GetPhase() == 0) return frame;
        }
        return -1;
    }

    int GaugeFrame(const VMachine& machine) { return machine.GetChildObject("anim_fill")->GetCurrentFrame(); }
};

using DrinkTest = BottleMachineTest;
using SauceTest = BottleMachineTest;

TEST_F(DrinkTest, ALevelStartsWithABottleNamedForTheCustomersAndTakingItStartsTheRefill) {
    struct Case {
        int kind;
        const char* global;
        const char* upgrade;
        const char* item;
    } cases[] = {{kDrinkStation, "drink", "kDrink1", "drink"}, {kSauceStation, "sauce", "kSauce1", "sauce"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        auto machine = Working<VBottleMachine>(c.kind, c.global, {c.upgrade});
        ASSERT_NE(machine, nullptr);
        EXPECT_TRUE(machine->IsVisible());
        std::shared_ptr<VCarriable> bottle = machine->GetBottle();
        ASSERT_NE(bottle, nullptr);
        EXPECT_TRUE(bottle->IsVisible());
        EXPECT_STREQ(bottle->GetName().c_str(), c.item);
        EXPECT_EQ(bottle->GetOwner(), machine);
        EXPECT_EQ(machine->GetPhase(), 0);

        std::shared_ptr<VPlayer> player = Player();
        machine->Interact(player);
        EXPECT_EQ(machine->GetBottle(), nullptr);
        EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), bottle);
        EXPECT_GT(machine->GetRefillLeft(), 0);
        EXPECT_TRUE(machine->GetChildObject("anim_fill")->IsVisible());
        EXPECT_FALSE(machine->GetChildObject("static_fill")->IsVisible());
    }
}

TEST_F(DrinkTest, TheGaugeFillsOverTheRefillAndEachFillClinksOnce) {
    VValueManager::Get()->SetValue("drink_cooldown", 1600, false);
    std::shared_ptr<VDrink> drink = Drink();
    drink->Interact(Player());
    std::vector<int> gauge;
    while (drink->GetRefillLeft() > 0 && gauge.size() < 200) {
        Step(drink);
        gauge.push_back(GaugeFrame(*drink));
    }
    // The first frame counts no time, then a hundred 16 ms frames; the
    // gauge climbs through all twelve frames.
    EXPECT_EQ(gauge.size(), 101u);
    EXPECT_TRUE(std::is_sorted(gauge.begin(), gauge.end()));
    EXPECT_EQ(gauge.front(), 0);
    EXPECT_EQ(gauge[gauge.size() - 2], 11);
    EXPECT_EQ(drink->GetPhase(), 1);
    EXPECT_TRUE(station->IsSuspended());

    ASSERT_GT(UntilBottleStands(drink, drink), 0);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"sauce_arm_extend", "sauce_clink", "sauce_spray",
                                                  "sauce_arm_retract"}));
    EXPECT_FALSE(station->IsSuspended());
    EXPECT_EQ(drink->GetChildObject("static_top")->GetCurrentFrame(), 28);
}

TEST_F(DrinkTest, AChangedRefillTimeKeepsTheFractionDone) {
    VValueManager::Get()->SetValue("drink_cooldown", 1600, false);
    std::shared_ptr<VDrink> drink = Drink();
    drink->Interact(Player());
    for (int frame = 0; frame < 25; ++frame) Step(drink);
    // The first frame counts no time.
    EXPECT_EQ(drink->GetRefillLeft(), 1216);
    VValueManager::Get()->SetValue("drink_cooldown", 3200, false);
    Step(drink);
    // A quarter done stays a quarter done: 1200 of 1600 left become 2400.
    EXPECT_EQ(drink->GetRefillLeft(), 2400);
    EXPECT_EQ(GaugeFrame(*drink), 3);
}

TEST_F(DrinkTest, ABottleFallingDueWhileTheArmReturnsIsFilledOnceTheMachineIsFree) {
    // Refill times below a millisecond count as one.
    for (float cooldown : {0.0f, 1.0f}) {
        SCOPED_TRACE(cooldown);
        VValueManager::Get()->SetValue("drink_cooldown", cooldown, false);
        std::shared_ptr<VDrink> drink = Drink();
        drink->Interact(Player());
        ASSERT_GT(UntilBottleStands(drink, drink), 0);
        std::shared_ptr<VPlayer> player = Player();
        // The bottle shows as the arm comes back; take it then.
        drink->Interact(player);
        ASSERT_EQ(drink->GetBottle(), nullptr);
        drink->Interact(player);
        while (drink->GetPhase() == 0 || drink->GetBottle() != nullptr) {
            Step(drink);
            if (drink->GetBottle() && drink->GetBottle()->IsVisible()) break;
        }
        ASSERT_EQ(drink->GetPhase(), VBottleMachine::kArmBack);
        ASSERT_TRUE(drink->IsSuspended());
        player->TakeItemFromHand(VPlayer::kLeftHand);
        player->TakeItemFromHand(VPlayer::kRightHand);
        drink->Interact(player);
        ASSERT_EQ(drink->GetBottle(), nullptr);
        Step(drink);
        EXPECT_TRUE(drink->IsSuspended());
        EXPECT_GT(UntilBottleStands(drink, drink), 0);
    }
}

TEST_F(DrinkTest, WithoutABottlePartTheMachineNeverWorks) {
    VValueManager::Get()->SetValue("drink_cooldown", 100, false);
    std::shared_ptr<VDrink> drink = Drink("dry");
    EXPECT_EQ(drink->GetBottle(), nullptr);
    for (int frame = 0; frame < 50; ++frame) Step(drink);
    EXPECT_EQ(drink->GetPhase(), 0);
    EXPECT_FALSE(station->IsSuspended());
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(SauceTest, TheSecondSauceMachineStandsOnlyWhereNoDrinkMachineDoes) {
    struct Case {
        const char* global;
        std::vector<const char*> owned;
        bool shown;
    } cases[] = {
        {"sauce2", {"kSauce3"}, true},
        {"sauce2", {"kSauce3", "kDrink1"}, false},
        {"sauce2", {"kSauce1"}, false},
        {"sauce", {"kSauce1", "kDrink1"}, true},
        {"sauce", {"kSauce3"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.global) + " " + std::to_string(c.owned.size()));
        VUpgradeManager::Get()->Clear();
        VUpgradeManager::Get()->LoadCatalogue("locations/test/bottles.xml");
        for (const char* upgrade : c.owned) Grant(upgrade, "station");
        auto sauce = Working<VSauce>(kSauceStation, c.global, {});
        EXPECT_EQ(sauce->IsVisible(), c.shown);
        EXPECT_EQ(sauce->IsEnabled(), c.shown);
        EXPECT_EQ(sauce->GetBottle() != nullptr, c.shown);
    }
}

TEST_F(SauceTest, ASauceBottleNeedsOneFreeHandWhateverItsHandCount) {
    for (int kind : {kSauceStation, kDrinkStation}) {
        SCOPED_TRACE(kind);
        auto machine = Working<VBottleMachine>(kind, kind == kSauceStation ? "sauce" : "drink",
                                               {"kSauce1", "kDrink1"});
        machine->GetBottle()->SetKind(2);
        std::shared_ptr<VPlayer> player = Player();
        player->PickUp(VCarriable::Create(1));
        ASSERT_EQ(player->CountFreeHands(), 1);
        machine->Interact(player);
        EXPECT_EQ(machine->GetBottle() == nullptr, kind == kSauceStation);
    }
}

}  // namespace
