// A level screen as a level script makes it: in a dialog window beside its
// "text_window", current while it lives. Around it the game state keeps the
// statistics (a handler records the writes), the effects play on a sound
// device that only mixes when told, and level 1 has a goal of 100 and a
// mastery score of 200. Also the level screen's widgets on the level
// fixture: a dialog pushed on the platform's display, windows built inside
// it from Lua descriptions, and a level screen built by a level script.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "game/level/levelmanager.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shophud.h"
#include "game/shop/shopwindow.h"
#include "game/texts/activetext.h"
#include "game/texts/timer.h"
#include "graphics/text/textlayout.h"
#include "platform/audio/manualdevice.h"
#include "sound/sound.h"
#include "sound/soundmanager.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/core/app/recordinghandler.h"
#include "tests/floor/floortesting.h"
#include "tests/level/leveltesting.h"
#include "tests/support/oggwriter.h"

// The effects the level's payments and customers play.
inline const std::vector<std::string> kShopSounds = {"menu", "customer_leaves", "chomp",
                                                     "score_board", "goal", "master"};

// Adds the level screen to a fixture of the shop floor.
template <typename Base>
class ShopScreenTest : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        SetGameStateServices(&services);
        records = new RecordingHandler();
        TGameState::AddHandler(records);
        sound = std::make_unique<TSoundManager>(std::make_unique<audio::ManualDevice>());
        ASSERT_TRUE(sound->Start());
        SetSoundManager(sound.get());
        VSoundManager::Create();
        for (const std::string& name : kShopSounds) {
            this->WriteAsset("audio/sfx/" + name + ".ogg", MakeOgg(22050, 1, 2205));
        }
        this->WriteAsset("levels/goals.xml",
                         "<levelgoals><levelgoal level=\"1\" goal=\"100\" mastery=\"200\"/></levelgoals>");
        this->SetValue("current_level", 1);
        dialog = std::make_unique<TWindow>();
        layer = new RActiveTextLayer();
        layer->SetName("text_window");
        dialog->AddChild(layer, false);
        screen = new ShopWindow();
        dialog->AddChild(screen, false);
        TWindowStyle style(nullptr);
        screen->PostInit(style);
        screen->GetSpriteManager()->SetClock(&this->clock);
    }
    void TearDown() override {
        dialog.reset();
        VSoundManager::Release();
        SetSoundManager(nullptr);
        sound.reset();
        ReleaseManagerSingleton<VLevelManager>();
        ClearGameState();
        Base::TearDown();
    }

    // The effects started since the last call, by file name, in order.
    std::vector<std::string> Played() {
        std::vector<std::string> names;
        for (const std::shared_ptr<VSound>& played : VSoundManager::Get()->GetSounds()) {
            names.push_back(played->GetSound()->GetFileName().c_str());
        }
        VSoundManager::Get()->PurgeSounds();
        return names;
    }

    // The floating texts shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> shown;
        for (size_t index = 0; index < layer->GetTextCount(); ++index) {
            shown.push_back(layer->GetText(index)->GetLayout()->GetText().c_str());
        }
        return shown;
    }

    static float Value(const char* name) { return VValueManager::Get()->GetReal(name, 0); }
    static std::string State(const char* key) { return TGameState::Get()->GetState(key).c_str(); }

    FakeServices services;
    RecordingHandler* records = nullptr;
    std::unique_ptr<TSoundManager> sound;
    std::unique_ptr<TWindow> dialog;
    RActiveTextLayer* layer = nullptr;
    ShopWindow* screen = nullptr;
};

class ShopTest : public LevelTestBase {
protected:
    void SetUp() override {
        LevelTestBase::SetUp();
        if (IsSkipped()) return;
        mPlatform->SetDisplay(800, 600, false);
        dialog = new TModalWindow();
        dialog->SetSize(800, 600);
        TWindowManager::GetInstance()->PushModal(dialog);
    }
    void TearDown() override {
        mDescriptions.clear();
        LevelTestBase::TearDown();
    }

    // A window of the class inside the dialog, through Init and PostInit.
    template <typename Window>
    Window* Make(const std::string& description) {
        EXPECT_EQ(Run("description = " + description), "");
        TLuaTable* table = TWindowManager::GetInstance()->GetScript()->GetGlobalTable("description");
        auto* window = new Window();
        mDescriptions[window].reset(table);
        dialog->AddChild(window, false);
        window->Init(TWindowStyle(table));
        window->PostInit(TWindowStyle(table));
        return window;
    }

    static void SetValue(const char* name, float value) { VValueManager::Get()->SetValue(name, value, false); }

    TModalWindow* dialog = nullptr;

private:
    std::map<TWindow*, std::unique_ptr<TLuaTable>> mDescriptions;
};

