// Option buttons of a machine: the icon and stripe they build and tint, the
// expansion after the pointer rests on them, and what their machine hears.
#include "game/machines/machinebutton.h"

#include <gtest/gtest.h>

#include "tests/machines/machinetesting.h"

namespace {

class MachineButtonTest : public MachineFloorTest {
protected:
    void SetUp() override {
        MachineFloorTest::SetUp();
        machine = LoadedMachine();
        button = machine->GetSelections().at("dark");
        button->SetVisible(true);
    }

    // Frames of the scene until the fades have run their 300 ms.
    void RunFades() {
        for (int frame = 0; frame < 25; ++frame) Frame(machine);
    }

    std::shared_ptr<VMachine> machine;
    std::shared_ptr<VMachineButton> button;
};

TEST_F(MachineButtonTest, TheIconFadesInOverTheStripeAfterMoreThanHalfASecond) {
    ASSERT_NE(button->GetIcon(), nullptr);
    ASSERT_NE(button->GetStripe(), nullptr);
    std::shared_ptr<VObject> icon = button->GetIcon();
    std::shared_ptr<VObject> stripe = button->GetStripe();
    EXPECT_STREQ(icon->GetCurrentState().c_str(), "dark");
    EXPECT_STREQ(stripe->GetCurrentState().c_str(), "plain");
    EXPECT_FALSE(icon->IsVisible());
    EXPECT_TRUE(stripe->IsVisible());

    button->SendEvent(VSprite::kEventEnter, TPoint(), Identity(), 0);
    button->OnHoverTime(500);
    EXPECT_FALSE(button->IsExpanded());
    button->OnHoverTime(501);
    EXPECT_TRUE(button->IsExpanded());
    EXPECT_TRUE(icon->IsVisible());
    RunFades();
    // The icon that faded in stays; the stripe that faded out goes.
    EXPECT_TRUE(icon->IsVisible());
    EXPECT_FALSE(stripe->IsVisible());

    button->SendEvent(VSprite::kEventLeave, TPoint(), Identity(), 0);
    EXPECT_FALSE(button->IsExpanded());
    EXPECT_TRUE(stripe->IsVisible());
    RunFades();
    EXPECT_FALSE(icon->IsVisible());
    EXPECT_TRUE(stripe->IsVisible());
}

TEST_F(MachineButtonTest, ADarkIconAndAnAvailableOptionAreTinted) {
    EXPECT_EQ(button->GetIcon()->GetDrawState().color, TColor4f(0.5f, 0.5f, 1.0f, 1.0f));
    std::shared_ptr<VMachineButton> milk = machine->GetSelections().at("milk");
    EXPECT_NE(milk->GetIcon()->GetDrawState().color, TColor4f(0.5f, 0.5f, 1.0f, 1.0f));

    TColor4f untinted = milk->GetDrawState().color;
    milk->SetAvailable(false);
    EXPECT_FALSE(milk->IsAvailable());
    EXPECT_EQ(milk->GetDrawState().color, untinted);
    button->SetAvailable(true);
    EXPECT_TRUE(button->IsAvailable());
    EXPECT_EQ(button->GetDrawState().color, TColor4f(0.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_TRUE(button->GetChildList().empty());
    EXPECT_EQ(button->GetIcon(), nullptr);
    // Its reset builds the icon and stripe again.
    button->Reset();
    ASSERT_NE(button->GetIcon(), nullptr);
    EXPECT_EQ(button->GetIcon()->GetOwner(), button);
    EXPECT_EQ(button->GetStripe()->GetOwner(), button);
    EXPECT_EQ(button->GetChildList().size(), 2u);
}

TEST_F(MachineButtonTest, TheMachineHearsThePointerAndTheClickSelectsTheOption) {
    EventLog log;
    machine->AddListener(std::make_shared<LoggingListener>("machine", log));
    machine->Update(false);
    std::shared_ptr<VMachineButton> milk = machine->GetSelections().at("milk");
    milk->SendEvent(VSprite::kEventEnter, TPoint(), Identity(), 0);
    EXPECT_TRUE(machine->IsHovered());
    milk->OnHoverTime(600);
    milk->SendEvent(VSprite::kEventLeave, TPoint(), Identity(), 0);
    EXPECT_FALSE(machine->IsHovered());
    EXPECT_FALSE(milk->IsExpanded());
    milk->SendEvent(VSprite::kEventClick, TPoint(), Identity(), 0);
    EXPECT_EQ(machine->GetSelection(), 1);
    EXPECT_EQ(log, (EventLog{"machine enter", "machine click"}));
}

}  // namespace
