// A level to load on the level screen: the floor's zones (two counters with
// their customer places, the start and the middle of the floor), level
// files of one location with two scripted customers, its description with
// two counters, a player and a customer kind, and a HUD whose children the
// test makes. The screen is the one a level script makes, with the
// description given.
#pragma once

#include <memory>
#include <string>

#include "core/windows/layeredwindow.h"
#include "game/floor/customer.h"
#include "game/level/customerdata.h"
#include "game/level/level.h"
#include "game/machines/station.h"
#include "game/menus/layeredwindow.h"
#include "game/shell/game.h"
#include "game/shop/shophud.h"
#include "game/texts/timer.h"
#include "game/widgets/dial.h"
#include "game/widgets/sweepdial.h"
#include "tests/shop/shoptesting.h"
#include "widgets/text.h"

// A level file of the location, 2:30 long, whose customers are given as
// "customer" elements.
inline std::string LevelFile(const std::string& customers, const std::string& extra = "") {
    return "<level><location>grytviken</location><minutes>2</minutes><seconds>30</seconds>"
           "<maxlayers>2</maxlayers>" +
           extra + customers + "</level>";
}

inline std::string CustomerElement(const char* type, int start, const char* station) {
    std::string element = std::string("<customer><type>") + type + "</type><start>" + std::to_string(start) + "</start>";
    if (station) element += std::string("<station>") + station + "</station>";
    return element + "</customer>";
}

class LevelTest : public ShopScreenTest<FloorTest> {
protected:
    void SetUp() override {
        ShopScreenTest<FloorTest>::SetUp();
        WriteAsset("zones/zones.xml",
                   "<zonecontroller><zone name=\"avatar\">"
                   "<point name=\"counter01\" x=\"100\" y=\"300\"/><point name=\"start\" x=\"200\" y=\"300\"/>"
                   "<point name=\"counter02\" x=\"300\" y=\"300\"/>"
                   "<connection first=\"counter01\" second=\"start\"/><connection first=\"start\" second=\"counter02\"/>"
                   "</zone><zone name=\"customers\"><point name=\"customer01\" x=\"100\" y=\"200\"/>"
                   "<point name=\"customer02\" x=\"300\" y=\"200\"/></zone>"
                   "<zone name=\"middle_center\"><point name=\"avatar\" x=\"200\" y=\"400\"/></zone></zonecontroller>");
        WriteAsset("levels/level01.xml", LevelFile(CustomerElement("kid", 0, "station01") +
                                                   CustomerElement("grown", 50, nullptr)));
        Define(R"(
            grytviken = {
                stations = {
                    station_01 = { name = "station01", stationType = 1, playerPoint = "counter01",
                                   custPoint = "customer01" },
                    station_02 = { name = "station02", stationType = 1, playerPoint = "counter02",
                                   custPoint = "customer02" },
                    station_03 = "not a table",
                },
                player = { startZone = "avatar", startPoint = "start" },
                customers = { kid = { name = "kid", decay = 10000 } },
                objects = { },
                chocolates = { },
            }
            screen = { location_grytviken = grytviken, posse = { grown = { name = "grown" } }, tutorials = { } }
        )");
        ReplaceScreen("screen");
    }
    void TearDown() override {
        VGame::Destroy();
        ShopScreenTest<FloorTest>::TearDown();
    }

    // A new level screen from the global description, in place of the
    // fixture's, with a HUD of the eight children and "extension".
    void ReplaceScreen(const char* description) {
        std::unique_ptr<TLuaTable> table(script.GetGlobalTable(description));
        ShopWindow* old = screen;
        screen = new ShopWindow();
        dialog->AddChild(screen, false);
        TWindowStyle style(table.get());
        screen->PostInit(style);
        screen->GetSpriteManager()->SetClock(&clock);
        dialog->RemoveChild(old);
        delete old;
        hud = new VShopHud();
        hud->SetName("shop_hud");
        screen->AddChild(hud, false);
        timer = Child<RTimer>("game_timer");
        sweep = Child<KSweepDial>("timer_sweep");
        dial = Child<KDial>("dialPower");
        gauge = Child<BLayeredWindow>("progress_gauge");
        for (const char* text : {"goal_score", "mastery_score", "anger_score", "level_name"}) Child<TText>(text);
        Child<TWindow>("extension");
    }

    template <typename Window>
    Window* Child(const char* name) {
        auto* window = new Window();
        hud->AddChild(window, false);
        window->SetSize(100, 20);
        window->Init(TWindowStyle(nullptr));
        window->SetName(name);
        return window;
    }

    std::string HudText(const char* name) {
        return CastToTText(hud->FindChildWindow(name, -1))->GetText().c_str();
    }

    // A game in the mode and difficulty, with no players.
    static void PlayMode(int mode, int difficulty) {
        VGame* game = VGame::Get() ? VGame::Get() : VGame::Create();
        game->SetCurrentGameMode(mode);
        game->SetCurrentDifficulty(difficulty);
    }

    // One tick of the screen, the time moved on first.
    void Frame(uint32_t milliseconds = 16) {
        Tick(milliseconds);
        screen->Animate();
    }

    // Loads the level, then runs past the hold of its set-up until the clock starts.
    void StartLevel() {
        screen->LevelSetup();
        for (int i = 0; i < 100 && screen->IsStartPending(); ++i) Frame();
        ASSERT_FALSE(screen->IsStartPending());
    }

    // The scripted customer's type.
    static std::string TypeOf(const std::shared_ptr<VCustomer>& customer) {
        const std::shared_ptr<VCustomerData>& definition = customer ? customer->GetDefinition() : nullptr;
        return definition ? definition->GetType().c_str() : "";
    }

    // The type of the counter's customer, or "" for none.
    std::string CustomerAt(const char* station) {
        std::shared_ptr<VStation> counter = screen->FindStation(station);
        return TypeOf(counter ? counter->GetCustomer() : nullptr);
    }

    VShopHud* hud = nullptr;
    RTimer* timer = nullptr;
    KSweepDial* sweep = nullptr;
    KDial* dial = nullptr;
    BLayeredWindow* gauge = nullptr;
};
