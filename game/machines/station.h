// A work place of the shop floor: a counter where a customer stands, or the
// place of machines. A click walks the player to the nearest of its player
// points; the player's arrival there is the station's interaction.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/vector.h"
#include "game/machines/stationkind.h"
#include "game/objects/suspendable.h"

class VCustomer;
class VMachine;
class VPlayer;
class VTutorialListener;
class ZonePoint;

class VStation : public VSuspendable {
public:
    using enum StationKind;
    // Facing codes of the player at a player point.
    enum { kFaceFront = 2 };

    // A station of the kind; counters and the special stations glow under
    // the mouse. Never empty.
    static std::shared_ptr<VStation> Create(int number, int kind);
    // Named "station%02i" after the number; clickable.
    VStation(int number, int kind);
    ~VStation() override;

    // The upgrades.
    void Reset() override;
    // The sole machine hears the pointer.
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    // Walks the player to the nearest player point; every click counts.
    void OnClick() override;
    // Only a machine ends the station's hold, never time.
    void Update(bool paused) override;
    // Sends the customer away; "stationID", "stationType", the machines of
    // "machines" by lower-cased key, the player points of "playerPoint" with
    // their facings, a plain station's customer point ("custPoint", else
    // "customer<id>") and money position ("money"), the object's own keys,
    // then the "tabletop" art of the upgrades loaded ahead.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    // The object's reset, the "tabletop" of the owned station upgrade, the
    // links of the machines and the mouse flag.
    virtual void ApplyUpgrades();
    // Counts the enabled machines; a sole one takes every arrival.
    virtual void RelinkMachines();
    // Only a plain station without a customer takes one.
    virtual bool AttachCustomer(const std::shared_ptr<VCustomer>& customer);
    // The customer, whose menu and money leave the station; empty when none.
    virtual std::shared_ptr<VCustomer> DetachCustomer();
    // A clicked machine waits for the player's arrival; the click walks the
    // player here.
    virtual void QueueMachine(const TString& name);
    // The player arrived at one of the station's points (may be empty).
    // Unless the station works, the sole machine, else the machines queued
    // since the last arrival in click order, then the customer and the
    // waiting tutorials meet the player. The queue empties, and with nowhere
    // else to go the player turns to the point's facing.
    virtual void Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point);
    // A tutorial step waiting for the player here moves on.
    void NotifyWaiter(const VTutorialListener& waiter);

    bool HasPlayerPoint(const std::shared_ptr<ZonePoint>& point) const;
    // 0 for a point without a facing of its own.
    int GetFacing(const TString& pointName) const;
    const std::vector<std::shared_ptr<ZonePoint>>& GetPlayerPoints() const { return mPlayerPoints; }
    int GetStationId() const { return mStationId; }
    int GetKind() const { return mKind; }
    int GetEnabledMachineCount() const { return mEnabledMachines; }
    const std::shared_ptr<VCustomer>& GetCustomer() const { return mCustomer; }
    // By lower-cased key; empty when none.
    std::shared_ptr<VMachine> GetMachine(const TString& key) const;
    const std::map<TString, std::shared_ptr<VMachine>>& GetMachines() const { return mMachines; }
    // The one enabled machine; empty with none or several.
    const std::shared_ptr<VMachine>& GetSoleMachine() const { return mSoleMachine; }
    const std::vector<TString>& GetQueuedMachines() const { return mQueuedMachines; }
    // Where a plain station's customer stands; empty when the zone graph
    // has no such point.
    const std::shared_ptr<ZonePoint>& GetCustomerPoint() const { return mCustomerPoint; }
    // Where a paying customer's money shows.
    const TVec2& GetMoneyPosition() const { return mMoneyPosition; }

protected:
    // The special stations: shown only with the station upgrade, its "base"
    // art current, the object reset first when asked. Whether it is owned.
    bool ShowIfOwned(const char* upgrade, bool reset);
    // The machine of a "machines" entry's kind.
    virtual std::shared_ptr<VMachine> CreateMachine(int kind) const;

private:
    void LoadMachines(const std::shared_ptr<VLuaStyle>& description);
    void LoadPlayerPoints(VLuaStyle& description);
    void LoadCustomerPlace(VLuaStyle& description);
    std::shared_ptr<ZonePoint> NearestPlayerPoint(const TVec2& from) const;
    void PreloadTabletop();
    void TellSoleMachine(int event);

    int mStationId;
    int mEnabledMachines = 0;
    int mKind;
    std::map<TString, std::shared_ptr<VMachine>> mMachines;
    std::shared_ptr<VMachine> mSoleMachine;
    std::shared_ptr<VCustomer> mCustomer;
    std::vector<TString> mQueuedMachines;
    TVec2 mMoneyPosition;
    std::map<TString, int> mFacings;
    std::vector<std::shared_ptr<ZonePoint>> mPlayerPoints;
    std::shared_ptr<ZonePoint> mCustomerPoint;
};
