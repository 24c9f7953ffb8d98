// The quest window: its two columns of coloured lines with or without an
// outline, the colour texts, when it shows, the background under the last
// line, and the rebuilds every 300 ms while it shows.
#include "game/progression/questwindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/windows/modalwindow.h"
#include "core/windows/windowanim.h"
#include "core/windows/windowstyle.h"
#include "widgets/text.h"
#include "tests/progression/questtesting.h"

namespace {

const char kColours[] = "colors = { { 1, 1, 0, 1 }, { 0, 1, 0, 1 } }";

class QuestWindowTest : public QuestTestBase {
protected:
    void SetUp() override {
        QuestTestBase::SetUp();
        dialog = new TModalWindow();
        dialog->SetSize(800, 600);
        TWindowManager::GetInstance()->PushModal(dialog);
        StartQuestPlayer();
        Quests().LoadQuests(kQuestFile);
    }

    void TearDown() override {
        mDescriptions.clear();
        QuestTestBase::TearDown();
    }

    // A window of the class made from the description inside the parent.
    template <typename Window>
    Window* Add(TWindow* parent, const std::string& description) {
        EXPECT_EQ(Run("description = " + description), "");
        TLuaTable* table = TWindowManager::GetInstance()->GetScript()->GetGlobalTable("description");
        mDescriptions.emplace_back(table);
        auto* window = new Window();
        parent->AddChild(window, false);
        window->Init(TWindowStyle(table));
        return window;
    }

    // The quest window at (10, 20), 300 by 200, with its two texts from
    // y = 10 and its background, set up with the keys given.
    VQuestWindow* MakeWindow(const std::string& keys) {
        VQuestWindow* window = Add<VQuestWindow>(dialog, "{ name = 'quest_window', x = 10, y = 20, w = 300, h = 200, "
                                                             "marginY = 8, " + keys + " }");
        background = Add<TWindow>(window, "{ name = 'background', x = 5, y = 0, w = 300, h = 200 }");
        names = Add<TText>(window, "{ name = 'txt_quest_names', x = 0, y = 10, w = 180, h = 150 }");
        status = Add<TText>(window, "{ name = 'txt_quest_status', x = 180, y = 10, w = 120, h = 150 }");
        window->PostInit(TWindowStyle(mDescriptions.front().get()));
        return window;
    }

    void Step(uint32_t milliseconds) {
        mTimer.Advance(milliseconds);
        dialog->RunTasks(0);
    }

    TModalWindow* dialog = nullptr;
    TWindow* background = nullptr;
    TText* names = nullptr;
    TText* status = nullptr;

private:
    std::vector<std::unique_ptr<TLuaTable>> mDescriptions;
};

TEST_F(QuestWindowTest, EachLineTakesTheColourOfHowItsQuestStands) {
    VQuestWindow* window = MakeWindow(std::string(kColours) + ", outlinesize = 0, outlinecolor = { 1, 1, 1, 1 }");
    PlayLevel(1);
    Values().SetValue("disposed_this_level", 5, false);
    Values().SetValue("served_this_level", 4, false);
    Values().SetValue("current_worth", 600, false);
    window->Refresh();
    // Failed has no colour of its own in the list: white.
    EXPECT_STREQ(names->GetText().c_str(),
                 "<font color='ffffff'>Keep it tidy</font>\n<font color='ffff00'>Serve the crowd</font>\n"
                 "<font color='00ff00'>Save up</font>\n");
    EXPECT_STREQ(status->GetText().c_str(),
                 "<font color='ffffff'>Missed</font>\n<font color='ffff00'>$10 customers</font>\n"
                 "<font color='00ff00'>Done</font>\n");
}

TEST_F(QuestWindowTest, AnOutlineWrapsBothColumnsInItsColour) {
    VQuestWindow* window = MakeWindow("outlinesize = 2, outlinecolor = { 1, 0.5, 0, 1 }");
    PlayLevel(4);
    Values().SetValue("current_worth", 450, false);
    window->Refresh();
    EXPECT_STREQ(names->GetText().c_str(),
                 "<outline color='ff7f00' size='2'><font color='ffffff'>Save up</font>\n</outline>");
    EXPECT_STREQ(status->GetText().c_str(),
                 "<outline color='ff7f00' size='2'><font color='ffffff'>450/500 units</font>\n</outline>");
}

TEST_F(QuestWindowTest, ColourTextsHaveSixDigitsWithinRange) {
    const struct {
        TColor4f colour;
        const char* text;
    } cases[] = {
        {TColor4f(1, 0.5f, 0, 1), "ff7f00"},
        {TColor4f(0, 0, 0, 1), "000000"},
        {TColor4f(0.0625f, 0.5f, 1, 0), "0f7fff"},
        {TColor4f(2, -1, std::nanf(""), 1), "ff0000"},
    };
    for (const auto& c : cases) EXPECT_STREQ(VQuestWindow::HexColor(c.colour).c_str(), c.text) << c.text;
}

TEST_F(QuestWindowTest, ShowsOnlyWithActiveQuestsAndItsBackgroundEndsBelowTheLastLine) {
    VQuestWindow* window = MakeWindow("");
    PlayLevel(5);
    window->Refresh();
    EXPECT_FALSE(window->IsShown());
    EXPECT_FALSE(window->IsVisible());

    PlayLevel(4);
    window->Refresh();
    EXPECT_TRUE(window->IsShown());
    EXPECT_TRUE(window->IsVisible());
    int oneLine = names->GetTextExtents().bottom - names->GetTextExtents().top;
    ASSERT_GT(oneLine, 0);
    EXPECT_EQ(background->GetRect().left, 5);
    EXPECT_EQ(background->GetRect().top, 10 + 8 + oneLine - 200);

    PlayLevel(1);
    window->Refresh();
    int threeLines = names->GetTextExtents().bottom - names->GetTextExtents().top;
    EXPECT_GT(threeLines, 2 * oneLine);
    EXPECT_EQ(background->GetRect().top, 10 + 8 + threeLines - 200);
}

TEST_F(QuestWindowTest, WhileShownTheLinesFollowTheValuesEvery300Milliseconds) {
    VQuestWindow* window = MakeWindow("");
    PlayLevel(4);
    Values().SetValue("current_worth", 450, false);
    window->Refresh();
    Values().SetValue("current_worth", 480, false);
    Step(200);
    EXPECT_NE(std::string(status->GetText().c_str()).find("450/500"), std::string::npos);
    Step(150);
    EXPECT_NE(std::string(status->GetText().c_str()).find("480/500"), std::string::npos);

    // Hidden, the window stops rebuilding.
    PlayLevel(5);
    window->Refresh();
    Step(350);
    Step(350);
    EXPECT_EQ(window->FindAnimator(), nullptr);
    EXPECT_NE(std::string(status->GetText().c_str()).find("480/500"), std::string::npos);
}

}  // namespace
