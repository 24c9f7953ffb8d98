// The hiscore screens' fixture: a game whose hiscore client talks to the
// stand-in server library beside the tests, a hiscore screen with every
// child its script gives it, script functions that record the screen's
// calls, and helpers that fill the local and the online tables.
#pragma once

#include <string>

#include "core/app/message.h"
#include "game/progression/hiscore.h"
#include "game/progression/hiscoresubmit.h"
#include "online/qmhiscores.h"
#include "platform/os/library.h"
#include "tests/menus/menutesting.h"
#include "tests/online/stub/qmservletstub.h"
#include "widgets/text.h"

class HiscoreScreenTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        if (IsSkipped()) return;
        // Held open so that the stand-in's record outlives each client.
        ASSERT_TRUE(mStub.Open("qmservlet_stub.dll")) << mStub.Error();
        auto clear =
            reinterpret_cast<decltype(&HiscoreServerStub_ClearCalls)>(mStub.Symbol("HiscoreServerStub_ClearCalls"));
        ASSERT_NE(clear, nullptr);
        clear();
        mStringSheet = "<Workbook><Worksheet><Table>" + Row("scores_gamemode1", "Story") +
                       Row("scores_gamemode2", "Endless easy") + Row("scores_gamemode3", "Endless medium") +
                       Row("scores_gamemode4", "Endless hard") + Row("scores_yourrank", "You rank %1%") +
                       Row("scores_nothingtosubmit", "No score to submit") + "</Table></Worksheet></Workbook>";
        RegisterMemoryFile("hiscore_strings.xml", mStringSheet.data(), mStringSheet.size());
        ASSERT_TRUE(strings.AddFile("hiscore_strings.xml"));
        ASSERT_EQ(Run("gCalls = '' "
                      "function UpdateButtons() gCalls = gCalls .. 'UpdateButtons;' end "
                      "function SwitchModes(on) gCalls = gCalls .. 'SwitchModes(' .. tostring(on) .. ');' end"),
                  "");
    }

    // A game for "Ada" whose client asks the stand-in under the game id
    // ("fail" makes every request fail).
    void StartGame(const char* gameId = "vandermoot") {
        SetSetting(kSettingGameName, gameId);
        CreateGameWithUser();
        VGame::Create();
    }
    TQmHiscores& Hiscores() { return *VGame::Get()->GetHiscores(); }

    // The screen with ten rows of 120 by 24 name texts, the texts and
    // windows of the states, and the panels.
    THiscore* MakeScreen() {
        auto* screen = Begin<THiscore>("{ name = 'hiscore', w = 800, h = 600 }");
        TWindow* left = Make<TWindow>("{ name = 'leftpanel', x = 20, y = 100, w = 500, h = 400 }", screen);
        for (int row = 1; row <= THiscore::kRows; ++row) {
            const std::string n = std::to_string(row);
            const std::string y = std::to_string(row * 30);
            Make<TText>("{ name = '" + n + "', y = " + y + ", w = 40, h = 24 }", left);
            Make<TText>("{ name = 'name" + n + "', x = 50, y = " + y + ", w = 120, h = 24, font = { '', 18 } }",
                        left);
            Make<TText>("{ name = 'score" + n + "', x = 200, y = " + y + ", w = 100, h = 24 }", left);
            Make<TWindow>("{ name = 'p1_" + n + "', x = 310, y = " + y + ", w = 10, h = 10 }", left);
        }
        for (const char* name : {"rightpanel", "rightpanelsmall", "scrollup", "scrolldown"}) {
            Make<TWindow>(std::string("{ name = '") + name + "', x = 540, w = 200, h = 100 }", screen);
        }
        for (const char* name : {"gamemode", "eligible", "eligibleasterisk", "server", "error", "info", "category",
                                 "local", "global", "topplayers", "congratulations", "dnq", "yourrank",
                                 "yourrankglobalinfo", "rankvalue", "view_text", "viewlocal_text"}) {
            Make<TText>(std::string("{ name = '") + name + "', x = 540, w = 240, h = 30 }", screen);
        }
        Finish(screen);
        return screen;
    }

    static void Press(TWindow* window, const char* button) {
        TMessage press(TMessage::kButtonPress, button, nullptr);
        window->OnMessage(&press);
    }
    // Polls until the screen leaves the waiting states (the stand-in
    // answers at the second poll).
    static void Settle(THiscore* screen) {
        for (int i = 0; i < 10 && (screen->GetState() == THiscore::kAwaitingCategories ||
                                   screen->GetState() == THiscore::kAwaitingScores);
             ++i) {
            screen->Animate();
        }
    }
    // The screen's online table, settled.
    static void ViewOnline(THiscore* screen) {
        Press(screen, "view");
        Settle(screen);
        ASSERT_EQ(screen->GetState(), THiscore::kOnlineTable);
    }

    // The stand-in ranks a score for each name, submitted anonymously under
    // that name; Ada stays the player.
    void SeedServer(std::initializer_list<std::pair<const char*, int>> scores) {
        for (const auto& [name, score] : scores) {
            Hiscores().SetSessionValue(TQmHiscores::kPlayerName, name);
            ASSERT_TRUE(Hiscores().AddLocalScore(score, false, "", ""));
            ASSERT_TRUE(Hiscores().SubmitScore(name, "", false));
            char message[512];
            int outcome = TQmHiscores::kRequestRunning;
            for (int i = 0; i < 10 && outcome == TQmHiscores::kRequestRunning; ++i) {
                outcome = Hiscores().PollReply(message, sizeof message, nullptr);
            }
            ASSERT_EQ(outcome, TQmHiscores::kReplyAccepted) << message;
        }
        Hiscores().SetSessionValue(TQmHiscores::kPlayerName, "Ada");
    }

    static bool Shown(TWindow* screen, const std::string& name) {
        TWindow* window = screen->FindChildWindow(name.c_str(), -1);
        return window && window->IsVisible();
    }
    static std::string TextOf(TWindow* screen, const std::string& name) {
        auto* text = dynamic_cast<TText*>(screen->FindChildWindow(name.c_str(), -1));
        return text ? text->GetText().c_str() : "(no text)";
    }
    // The calls the screen made on the script since the last look.
    std::string TakeCalls() {
        std::string calls = Eval("gCalls");
        EXPECT_EQ(Run("gCalls = ''"), "");
        return calls;
    }
    std::string StubCalls() {
        auto calls = reinterpret_cast<decltype(&HiscoreServerStub_Calls)>(mStub.Symbol("HiscoreServerStub_Calls"));
        return calls ? calls() : "no record";
    }

    os::Library mStub;

private:
    std::string mStringSheet;
};
