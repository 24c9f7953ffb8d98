#include "game/floor/zonecontroller.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "foundation/debuglog.h"
#include "foundation/rect.h"
#include "foundation/settings.h"
#include "foundation/xmlnode.h"
#include "game/utilities/draw2dscope.h"
#include "game/utilities/rectdraw.h"

namespace {

const TColor4f kRouteColour(0, 1, 0, 0.75f);
const TColor4f kGraphColour(1, 0, 0, 0.75f);

bool IsFlagged(const TXmlNode& element, const char* attribute) {
    return element.GetAttribute(attribute).ToInt() == 1;
}

// Adds or removes the point so that the list holds it once or not at all.
void SetListed(Zone::PointList& list, const std::shared_ptr<ZonePoint>& point, bool listed) {
    auto found = std::find(list.begin(), list.end(), point);
    if (listed && found == list.end()) list.push_front(point);
    if (!listed && found != list.end()) list.erase(found);
}

TPoint At(const ZonePoint& point) { return TPoint(point.GetX(), point.GetY()); }

// Ten pixels square around the point, kept inside the integer range.
TRect Square(const ZonePoint& point) {
    auto edge = [](int32_t centre, int offset) {
        return static_cast<int>(std::clamp<int64_t>(int64_t{centre} + offset, INT32_MIN, INT32_MAX));
    };
    return TRect(edge(point.GetX(), -5), edge(point.GetY(), -5), edge(point.GetX(), 5), edge(point.GetY(), 5));
}

}  // namespace

ZonePoint::ZonePoint(const TString& name, int32_t x, int32_t y, const std::shared_ptr<Zone>& zone)
    : mX(x), mY(y), mName(name), mZone(zone) {}

void ZonePoint::AddLink(const std::shared_ptr<ZonePoint>& target, double cost, bool temporary) {
    mLinks.push_front(ZoneLink{target, cost, temporary});
}

void ZonePoint::ClearLinks() { mLinks.clear(); }

void ZonePoint::ResetSearch() {
    mClosed = false;
    mQueued = false;
    mDistance = -1;
    mPrevious.reset();
}

void ZonePoint::SetPosition(int32_t x, int32_t y) {
    mX = x;
    mY = y;
}

double PointDistance(const ZonePoint& a, const ZonePoint& b) {
    double dx = static_cast<double>(int64_t{b.GetX()} - a.GetX());
    double dy = static_cast<double>(int64_t{b.GetY()} - a.GetY());
    return std::sqrt(dx * dx + dy * dy);
}

void ConnectPoints(const std::shared_ptr<ZonePoint>& a, const std::shared_ptr<ZonePoint>& b, bool temporary) {
    double cost = PointDistance(*a, *b);
    a->AddLink(b, cost, temporary);
    b->AddLink(a, cost, temporary);
}

std::shared_ptr<ZonePoint> Zone::AddPoint(const TString& name, int32_t x, int32_t y, bool isEntrance, bool isExit) {
    std::shared_ptr<ZonePoint> point = FindPoint(name);
    if (point) {
        point->ResetSearch();
        point->SetPosition(x, y);
    } else {
        point = std::make_shared<ZonePoint>(name, x, y, shared_from_this());
        mPoints.push_front(point);
    }
    SetListed(mEntrances, point, isEntrance);
    SetListed(mExits, point, isExit);
    return point;
}

std::shared_ptr<ZonePoint> Zone::FindPoint(const TString& name) const {
    for (const std::shared_ptr<ZonePoint>& point : mPoints) {
        if (point->GetName() == name) return point;
    }
    return nullptr;
}

void Zone::Connect(const TString& first, const TString& second, bool temporary) {
    std::shared_ptr<ZonePoint> a = FindPoint(first);
    std::shared_ptr<ZonePoint> b = FindPoint(second);
    if (a && b) ConnectPoints(a, b, temporary);
}

void Zone::ClearLinks() {
    for (const std::shared_ptr<ZonePoint>& point : mPoints) point->ClearLinks();
}

