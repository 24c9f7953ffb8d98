// The plot tests' fixture: a plot table in the window script, a level of a
// location naming its plot items, the plot window's class and script, and
// the player's records of the location.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/progression/plotitem.h"
#include "game/progression/plotmanager.h"
#include "game/progression/plotstep.h"
#include "game/progression/plotwindow.h"
#include "game/shell/block.h"
#include "tests/progression/progressiontesting.h"

// "story_b" asks "yes" (3, leading to a page asking "ok" (1)) or "no" (1);
// "story_" has a page with a default button only; "story_a" has no page.
// "story_str" is no table and "Story_x" and "other" do not begin "story_".
inline const char kPlotTable[] =
    "plot = {"
    " story_b = { nextStep = { speaker = 'aunt', responses = {"
    "   yes = { value = 3, label = 'l_yes', button = {}, nextStep = { responses = { ok = { value = 1, button = {} } } } },"
    "   no = { value = 1, button = {} }, broken = 'no table' } } },"
    " story_ = { nextStep = { default_button = {} } },"
    " story_a = {},"
    " story_str = 'text', Story_x = { nextStep = {} }, other = {},"
    "}";

class PlotTest : public ProgressionTest {
protected:
    void SetUp() override {
        ProgressionTest::SetUp();
        if (IsSkipped()) return;
        windows()->RegisterWindowType("VPlotWindow", VPlotWindow::ClassId());
        AddFile("scripts/plotwindow.lua",
                "MakeDialog { name = 'plot_modal', VPlotWindow { name = 'plot_window', x = 0, y = 0, w = 800, h = 600 } }");
        StartPlayer();
        ASSERT_EQ(Run(kPlotTable), "");
        ASSERT_EQ(Run("gCommandQueue = {}"), "");
    }
    void TearDown() override {
        ReleaseManagerSingleton<VPlotManager>();
        ProgressionTest::TearDown();
    }

    static std::shared_ptr<VPlotManager> Plots() { return VPlotManager::Get(); }

    // The global plot table loaded into the manager.
    void LoadPlot(const char* global = "plot") {
        Plots()->LoadPlotItems(std::shared_ptr<TLuaTable>(windows()->GetScript()->GetGlobalTable(global)));
    }

    // A level of the location naming the plot items, made the level being
    // loaded.
    std::shared_ptr<VLevel> Level(const char* location, const std::vector<std::string>& plots, int number = 1) {
        std::string xml = "<level><location>" + std::string(location) + "</location>";
        for (const std::string& plot : plots) xml += "<plot>" + plot + "</plot>";
        xml += "</level>";
        std::string file = "levels/level" + std::to_string(number) + ".xml";
        AddFile(file, xml);
        std::shared_ptr<VLevel> level = ZqLevel::Create(number, file.c_str());
        VLevelManager::Get()->SetCurrentLevelObject(level);
        return level;
    }

    // The location's records of the player: done bytes and values.
    static std::shared_ptr<VBinaryBlock> Done(const char* location) {
        return GetPlayerBinaryBlock(TString("plot_") + location);
    }
    static std::shared_ptr<VBinaryBlock> Values(const char* location) {
        return GetPlayerBinaryBlock(TString("plot_value_") + location);
    }

    std::shared_ptr<VPlotItem> Item(const char* name) { return Plots()->FindItem(name); }

    int QueuedCommands() { return std::stoi(Eval("table.getn(gCommandQueue)")); }
};
