// A machine that fills bottles by itself: whenever it is free and its refill
// time has run out it fills a bottle in three animated steps (arm out, fill,
// arm back) and leaves it standing for the player. Taking the bottle starts
// the refill, whose progress the gauge shows. The drink and sauce machines
// run this one cycle with the differences their recipe holds.
#pragma once

#include <memory>

#include "game/machines/machine.h"

struct BottleRecipe {
    // Item name the customers ask for; the named value of the refill time.
    const char* item;
    const char* cooldown;
    // Frames of "static_top": idle, and while filling.
    int idleTop;
    int fillTop;
    // Played on "anim_spray" when the fill starts.
    const char* spray;
    // Whether "anim_fill_steam" plays "DoDrinkSteam" with the spray.
    bool steam;
    // Whether any free hand takes the bottle, whatever its hand count.
    bool oneHand;
};

class VBottleMachine : public VMachine {
public:
    // Work phases: arm out, filling, arm back.
    enum { kArmOut = 1, kFilling, kArmBack };

    explicit VBottleMachine(const BottleRecipe& recipe);
    ~VBottleMachine() override;

    // A level starts with a bottle standing.
    void ApplyUpgrades() override;
    // Counts the refill down and starts a due bottle once the machine is free.
    void Update(bool paused) override;
    void GoIdle() override;
    bool ContinueWork() override;
    void StartWork() override;
    // Hands the bottle over and starts the refill.
    void Interact(const std::shared_ptr<VPlayer>& player) override;

    // A copy of the "bottle" part as a new child; false when there is a
    // bottle already or no part to copy.
    bool MakeBottle();

    const std::shared_ptr<VCarriable>& GetBottle() const { return mBottle; }
    int GetRefillLeft() const { return mRefillLeft; }

protected:
    // A machine of the kind, glowing under the mouse.
    template <class T>
    static std::shared_ptr<T> CreateGlowing() {
        auto machine = std::make_shared<T>();
        Adopt(machine);
        machine->Glow();
        return machine;
    }
    // Whether the owned upgrades enable this machine.
    virtual bool IsUnlocked() const = 0;

private:
    void Glow();
    // The refill time, at least 1 ms.
    float Cooldown() const;
    void CountRefill(uint32_t elapsed);
    void StartDueBottle();

    const BottleRecipe& mRecipe;
    std::shared_ptr<VCarriable> mBottle;
    int mRefillLeft = 0;
    float mRefillTime;
    bool mClinked = false;
    // The refill ran out while the machine was still held.
    bool mBottleDue = false;
};
