#include "game/machines/handfedmachine.h"

#include "game/floor/player.h"
#include "game/machines/machineparts.h"

namespace {

// The sprite layers a chocolate goes in on: loaded to wait, or to start.
constexpr int kWaitingLayer = 1;
constexpr int kWorkingLayer = 0;

}  // namespace

VHandFedMachine::VHandFedMachine(int stage) : mStage(stage) {}

VHandFedMachine::~VHandFedMachine() = default;

void VHandFedMachine::Interact(const std::shared_ptr<VPlayer>& player) {
    if (!player || IsBusy()) {
        ClearSelection();
        return;
    }
    if (TryStartWork()) return;
    if (GetSelection() < 0) {
        Exchange(player);
        ClearSelection();
    } else if (!SwapIn(player)) {
        ClearSelection();
    }
}

void VHandFedMachine::Exchange(const std::shared_ptr<VPlayer>& player) {
    if (GetItem()) {
        VMachine::Interact(player);
        return;
    }
    int hand = FindHand(player, mStage);
    if (hand >= 0) PutItem(player->TakeItemFromHand(hand), kWaitingLayer, true);
}

bool VHandFedMachine::SwapIn(const std::shared_ptr<VPlayer>& player) {
    int hand = FindHand(player, mStage);
    std::shared_ptr<VCarriable> item = hand < 0 ? nullptr : player->GetHeldItem(hand, nullptr);
    if (!item || !CanSwap(*player, *item, GetItem())) return false;
    std::shared_ptr<VCarriable> previous = TakeItem(true);
    PutItem(player->TakeItemFromHand(hand), kWorkingLayer, true);
    if (previous) player->PickUp(previous);
    // Still closing, the machine starts once it is idle.
    TryStartWork();
    return true;
}
