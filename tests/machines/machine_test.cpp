// Machines: the factory, the option buttons a load keeps by key, the start
// of work and its step delay, going idle, the hands an item is taken from,
// items in and out, and a hold on a part the machine lacks.
#include "game/machines/machine.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatespec.h"
#include "game/floor/customer.h"
#include "game/machines/machinebutton.h"
#include "game/objects/carriable.h"
#include "tests/machines/machinetesting.h"

namespace {

// Works on a selected item, holding itself until the named part's animation ends.
class WorkingMachine : public VMachine {
public:
    explicit WorkingMachine(const char* part) : mPart(part) {}
    bool TryStartWork() override {
        if (GetSelection() < 0 || !GetItem()) return false;
        StartWork();
        return true;
    }
    void StartWork() override {
        VMachine::StartWork();
        SuspendUntilAsset(mPart);
    }

private:
    TString mPart;
};

// A carriable that expires when told.
class PerishableItem : public VCarriable {
public:
    PerishableItem() : VCarriable(1) {}
    bool IsExpired() const override { return expired; }
    bool expired = false;
};

// Waits at its station for the chocolate it is given.
class WaitingCustomer : public VCustomer {
public:
    explicit WaitingCustomer(const std::shared_ptr<VChocolate>& wanted) : VCustomer(nullptr), mWanted(wanted) {
        SetState(kWaiting);
    }
    std::shared_ptr<VCarriable> GetCurrentItem() const override { return mWanted; }

private:
    std::shared_ptr<VChocolate> mWanted;
};

std::shared_ptr<VChocolate> Chocolate(int type) {
    auto chocolate = VChocolate::Create(nullptr);
    chocolate->SetChocolateType(type);
    return chocolate;
}

class MachineTest : public MachineFloorTest {
protected:
    // A machine of the fixture's description, made by the test, on a station.
    template <class T, class... Args>
    std::shared_ptr<T> OnStation(Args&&... args) {
        auto machine = MakeOwned<T>(std::forward<Args>(args)...);
        machine->Load(Describe("machine"));
        machine->ApplyUpgrades();
        machine->SetManager(manager);
        station = VStation::Create(1, 2);
        station->SetManager(manager);
        machine->SetStation(station);
        return machine;
    }

