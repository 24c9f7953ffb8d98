#include "game/progression/plotwindow.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/gamestate.h"
#include "game/objects/spritebutton.h"
#include "game/progression/plotlistener.h"
#include "game/progression/plotresponse.h"
#include "game/shop/shopwindow.h"
#include "tests/progression/plottesting.h"

namespace {

class PlotWindowTest : public PlotTest {
protected:
    VPlotWindow* Open(const std::vector<std::string>& plots) {
        LoadPlot();
        Plots()->SetLevel(Level("grytviken", plots));
        Plots()->UpdateItemsForLevel();
        Plots()->ShowPlotWindow();
        return dynamic_cast<VPlotWindow*>(windows()->GetTopModal()->FindChildWindow("plot_window", -1));
    }
    static std::string DiaryTime() {
        return TGameState::Get()->GetState(TString::Format("DiaryTime_%i", ShopWindow::GetPlayNumber())).c_str();
    }
};

TEST_F(PlotWindowTest, ClosingQueuesItsCommandOnce) {
    VPlotWindow* window = Open({"story_b"});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(DiaryTime(), "1");
    window->Close();
    window->Close();
    EXPECT_EQ(QueuedCommands(), 1);
    EXPECT_EQ(DiaryTime(), "0");
    EXPECT_TRUE(window->IsClosing());
}

TEST_F(PlotWindowTest, TheWindowTellsTheEpisodesInTurnAndSavesEachItLeaves) {
    VPlotWindow* window = Open({"story_", "story_b"});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetCurrentItem(), Item("story_"));
    // The page's default button reports to the window's listener.
    std::shared_ptr<VButton> button = Item("story_")->GetFirstStep()->GetDefaultButton();
    ASSERT_NE(button, nullptr);
    RunFor(32);
    auto listener = std::make_shared<VPlotListener>(Plots());
    listener->SetItemName("story_");
    listener->OnClick(button);
    EXPECT_TRUE(Item("story_")->IsDone());
    RunFor(32);
    EXPECT_EQ(window->GetCurrentItem(), Item("story_b"));
    EXPECT_EQ(Done("grytviken")->ReadByte(Item("story_")->GetIndex()), 1);
    EXPECT_EQ(QueuedCommands(), 0);

    RunFor(32);
    EXPECT_TRUE(Plots()->Respond("story_b", "no"));
    RunFor(32);
    EXPECT_EQ(QueuedCommands(), 1);
    EXPECT_EQ(Done("grytviken")->ReadByte(Item("story_b")->GetIndex()), 1);
    EXPECT_EQ(Values("grytviken")->ReadInt(Item("story_b")->GetIndex()), 1);
    // Closed, it saves nothing more however long it stays.
    RunFor(320);
    EXPECT_EQ(QueuedCommands(), 1);
}

TEST_F(PlotWindowTest, AQueuedNameWithoutAnItemClosesTheWindow) {
    VPlotWindow* window = Open({"story_b", "story_missing", "story_a"});
    ASSERT_NE(window, nullptr);
    RunFor(32);
    Plots()->Respond("story_b", "no");
    RunFor(32);
    EXPECT_TRUE(window->IsClosing());
    EXPECT_EQ(window->GetCurrentItem(), Item("story_b"));
    EXPECT_EQ(QueuedCommands(), 1);
}

TEST_F(PlotWindowTest, StartingWithoutAManagerCloses) {
    auto* window = static_cast<VPlotWindow*>(VPlotWindow::Create());
    dialog->AddChild(window, true);
    EXPECT_FALSE(window->Start(nullptr));
    EXPECT_TRUE(window->IsClosing());
    EXPECT_EQ(QueuedCommands(), 1);
}

}  // namespace
