// A work place of the shop floor: a counter where a customer stands, or the
// place of machines. A click walks the player to the nearest of its player
// points; the player's arrival there is the station's interaction.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/vector.h"
#include "game/objects/suspendable.h"

class VCustomer;
class VPlayer;
class ZonePoint;

class VStation : public VSuspendable {
public:
    // Station kinds, the level file's "stationType".
    enum {
        kPlainStation = 1,
        kDisposal = 9,
        kDisplayShelf = 11,
        kConveyor = 12,
    };
    // Facing codes of the player at a player point.
    enum { kFaceFront = 2 };

    // A station of the kind; counters and the special stations glow under
    // the mouse. Never empty.
    static std::shared_ptr<VStation> Create(int number, int kind);
    // Named "station%02i" after the number; clickable.
    VStation(int number, int kind);
    ~VStation() override;

    // The object's reset, then the links of the machines and the mouse flag.
    virtual void ApplyUpgrades();
    // Walks the player to the nearest player point; every click counts.
    void OnClick() override;
    // Sends the customer away; "stationID", "stationType", the player points
    // of "playerPoint" with their facings, a plain station's customer point
    // ("custPoint", else "customer<id>") and money position ("money"), then
    // the object's own keys.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    // Counts the enabled machines.
    virtual void RelinkMachines();
    // Only a plain station without a customer takes one.
    virtual bool AttachCustomer(const std::shared_ptr<VCustomer>& customer);
    // The customer, whose menu and money leave the station; empty when none.
    virtual std::shared_ptr<VCustomer> DetachCustomer();
    // The player arrived at one of the station's points (may be empty): it
    // meets the customer unless the station works, and with nowhere else to
    // go it turns to the point's facing.
    virtual void Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point);

    bool HasPlayerPoint(const std::shared_ptr<ZonePoint>& point) const;
    // 0 for a point without a facing of its own.
    int GetFacing(const TString& pointName) const;
    const std::vector<std::shared_ptr<ZonePoint>>& GetPlayerPoints() const { return mPlayerPoints; }
    int GetStationId() const { return mStationId; }
    int GetKind() const { return mKind; }
    int GetEnabledMachineCount() const { return mEnabledMachines; }
    const std::shared_ptr<VCustomer>& GetCustomer() const { return mCustomer; }
    // Where a plain station's customer stands; empty when the zone graph
    // has no such point.
    const std::shared_ptr<ZonePoint>& GetCustomerPoint() const { return mCustomerPoint; }
    // Where a paying customer's money shows.
    const TVec2& GetMoneyPosition() const { return mMoneyPosition; }

private:
    void LoadPlayerPoints(VLuaStyle& description);
    void LoadCustomerPlace(VLuaStyle& description);
    std::shared_ptr<ZonePoint> NearestPlayerPoint(const TVec2& from) const;

    int mStationId;
    int mEnabledMachines = 0;
    int mKind;
    std::map<TString, int> mFacings;
    std::shared_ptr<VCustomer> mCustomer;
    TVec2 mMoneyPosition;
    std::vector<std::shared_ptr<ZonePoint>> mPlayerPoints;
    std::shared_ptr<ZonePoint> mCustomerPoint;
};
