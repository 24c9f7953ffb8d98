// The topping machine: a whole cycle with the topping layer for the
// chocolate's shape, the particles falling and fading over 300 ms; which
// chocolates it takes from the hands; missing parts; owned toppings.
#include "game/machines/topping.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/machines/machinebutton.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class ToppingTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        ForwardAndBack("funnel");
        Sheet("particles", "function DoParticles() frames{1,2,3,4,5,6} end");
        Define(R"(
            local function button(id) return { id = id, assets = { button = { anim = false, { file = "art/base.png" } } } } end
            topping = { name = "topping", assets = { base = { anim = false, { file = "art/base.png" } } },
                        selections = { button1 = button(0), button2 = button(1), button3 = button(2) },
                        children = { anim_funnel = Part("funnel"), anim_particles = Part("particles") } }
            bare = { name = "bare", assets = topping.assets, selections = topping.selections }
        )");
    }

    std::shared_ptr<VTopping> Topping(const char* global = "topping") {
        return Working<VTopping>(5, global, {"kTopping1", "kTopping2", "kTopping3"});
    }

    // A bucket of milk chocolate, with the steps given done to it.
    std::shared_ptr<VChocolate> Made(const std::function<void(VChocolate&)>& steps = nullptr) {
        std::shared_ptr<VChocolate> chocolate = vendor->MakeChocolateIcon(1, true);
        if (steps) steps(*chocolate);
        return chocolate;
    }
    static void Shape(VChocolate& chocolate, int shape) { chocolate.MakeLayer(shape, 2, 1); }
};

TEST_F(ToppingTest, AShapedChocolateGetsItsToppingUnderParticlesThatFadeOut) {
    std::shared_ptr<VTopping> machine = Topping();
    std::shared_ptr<VChocolate> truffle = Made([](VChocolate& c) { Shape(c, 1); });
    ASSERT_TRUE(machine->PutItem(truffle, 0, false));
    machine->Select(2);
    ASSERT_TRUE(machine->TryStartWork());
    std::shared_ptr<VChocolateLayer> layer = truffle->GetSlot(4);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(machine->GetToppingLayer(), layer);
    EXPECT_EQ(layer->GetBarType(), 1);
    EXPECT_EQ(layer->GetOption(), 2);
    std::shared_ptr<VObject> particles = machine->GetChildObject("anim_particles");
    EXPECT_TRUE(particles->IsVisible());
    EXPECT_TRUE(machine->GetChildObject("anim_funnel")->IsVisible());
    EXPECT_FLOAT_EQ(particles->GetAlpha(), 1.0f);

    std::vector<std::string> log = Cycle(machine);
    EXPECT_EQ(log, (std::vector<std::string>{"topping_machine", "topping", "phase 1 held", "phase 2 held",
                                             "phase 0 free"}));
    ASSERT_EQ(frames.size(), 3u);
    // The fade takes 300 ms.
    EXPECT_EQ(frames[2] - frames[1], 19);
    EXPECT_TRUE(machine->IsProcessed());
    EXPECT_EQ(machine->GetItem(), truffle);
    EXPECT_EQ(machine->GetToppingLayer(), nullptr);
    EXPECT_FALSE(particles->IsVisible());
    EXPECT_FALSE(machine->IsBusy());
}

TEST_F(ToppingTest, HalfWayThroughTheFadeTheParticlesAreHalfGone) {
    std::shared_ptr<VTopping> machine = Topping();
    ASSERT_TRUE(machine->PutItem(Made([](VChocolate& c) { Shape(c, 0); }), 0, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    while (machine->GetPhase() < VTopping::kFading) Step(machine);
    // The fade's first step comes a frame after it is added.
    for (int frame = 0; frame < 10; ++frame) Step(machine);
    EXPECT_NEAR(machine->GetChildObject("anim_particles")->GetDrawState().alpha, 0.5f, 0.05f);
}

TEST_F(ToppingTest, OnlyAShapedChocolateWithoutToppingLeavesTheHand) {
    struct Case {
        const char* what;
        std::function<void(VChocolate&)> steps;
        bool taken;
    } cases[] = {
        {"a fresh bucket", nullptr, false},
        {"a bucket with its ingredient", [](VChocolate& c) { c.SetIngredient(0); }, false},
        {"a bar", [](VChocolate& c) { Shape(c, 0); }, true},
        {"a truffle with its ingredient", [](VChocolate& c) { c.SetIngredient(2); Shape(c, 1); }, true},
        {"an infusion", [](VChocolate& c) { c.MakeLayer(3, 3, 0); }, true},
        {"a topped bar", [](VChocolate& c) { Shape(c, 0); c.MakeLayer(0, 4, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<VTopping> machine = Topping();
        std::shared_ptr<VPlayer> player = Player();
        std::shared_ptr<VChocolate> chocolate = Made(c.steps);
        ASSERT_TRUE(player->PickUp(chocolate));
        machine->Select(1);
        machine->Interact(player);
        EXPECT_EQ(machine->GetItem() == chocolate, c.taken);
        EXPECT_EQ(machine->IsBusy(), c.taken);
        EXPECT_EQ(player->CountFreeHands(), c.taken ? 2 : 1);
        EXPECT_EQ(machine->GetSelection(), -1);
        if (c.taken) {
            EXPECT_EQ(chocolate->GetSlot(4)->GetOption(), 1);
        }
    }
}

TEST_F(ToppingTest, MissingPartsPauseOneMillisecond) {
    std::shared_ptr<VTopping> machine = Topping("bare");
    ASSERT_TRUE(machine->PutItem(Made([](VChocolate& c) { Shape(c, 0); }), 0, false));
    machine->Select(0);
    ASSERT_TRUE(machine->TryStartWork());
    std::vector<std::string> log = Cycle(machine);
    EXPECT_EQ(log.back(), "phase 0 free");
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1] - frames[0], 1);
    EXPECT_EQ(frames[2] - frames[1], 19);
}

TEST_F(ToppingTest, OwnedToppingsShowTheirButtons) {
    std::shared_ptr<VTopping> machine = Working<VTopping>(5, "topping", {});
    EXPECT_FALSE(machine->IsEnabled());
    EXPECT_FALSE(machine->IsVisible());
    Grant("kTopping3", "station");
    Grant("kToppingQ3", "station");
    machine->ApplyUpgrades();
    EXPECT_TRUE(machine->IsVisible());
    const auto& buttons = machine->GetSelections();
    EXPECT_FALSE(buttons.at("button1")->IsVisible());
    EXPECT_TRUE(buttons.at("button3")->IsVisible());
    EXPECT_TRUE(buttons.at("button3")->IsAvailable());
}

}  // namespace
