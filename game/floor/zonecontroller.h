// The walkable floor of a level: named points grouped into named zones,
// joined by links both ways, read from a zones file; and the route search
// that walking characters follow from point to point.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "foundation/tstring.h"

class TXmlNode;
class Zone;
class ZonePoint;

// A one-way edge, owned by its source point.
struct ZoneLink {
    std::weak_ptr<ZonePoint> target;
    double cost = 0;
    // Set on the links one route search adds between zones for its duration.
    bool temporary = false;
};

class ZonePoint {
public:
    ZonePoint(const TString& name, int32_t x, int32_t y, const std::shared_ptr<Zone>& zone);
    virtual ~ZonePoint() = default;

    // Runs when a character arrives here; nothing on a plain point.
    virtual void OnArrive() {}

    // New links go to the front.
    void AddLink(const std::shared_ptr<ZonePoint>& target, double cost, bool temporary);
    void ClearLinks();
    void ResetSearch();

    const TString& GetName() const { return mName; }
    int32_t GetX() const { return mX; }
    int32_t GetY() const { return mY; }
    void SetPosition(int32_t x, int32_t y);
    std::shared_ptr<Zone> GetZone() const { return mZone.lock(); }
    bool IsBlocked() const { return mBlocked; }
    void SetBlocked(bool blocked) { mBlocked = blocked; }
    const std::deque<ZoneLink>& GetLinks() const { return mLinks; }

private:
    friend class ZoneController;

    int32_t mX;
    int32_t mY;
    TString mName;
    std::weak_ptr<Zone> mZone;
    bool mBlocked = false;
    std::deque<ZoneLink> mLinks;
    // Route search state. Distances are sums of truncated link costs, kept
    // in 64 bits: coordinates of a bad file may lie 2^32 apart.
    bool mClosed = false;
    bool mQueued = false;
    int64_t mDistance = -1;
    std::weak_ptr<ZonePoint> mPrevious;
};

// Links a and b both ways with their distance as the cost.
void ConnectPoints(const std::shared_ptr<ZonePoint>& a, const std::shared_ptr<ZonePoint>& b, bool temporary);
// The straight distance, from differences taken in 64 bits.
double PointDistance(const ZonePoint& a, const ZonePoint& b);

class Zone : public std::enable_shared_from_this<Zone> {
public:
    using PointList = std::deque<std::shared_ptr<ZonePoint>>;

    explicit Zone(const TString& name) : mName(name) {}

    // A point of that name is moved and its entrance and exit flags follow
    // the arguments; otherwise a new one goes to the front of the lists.
    std::shared_ptr<ZonePoint> AddPoint(const TString& name, int32_t x, int32_t y, bool isEntrance, bool isExit);
    std::shared_ptr<ZonePoint> FindPoint(const TString& name) const;
    // Nothing unless both points are in this zone.
    void Connect(const TString& first, const TString& second, bool temporary);
    void ClearLinks();
    void ResetSearch();

    const TString& GetName() const { return mName; }
    const PointList& GetPoints() const { return mPoints; }
    const PointList& GetEntrances() const { return mEntrances; }
    const PointList& GetExits() const { return mExits; }

private:
    TString mName;
    PointList mPoints;
    PointList mEntrances;
    PointList mExits;
};

class ZoneController {
public:
    // A controller loaded from the file; the setting "zones_debug" 1 turns
    // its debug drawing on.
    static std::shared_ptr<ZoneController> Create(const TString& fileName);
    ZoneController();
    virtual ~ZoneController() = default;

    // Reads the file into the graph: zones and points of known names are
    // reused. A file that cannot be read, or holds no "zonecontroller",
    // leaves the graph as it was (logged). The current route is cleared.
    void Load(const TString& fileName);
    std::shared_ptr<Zone> FindZone(const TString& name) const;
    std::shared_ptr<ZonePoint> FindPoint(const TString& zone, const TString& point) const;
    void SetPointBlocked(const TString& zone, const TString& point, bool blocked);

    // Replaces the current route by start, the points between, and end.
    // When end cannot be reached the route is end alone; so it is without
    // a start, and without an end it is empty.
    void FindRoute(const std::shared_ptr<ZonePoint>& start, const std::shared_ptr<ZonePoint>& end);
    // The first point of the route, taken off it; empty at the end.
    std::shared_ptr<ZonePoint> PopRoutePoint();
    bool IsOnRoute(const std::shared_ptr<ZonePoint>& point) const;
    bool IsRouteEmpty() const { return mRoute.empty(); }
    const std::deque<std::shared_ptr<ZonePoint>>& GetRoute() const { return mRoute; }
    const std::deque<std::shared_ptr<Zone>>& GetZones() const { return mZones; }

    // Points, their links and the route over the level; only in debug mode.
    virtual void DrawDebug();
    bool IsDebug() const { return mDebug; }

private:
    void ReadController(TXmlNode& element);
    void ReadZone(TXmlNode& element);
    void ReadCrossZone(TXmlNode& element);
    // Every exit of from to every entrance of to, for one search.
    static void LinkZones(const Zone& from, const Zone& to);
    static void UnlinkZones(const Zone& zone);
    void Search(const std::shared_ptr<ZonePoint>& start);
    void BuildRoute(const std::shared_ptr<ZonePoint>& start, const std::shared_ptr<ZonePoint>& end);

    bool mDebug;
    std::deque<std::shared_ptr<Zone>> mZones;
    std::deque<std::shared_ptr<ZonePoint>> mRoute;
};
