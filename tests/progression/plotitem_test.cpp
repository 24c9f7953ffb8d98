#include "game/progression/plotitem.h"

#include <gtest/gtest.h>

#include "game/progression/plotresponse.h"
#include "game/progression/plotstep.h"
#include "game/sprites/spritewindow.h"
#include "tests/progression/plottesting.h"

namespace {

using PlotItemTest = PlotTest;

TEST_F(PlotItemTest, EpisodesEndAsTheirPagesAreAnswered) {
    LoadPlot();
    const struct {
        const char* item;
        const char* answer;  // after the first page is shown
        bool doneByCheck;
        bool doneByAnswer;
        int value;
    } cases[] = {
        // Without a page nothing is ever ready: only a response ends it.
        {"story_a", "anything", false, true, 0},
        // An answer without a next page ends the episode in the same call.
        {"story_b", "no", false, true, 1},
        // The default button names no answer: the page ends, adding nothing.
        {"story_", "", false, true, 0},
        // An unknown answer on a page with answers changes nothing.
        {"story_b", "maybe", false, false, 0},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::string(entry.item) + "/" + entry.answer);
        LoadPlot();
        std::shared_ptr<VPlotItem> item = Item(entry.item);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Check(), entry.doneByCheck);
        EXPECT_EQ(item->Respond(entry.answer), entry.doneByAnswer);
        EXPECT_EQ(item->IsDone(), entry.doneByAnswer);
        EXPECT_EQ(item->GetValue(), entry.value);
        // Done stays done: Check answers false, Respond true, nothing else.
        if (entry.doneByAnswer) {
            EXPECT_FALSE(item->Check());
            EXPECT_TRUE(item->Respond("yes"));
            EXPECT_EQ(item->GetValue(), entry.value);
        }
    }
}

TEST_F(PlotItemTest, AnAnswerLeadsToItsPageOnceTheOldPageHasFadedOut) {
    LoadPlot();
    std::shared_ptr<VPlotItem> item = Item("story_b");
    // In a sprite window, which gives the pages their clock.
    auto* window = static_cast<VSpriteWindow*>(VSpriteWindow::Create());
    dialog->AddChild(window, true);
    window->StartAnimation();
    window->AddSprite(item);
    EXPECT_FALSE(item->Check());
    std::shared_ptr<VPlotStep> first = item->GetCurrentStep();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetSpeaker(), "aunt");
    EXPECT_TRUE(first->IsShown());
    RunFor(600);
    EXPECT_FALSE(item->Respond("yes"));
    EXPECT_EQ(item->GetValue(), 3);
    std::shared_ptr<VPlotStep> second = item->GetCurrentStep();
    ASSERT_NE(second, first);
    EXPECT_TRUE(first->IsFinished());
    // The new page joins the item only when the old one is gone.
    ASSERT_EQ(item->GetChildList().size(), 1u);
    EXPECT_EQ(item->GetChildList().front(), first);
    RunFor(600);
    EXPECT_TRUE(first->IsGone());
    ASSERT_EQ(item->GetChildList().size(), 1u);
    EXPECT_EQ(item->GetChildList().front(), second);
    EXPECT_TRUE(second->IsShown());
    EXPECT_TRUE(item->Respond("ok"));
    EXPECT_EQ(item->GetValue(), 4);
}

TEST_F(PlotItemTest, ASecondAnswerKeepsTheFirstChoiceAndAddsItsValueAgain) {
    LoadPlot();
    std::shared_ptr<VPlotStep> page = Item("story_b")->GetFirstStep();
    std::shared_ptr<VPlotStep> next;
    EXPECT_EQ(page->Select("yes", next), 3);
    ASSERT_NE(next, nullptr);
    std::shared_ptr<VPlotStep> chosen = next;
    EXPECT_EQ(page->Select("no", next), 3);
    EXPECT_EQ(next, chosen);
    EXPECT_EQ(page->GetAnswers().size(), 2u);
    EXPECT_EQ(page->GetAnswers().at("yes")->GetLabel(), "l_yes");
}

TEST_F(PlotItemTest, AResetClearsTheValueAndKeepsDone) {
    LoadPlot();
    std::shared_ptr<VPlotItem> item = Item("story_b");
    item->Check();
    item->Respond("no");
    ASSERT_TRUE(item->IsDone());
    item->Reset();
    EXPECT_EQ(item->GetValue(), 0);
    EXPECT_TRUE(item->IsDone());
}

TEST_F(PlotItemTest, ProgressIsTheLocationsRecordsAtTheItemsIndex) {
    LoadPlot();
    std::shared_ptr<VPlotItem> item = Item("story_b");
    ASSERT_EQ(item->GetIndex(), 2);
    item->Check();
    item->Respond("no");
    item->SaveState("namche");
    EXPECT_EQ(Done("namche")->ReadByte(2), 1);
    EXPECT_EQ(Values("namche")->ReadInt(2), 1);
    EXPECT_EQ(Done("grytviken")->ReadByte(2), 0);

    const struct {
        uint8_t stored;
        bool done;
    } bytes[] = {{1, true}, {0, false}, {2, false}, {255, false}};
    for (const auto& entry : bytes) {
        SCOPED_TRACE(entry.stored);
        LoadPlot();
        Done("namche")->WriteByte(2, entry.stored);
        Values("namche")->WriteInt(2, -7);
        Item("story_b")->LoadState("namche");
        EXPECT_EQ(Item("story_b")->IsDone(), entry.done);
        EXPECT_EQ(Item("story_b")->GetValue(), -7);
    }
}

// Records hold 60 items; a shorter stored record holds fewer. An item past
// either end neither reads nor writes.
TEST_F(PlotItemTest, AnIndexPastTheRecordsIsKeptInMemoryOnly) {
    auto far = VPlotItem::Create("story_far", 60);
    far->Respond("");
    ASSERT_TRUE(far->IsDone());
    far->SaveState("grytviken");
    EXPECT_EQ(Done("grytviken")->GetSize(), 60);
    EXPECT_EQ(Values("grytviken")->GetSize(), 240);

    std::string stored(3, '\1');
    Prefs().SetData(0, "plot_grytviken", stored.data(), 3, true);
    Done("grytviken")->Load();
    auto inside = VPlotItem::Create("story_in", 2);
    auto outside = VPlotItem::Create("story_out", 3);
    inside->LoadState("grytviken");
    outside->LoadState("grytviken");
    EXPECT_TRUE(inside->IsDone());
    EXPECT_FALSE(outside->IsDone());
    outside->Respond("");
    outside->SaveState("grytviken");
    EXPECT_EQ(Done("grytviken")->GetSize(), 3);
}

TEST_F(PlotItemTest, ACyclicPageTableStopsLoadingAtItsDepth) {
    ASSERT_EQ(Run("page = { responses = { again = { button = {} } } } page.responses.again.nextStep = page "
                  "cycle = { story_loop = { nextStep = page } }"),
              "");
    LoadPlot("cycle");
    std::shared_ptr<VPlotItem> item = Item("story_loop");
    ASSERT_NE(item, nullptr);
    int depth = 0;
    for (std::shared_ptr<VPlotStep> page = item->GetFirstStep(); page && !page->GetAnswers().empty();
         page = page->GetAnswers().begin()->second->GetNextPage()) {
        ++depth;
    }
    EXPECT_EQ(depth, VPlotStep::kMostNestedPages);
    EXPECT_TRUE(mLog.Contains("nested deeper"));
}

}  // namespace
