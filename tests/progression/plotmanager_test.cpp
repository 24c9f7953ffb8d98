#include "game/progression/plotmanager.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/progression/plottesting.h"

namespace {

using PlotManagerTest = PlotTest;

TEST_F(PlotManagerTest, ItemsComeFromStoryTablesIndexedInTheOrderOfTheirKeys) {
    LoadPlot();
    std::string items;
    for (const auto& [name, item] : Plots()->GetItems()) {
        items += std::string(name.c_str()) + "=" + std::to_string(item->GetIndex()) + " ";
    }
    EXPECT_EQ(items, "story_=0 story_a=1 story_b=2 ");
    Plots()->LoadPlotItems(nullptr);
    EXPECT_TRUE(Plots()->GetItems().empty());
}

TEST_F(PlotManagerTest, ALevelQueuesItsPlotsOnceAndQueuingKeepsDone) {
    LoadPlot();
    Plots()->SetLevel(Level("grytviken", {"story_b", "story_missing", "story_b"}));
    ASSERT_EQ(Plots()->GetQueuedNames().size(), 2u);
    EXPECT_TRUE(Plots()->IsStepQueued("story_missing"));
    EXPECT_FALSE(Plots()->IsStepQueued("story_a"));
    std::shared_ptr<VPlotItem> item = Item("story_b");
    item->Check();
    item->Respond("no");
    Plots()->SetLevel(Level("grytviken", {"story_b"}, 2));
    EXPECT_TRUE(item->IsDone());
    EXPECT_EQ(item->GetValue(), 0);
    EXPECT_FALSE(Plots()->Respond("story_missing", "no"));
    EXPECT_FALSE(Plots()->CheckItem("story_missing"));
    Plots()->SetLevel(nullptr);
    EXPECT_TRUE(Plots()->GetQueuedNames().empty());
}

// The records read are those of the location being loaded, also at the
// first load and when the player moves on to another location.
TEST_F(PlotManagerTest, ProgressIsReadFromTheLocationOfTheLevelBeingLoaded) {
    Done("namche")->WriteByte(2, 1);
    Values("namche")->WriteInt(2, 5);
    LoadPlot();
    Level("namche", {"story_b"}, 11);
    Plots()->UpdateItemsForLevel();
    EXPECT_TRUE(Item("story_b")->IsDone());
    EXPECT_EQ(Item("story_b")->GetValue(), 5);
    Plots()->SetLevel(VLevelManager::Get()->GetCurrentLevelObject());

    LoadPlot();
    Level("krakatoa", {"story_b"}, 21);
    Plots()->UpdateItemsForLevel();
    EXPECT_FALSE(Item("story_b")->IsDone());
}

TEST_F(PlotManagerTest, ThePlotMessageOfPlainItemsIsEmpty) {
    LoadPlot();
    Plots()->SetLevel(Level("grytviken", {"story_b", "story_a"}));
    EXPECT_EQ(Eval("GetPlotMessage()"), "");
}

TEST_F(PlotManagerTest, TheWindowOpensOnlyForAnEpisodeStillToTell) {
    LoadPlot();
    const size_t modals = windows()->GetModalStack().size();
    for (const auto& plots : {std::vector<std::string>{}, {"story_missing"}}) {
        Plots()->SetLevel(Level("grytviken", plots));
        Plots()->ShowPlotWindow();
        EXPECT_EQ(windows()->GetModalStack().size(), modals);
    }
    Plots()->SetLevel(Level("grytviken", {"story_b"}));
    Plots()->ShowPlotWindow();
    ASSERT_EQ(windows()->GetModalStack().size(), modals + 1);
    EXPECT_EQ(windows()->GetTopModal()->GetName(), "plot_modal");
    auto* window = dynamic_cast<VPlotWindow*>(windows()->GetTopModal()->FindChildWindow("plot_window", -1));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetCurrentItem(), Item("story_b"));
}

TEST_F(PlotManagerTest, AScriptWithoutThePlotWindowLeavesTheModalsAsTheyWere) {
    for (const char* script : {"MakeDialog { name = 'elsewhere' }", "MakeDialog { }", "error('broken')"}) {
        SCOPED_TRACE(script);
        AddFile("scripts/plotwindow.lua", script);
        LoadPlot();
        Plots()->SetLevel(Level("grytviken", {"story_b"}));
        const size_t modals = windows()->GetModalStack().size();
        Plots()->ShowPlotWindow();
        EXPECT_EQ(windows()->GetModalStack().size(), modals);
        EXPECT_EQ(windows()->GetTopModal(), dialog);
    }
}

}  // namespace
