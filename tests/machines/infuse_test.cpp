// The infuser: a whole cycle from a fresh bucket to an infusion that rides
// in the working top and returns to the machine, "unlock" freeing the
// station before the body stops, the user value and the saved count; art
// that never unlocks; a product that expires in the top; the visits that
// refuse a bucket with an ingredient and swap a fresh one for a finished
// infusion; owned infusions.
#include "game/machines/infuse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "game/machines/machinebutton.h"
#include "game/shell/valuemanager.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class InfuseTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        Sheet("body", "function DoAnim() frames{1,2,3,4,5,6,6,6,6,6,6,6} end");
        Sheet("top", "function DoAnim() frames{1,2,3} unlock() frames{3,2,1} end");
        Sheet("lazytop", "function DoAnim() frames{1,2,3,3,2,1} end");
        Sheet("door", "function DoDoor() frames{1,2} drop() frames{3,3} end");
        Define(R"(
            local function button(id) return { id = id, assets = { button = { anim = false, { file = "art/base.png" } } } } end
            local parts = { static_base = Still(), static_top = Still(), anim_base = Part("body"),
                            anim_top_working = Part("top"), anim_door = Part("door") }
            infuser = { name = "infuser", assets = { base = { anim = false, { file = "art/base.png" } } },
                        selections = { button1 = button(0), button2 = button(1), button3 = button(2) },
                        children = parts }
            lazy = { name = "lazy", assets = infuser.assets, selections = infuser.selections,
                     children = { anim_base = Part("body"), anim_top_working = Part("lazytop") } }
        )");
    }

    std::shared_ptr<VInfuse> Infuser(const char* global = "infuser") {
        return Working<VInfuse>(7, global, {"kInfusion1", "kInfusion2", "kInfusion3"});
    }

    std::shared_ptr<VChocolate> Bucket(int type = 1) { return vendor->MakeChocolateIcon(type, true); }

    // A finished infusion in the machine.
    std::shared_ptr<VCarriable> Infused(const std::shared_ptr<VInfuse>& machine) {
        EXPECT_TRUE(machine->PutItem(Bucket(0), 2, false));
        machine->Select(0);
        EXPECT_TRUE(machine->TryStartWork());
        RunToIdle(machine);
        return machine->GetItem();
    }

    static float Value(const char* name) { return VValueManager::Get()->GetReal(name, 0); }
};

TEST_F(InfuseTest, ACycleTurnsAFreshBucketIntoAnInfusionThatRidesInTheTop) {
    std::shared_ptr<VInfuse> machine = Infuser();
    std::shared_ptr<VObject> top = machine->GetChildObject("anim_top_working");
    std::shared_ptr<VChocolate> chocolate = Bucket(2);
    ASSERT_TRUE(machine->PutItem(chocolate, 2, false));
    machine->Select(1);
    ASSERT_TRUE(machine->TryStartWork());
    EXPECT_EQ(Value("chocolates_made_this_level"), 1);
    ASSERT_NE(chocolate->GetSlot(3), nullptr);
    EXPECT_EQ(chocolate->GetSlot(3)->GetOption(), 1);
    EXPECT_EQ(chocolate->GetSlot(2)->GetOption(), 2);
    EXPECT_EQ(chocolate->GetSlot(0), nullptr);
    EXPECT_EQ(chocolate->GetShape(), 3);
    EXPECT_FALSE(chocolate->IsVisible());
    EXPECT_EQ(chocolate->GetOwner(), top);
    EXPECT_STREQ(chocolate->GetName().c_str(), "chocolate");
    std::shared_ptr<VSprite> bucket = machine->GetBucketSprite();
    ASSERT_NE(bucket, nullptr);
    EXPECT_STREQ(bucket->GetName().c_str(), "bucket");
    EXPECT_EQ(bucket->GetLayer(), 2);
    EXPECT_NE(machine->GetBucketIcon(), nullptr);
    EXPECT_TRUE(machine->GetChildObject("static_top")->IsVisible());
    EXPECT_EQ(machine->GetUserValue(), 1);

    std::vector<std::string> events;
    size_t heard = 0;
    bool freedWhileWorking = false;
    for (int frame = 0; frame < 200 && machine->GetPhase() != 0; ++frame) {
        Step(machine);
        std::vector<std::string> sounds = Sounds();
        for (; heard < sounds.size(); ++heard) events.push_back(sounds[heard]);
        if (machine->GetPhase() == VInfuse::kWorking) {
            EXPECT_EQ(machine->GetUserValue(), 0);
            EXPECT_EQ(chocolate->GetOwner(), top);
            if (!station->IsSuspended() && !freedWhileWorking) {
                freedWhileWorking = true;
                events.push_back("unlocked");
                EXPECT_TRUE(chocolate->IsVisible());
                EXPECT_TRUE(machine->GetChildObject("anim_base")->IsPlaying(-1));
            }
        }
    }
    EXPECT_EQ(events, (std::vector<std::string>{"infusion_machine", "barrel_trap_door", "unlocked"}));
    EXPECT_EQ(machine->GetPhase(), 0);
    EXPECT_EQ(machine->GetUserValue(), 1);
    EXPECT_EQ(chocolate->GetOwner(), machine);
    EXPECT_TRUE(chocolate->IsVisible());
    EXPECT_EQ(machine->GetItem(), chocolate);
    EXPECT_TRUE(machine->IsProcessed());
    EXPECT_EQ(Value("num_infusions"), 1);
    EXPECT_EQ(machine->GetBucketSprite(), nullptr);
    EXPECT_EQ(std::count(machine->GetChildList().begin(), machine->GetChildList().end(), bucket), 0);
}