    std::shared_ptr<VStation> station;
};

TEST_F(MachineTest, EveryKindIsAPlainMachineUntilItsClassIsBuilt) {
    for (int kind : {0, 1, 2, 9, 11, 12, 13, -1}) {
        std::shared_ptr<VMachine> machine = VMachine::Create(kind);
        ASSERT_NE(machine, nullptr) << kind;
        EXPECT_EQ(typeid(*machine), typeid(VMachine)) << kind;
        EXPECT_EQ(machine->GetSpriteLayer(), 7);
        EXPECT_TRUE(machine->IsClickable());
    }
}

TEST_F(MachineTest, ASecondLoadKeepsTheButtonsOfTheKeysThatRemain) {
    std::shared_ptr<VMachine> machine = LoadedMachine();
    EXPECT_EQ(machine->GetOptionCount(), 2);
    ASSERT_EQ(machine->GetSelections().size(), 2u);
    std::shared_ptr<VMachineButton> dark = machine->GetSelections().at("dark");
    std::shared_ptr<VMachineButton> milk = machine->GetSelections().at("milk");
    EXPECT_EQ(dark->GetId(), 0);
    EXPECT_EQ(milk->GetId(), 1);
    EXPECT_STREQ(machine->GetName().c_str(), "mixer");
    // The machine and its parts glow; its buttons do not.
    Frame(machine);
    EXPECT_FALSE(machine->GetChildObject("static_still")->IsStill());
    for (const auto& [key, button] : machine->GetSelections()) {
        EXPECT_TRUE(button->IsStill()) << key.c_str();
        EXPECT_FALSE(button->IsVisible()) << key.c_str();
        EXPECT_EQ(button->GetOwner(), machine);
    }

    ASSERT_TRUE(machine->PutItem(Chocolate(0), 3, false));
    Define(R"(machine = Machine("mixer", { DARK = Option(0, "dark"), white = Option(2, "dark") }))");
    machine->Load(Describe("machine"));
    EXPECT_EQ(machine->GetItem(), nullptr);
    EXPECT_EQ(machine->GetOptionCount(), 2);
    ASSERT_EQ(machine->GetSelections().size(), 2u);
    EXPECT_EQ(machine->GetSelections().at("dark"), dark);
    EXPECT_NE(machine->GetSelections().at("white"), milk);
    EXPECT_EQ(machine->GetSelections().count("milk"), 0u);
}

TEST_F(MachineTest, WorkHoldsTheStationWithTheStepDelayOfTheSteamUpgrade) {
    struct Case {
        bool steam;
        int delay;
    };
    for (const Case& c : {Case{false, 30}, Case{true, 26}}) {
        SCOPED_TRACE(c.steam);
        if (c.steam) Grant("kSteam1", "gameplay");
        std::shared_ptr<VMachine> machine = OnStation<VMachine>();
        machine->Select(1);
        std::shared_ptr<VObject> still = machine->GetChildObject("static_still");
        std::shared_ptr<VObject> work = machine->GetChildObject("anim_work");
        EXPECT_TRUE(still->IsVisible());
        EXPECT_FALSE(work->IsVisible());
        EXPECT_TRUE(work->IsLeaf());

        machine->StartWork();
        EXPECT_EQ(machine->GetDelay(), c.delay);
        EXPECT_EQ(work->GetDelay(), c.delay);
        EXPECT_FALSE(still->IsVisible());
        EXPECT_TRUE(station->IsSuspended());
        EXPECT_TRUE(machine->IsBusy());
        EXPECT_TRUE(machine->IsProcessed());
        EXPECT_EQ(machine->GetPhase(), 1);
        EXPECT_EQ(machine->GetSelection(), -1);
        EXPECT_STREQ(machine->GetForwardAnimation().c_str(), "DoAnim");
        EXPECT_STREQ(machine->GetBackwardAnimation().c_str(), "Reverse");

        // Only the machine frees the station; time does not.
        for (int frame = 0; frame < 10; ++frame) Frame(station);
        EXPECT_TRUE(station->IsSuspended());
        machine->GoIdle();
        EXPECT_FALSE(station->IsSuspended());
        EXPECT_FALSE(machine->IsBusy());
        EXPECT_EQ(machine->GetPhase(), 0);
        EXPECT_TRUE(still->IsVisible());
    }
}

TEST_F(MachineTest, SelectingWhileBusyIsHeardButKeepsTheSelection) {
    std::shared_ptr<VMachine> machine = OnStation<VMachine>();
    EventLog log;
    machine->AddListener(std::make_shared<LoggingListener>("listener", log));
    machine->Update(false);
    machine->Select(1);
    EXPECT_EQ(machine->GetSelection(), 1);
    machine->StartWork();
    machine->Select(0);
    EXPECT_EQ(machine->GetSelection(), -1);
    EXPECT_EQ(log, (EventLog{"listener click", "listener click"}));
    // Each selection also queued the machine for the player.
    EXPECT_EQ(station->GetQueuedMachines(), (std::vector<TString>{"mixer", "mixer"}));
}

TEST_F(MachineTest, GoingIdleStartsWorkOnASelectedItemNotYetWorkedOn) {
    auto machine = OnStation<WorkingMachine>("anim_work");
    machine->Select(0);
    ASSERT_TRUE(machine->PutItem(Chocolate(0), 3, false));
    machine->GoIdle();
    EXPECT_TRUE(machine->IsBusy());
    // The same item, once worked on, is not started again.
    machine->GoIdle();
    machine->Select(0);
    machine->GoIdle();
    EXPECT_FALSE(machine->IsBusy());
}

TEST_F(MachineTest, AHoldOnAMissingPartFreesTheStationAfterAMillisecond) {
    for (const char* part : {"anim_work", "anim_gone"}) {
        SCOPED_TRACE(part);
        auto machine = OnStation<WorkingMachine>(part);
        machine->Select(0);
        ASSERT_TRUE(machine->PutItem(Chocolate(0), 3, false));
        ASSERT_TRUE(machine->TryStartWork());
        EXPECT_TRUE(machine->IsSuspended());
        if (std::string(part) == "anim_work") {
            // Two frames of 30 ms.
            machine->GetChildObject(part)->DoAnim("DoAnim", false, false, 0);
            for (int frame = 0; frame < 2; ++frame) Frame(machine);
            EXPECT_TRUE(station->IsSuspended()) << "the part still plays";
            machine->GetChildObject(part)->StopAnimation(true);
        }
        Frame(machine);
        EXPECT_FALSE(machine->IsBusy());
        EXPECT_FALSE(station->IsSuspended());
        EXPECT_FALSE(machine->IsSuspended());
    }
}

TEST_F(MachineTest, ItemsGoInOneAtATimeAndOutToHandsEnough) {
    std::shared_ptr<VMachine> machine = OnStation<VMachine>();
    EXPECT_FALSE(machine->PutItem(nullptr, 3, false));
    std::shared_ptr<VChocolate> first = Chocolate(0);
    ASSERT_TRUE(machine->PutItem(first, 3, false));
    EXPECT_STREQ(first->GetName().c_str(), "chocolate");
    EXPECT_EQ(first->GetOwner(), machine);
    EXPECT_EQ(first->GetLayer(), 3);
    EXPECT_FALSE(machine->PutItem(Chocolate(1), 3, false));
    EXPECT_TRUE(machine->PutItem(first, 4, false));

    std::shared_ptr<VPlayer> player = Player();
    player->PickUp(VCarriable::Create(1));
    // A two-handed item stays for a player with one hand free.
    first->SetKind(2);
    machine->Interact(player);
    EXPECT_EQ(machine->GetItem(), first);
    first->SetKind(1);
    machine->StartWork();
    machine->Interact(player);
    EXPECT_EQ(machine->GetItem(), first) << "busy";
    machine->GoIdle();
    machine->Interact(player);
    EXPECT_EQ(machine->GetItem(), nullptr);
    EXPECT_EQ(player->GetLeftHand(), first);
    EXPECT_EQ(machine->TakeItem(false), nullptr);
}

TEST_F(MachineTest, AnExpiredItemLeavesAtTheNextUpdate) {
    std::shared_ptr<VMachine> machine = OnStation<VMachine>();
    auto item = MakeOwned<PerishableItem>();
    ASSERT_TRUE(machine->PutItem(item, 3, false));
    Frame(machine);
    EXPECT_EQ(machine->GetItem(), item);
    item->expired = true;
    Frame(machine);
    EXPECT_EQ(machine->GetItem(), nullptr);
    EXPECT_EQ(item->GetOwner(), nullptr);
}

TEST_F(MachineTest, TheHandTakenIsTheOneWhoseChocolateTakesTheStage) {
    std::shared_ptr<VMachine> machine = OnStation<VMachine>();
    EXPECT_EQ(machine->FindHand(nullptr, 1), -1);
    auto shaped = Chocolate(0);
    shaped->AddLayer(VChocolateLayer::Create(kChocolateLayer, 0, 0));
    struct Case {
        const char* what;
        std::shared_ptr<VCarriable> right, left;
        int hand;
    } cases[] = {
        {"a bottle and a bucket", VCarriable::Create(1), Chocolate(0), VPlayer::kLeftHand},
        {"a bucket and a bottle", Chocolate(0), VCarriable::Create(1), VPlayer::kRightHand},
        {"two bottles", VCarriable::Create(1), VCarriable::Create(1), -1},
        {"a shaped chocolate and a bucket", shaped, Chocolate(0), VPlayer::kLeftHand},
        {"nothing", nullptr, nullptr, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<VPlayer> player = Player();
        if (c.right) player->PickUp(c.right);
        if (c.left) player->PickUp(c.left);
        EXPECT_EQ(machine->FindHand(player, 1), c.hand);
        // Nothing is taken from the hands.
        EXPECT_EQ(player->GetRightHand(), c.right);
    }
}

TEST_F(MachineTest, TwoChocolatesForTheStageGoByWhatTheFirstWaitingCustomerWants) {
    std::shared_ptr<VMachine> machine = OnStation<VMachine>();
    machine->Select(2);
    // Wants a milk chocolate with ingredient 2.
    auto wanted = Chocolate(1);
    wanted->AddLayer(VChocolateLayer::Create(kIngredientLayer, 0, 2));
    struct Case {
        const char* what;
        int rightType, leftType;
        int customerState;
        int hand;
    } cases[] = {
        {"the customer is not waiting yet", 0, 1, VCustomer::kOrdering, -1},
        {"neither is milk", 0, 2, VCustomer::kWaiting, -1},
        {"the right one is milk", 1, 2, VCustomer::kWaiting, VPlayer::kRightHand},
        {"the left one is milk", 0, 1, VCustomer::kWaiting, VPlayer::kLeftHand},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        screen.reset();
        screen = CurrentScreen(clock);
        std::shared_ptr<VPlayer> player = Player();
        player->PickUp(Chocolate(c.rightType));
        player->PickUp(Chocolate(c.leftType));
        // No counter, no customer: neither.
        EXPECT_EQ(machine->FindHand(player, kIngredientLayer), -1);
        std::shared_ptr<VStation> counter = VStation::Create(1, VStation::kPlainStation);
        screen->AddStation("station01", counter);
        auto customer = MakeOwned<WaitingCustomer>(wanted);
        customer->SetState(c.customerState);
        ASSERT_TRUE(counter->AttachCustomer(customer));
        EXPECT_EQ(machine->FindHand(player, kIngredientLayer), c.hand);
    }
    // Another option: no customer wants either.
    std::shared_ptr<VPlayer> player = screen->GetPlayer();
    ASSERT_EQ(machine->FindHand(player, kIngredientLayer), VPlayer::kLeftHand);
    machine->Select(1);
    EXPECT_EQ(machine->FindHand(player, kIngredientLayer), -1);
    machine->Select(2);
    screen.reset();
    EXPECT_EQ(machine->FindHand(player, kIngredientLayer), -1) << "no level screen";
}

}  // namespace