// A level screen in the dialog as a level script builds it: the screen
// with the first location's stations and one kind of customer, its HUD with
// the level clock, and the sibling text layer. Levels 1, 10, 11 and 60 exist
// with goal 100 and mastery 200; the first player's progress is loaded.
class LevelScreenTest : public ShopTest {
protected:
    void SetUp() override {
        ShopTest::SetUp();
        if (IsSkipped()) return;
        AddFile("values.xml", kValues);
        std::string goals = "<levelgoals>";
        for (int level : {1, 2, 10, 11, 60}) {
            goals += "<levelgoal level=\"" + std::to_string(level) + "\" goal=\"100\" mastery=\"200\"/>";
        }
        AddFile("levels/goals.xml", goals + "</levelgoals>");
        for (int level : {1, 2, 10, 11, 60}) WriteLevel(level, "");
        AddFile("scripts/testlevel.lua", kLevelScript);
        AddFile("locations/grytviken/upgrades.xml", kCatalogue);
        StartPlayer();
        TWindowManager* windows = TWindowManager::GetInstance();
        windows->RegisterWindowType("ShopWindow", ShopWindow::ClassId());
        windows->RegisterWindowType("VShopHud", VShopHud::ClassId());
        windows->RegisterWindowType("RTimer", RTimer::ClassId());
        ASSERT_EQ(Run("function DisplayDialog(t) shown = t end "
                      "function DoModal(f) modal = f end "
                      "gCommandQueue = {}"),
                  "");
    }

    // The level's file: one minute long, in the first location, with the
    // customers' elements.
    void WriteLevel(int level, const std::string& customers) {
        char name[32];
        std::snprintf(name, sizeof name, "levels/level%02d.xml", level);
        AddFile(name, "<level><location>grytviken</location><minutes>1</minutes><seconds>0</seconds>"
                      "<maxlayers>1</maxlayers>" + customers + "</level>");
    }
    // A customer of the fixture's kind at the first counter from the start.
    static std::string Customer() {
        return "<customer><type>walker</type><start>0</start><station>station01</station></customer>";
    }

    // The screen of the level script, set up for the current level.
    ShopWindow* Screen() {
        TWindowManager::GetInstance()->RunWindowScript(dialog, "scripts/testlevel.lua");
        ShopWindow* screen = ShopWindow::GetCurrent();
        EXPECT_NE(screen, nullptr);
        if (screen) screen->LevelSetup();
        return screen;
    }
    // Ticks of 16 ms of the dialog's tasks: the clocks and the screen.
    void Tick(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            mTimer.Advance(16);
            dialog->RunTasks(0);
        }
    }
    // Past the set-up's hold, with the level clock running.
    void Start(ShopWindow* screen) {
        Tick(70);
        ASSERT_FALSE(screen->IsStartPending());
    }
    // Runs the queued commands; the end dialog's table lands in "shown".
    void RunQueued() { ASSERT_EQ(Run("for i = 1, table.getn(gCommandQueue) do gCommandQueue[i]() end gCommandQueue = {}"), ""); }

    static constexpr const char* kValues =
        "<values>"
        "<value name=\"current_level\" value=\"1\" min=\"1\" max=\"60\" saved=\"true\"/>"
        "<value name=\"highest_level\" value=\"0\" min=\"0\" max=\"60\" saved=\"true\"/>"
        "<value name=\"total_worth\" value=\"0\" saved=\"true\"/>"
        "<value name=\"completed_grytviken\" value=\"0\" saved=\"true\"/>"
        "<value name=\"num_levels_mastered\" value=\"0\" saved=\"true\"/>"
        "<value name=\"current_worth\" value=\"0\"/>"
        "<value name=\"current_level_total\" value=\"0\"/>"
        "<value name=\"do_map_transition\" value=\"0\"/>"
        "</values>";
    // The backdrop's two upgrades, the second without an effect of its own
    // (the backdrop looks again when the level screen resets it), and a lamp.
    static constexpr const char* kCatalogue =
        "<upgrades><upgradetype type=\"aesthetic\">"
        "<upgrade name=\"kBackground1\"><cost>1</cost><object name=\"background\"/></upgrade>"
        "<upgrade name=\"kBackground2\"><cost>1</cost></upgrade>"
        "<upgrade name=\"kLamp\"><cost>1</cost><object name=\"background\"/></upgrade>"
        "</upgradetype></upgrades>";
    static constexpr const char* kLevelScript = R"(
        MakeDialog { ShopWindow
        {
            name = "shop", x = 0, y = 0, w = 800, h = 600,
            posse = { walker = { name = "walker" } },
            location_grytviken = {
                stations = { station_one = { name = "station01", stationType = 1 } },
                background = {
                    assets = { anim = false, background = { { file = "art/back.png" },
                                                            { state = "upgrade1", file = "art/back.png" },
                                                            { state = "upgrade2", file = "art/back.png" } } },
                    statics = { lamp = { upgrade = "kLamp" } },
                },
            },
            VShopHud
            {
                name = "shop_hud", x = 0, y = 0, w = 200, h = 50,
                RTimer { name = "game_timer", x = 0, y = 0, w = 100, h = 30 },
            },
        } }
    )";
};