void Zone::ResetSearch() {
    for (const std::shared_ptr<ZonePoint>& point : mPoints) point->ResetSearch();
}

std::shared_ptr<ZoneController> ZoneController::Create(const TString& fileName) {
    auto controller = std::make_shared<ZoneController>();
    controller->Load(fileName);
    return controller;
}

ZoneController::ZoneController() : mDebug(GetSetting("zones_debug", "0").ToInt() == 1) {}

void ZoneController::Load(const TString& fileName) {
    mRoute.clear();
    TXmlNode document;
    if (!document.LoadFile(fileName) || !document.FindChild("zonecontroller")) {
        DebugLog("ZoneController: \"%s\" is missing or holds no zonecontroller; the zones stay as they were",
                 fileName.c_str());
        return;
    }
    TString name;
    TXmlNode* child = nullptr;
    document.ResetChildIterator();
    while (document.NextChild(name, child)) {
        if (name == "zonecontroller") ReadController(*child);
    }
}

void ZoneController::ReadController(TXmlNode& element) {
    TString name;
    TXmlNode* child = nullptr;
    element.ResetChildIterator();
    while (element.NextChild(name, child)) {
        if (name == "zone") ReadZone(*child);
        if (name == "crosszone") ReadCrossZone(*child);
    }
}

void ZoneController::ReadZone(TXmlNode& element) {
    TString zoneName = element.GetAttribute("name");
    std::shared_ptr<Zone> zone = FindZone(zoneName);
    if (!zone) {
        zone = std::make_shared<Zone>(zoneName);
        mZones.push_front(zone);
    }
    // A repeated zone starts its links afresh.
    zone->ClearLinks();
    zone->ResetSearch();
    TString name;
    TXmlNode* child = nullptr;
    element.ResetChildIterator();
    while (element.NextChild(name, child)) {
        if (name == "point") {
            zone->AddPoint(child->GetAttribute("name"), child->GetAttribute("x").ToInt(),
                           child->GetAttribute("y").ToInt(), IsFlagged(*child, "isentrance"),
                           IsFlagged(*child, "isexit"));
        }
        if (name == "connection") zone->Connect(child->GetAttribute("first"), child->GetAttribute("second"), false);
    }
}

void ZoneController::ReadCrossZone(TXmlNode& element) {
    TString name;
    TXmlNode* child = nullptr;
    element.ResetChildIterator();
    while (element.NextChild(name, child)) {
        if (name != "connection") continue;
        std::shared_ptr<ZonePoint> first =
            FindPoint(child->GetAttribute("firstzone"), child->GetAttribute("firstnode"));
        std::shared_ptr<ZonePoint> second =
            FindPoint(child->GetAttribute("secondzone"), child->GetAttribute("secondnode"));
        if (first && second) ConnectPoints(first, second, false);
    }
}

std::shared_ptr<Zone> ZoneController::FindZone(const TString& name) const {
    for (const std::shared_ptr<Zone>& zone : mZones) {
        if (zone->GetName() == name) return zone;
    }
    return nullptr;
}

std::shared_ptr<ZonePoint> ZoneController::FindPoint(const TString& zone, const TString& point) const {
    std::shared_ptr<Zone> found = FindZone(zone);
    return found ? found->FindPoint(point) : nullptr;
}

void ZoneController::SetPointBlocked(const TString& zone, const TString& point, bool blocked) {
    if (std::shared_ptr<ZonePoint> found = FindPoint(zone, point)) found->SetBlocked(blocked);
}

void ZoneController::FindRoute(const std::shared_ptr<ZonePoint>& start, const std::shared_ptr<ZonePoint>& end) {
    mRoute.clear();
    if (!end) return;
    if (!start) {
        mRoute.push_back(end);
        return;
    }
    std::shared_ptr<Zone> startZone = start->GetZone();
    std::shared_ptr<Zone> endZone = end->GetZone();
    for (const std::shared_ptr<Zone>& zone : mZones) zone->ResetSearch();
    bool crossing = startZone && endZone && startZone != endZone;
    if (crossing) LinkZones(*startZone, *endZone);
    Search(start);
    BuildRoute(start, end);
    if (crossing) {
        UnlinkZones(*startZone);
        UnlinkZones(*endZone);
    }
}

