// The shop floor on the objects' fixture: a zone graph written as the
// level's zones file, walkers placed on it, and the named values each test
// sets.
#pragma once

#include <memory>
#include <string>

#include "core/windows/windowstyle.h"
#include "game/floor/zonecontroller.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "tests/objects/objecttesting.h"

class FloorTest : public ObjectTest {
protected:
    void TearDown() override {
        ReleaseManagerSingleton<VTutorialManager>();
        ReleaseManagerSingleton<VValueManager>();
        ObjectTest::TearDown();
    }

    // The body of the "zonecontroller" element as "zones/zones.xml".
    std::shared_ptr<ZoneController> Zones(const std::string& body) {
        WriteAsset("zones/zones.xml", "<zonecontroller>" + body + "</zonecontroller>");
        return ZoneController::Create("zones/zones.xml");
    }

    static void SetValue(const char* name, float value) { VValueManager::Get()->SetValue(name, value, false); }

    // A shipped location (the first unless named) as the level script
    // reads it (the common customers first), from the asset files the test
    // has scanned: its tables become the globals "location", "player",
    // "stations", "customers", "objects", "chocolates" and "background".
    void DefineShippedLocation(const std::string& name = "grytviken") {
        // As in the game, a file that is not there is passed over.
        Define("function ReadFile(f) local ok, result = pcall(dofile, f) if ok then return result end "
               "if not string.find(result, 'cannot read', 1, true) then error(result) end end");
        Define("ReadFile('scripts/shop/posse.lua')");
        Define("location = ReadFile('scripts/shop/" + name + ".lua') "
               "player = location.player stations = location.stations customers = location.customers "
               "objects = location.objects chocolates = location.chocolates background = location.background");
    }
};

// A row of points 100 pixels apart in zone "avatar", linked in turn: "p0"
// at (100, 300), "p1" at (200, 300) ...
inline std::string AvatarRow(int count) {
    std::string zone = "<zone name=\"avatar\">";
    for (int n = 0; n < count; ++n) {
        zone += "<point name=\"p" + std::to_string(n) + "\" x=\"" + std::to_string(100 + 100 * n) + "\" y=\"300\"/>";
        if (n > 0) {
            zone += "<connection first=\"p" + std::to_string(n - 1) + "\" second=\"p" + std::to_string(n) + "\"/>";
        }
    }
    return zone + "</zone>";
}

// A level screen that is current while it lives, its sprites on the
// fixture's clock.
inline std::unique_ptr<ShopWindow> CurrentScreen(TClock& clock) {
    auto screen = std::make_unique<ShopWindow>();
    TWindowStyle style(nullptr);
    screen->PostInit(style);
    screen->GetSpriteManager()->SetClock(&clock);
    return screen;
}
