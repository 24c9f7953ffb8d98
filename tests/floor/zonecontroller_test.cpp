// The zone graph: reading the zones file over an existing graph, route
// searches across and within zones, bad files, far coordinates, and the
// debug drawing.
#include "game/floor/zonecontroller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/settings.h"
#include "graphics/render/recordingrenderbackend.h"
#include "tests/graphics/texturetesting.h"

namespace {

class ZoneControllerTest : public TextureTest {
protected:
    std::shared_ptr<ZoneController> Loaded(const std::string& zones) {
        WriteAsset("zones/zones.xml", "<zonecontroller>" + zones + "</zonecontroller>");
        return ZoneController::Create("zones/zones.xml");
    }

    // "zone/point" names, blank-separated, in walking order.
    static std::string Route(const ZoneController& controller) {
        std::string text;
        for (const std::shared_ptr<ZonePoint>& point : controller.GetRoute()) {
            if (!text.empty()) text += " ";
            text += std::string(point->GetZone()->GetName().c_str()) + "/" + point->GetName().c_str();
        }
        return text;
    }

    static int TemporaryLinks(const ZoneController& controller) {
        int count = 0;
        for (const std::shared_ptr<Zone>& zone : controller.GetZones()) {
            for (const std::shared_ptr<ZonePoint>& point : zone->GetPoints()) {
                for (const ZoneLink& link : point->GetLinks()) count += link.temporary ? 1 : 0;
            }
        }
        return count;
    }

