// Route searches on the zone graph, each with the pops that walk it: on the
// shipped shop floor across zones and within one, and on a 20 x 20 grid cut
// into two zones whose facing columns are exits and entrances. The link
// count is reported; a run that changes it fails.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "foundation/tstring.h"
#include "foundation/virtualfiles.h"
#include "game/floor/zonecontroller.h"

namespace {

const char kFile[] = "zones/zones.xml";
constexpr int kGrid = 20;

size_t CountLinks(const ZoneController& controller) {
    size_t links = 0;
    for (const std::shared_ptr<Zone>& zone : controller.GetZones()) {
        for (const std::shared_ptr<ZonePoint>& point : zone->GetPoints()) links += point->GetLinks().size();
    }
    return links;
}

std::shared_ptr<ZoneController> FromText(const std::string& text) {
    static std::string held;
    held = text;
    RegisterMemoryFile(kFile, held.data(), held.size());
    return ZoneController::Create(kFile);
}

std::shared_ptr<ZoneController> ShippedFloor() {
    std::ifstream file(VANDERMOOT_ZONES, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return FromText(text.str());
}

std::string GridPoint(int column, int row) { return TString::Format("p%d_%d", column, row).c_str(); }

// Columns 0-9 are zone "a", 10-19 zone "b"; each point links to its right
// and lower neighbours in its zone.
std::shared_ptr<ZoneController> TwoZoneGrid() {
    std::string xml = "<zonecontroller>";
    for (const char* zone : {"a", "b"}) {
        int first = zone[0] == 'a' ? 0 : kGrid / 2;
        xml += std::string("<zone name=\"") + zone + "\">";
        std::string connections;
        for (int column = first; column < first + kGrid / 2; ++column) {
            for (int row = 0; row < kGrid; ++row) {
                xml += "<point name=\"" + GridPoint(column, row) + "\" x=\"" + std::to_string(column * 30) +
                       "\" y=\"" + std::to_string(row * 30) + "\"";
                if (column == kGrid / 2 - 1) xml += " isexit=\"1\"";
                if (column == kGrid / 2) xml += " isentrance=\"1\"";
                xml += "/>";
                if (column + 1 < first + kGrid / 2) {
                    connections += "<connection first=\"" + GridPoint(column, row) + "\" second=\"" +
                                   GridPoint(column + 1, row) + "\"/>";
                }
                if (row + 1 < kGrid) {
                    connections += "<connection first=\"" + GridPoint(column, row) + "\" second=\"" +
                                   GridPoint(column, row + 1) + "\"/>";
                }
            }
        }
        // Connections see only the points declared before them.
        xml += connections;
        xml += "</zone>";
    }
    return FromText(xml + "</zonecontroller>");
}

void Walk(benchmark::State& state, ZoneController& controller, const std::shared_ptr<ZonePoint>& start,
          const std::shared_ptr<ZonePoint>& end) {
    if (!start || !end) {
        state.SkipWithError("a point of the route is missing");
        return;
    }
    size_t links = CountLinks(controller);
    size_t points = 0;
    for (auto _ : state) {
        controller.FindRoute(start, end);
        points = 0;
        while (controller.PopRoutePoint()) ++points;
    }
    state.counters["links"] = static_cast<double>(links);
    state.counters["route"] = static_cast<double>(points);
    if (CountLinks(controller) != links) state.SkipWithError("the search left links behind");
}

void BM_ShopFloorAcrossZones(benchmark::State& state) {
    std::shared_ptr<ZoneController> controller = ShippedFloor();
    Walk(state, *controller, controller->FindPoint("avatar", "counter01"),
         controller->FindPoint("middle_center", "avatar"));
}

void BM_ShopFloorWithinOneZone(benchmark::State& state) {
    std::shared_ptr<ZoneController> controller = ShippedFloor();
    Walk(state, *controller, controller->FindPoint("avatar", "counter03"), controller->FindPoint("avatar", "machine05"));
}

void BM_GridAcrossTwoZones(benchmark::State& state) {
    std::shared_ptr<ZoneController> controller = TwoZoneGrid();
    Walk(state, *controller, controller->FindPoint("a", GridPoint(0, 0).c_str()),
         controller->FindPoint("b", GridPoint(kGrid - 1, kGrid - 1).c_str()));
}

}  // namespace

BENCHMARK(BM_ShopFloorAcrossZones)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ShopFloorWithinOneZone)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_GridAcrossTwoZones)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
