// A machine on a station: it holds one item, offers option buttons, and
// works by holding its station until the work ends. Each kind overrides the
// steps of one cycle: the player arrives and interacts, an item goes in, the
// selected option starts work, the machine's animations run, and it goes
// idle again for the player to collect the item.
#pragma once

#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "game/objects/suspendable.h"

class VCarriable;
class VMachineButton;
class VPlayer;
class VStation;

class VMachine : public VSuspendable {
public:
    // The machine of the station kind; never empty.
    static std::shared_ptr<VMachine> Create(int kind);
    // Unnamed, in sprite layer 7, clickable.
    VMachine();
    ~VMachine() override;

    // The upgrades, once.
    void Reset() override;
    // Ends any work at once.
    void Resume() override;
    bool OnResume() override { return ContinueWork(); }
    // Queues this machine at its station.
    void OnClick() override;
    // An expired item leaves without a sound, then the hold's update.
    void Update(bool paused) override;
    // Takes the item out, reads "selections" into buttons (kept by key),
    // glows under the mouse (its buttons do not), then the object's keys.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    // The "base" art, idle, the animation delay; runs once per machine.
    virtual void ApplyUpgrades();
    // End of work: the station free, the still art shown and the animated
    // art stopped; starts again on a selected, unprocessed item.
    virtual void GoIdle();
    // The machine's own hold ended; true when it may leave the hold.
    virtual bool ContinueWork();
    virtual bool TryStartWork() { return false; }
    // Ignored while busy; the machine's listeners hear it in any case.
    virtual void Select(int index);
    // Holds the station, hides the still art, sets the step delay.
    virtual void StartWork();
    // Hands the held item to a player with hands enough.
    virtual void Interact(const std::shared_ptr<VPlayer>& player);
    // False for none or while another item is held.
    virtual bool PutItem(const std::shared_ptr<VCarriable>& item, int layer, bool playSound);
    // Empty when none is held.
    virtual std::shared_ptr<VCarriable> TakeItem(bool playSound);

    void SetStation(const std::shared_ptr<VStation>& station);
    std::shared_ptr<VStation> GetStation() const { return mStation.lock(); }
    // If busy: no longer, and the station is free.
    void FinishWork();
    // The hand whose item takes work of the stage: the player's hand index,
    // or -1. Two such items go by what the waiting customers want.
    int FindHand(const std::shared_ptr<VPlayer>& player, int stage);
    // Until the named part's animation ends; a missing part holds 1 ms.
    void SuspendUntilAsset(const TString& name);

    bool IsEnabled() const { return mEnabled; }
    void SetEnabled(bool enabled) { mEnabled = enabled; }
    bool IsBusy() const { return mBusy; }
    bool IsProcessed() const { return mProcessed; }
    int GetSelection() const { return mSelection; }
    int GetPhase() const { return mPhase; }
    void SetPhase(int phase) { mPhase = phase; }
    int GetOptionCount() const { return mOptionCount; }
    float GetAnimationDelay() const { return mAnimationDelay; }
    void SetAnimationDelay(float delay) { mAnimationDelay = delay; }
    const TString& GetForwardAnimation() const { return mForwardAnimation; }
    const TString& GetBackwardAnimation() const { return mBackwardAnimation; }
    const std::shared_ptr<VCarriable>& GetItem() const { return mItem; }
    const std::map<TString, std::shared_ptr<VMachineButton>>& GetSelections() const { return mSelections; }

protected:
    // Forgets the chosen option without telling the listeners of a choice.
    void ClearSelection() { mSelection = -1; }
    bool IsUpgradesApplied() const { return mUpgradesApplied; }

private:
    void LoadSelections(const std::shared_ptr<VLuaStyle>& description);
    void Glow();

    std::weak_ptr<VStation> mStation;
    int mSelection = -1;
    bool mEnabled = false;
    std::map<TString, std::shared_ptr<VMachineButton>> mSelections;
    std::shared_ptr<VCarriable> mItem;
    bool mProcessed = false;
    int mOptionCount = 0;
    TString mForwardAnimation;
    TString mBackwardAnimation;
    int mPhase = 0;
    bool mBusy = false;
    float mAnimationDelay = 30.0f;
    bool mUpgradesApplied = false;
};