TEST_F(InfuseTest, ArtThatNeverUnlocksStillShowsTheInfusion) {
    std::shared_ptr<VInfuse> machine = Infuser("lazy");
    std::shared_ptr<VChocolate> chocolate = Bucket();
    ASSERT_TRUE(machine->PutItem(chocolate, 2, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    RunToIdle(machine);
    EXPECT_EQ(machine->GetPhase(), 0);
    EXPECT_TRUE(chocolate->IsVisible());
    EXPECT_EQ(chocolate->GetOwner(), machine);
    EXPECT_FALSE(station->IsSuspended());
}

TEST_F(InfuseTest, AProductThatExpiresInTheTopLeavesTheScreen) {
    VValueManager::Get()->SetValue("chocolate_decay_rate", 1000.0f, false);
    VValueManager::Get()->SetValue("chocolate_fade_time", 0.0f, false);
    std::shared_ptr<VInfuse> machine = Infuser();
    std::shared_ptr<VObject> top = machine->GetChildObject("anim_top_working");
    std::shared_ptr<VChocolate> chocolate = Bucket();
    ASSERT_TRUE(machine->PutItem(chocolate, 2, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    chocolate->SetDecaying(true);
    for (int frame = 0; frame < 10 && machine->GetItem(); ++frame) Step(machine);
    EXPECT_EQ(machine->GetItem(), nullptr);
    EXPECT_EQ(chocolate->GetOwner(), nullptr);
    EXPECT_EQ(std::count(top->GetChildList().begin(), top->GetChildList().end(), chocolate), 0);
    RunToIdle(machine);
    EXPECT_EQ(machine->GetPhase(), 0);
    EXPECT_FALSE(station->IsSuspended());
}

TEST_F(InfuseTest, ABucketWithAnIngredientIsRefusedAFreshOneSwapsWithTheInfusion) {
    std::shared_ptr<VInfuse> machine = Infuser();
    std::shared_ptr<VPlayer> player = Player();
    std::shared_ptr<VCarriable> infusion = Infused(machine);
    ASSERT_NE(infusion, nullptr);

    // Refused: the visit only hands the infusion over.
    std::shared_ptr<VChocolate> flavoured = Bucket();
    flavoured->SetIngredient(1);
    ASSERT_TRUE(player->PickUp(flavoured));
    machine->Select(1);
    machine->Interact(player);
    EXPECT_EQ(machine->GetItem(), nullptr);
    EXPECT_FALSE(machine->IsBusy());
    EXPECT_EQ(machine->GetSelection(), -1);
    EXPECT_EQ(player->CountFreeHands(), 0);
    EXPECT_TRUE(player->GetLeftHand() == infusion || player->GetRightHand() == infusion);

    // A fresh bucket swaps with the next infusion at once.
    player = Player();
    machine = Infuser();
    infusion = Infused(machine);
    std::shared_ptr<VChocolate> fresh = Bucket(1);
    ASSERT_TRUE(player->PickUp(fresh));
    machine->Select(2);
    machine->Interact(player);
    EXPECT_EQ(machine->GetItem(), fresh);
    EXPECT_TRUE(machine->IsBusy());
    EXPECT_EQ(fresh->GetSlot(3)->GetOption(), 2);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), infusion);
}

TEST_F(InfuseTest, OwnedInfusionsShowTheirButtonsAndTheArtCallsBack) {
    std::shared_ptr<VInfuse> machine = Working<VInfuse>(7, "infuser", {});
    EXPECT_FALSE(machine->IsVisible());
    Grant("kInfusion1", "station");
    machine->ApplyUpgrades();
    EXPECT_TRUE(machine->IsVisible());
    EXPECT_TRUE(machine->GetSelections().at("button1")->IsVisible());
    EXPECT_FALSE(machine->GetSelections().at("button1")->IsAvailable());
    EXPECT_FALSE(machine->GetSelections().at("button2")->IsVisible());

    ASSERT_TRUE(machine->PutItem(Bucket(), 2, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    ASSERT_TRUE(station->IsSuspended());
    EXPECT_EQ(machine->GetChildObject("anim_top_working")->GetScript()->DoLuaString("unlock()"), 0);
    EXPECT_FALSE(station->IsSuspended());
    EXPECT_TRUE(machine->GetItem()->IsVisible());
    EXPECT_EQ(machine->GetChildObject("anim_door")->GetScript()->DoLuaString("drop()"), 0);
    EXPECT_EQ(Sounds().back(), "barrel_trap_door");
}

}  // namespace
