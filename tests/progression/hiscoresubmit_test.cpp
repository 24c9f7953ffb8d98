// The submit dialog: opened from the screen with the player's name, saved
// login and eligible score as script values, submitting under the account
// or the name, its poll to the end or to an error, the submit button that
// follows the fields, and a dialog that outlives its screen or goes first.
#include <string>

#include "core/app/platformevent.h"
#include "core/windows/windowmanager.h"
#include "tests/progression/hiscoretesting.h"
#include "widgets/textedit.h"

namespace {

// A small dialog file: it keeps what it was given and builds the fields,
// the texts and the buttons.
const char kDialogScript[] =
    "gGiven = { gNameEdit, gAccountEdit, gPassEdit, tostring(gRemember), tostring(gEligibleScore) }\n"
    "MakeDialog {\n"
    "  TextEdit { name = 'nameedit', x = 10, y = 10, w = 200, h = 30, length = 40 },\n"
    "  TextEdit { name = 'accountedit', x = 10, y = 50, w = 200, h = 30, length = 40 },\n"
    "  TextEdit { name = 'passedit', x = 10, y = 90, w = 200, h = 30, length = 40 },\n"
    "  Text { name = 'eligiblescore', x = 10, y = 130, w = 200, h = 30 },\n"
    "  Text { name = 'submitconnect', x = 10, y = 170, w = 200, h = 30 },\n"
    "  Text { name = 'submiterror', x = 10, y = 210, w = 200, h = 30 },\n"
    "  Button { name = 'submiterrorok', x = 10, y = 250, w = 60, h = 30 },\n"
    "  Button { name = 'submittoserver', x = 100, y = 250, w = 60, h = 30 },\n"
    "}\n"
    "InitUserScore()\n";

class HiscoreSubmitTest : public HiscoreScreenTest {
protected:
    void SetUp() override {
        HiscoreScreenTest::SetUp();
        if (IsSkipped()) return;
        AddFile("scripts/hiscoresubmit.lua", kDialogScript);
    }

    // Presses "submit" on the screen: the dialog on top.
    THiscoreSubmit* OpenDialog(THiscore* screen) {
        Press(screen, "submit");
        auto* submit = dynamic_cast<THiscoreSubmit*>(TWindowManager::GetInstance()->GetTopModal());
        EXPECT_NE(submit, nullptr);
        return submit;
    }
    // Polls the dialog until its poll ends.
    using HiscoreScreenTest::Settle;
    static void Settle(THiscoreSubmit* submit) {
        for (int i = 0; i < 10 && submit->Animate(); ++i) {
        }
    }
    std::string Given() { return Eval("table.concat(gGiven, '|')"); }
    // The window manager deletes popped windows before it handles an event.
    static void FlushDeletes() {
        TPlatformEvent idle;
        idle.type = TPlatformEvent::kIdle;
        TWindowManager::GetInstance()->HandleEvent(idle);
    }
};

TEST_F(HiscoreSubmitTest, TheDialogGetsTheNameTheSavedLoginAndTheScoreAsValues) {
    StartGame();
    const std::string name = "a'; gPwned = 1; b = '";
    VGame::Get()->ChangeCurrentUserName(name.c_str());
    ASSERT_TRUE(Hiscores().AddLocalScore(420, false, "", ""));
    THiscore* screen = MakeScreen();
    TakeCalls();
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    EXPECT_EQ(Given(), name + "|||false|420");
    EXPECT_EQ(Eval("gPwned"), "nil");
    EXPECT_EQ(TakeCalls(), "SwitchModes(false);");
    EXPECT_EQ(TextOf(submit, "eligiblescore"), "420");
    // A second press while it is open opens no other.
    Press(screen, "submit");
    EXPECT_EQ(TWindowManager::GetInstance()->GetTopModal(), submit);
    TWindowManager::GetInstance()->PopModal(submit->GetIdString());

    // A remembered login, quotes and all, comes back as it was saved.
    ASSERT_TRUE(Hiscores().SubmitScore("it's me", "pa'ss\\", true));
    char message[512];
    while (Hiscores().PollReply(message, sizeof message, nullptr) == TQmHiscores::kRequestRunning) {
    }
    FlushDeletes();
    EXPECT_EQ(Run("gGiven = nil"), "");
    THiscoreSubmit* again = OpenDialog(screen);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Given(), name + "|it's me|pa'ss\\|true|0");
    EXPECT_EQ(TextOf(again, "eligiblescore"), "0");
}

