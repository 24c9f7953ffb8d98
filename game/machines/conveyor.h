// A belt along a circular arc. The player drops a finished chocolate on it;
// the chocolate rides past the counters named on the arc, where the most
// impatient waiting customer may take it as a gift, and falls into the bin
// "station15" at the end. Angles and radii are around the arc's centre,
// screen y pointing down.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <utility>

#include "foundation/tstring.h"
#include "foundation/vector.h"
#include "game/machines/station.h"

class VChocolate;

class VConveyor : public VStation {
public:
    struct BeltEntry {
        float angle;
        TString lastStation;
        std::shared_ptr<VChocolate> item;
    };
    struct ArcPoint {
        float radius = 0;
        float angle = 0;
    };

    static std::shared_ptr<VConveyor> Create(int number);
    explicit VConveyor(int number);
    ~VConveyor() override;

    // "arcCenter", "arcStart" (its angle between 0 and pi/2), "arcEnd",
    // "arcVelocity" and the "stations" pairs, then the station's keys. The
    // belt empties.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    // Shown with "kConveyor1"; no machines to relink, no tabletop.
    void ApplyUpgrades() override;
    // The belt moves, then the sprite's own update.
    void Update(bool paused) override;
    // The station's interaction, then one finished chocolate onto the belt,
    // hand 2 before hand 1.
    void Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) override;

    void AddToBelt(const std::shared_ptr<VChocolate>& item);
    // One step of every entry: gifts at the stations passed, the end into
    // the bin.
    void MoveBelt();
    // The stations just before and just after the angle (previous, next);
    // empty names where there is none.
    std::pair<TString, TString> FindNeighbours(float angle) const;
    // The belt's radius at the angle, interpolated between the stations.
    float RadiusAt(float angle, const TString& next, const TString& previous) const;
    // The bin "station15" plays its animation and sound.
    void DumpToDisposal();

    const TVec2& GetCenter() const { return mCenter; }
    float GetStartAngle() const { return mStartAngle; }
    float GetEndAngle() const { return mEndAngle; }
    float GetVelocity() const { return mVelocity; }
    const std::map<TString, ArcPoint>& GetStations() const { return mStations; }
    const std::list<BeltEntry>& GetBelt() const { return mBelt; }

private:
    // The signed polar form of a screen point.
    ArcPoint PolarOf(const TVec2& point) const;
    ArcPoint StationAt(const TString& name) const;
    // False when the entry left the belt at the station it passed.
    bool PassStation(BeltEntry& entry, const TString& previous);
    // A free gift for the customer at the station unless a more impatient
    // one waits at a lower number; true when it was taken.
    bool OfferGift(const BeltEntry& entry, const TString& stationName) const;
    // False when the entry went past the end.
    bool Advance(BeltEntry& entry, const TString& previous, const TString& next, float& ahead);
    void DropEntry(const BeltEntry& entry);

    TVec2 mCenter;
    float mStartAngle = 0;
    float mEndAngle = 0;
    float mStartRadius = 0;
    float mEndRadius = 0;
    float mVelocity = 0;
    std::map<TString, ArcPoint> mStations;
    std::list<BeltEntry> mBelt;
};
