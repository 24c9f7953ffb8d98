// The infuser turns a fresh bucket into an infusion of the option chosen on
// its buttons. The bucket pours in, the product waits hidden in the working
// top (and moves with it) while the body works and the door opens; the top's
// script calls "unlock" when the infusion is ready and the door's "drop"
// when the empty bucket falls. The infusion stays until the player takes it.
#pragma once

#include <memory>

#include "game/machines/bucketmachine.h"

class VInfuse : public VBucketMachine {
public:
    // The chocolate's stage that the machine adds: a fresh bucket only.
    static constexpr int kStage = 3;
    // Work phases: pouring, then working.
    enum { kPouring = 1, kWorking };

    static std::shared_ptr<VInfuse> Create();
    VInfuse();
    ~VInfuse() override;

    // A fresh bucket and a selected infusion: the chocolate becomes an
    // infusion, hidden in the working top, and the pour begins.
    bool TryStartWork() override;
    void StartWork() override;
    bool ContinueWork() override;
    // The product back on the machine, the bucket's copy gone.
    void GoIdle() override;
    // Buttons of the owned infusions; the top's and the door's scripts get
    // "unlock" and "drop".
    void ApplyUpgrades() override;
    // The station is free and the infusion shows.
    void Unlock() override;

    // 0 while working, 1 when idle.
    int GetUserValue() const { return mUserValue; }

private:
    int mUserValue = 1;
};