TEST_F(HiscoreSubmitTest, AnEmptyAccountSubmitsUnderTheNameAndRemembersNothing) {
    StartGame();
    ASSERT_TRUE(Hiscores().AddLocalScore(420, false, "", ""));
    THiscore* screen = MakeScreen();
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    TakeCalls();
    EXPECT_EQ(Run("SubmitToServer('Ada', '', 'secret', true)"), "");
    EXPECT_TRUE(submit->IsSubmitting());
    EXPECT_EQ(TakeCalls(), "SwitchModes(true);");
    const std::string calls = StubCalls();
    EXPECT_NE(calls.find("SubmitScore(vandermoot,vandermoot_storymode,Ada,,"), std::string::npos) << calls;
    EXPECT_FALSE(Hiscores().GetSavedLogin(nullptr, nullptr));
}

TEST_F(HiscoreSubmitTest, AnAccountSubmitsWithItsPasswordAndIsRemembered) {
    StartGame();
    ASSERT_TRUE(Hiscores().AddLocalScore(420, false, "", ""));
    THiscoreSubmit* submit = OpenDialog(MakeScreen());
    ASSERT_NE(submit, nullptr);
    submit->SubmitToServer("Ada", "ada-account", "secret", true);
    const std::string calls = StubCalls();
    EXPECT_NE(calls.find("SubmitScore(vandermoot,vandermoot_storymode,ada-account,secret,"), std::string::npos)
        << calls;
    TString account;
    TString password;
    ASSERT_TRUE(Hiscores().GetSavedLogin(&account, &password));
    EXPECT_STREQ(account.c_str(), "ada-account");
    EXPECT_STREQ(password.c_str(), "secret");
}

TEST_F(HiscoreSubmitTest, AFinishedSubmissionClosesTheDialogAndShowsTheRankedTable) {
    StartGame();
    SeedServer({{"Bea", 300}});
    ASSERT_TRUE(Hiscores().AddLocalScore(420, false, "", ""));
    THiscore* screen = MakeScreen();
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    submit->SubmitToServer("Ada", "", "", false);
    TakeCalls();
    EXPECT_TRUE(submit->Animate());
    EXPECT_FALSE(submit->Animate());
    EXPECT_NE(TWindowManager::GetInstance()->GetTopModal(), submit);
    EXPECT_EQ(screen->GetState(), THiscore::kAwaitingCategories);
    EXPECT_EQ(screen->GetSubmitResult(), THiscore::kQualified);
    EXPECT_EQ(TakeCalls(), "UpdateButtons;");
    Settle(screen);
    EXPECT_EQ(screen->GetState(), THiscore::kOnlineTable);
    EXPECT_TRUE(Shown(screen, "congratulations"));
    EXPECT_FALSE(Shown(screen, "dnq"));
    EXPECT_FALSE(Shown(screen, "yourrankglobalinfo"));
    EXPECT_EQ(TextOf(screen, "name1"), "Ada");
    // The score went: nothing is left to submit.
    EXPECT_EQ(Eval("ScoreAvailable()"), "false");
    // A new mode forgets the result.
    Press(screen, "gamemoderight");
    EXPECT_EQ(screen->GetSubmitResult(), THiscore::kNotSubmitted);
}

TEST_F(HiscoreSubmitTest, AFailedSubmissionShowsItsMessageInTheDialog) {
    StartGame("fail");
    ASSERT_TRUE(Hiscores().AddLocalScore(420, false, "", ""));
    THiscore* screen = MakeScreen();
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    submit->SubmitToServer("Ada", "", "", false);
    Settle(submit);
    EXPECT_EQ(TWindowManager::GetInstance()->GetTopModal(), submit);
    EXPECT_FALSE(submit->IsSubmitting());
    EXPECT_TRUE(Shown(submit, "submiterror"));
    EXPECT_EQ(TextOf(submit, "submiterror"), "Unable to connect to server. Please try again later.");
    EXPECT_FALSE(Shown(submit, "submitconnect"));
    EXPECT_TRUE(Shown(submit, "submiterrorok"));
    EXPECT_EQ(screen->GetState(), THiscore::kLocalTable);
}

