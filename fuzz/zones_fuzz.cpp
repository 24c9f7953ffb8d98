// Feeds arbitrary bytes to the zone graph as "zones/zones.xml", loaded twice
// as plain text and twice deflated in the "ZXML" form into one controller,
// then searches routes between up to 32 pairs of its points, some blocked,
// and pops each route until it is empty. A route holds no point twice, and
// no search leaves a temporary link behind.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/virtualfiles.h"
#include "fuzz/zxmlbytes.h"
#include "game/floor/zonecontroller.h"

namespace {

const char kFile[] = "zones/zones.xml";
const size_t kPairs = 32;

void Load(ZoneController& controller, const std::string& bytes) {
    static const char kNothing = 0;
    RegisterMemoryFile(kFile, bytes.empty() ? &kNothing : bytes.data(), bytes.size());
    controller.Load(kFile);
    controller.Load(kFile);
}

std::vector<std::shared_ptr<ZonePoint>> AllPoints(const ZoneController& controller) {
    std::vector<std::shared_ptr<ZonePoint>> points;
    for (const std::shared_ptr<Zone>& zone : controller.GetZones()) {
        points.insert(points.end(), zone->GetPoints().begin(), zone->GetPoints().end());
    }
    return points;
}

void CheckNoTemporaryLink(const std::vector<std::shared_ptr<ZonePoint>>& points) {
    for (const std::shared_ptr<ZonePoint>& point : points) {
        for (const ZoneLink& link : point->GetLinks()) {
            if (link.temporary) std::abort();
        }
    }
}

void Walk(ZoneController& controller, const std::shared_ptr<ZonePoint>& start, const std::shared_ptr<ZonePoint>& end,
          const std::vector<std::shared_ptr<ZonePoint>>& points) {
    controller.FindRoute(start, end);
    CheckNoTemporaryLink(points);
    std::vector<ZonePoint*> walked;
    while (std::shared_ptr<ZonePoint> point = controller.PopRoutePoint()) {
        for (ZonePoint* earlier : walked) {
            if (earlier == point.get()) std::abort();
        }
        walked.push_back(point.get());
    }
    if (!controller.IsRouteEmpty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string plain(reinterpret_cast<const char*>(data), size);
    ZoneController controller;
    Load(controller, plain);
    Load(controller, ZxmlBytes(plain));
    std::vector<std::shared_ptr<ZonePoint>> points = AllPoints(controller);
    for (size_t n = 0; n < points.size(); n += 5) points[n]->SetBlocked(true);
    for (size_t pair = 0; pair < kPairs && !points.empty(); ++pair) {
        const std::shared_ptr<ZonePoint>& start = points[pair % points.size()];
        const std::shared_ptr<ZonePoint>& end = points[(pair * 7 + 3) % points.size()];
        Walk(controller, start, end, points);
    }
    if (!points.empty()) {
        Walk(controller, nullptr, points.front(), points);
        Walk(controller, points.front(), nullptr, points);
    }
    ClearVirtualFiles();
    return 0;
}
