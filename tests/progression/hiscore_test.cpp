// The hiscore screen: its states from the local table through the requests
// to the online table or the error, the mode, category and scroll buttons,
// the tables it fills, names shrunk to fit and shown as written, the
// local-only and anonymous settings, and the privacy page.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "platform/os/launch.h"
#include "tests/progression/hiscoretesting.h"

namespace {

using HiscoreTest = HiscoreScreenTest;

TEST_F(HiscoreTest, ViewFetchesTheCategoriesThenTheScoresAndViewLocalGoesBack) {
    StartGame();
    SeedServer({{"Bea", 300}});
    THiscore* screen = MakeScreen();
    EXPECT_EQ(Eval("GetState()"), "0");
    EXPECT_EQ(TakeCalls(), "UpdateButtons;");
    EXPECT_TRUE(Shown(screen, "rightpanel"));
    EXPECT_FALSE(Shown(screen, "rightpanelsmall"));
    for (const char* label : {"view_text", "viewlocal_text"}) {
        EXPECT_EQ(dynamic_cast<TText*>(screen->FindChildWindow(label, -1))->GetPadding(), -6) << label;
    }

    Press(screen, "view");
    EXPECT_EQ(screen->GetState(), THiscore::kAwaitingCategories);
    EXPECT_EQ(TakeCalls(), "UpdateButtons;");
    EXPECT_TRUE(Shown(screen, "server"));
    EXPECT_FALSE(Shown(screen, "rightpanel"));
    EXPECT_TRUE(Shown(screen, "rightpanelsmall"));

    screen->Animate();
    EXPECT_EQ(screen->GetState(), THiscore::kAwaitingCategories);
    screen->Animate();
    // The categories arrived: the scores are asked for, nothing else.
    EXPECT_EQ(screen->GetState(), THiscore::kAwaitingScores);
    EXPECT_EQ(TakeCalls(), "");
    Settle(screen);
    EXPECT_EQ(screen->GetState(), THiscore::kOnlineTable);
    EXPECT_EQ(TakeCalls(), "UpdateButtons;");
    EXPECT_FALSE(Shown(screen, "server"));
    EXPECT_TRUE(Shown(screen, "global"));
    EXPECT_TRUE(Shown(screen, "category"));
    EXPECT_EQ(TextOf(screen, "category"), "All Time");
    EXPECT_TRUE(Shown(screen, "yourrankglobalinfo"));
    EXPECT_EQ(TextOf(screen, "name1"), "Bea");
    EXPECT_EQ(TextOf(screen, "score1"), "300");
    EXPECT_EQ(TextOf(screen, "1"), "1.");

    Press(screen, "viewlocal");
    EXPECT_EQ(screen->GetState(), THiscore::kLocalTable);
    EXPECT_TRUE(Shown(screen, "local"));
    EXPECT_FALSE(Shown(screen, "global"));
}

TEST_F(HiscoreTest, AFailureShowsItsMessageAndTheScreenStaysUsable) {
    StartGame("fail");
    THiscore* screen = MakeScreen();
    Press(screen, "view");
    Settle(screen);
    EXPECT_EQ(screen->GetState(), THiscore::kFailed);
    EXPECT_TRUE(Shown(screen, "error"));
    EXPECT_EQ(TextOf(screen, "error"), "Unable to connect to server. Please try again later.");
    EXPECT_FALSE(Shown(screen, "server"));
    // No categories arrived: the category buttons do nothing.
    TakeCalls();
    for (const char* button : {"categoryleft", "categoryright"}) {
        Press(screen, button);
        EXPECT_EQ(screen->GetState(), THiscore::kFailed) << button;
        EXPECT_EQ(screen->GetCategory(), 0) << button;
    }
    EXPECT_EQ(TakeCalls(), "");
    Press(screen, "viewlocal");
    EXPECT_EQ(screen->GetState(), THiscore::kLocalTable);
    EXPECT_FALSE(Shown(screen, "error"));
}

TEST_F(HiscoreTest, TheGameModeWrapsAndWaitsWhileARequestRuns) {
    StartGame();
    THiscore* screen = MakeScreen();
    struct Case {
        int from;
        const char* button;
        int to;
        const char* title;
    };
    const Case cases[] = {
        {3, "gamemoderight", 0, "Story"},
        {0, "gamemodeleft", 3, "Endless hard"},
        {1, "gamemoderight", 2, "Endless medium"},
    };
    for (const Case& c : cases) {
        VGame::Get()->SetCurrentGameMode(c.from);
        Press(screen, c.button);
        EXPECT_EQ(VGame::Get()->GetCurrentGameMode(), c.to) << c.from << " " << c.button;
        EXPECT_EQ(screen->GetState(), THiscore::kLocalTable);
        EXPECT_EQ(TextOf(screen, "gamemode"), std::string("<outline color='000000' size='1'>") + c.title + "</outline>");
    }

    // Ignored while waiting for categories or scores, and after a failure.
    VGame::Get()->SetCurrentGameMode(0);
    Press(screen, "view");
    TakeCalls();
    for (int state : {THiscore::kAwaitingCategories, THiscore::kAwaitingScores}) {
        ASSERT_EQ(screen->GetState(), state);
        Press(screen, "gamemoderight");
        Press(screen, "gamemodeleft");
        EXPECT_EQ(VGame::Get()->GetCurrentGameMode(), 0) << state;
        screen->Animate();
        screen->Animate();
    }
    // Only the table's arrival asked for the buttons.
    EXPECT_EQ(TakeCalls(), "UpdateButtons;");

    // In the online table a new mode asks for its scores again.
    Settle(screen);
    ASSERT_EQ(screen->GetState(), THiscore::kOnlineTable);
    Press(screen, "gamemoderight");
    EXPECT_EQ(VGame::Get()->GetCurrentGameMode(), 1);
    EXPECT_EQ(screen->GetState(), THiscore::kAwaitingScores);
    EXPECT_NE(StubCalls().find("RequestScores(vandermoot,vandermoot_endlesseasy,alltime,null)"), std::string::npos)
        << StubCalls();
}

TEST_F(HiscoreTest, AFailedScreenIgnoresTheModeButtons) {
    StartGame("fail");
    THiscore* screen = MakeScreen();
    Press(screen, "view");
    Settle(screen);
    ASSERT_EQ(screen->GetState(), THiscore::kFailed);
    Press(screen, "gamemoderight");
    EXPECT_EQ(VGame::Get()->GetCurrentGameMode(), 0);
    EXPECT_EQ(screen->GetState(), THiscore::kFailed);
}

TEST_F(HiscoreTest, TheCategoryWrapsWithinTheCategories) {
    StartGame();
    THiscore* screen = MakeScreen();
    // Before the categories arrive there are none to step through.
    Press(screen, "categoryright");
    EXPECT_EQ(screen->GetState(), THiscore::kLocalTable);

    ViewOnline(screen);
    ASSERT_EQ(Hiscores().GetCategoryCount(), 2);
    struct Case {
        const char* button;
        int category;
        const char* name;
    };
    const Case cases[] = {{"categoryleft", 1, "This Week"}, {"categoryright", 0, "All Time"},
                          {"categoryright", 1, "This Week"}, {"categoryright", 0, "All Time"}};
    for (const Case& c : cases) {
        Press(screen, c.button);
        EXPECT_EQ(screen->GetCategory(), c.category) << c.button;
        EXPECT_EQ(screen->GetState(), THiscore::kAwaitingScores) << c.button;
        Settle(screen);
        EXPECT_EQ(TextOf(screen, "category"), c.name);
    }
}

TEST_F(HiscoreTest, AShortOnlineTableShowsItsRowsWithoutScrolling) {
    StartGame();
    SeedServer({{"Bea", 300}, {"Cy", 200}, {"Di", 100}});
    THiscore* screen = MakeScreen();
    ViewOnline(screen);
    EXPECT_EQ(screen->GetFirstRow(), 0);
    for (int row = 1; row <= THiscore::kRows; ++row) {
        const std::string n = std::to_string(row);
        EXPECT_EQ(Shown(screen, "name" + n), row <= 3) << row;
        EXPECT_EQ(Shown(screen, "score" + n), row <= 3) << row;
        EXPECT_EQ(Shown(screen, n), row <= 3) << row;
        // Markers flag local scores only.
        EXPECT_FALSE(Shown(screen, "p1_" + n)) << row;
    }
    EXPECT_EQ(TextOf(screen, "name3"), "Di");
    EXPECT_EQ(TextOf(screen, "3"), "3.");
    EXPECT_FALSE(Shown(screen, "scrollup"));
    EXPECT_FALSE(Shown(screen, "scrolldown"));
    // Scrolling a short table stays at its top.
    Press(screen, "scrolldown");
    EXPECT_EQ(screen->GetFirstRow(), 0);
}

TEST_F(HiscoreTest, ScrollingALongTableKeepsFiveRowsInView) {
    StartGame();
    SeedServer({{"p1", 120}, {"p2", 110}, {"p3", 100}, {"p4", 90}, {"p5", 80}, {"p6", 70}, {"p7", 60},
                {"p8", 50}, {"p9", 40}, {"p10", 30}, {"p11", 20}, {"p12", 10}});
    THiscore* screen = MakeScreen();
    ViewOnline(screen);
    EXPECT_FALSE(Shown(screen, "scrollup"));
    EXPECT_TRUE(Shown(screen, "scrolldown"));
    TakeCalls();

    Press(screen, "scrolldown");
    EXPECT_EQ(screen->GetFirstRow(), 7);
    EXPECT_TRUE(Shown(screen, "scrollup"));
    EXPECT_FALSE(Shown(screen, "scrolldown"));
    EXPECT_EQ(TextOf(screen, "name1"), "p8");
    EXPECT_EQ(TextOf(screen, "1"), "8.");
    EXPECT_TRUE(Shown(screen, "name5"));
    EXPECT_FALSE(Shown(screen, "name6"));

    Press(screen, "scrollup");
    EXPECT_EQ(screen->GetFirstRow(), 0);
    EXPECT_EQ(TextOf(screen, "name1"), "p1");
    // Scrolling leaves the buttons to the screen.
    EXPECT_EQ(TakeCalls(), "");
}

TEST_F(HiscoreTest, TheLocalTableMarksScoresNotYetSubmitted) {
    StartGame();
    SeedServer({{"Bea", 500}});
    ASSERT_TRUE(Hiscores().AddLocalScore(250, false, "", ""));
    THiscore* screen = MakeScreen();
    EXPECT_TRUE(Shown(screen, "local"));
    EXPECT_FALSE(Shown(screen, "topplayers"));
    EXPECT_TRUE(Shown(screen, "info"));
    EXPECT_TRUE(Shown(screen, "eligible"));
    EXPECT_TRUE(Shown(screen, "eligibleasterisk"));
    EXPECT_EQ(Eval("ScoreAvailable()"), "true");
    EXPECT_EQ(TextOf(screen, "name1"), "Bea");
    EXPECT_FALSE(Shown(screen, "p1_1"));
    EXPECT_EQ(TextOf(screen, "name2"), "Ada");
    EXPECT_TRUE(Shown(screen, "p1_2"));
    EXPECT_FALSE(Shown(screen, "scrolldown"));

    SetSetting(kSettingHiscoreAnon, "1");
    screen->UpdateText();
    EXPECT_TRUE(Shown(screen, "name2"));
    EXPECT_FALSE(Shown(screen, "p1_2"));

    // Another mode has its own table.
    SetSetting(kSettingHiscoreAnon, "0");
    Press(screen, "gamemoderight");
    EXPECT_FALSE(Shown(screen, "name1"));
    EXPECT_FALSE(Shown(screen, "eligible"));
    EXPECT_EQ(Eval("ScoreAvailable()"), "false");
}

TEST_F(HiscoreTest, LocalOnlyTablesHideTheOnlineParts) {
    StartGame();
    ASSERT_TRUE(Hiscores().AddLocalScore(250, false, "", ""));
    SetSetting(kSettingHiscoreLocal, "1");
    THiscore* screen = MakeScreen();
    EXPECT_EQ(screen->FindChildWindow("leftpanel", -1)->GetRect().left, 150);
    for (const char* hidden : {"info", "eligible", "eligibleasterisk", "rightpanel", "rightpanelsmall", "local",
                               "p1_1"}) {
        EXPECT_FALSE(Shown(screen, hidden)) << hidden;
    }
    EXPECT_TRUE(Shown(screen, "topplayers"));
    EXPECT_TRUE(Shown(screen, "name1"));
}

TEST_F(HiscoreTest, LongNamesShrinkUntilTheyFitAndShortOnesGetTheirSizeBack) {
    StartGame();
    const std::string longName(63, 'W');
    SeedServer({{longName.c_str(), 300}, {"Bea", 200}});
    THiscore* screen = MakeScreen();
    ViewOnline(screen);
    auto* name = dynamic_cast<TText*>(screen->FindChildWindow("name1", -1));
    ASSERT_NE(name, nullptr);
    TRect extent = name->GetTextExtents();
    EXPECT_LT(name->GetLayout()->GetLineHeight(), 18);
    EXPECT_LE(extent.right - extent.left, name->GetWidth());
    EXPECT_LE(extent.bottom - extent.top, name->GetHeight());
    // One size larger would not fit: the name would wrap.
    name->SetFontSize(name->GetLayout()->GetLineHeight() + 1);
    extent = name->GetTextExtents();
    EXPECT_GT(extent.bottom - extent.top, name->GetHeight());

    EXPECT_EQ(dynamic_cast<TText*>(screen->FindChildWindow("name2", -1))->GetLayout()->GetLineHeight(), 18);
    // A short name in a row that held a long one.
    Press(screen, "viewlocal");
    EXPECT_EQ(TextOf(screen, "name1"), longName);
    Hiscores().SetSessionValue(TQmHiscores::kPlayerName, "Ada");
    ASSERT_TRUE(Hiscores().AddLocalScore(900, false, "", ""));
    screen->UpdateText();
    EXPECT_EQ(TextOf(screen, "name1"), "Ada");
    EXPECT_EQ(name->GetLayout()->GetLineHeight(), 18);
}

TEST_F(HiscoreTest, NamesAndCategoriesFromTheServerShowAsWritten) {
    StartGame();
    SeedServer({{"<font face='x'>y", 300}, {"back\\slash<b>", 200}});
    THiscore* screen = MakeScreen();
    ViewOnline(screen);
    EXPECT_EQ(TextOf(screen, "name1"), "\\<font face='x'>y");
    EXPECT_EQ(TextOf(screen, "name2"), "back\\\\slash\\<b>");
    auto* name = dynamic_cast<TText*>(screen->FindChildWindow("name2", -1));
    for (const TTextRun& run : name->GetLayout()->GetLines()[0]->runs) EXPECT_FALSE(run.bold);
}

TEST_F(HiscoreTest, YourRankAndTheSubmitResultInTheOnlineTable) {
    StartGame();
    SeedServer({{"Bea", 300}});
    THiscore* screen = MakeScreen();
    // Signed in, Ada's own row comes back with the scores.
    ASSERT_TRUE(Hiscores().AddLocalScore(200, false, "", ""));
    ASSERT_TRUE(Hiscores().SubmitScore("ada-account", "secret", false));
    char message[512];
    while (Hiscores().PollReply(message, sizeof message, nullptr) == TQmHiscores::kRequestRunning) {
    }
    ViewOnline(screen);
    EXPECT_TRUE(Shown(screen, "yourrank"));
    EXPECT_EQ(TextOf(screen, "yourrank"), "You rank 2");
    EXPECT_FALSE(Shown(screen, "yourrankglobalinfo"));
    EXPECT_FALSE(Shown(screen, "congratulations"));
    EXPECT_FALSE(Shown(screen, "dnq"));
}

TEST_F(HiscoreTest, TheScreenAreaAndTheFunctionsGoWithTheScreen) {
    StartGame();
    THiscore* screen = MakeScreen();
    TRect area;
    EXPECT_TRUE(screen->GetScreenRect(&area));
    EXPECT_EQ(area, TRect(0, 0, 800, 600));
    EXPECT_STREQ(screen->GetClassName(), "THiscore");
    EXPECT_TRUE(screen->IsA(TWindow::ClassId()));
    EXPECT_FALSE(screen->IsA(TText::ClassId()));
    for (const char* name : {"GetState", "ScoreAvailable", "UpdateText", "LaunchPrivacyPolicy"}) {
        EXPECT_EQ(Eval(std::string("type(") + name + ")"), "function") << name;
    }
    dialog->RemoveChild(screen);
    delete screen;
    for (const char* name : {"GetState", "ScoreAvailable", "UpdateText", "LaunchPrivacyPolicy"}) {
        EXPECT_EQ(Eval(std::string("type(") + name + ")"), "nil") << name;
    }
}

TEST_F(HiscoreTest, ThePrivacyPageOpensAsAFileAddress) {
    StartGame();
    THiscore* screen = MakeScreen();
    os::RecordingLauncher launcher;
    os::SetCurrentLauncher(&launcher);
    screen->LaunchPrivacyPolicy();
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_TRUE(mLog.Contains("THiscore: no page privacy.html to open"));

    std::ofstream(std::filesystem::path(mTemp.Path()) / "assets" / "privacy.html") << "<html></html>";
    ScanFolder("assets", "");
    EXPECT_EQ(Run("LaunchPrivacyPolicy()"), "");
    os::SetCurrentLauncher(nullptr);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].program, "xdg-open");
    const std::string expected = "file://" + std::filesystem::absolute(std::filesystem::path(mTemp.Path()) / "assets" / "privacy.html").string();
    EXPECT_EQ(launcher.calls[0].argument, expected);
}

}  // namespace