TEST_F(HiscoreSubmitTest, WithNothingToSubmitTheDialogSaysSoAndSendsNothing) {
    StartGame();
    THiscore* screen = MakeScreen();
    // A finished request whose outcome a poll would take for the submission's.
    Press(screen, "view");
    Settle(screen);
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    submit->SubmitToServer("Ada", "", "", false);
    EXPECT_FALSE(submit->IsSubmitting());
    EXPECT_EQ(TextOf(submit, "submiterror"), "No score to submit");
    EXPECT_TRUE(Shown(submit, "submiterror"));
    EXPECT_FALSE(submit->Animate());
    EXPECT_EQ(TWindowManager::GetInstance()->GetTopModal(), submit);
    EXPECT_EQ(screen->GetSubmitResult(), THiscore::kNotSubmitted);
    EXPECT_EQ(StubCalls().find("SubmitScore"), std::string::npos);
}

TEST_F(HiscoreSubmitTest, TheSubmitButtonShowsWhileTheNameOrTheAccountHoldsText) {
    StartGame();
    THiscoreSubmit* submit = OpenDialog(MakeScreen());
    ASSERT_NE(submit, nullptr);
    auto edit = [submit](const char* field, const char* text) {
        dynamic_cast<TText*>(submit->FindChildWindow(field, -1))->SetText(text);
        TMessage changed(TMessage::kTextEditChanged, field, nullptr);
        submit->OnMessage(&changed);
    };
    struct Case {
        const char* field;
        const char* text;
        bool shown;
    };
    const Case cases[] = {
        {"nameedit", "", false},   {"accountedit", "acct", true}, {"nameedit", "Ada", true},
        {"accountedit", "", true}, {"nameedit", "", false},       {"passedit", "secret", false},
    };
    for (const Case& c : cases) {
        edit(c.field, c.text);
        EXPECT_EQ(Shown(submit, "submittoserver"), c.shown) << c.field << " '" << c.text << "'";
    }
}

TEST_F(HiscoreSubmitTest, ADialogWithoutItsScreenOnlyClosesItself) {
    StartGame();
    ASSERT_TRUE(Hiscores().AddLocalScore(420, false, "", ""));
    THiscore* screen = MakeScreen();
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    submit->SubmitToServer("Ada", "", "", false);
    dialog->RemoveChild(screen);
    delete screen;
    // The screen's functions went with it, the dialog's stay with the dialog.
    EXPECT_EQ(Eval("type(LaunchPrivacyPolicy)"), "nil");
    EXPECT_EQ(Eval("type(InitUserScore)"), "function");
    TakeCalls();
    Settle(submit);
    EXPECT_NE(TWindowManager::GetInstance()->GetTopModal(), submit);
    EXPECT_EQ(TakeCalls(), "");
}

TEST_F(HiscoreSubmitTest, AClosedDialogTakesItsFunctionsAndTheScreenCanOpenAnother) {
    StartGame();
    THiscore* screen = MakeScreen();
    THiscoreSubmit* submit = OpenDialog(screen);
    ASSERT_NE(submit, nullptr);
    EXPECT_EQ(Run("CloseWindow()"), "");
    TWindowManager::GetInstance()->DeliverMessages();
    ASSERT_NE(TWindowManager::GetInstance()->GetTopModal(), submit);
    FlushDeletes();
    for (const char* name : {"SubmitToServer", "InitUserScore"}) {
        EXPECT_EQ(Eval(std::string("type(") + name + ")"), "nil") << name;
    }
    THiscoreSubmit* again = OpenDialog(screen);
    EXPECT_NE(again, nullptr);
    EXPECT_STREQ(again->GetClassName(), "THiscoreSubmit");
    EXPECT_TRUE(again->IsA(TModalWindow::ClassId()));
}

TEST_F(HiscoreSubmitTest, AMissingDialogFileLeavesTheScreenUsable) {
    StartGame();
    RegisterMemoryFile("scripts/hiscoresubmit.lua", nullptr, 0);
    THiscore* screen = MakeScreen();
    TModalWindow* top = TWindowManager::GetInstance()->GetTopModal();
    Press(screen, "submit");
    EXPECT_EQ(TWindowManager::GetInstance()->GetTopModal(), top);
    EXPECT_TRUE(mLog.Contains("THiscore: scripts/hiscoresubmit.lua built no dialog"));
}

}  // namespace
