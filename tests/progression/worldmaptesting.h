// The world map tests' fixture: a loaded player with named values for the
// story's progress, a map script of two locations of ten levels, and ways to
// drive the map's sprites frame by frame on the fake clock.
#pragma once

#include <memory>
#include <string>

#include "game/level/levelmanager.h"
#include "game/objects/spritebutton.h"
#include "game/progression/pushpin.h"
#include "game/progression/worldmap.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/spritemanager.h"
#include "tests/progression/progressiontesting.h"

// Every globe look in one image; the dot's states likewise.
inline const char kMapParts[] = R"(
function GlobeLooks()
    local looks = {}
    for _, name in ipairs({ "none", "current", "cleared", "mastered" }) do
        looks[name] = { anim = false, { file = "map/globe.png" } }
    end
    return looks
end
function Globes(count)
    local globes = {}
    for i = 0, count - 1 do
        globes["globe_" .. i] = { id = i, x = 100 + 10 * i, y = 200, assets = GlobeLooks() }
    end
    return globes
end
function Pin(base, x)
    return
    {
        baseLevel = base, x = x, y = 300, movex = 0, movey = -40,
        assets = { base = { anim = false, { state = "enabled", file = "map/pin.png" } } },
        children = { head = { x = 5, y = 6, mouse = false } },
        globes = Globes(10),
        box = { x = 0, y = 0, w = 200, h = 100, mouse = false,
                text = { level = {}, best = {}, goal = {}, mastery = {} } },
    }
end
)";

class WorldMapFixture : public ProgressionTest {
protected:
    void SetUp() override {
        ProgressionTest::SetUp();
        if (IsSkipped()) return;
        windows()->RegisterWindowType("VWorldMap", VWorldMap::ClassId());
        AddFile("values.xml", kValues);
        AddFile("strings/en/strings.xml",
                "<Workbook><Worksheet><Table>" + Row("map_level", "Level") + "</Table></Worksheet></Workbook>");
        AddFile("mapparts.lua", kMapParts);
        AddFile("levels/goals.xml", "<levelgoals><levelgoal level=\"3\" goal=\"900\" mastery=\"1400\"/></levelgoals>");
        StartPlayer();
        ASSERT_EQ(Run("dofile('mapparts.lua')"), "");
    }

    static std::shared_ptr<VLevelManager> Levels() { return VLevelManager::Get(); }
    static std::shared_ptr<VValueManager> Values() { return VValueManager::Get(); }

    // A map of the window description's fields (without braces).
    VWorldMap* Open(const std::string& fields) {
        AddFile("map_screen.lua", "MakeDialog { VWorldMap { name = 'world_map', x = 0, y = 0, w = 800, h = 600, " +
                                      fields + " } }");
        windows()->RunWindowScript(dialog, "map_screen.lua");
        return static_cast<VWorldMap*>(dialog->FindChildWindow("world_map", -1));
    }
    // Grytviken from level 1 and namche from 11, and a path of three dots to namche.
    VWorldMap* OpenTwo() {
        return Open("pins = { Pin1_Grytviken = Pin(1, 100), pin2_namche = Pin(11, 500) },"
                    " paths = { to_namche = { { x = 1, y = 2, state = 'far' }, { x = 3, y = 4 }, { x = 5, y = 6 } } },"
                    " dot = { mouse = false, assets = { dot = { anim = false, { file = 'map/dot.png' } } } }");
    }

    static std::shared_ptr<VPushPin> PinOf(VWorldMap* map, const char* key) {
        auto found = map->GetPins().find(key);
        return found == map->GetPins().end() ? nullptr : found->second;
    }

    static std::string LookOf(const VButton& globe) {
        return globe.GetCurrentAsset() ? globe.GetCurrentAsset()->GetName().c_str() : "";
    }

    // Progress as if the levels up to highest were passed (mastered ones given).
    static void Progress(int highest, std::initializer_list<int> mastered = {}) {
        Levels()->SetHighestComplete(highest, true);
        for (int level : mastered) Levels()->SetLevelStatus(level, VLevelManager::kMastered);
    }

    // One update of the pin after the time given on the fake clock.
    void Step(VPushPin& pin, uint32_t milliseconds) {
        mTimer.Advance(milliseconds);
        pin.Update(false);
    }

    int QueuedCommands() { return std::stoi(Eval("table.getn(gCommandQueue)")); }

    static constexpr const char* kValues =
        "<values>"
        "<value name=\"current_level\" value=\"0\" min=\"0\" max=\"60\" saved=\"true\"/>"
        "<value name=\"highest_level\" value=\"0\" min=\"0\" max=\"60\" saved=\"true\"/>"
        "<value name=\"total_worth\" value=\"0\" min=\"0\" saved=\"true\"/>"
        "<value name=\"do_map_transition\" value=\"0\" min=\"0\" max=\"1\" saved=\"true\"/>"
        "<value name=\"map_dot_interval\" value=\"150\"/>"
        "</values>";
};