    static std::vector<std::string> Names(const Zone::PointList& points) {
        std::vector<std::string> names;
        for (const std::shared_ptr<ZonePoint>& point : points) names.push_back(point->GetName().c_str());
        return names;
    }
};

std::string Point(const char* name, int x, int y, const char* extra = "") {
    return "<point name=\"" + std::string(name) + "\" x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
           "\" " + extra + "/>";
}

std::string Link(const char* first, const char* second) {
    return "<connection first=\"" + std::string(first) + "\" second=\"" + second + "\"/>";
}

std::string Zone(const char* name, const std::string& body) {
    return "<zone name=\"" + std::string(name) + "\">" + body + "</zone>";
}

// Two ways from s to e of the same length: s-a-e and s-b-e. s links b
// first (links go to the front), so a is queued last.
const std::string kDiamond = Zone("f", Point("s", 0, 0) + Point("a", 10, -10) + Point("b", 10, 10) + Point("e", 20, 0) +
                                           Link("s", "a") + Link("s", "b") + Link("a", "e") + Link("b", "e"));

TEST_F(ZoneControllerTest, RoutesFollowTheShortestWalkOfTruncatedCostsAndLeaveNoTemporaryLink) {
    const std::string chain =
        Zone("f", Point("s", 0, 0) + Point("m", 10, 0) + Point("e", 20, 0) + Point("x", 10, 50) + Link("s", "m") +
                      Link("m", "e") + Link("s", "x") + Link("x", "e"));
    // Two zones without a crosszone connection: exits to entrances carry the route.
    const std::string twoZones =
        Zone("a", Point("s", 0, 0) + Point("out", 10, 0, "isexit=\"1\"") + Link("s", "out")) +
        Zone("b", Point("in", 20, 0, "isentrance=\"1\"") + Point("e", 30, 0) + Link("in", "e"));
    const std::string crossZone =
        Zone("a", Point("s", 0, 0) + Point("door", 10, 0) + Link("s", "door")) +
        Zone("b", Point("door", 20, 0) + Point("e", 30, 0) + Link("door", "e")) +
        "<crosszone><connection firstzone=\"a\" firstnode=\"door\" secondzone=\"b\" secondnode=\"door\"/>"
        "</crosszone>";
    // The straight link costs 5; s-m costs 1.41 and counts 1, so m-e (3.61) wins by 4.61 < 5.
    const std::string truncated = Zone("f", Point("s", 0, 0) + Point("m", 1, 1) + Point("e", 3, 4) + Link("s", "e") +
                                                Link("s", "m") + Link("m", "e"));
    // 2^32 apart: a 32-bit difference would make s-f-e look shortest, a
    // 32-bit sum would lose the far walk s-g-e.
    const std::string far = Zone(
        "f", Point("s", INT32_MIN, 0) + Point("f", INT32_MAX, 0) + Point("e", INT32_MIN, 100000) +
                 Point("g", 0, INT32_MAX) + Point("h", INT32_MIN, 50000) + Link("s", "f") + Link("f", "e") +
                 Link("s", "g") + Link("g", "e"));
    const std::string farWithMiddle = far + Zone("f", Link("s", "h") + Link("h", "e"));
    struct Case {
        const char* what;
        const std::string& zones;
        const char* start;
        const char* end;
        const char* blocked;
        const char* route;
    } cases[] = {
        {"a chain", chain, "f/s", "f/e", "", "f/s f/m f/e"},
        {"around a blocked point", chain, "f/s", "f/e", "m", "f/s f/x f/e"},
        {"to a blocked point", chain, "f/s", "f/m", "m", "f/m"},
        {"unreachable", chain + Zone("f", Point("alone", 5, 5)), "f/s", "f/alone", "", "f/alone"},
        {"to itself", chain, "f/m", "f/m", "", "f/m"},
        {"equal ways: the one queued last", kDiamond, "f/s", "f/e", "", "f/s f/a f/e"},
        {"exits to entrances", twoZones, "a/s", "b/e", "", "a/s a/out b/in b/e"},
        {"no exit", twoZones, "b/e", "a/s", "", "a/s"},
        {"a crosszone link", crossZone, "a/s", "b/e", "", "a/s a/door b/door b/e"},
        {"truncated costs", truncated, "f/s", "f/e", "", "f/s f/m f/e"},
        {"far points", far, "f/s", "f/e", "", "f/s f/g f/e"},
        {"far points, a middle way", farWithMiddle, "f/s", "f/e", "", "f/s f/h f/e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<ZoneController> controller = Loaded(c.zones);
        auto find = [&](std::string name) {
            return controller->FindPoint(name.substr(0, name.find('/')).c_str(), name.substr(name.find('/') + 1).c_str());
        };
        if (*c.blocked) controller->SetPointBlocked("f", c.blocked, true);
        controller->FindRoute(find(c.start), find(c.end));
        EXPECT_EQ(Route(*controller), c.route);
        EXPECT_EQ(TemporaryLinks(*controller), 0);
        // Popping walks the route and then answers empty.
        std::shared_ptr<ZonePoint> first = controller->GetRoute().front();
        EXPECT_TRUE(controller->IsOnRoute(first));
        EXPECT_EQ(controller->PopRoutePoint(), first);
        while (controller->PopRoutePoint()) {
        }
        EXPECT_TRUE(controller->IsRouteEmpty());
        EXPECT_EQ(controller->PopRoutePoint(), nullptr);
    }
}

TEST_F(ZoneControllerTest, ARouteWithoutStartIsTheEndAloneAndWithoutEndNothing) {
    std::shared_ptr<ZoneController> controller = Loaded(kDiamond);
    std::shared_ptr<ZonePoint> end = controller->FindPoint("f", "e");
    controller->FindRoute(nullptr, end);
    EXPECT_EQ(Route(*controller), "f/e");
    controller->FindRoute(controller->FindPoint("f", "s"), nullptr);
    EXPECT_TRUE(controller->IsRouteEmpty());
    controller->FindRoute(nullptr, nullptr);
    EXPECT_TRUE(controller->IsRouteEmpty());
}

TEST_F(ZoneControllerTest, ARepeatedZoneDropsItsLinksAndPointsFollowTheirLatestFlags) {
    std::shared_ptr<ZoneController> controller =
        Loaded(kDiamond + Zone("g", Point("p", 1, 1, "isentrance=\"1\" isexit=\"1\"")) +
               Zone("f", Point("e", 40, 0) + Link("s", "a") + Link("a", "e")) +
               Zone("g", Point("p", 2, 3, "isentrance=\"0\" isexit=\"1\"") + Point("q", 0, 0, "isentrance=\"1\"")));
    controller->FindRoute(controller->FindPoint("f", "s"), controller->FindPoint("f", "e"));
    EXPECT_EQ(Route(*controller), "f/s f/a f/e");
    EXPECT_EQ(controller->FindPoint("f", "b")->GetLinks().size(), 0u);
    EXPECT_EQ(controller->FindPoint("f", "e")->GetX(), 40);

    std::shared_ptr<::Zone> g = controller->FindZone("g");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(Names(g->GetEntrances()), std::vector<std::string>{"q"});
    EXPECT_EQ(Names(g->GetExits()), std::vector<std::string>{"p"});
    EXPECT_EQ(Names(g->GetPoints()), (std::vector<std::string>{"q", "p"}));
    EXPECT_EQ(g->FindPoint("p")->GetY(), 3);
    EXPECT_EQ(controller->GetZones().size(), 2u);

    // Reloading the file reads it over the graph: the same zones, the route gone.
    std::shared_ptr<ZonePoint> s = controller->FindPoint("f", "s");
    controller->Load("zones/zones.xml");
    EXPECT_TRUE(controller->IsRouteEmpty());
    EXPECT_EQ(controller->FindPoint("f", "s"), s);
    EXPECT_EQ(controller->GetZones().size(), 2u);
}

TEST_F(ZoneControllerTest, BadFilesAreLoggedOnceAndLeaveTheGraphUnknownPiecesAreSkipped) {
    std::shared_ptr<ZoneController> controller = Loaded(kDiamond);
    struct Case {
        const char* file;
        const char* bytes;  // null: no such file
    } cases[] = {{"zones/missing.xml", nullptr},
                 {"zones/broken.xml", "<zones><zone name=\"f\"></zone></zones>"},
                 {"zones/garbage.xml", "\x01\x02<<<>>"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.bytes) WriteAsset(c.file, c.bytes);
        controller->Load(c.file);
        EXPECT_EQ(log.Count(c.file), 1u);
        controller->FindRoute(controller->FindPoint("f", "s"), controller->FindPoint("f", "e"));
        EXPECT_EQ(Route(*controller), "f/s f/a f/e");
    }

    std::shared_ptr<ZoneController> odd = Loaded(
        "<banner/>" + Zone("f", Point("s", 0, 0) + Point("e", 5, 0) + "<door name=\"d\"/>" + Link("s", "nowhere") +
                                Link("s", "e")) +
        "<crosszone><connection firstzone=\"f\" firstnode=\"s\" secondzone=\"none\" secondnode=\"e\"/>"
        "<connection firstzone=\"none\" firstnode=\"s\" secondzone=\"f\" secondnode=\"e\"/><point/></crosszone>");
    EXPECT_EQ(odd->GetZones().size(), 1u);
    EXPECT_EQ(odd->FindPoint("f", "s")->GetLinks().size(), 1u);
    EXPECT_EQ(odd->FindPoint("f", "e")->GetLinks().size(), 1u);
    EXPECT_EQ(odd->FindPoint("f", "d"), nullptr);
    EXPECT_EQ(odd->FindPoint("none", "s"), nullptr);
}

TEST_F(ZoneControllerTest, TheDebugViewDrawsPointsLinksAndTheRouteInOneTwoDBlock) {
    using Recorder = TRecordingRenderBackEnd;
    const std::string line = Zone("f", Point("s", 0, 0) + Point("m", 10, 0) + Point("e", 20, 0) + Point("x", 10, 30) +
                                           Point("hidden", 50, 50) + Link("s", "m") + Link("m", "e") +
                                           Link("m", "x") + Link("x", "hidden"));
    std::shared_ptr<ZoneController> quiet = Loaded(line);
    SetSetting("zones_debug", "1");
    std::shared_ptr<ZoneController> controller = Loaded(line);
    controller->SetPointBlocked("f", "hidden", true);
    controller->FindRoute(controller->FindPoint("f", "s"), controller->FindPoint("f", "e"));
    ASSERT_TRUE(Renderer().BeginDraw(false));
    recorder->ClearCalls();
    quiet->DrawDebug();
    EXPECT_TRUE(recorder->GetCalls().empty());
    controller->DrawDebug();
    Renderer().EndDraw(false);

    const uint32_t red = TColor(TColor4f(1, 0, 0, 0.75f)).ARGB();
    const uint32_t green = TColor(TColor4f(0, 1, 0, 0.75f)).ARGB();
    std::vector<std::string> drawn;
    int blocks = 0;
    for (const Recorder::TCall& call : recorder->GetCalls()) {
        blocks += call.kind == Recorder::kBegin2d ? 1 : 0;
        if (call.kind != Recorder::kDrawVertices) continue;
        const TRenderVertex& first = call.vertices.front();
        const TRenderVertex& last = call.vertices.back();
        std::string colour = first.diffuse == red ? "red" : first.diffuse == green ? "green" : "other";
        std::string shape = call.value == TRenderer::kTriangleStrip ? "square" : "line";
        if (call.value == TRenderer::kTriangleStrip) {
            drawn.push_back(shape + " " + colour + " " + std::to_string(int(first.x) + 5) + "," +
                            std::to_string(int(first.y) + 5));
        } else {
            drawn.push_back(shape + " " + colour + " " + std::to_string(int(first.x)) + "," +
                            std::to_string(int(first.y)) + "-" + std::to_string(int(last.x)) + "," +
                            std::to_string(int(last.y)));
        }
    }
    EXPECT_EQ(blocks, 1);
    // Points newest first; x is off the route and draws its link to m, not
    // the one to the blocked point; the route's links go from each point
    // back to the one before.
    EXPECT_EQ(drawn, (std::vector<std::string>{"square red 10,30", "line red 10,30-10,0", "square green 20,0",
                                                "square green 10,0", "square green 0,0", "line green 10,0-0,0",
                                                "line green 20,0-10,0"}));
}

}  // namespace