void ZoneController::LinkZones(const Zone& from, const Zone& to) {
    for (const std::shared_ptr<ZonePoint>& exit : from.GetExits()) {
        for (const std::shared_ptr<ZonePoint>& entrance : to.GetEntrances()) ConnectPoints(exit, entrance, true);
    }
}

void ZoneController::UnlinkZones(const Zone& zone) {
    for (const std::shared_ptr<ZonePoint>& point : zone.GetPoints()) {
        std::erase_if(point->mLinks, [&zone](const ZoneLink& link) {
            std::shared_ptr<ZonePoint> target = link.target.lock();
            return link.temporary && (!target || target->GetZone().get() != &zone);
        });
    }
}

// Expands the nearest unclosed point until none is left. The work list is
// kept in queueing order; on equal distances the one queued last wins.
void ZoneController::Search(const std::shared_ptr<ZonePoint>& start) {
    start->mDistance = 0;
    start->mClosed = true;
    std::vector<std::shared_ptr<ZonePoint>> work;
    std::shared_ptr<ZonePoint> current = start;
    while (current) {
        for (const ZoneLink& link : current->mLinks) {
            std::shared_ptr<ZonePoint> target = link.target.lock();
            if (!target || target->mBlocked || target->mClosed) continue;
            if (!target->mQueued) {
                work.push_back(target);
                target->mQueued = true;
            }
            // Compared untruncated, stored truncated.
            double reach = static_cast<double>(current->mDistance) + link.cost;
            if (target->mDistance == -1 || static_cast<double>(target->mDistance) > reach) {
                target->mDistance = current->mDistance + static_cast<int64_t>(link.cost);
                target->mPrevious = current;
            }
        }
        current->mClosed = true;
        current = nullptr;
        for (auto point = work.rbegin(); point != work.rend(); ++point) {
            if (!(*point)->mClosed && (!current || (*point)->mDistance < current->mDistance)) current = *point;
        }
    }
}

void ZoneController::BuildRoute(const std::shared_ptr<ZonePoint>& start, const std::shared_ptr<ZonePoint>& end) {
    std::shared_ptr<ZonePoint> point = end;
    while (point) {
        mRoute.push_front(point);
        if (point == start) return;
        point = point->mPrevious.lock();
    }
    // Not reached: straight to the end.
    mRoute.assign(1, end);
}

std::shared_ptr<ZonePoint> ZoneController::PopRoutePoint() {
    if (mRoute.empty()) return nullptr;
    std::shared_ptr<ZonePoint> point = mRoute.front();
    mRoute.pop_front();
    return point;
}

bool ZoneController::IsOnRoute(const std::shared_ptr<ZonePoint>& point) const {
    return std::find(mRoute.begin(), mRoute.end(), point) != mRoute.end();
}

void ZoneController::DrawDebug() {
    if (!mDebug) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    for (const std::shared_ptr<Zone>& zone : mZones) {
        for (const std::shared_ptr<ZonePoint>& point : zone->GetPoints()) {
            if (point->IsBlocked()) continue;
            bool onRoute = IsOnRoute(point);
            FillRectColor(Square(*point), onRoute ? kRouteColour : kGraphColour);
            if (onRoute) continue;
            for (const ZoneLink& link : point->GetLinks()) {
                std::shared_ptr<ZonePoint> target = link.target.lock();
                if (target && !target->IsBlocked()) DrawLineColor(At(*point), At(*target), kGraphColour);
            }
        }
    }
    for (size_t index = 1; index < mRoute.size(); ++index) {
        const ZonePoint& from = *mRoute[index - 1];
        for (const ZoneLink& link : mRoute[index]->GetLinks()) {
            if (link.target.lock().get() == &from) DrawLineColor(At(*mRoute[index]), At(from), kRouteColour);
        }
    }
}
