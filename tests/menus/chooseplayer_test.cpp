#include "game/menus/chooseplayer.h"

#include "widgets/button.h"
#include "widgets/text.h"
#include "tests/menus/menutesting.h"

namespace {

class ChoosePlayerTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        VGame::Create();
        // The dialog's function keeps what it is handed.
        ASSERT_EQ(Run("ran = 0 "
                      "function UpdatePlayerChoices(current, count, names) "
                      "  gotCurrent, gotCount, gotNames = current, count, names "
                      "end"),
                  "");
    }

    void AddUsers(const std::vector<std::string>& names) {
        for (const std::string& name : names) VGame::Get()->CreateNewUser(name.c_str());
    }
    // The screen with ten radio buttons and a panel holding the name field.
    TChoosePlayer* MakeScreen() {
        auto* screen = Begin<TChoosePlayer>("{ name = 'chooseplayer', w = 800, h = 600 }");
        for (int i = 0; i < TChoosePlayer::kMaxChoices; ++i) {
            Make<TButton>("{ name = 'chooseplayer_button_" + std::to_string(i) + "', w = 20, h = 20 }", screen);
        }
        TWindow* panel = Make<TWindow>("{ name = 'entry', w = 300, h = 100 }", screen);
        Make<TText>("{ name = 'namefield', w = 300, h = 30 }", panel);
        Finish(screen);
        return screen;
    }
    // The names the script received, each with its length, in order.
    std::string ReceivedNames() {
        return Eval("(function() local s = '' for i = 1, table.getn(gotNames) do "
                    "s = s .. string.len(gotNames[i]) .. ':' .. gotNames[i] .. ';' end return s end)()");
    }
    TButton* Radio(TChoosePlayer* screen, int i) {
        return dynamic_cast<TButton*>(screen->FindChildWindow(TString::Format("chooseplayer_button_%d", i), -1));
    }
};

TEST_F(ChoosePlayerTest, TwelveUsersGiveTheirCountAndTenNames) {
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) names.push_back(std::string("p") += std::to_string(i));
    AddUsers(names);
    MakeScreen();
    EXPECT_EQ(Eval("gotCount"), "12");
    EXPECT_EQ(Eval("gotCurrent"), std::to_string(VGame::Get()->GetCurrentUser()));
    EXPECT_EQ(Eval("table.getn(gotNames)"), "10");
    EXPECT_EQ(Eval("gotNames[10]"), "p9");
}

TEST_F(ChoosePlayerTest, NamesReachTheScriptUnchangedAndRunNothing) {
    const std::vector<std::string> names = {"O'Brien", "a\\", "two\nlines", "]]", "x' ) ran = 1 --",
                                            std::string("tab\there\r") + char(1)};
    AddUsers(names);
    MakeScreen();
    std::string expected;
    for (const std::string& name : names) expected += std::to_string(name.size()) + ":" + name + ";";
    EXPECT_EQ(ReceivedNames(), expected);
    EXPECT_EQ(Eval("ran"), "0");
}

TEST_F(ChoosePlayerTest, TheStatementQuotesEachName) {
    EXPECT_STREQ(MakePlayerChoicesStatement(-1, 0, {}).c_str(), "UpdatePlayerChoices( -1, 0, {} )");
    EXPECT_STREQ(MakePlayerChoicesStatement(1, 2, {"Ada", "O'Brien"}).c_str(),
                 "UpdatePlayerChoices( 1, 2, {'Ada','O\\'Brien',} )");
}

TEST_F(ChoosePlayerTest, TheSelectedUserIsTheFirstRadioOnOrTheFirstUser) {
    AddUsers({"Ada", "Bo", "Cy"});
    TChoosePlayer* screen = MakeScreen();
    EXPECT_EQ(Eval("GetSelectedUserIndex()"), "0");
    EXPECT_EQ(Eval("GetSelectedUserName()"), "Ada");
    Radio(screen, 2)->SetToggleState(true);
    EXPECT_EQ(Eval("GetSelectedUserIndex()"), "2");
    EXPECT_EQ(Eval("GetSelectedUserName()"), "Cy");
}

TEST_F(ChoosePlayerTest, TheNameFieldIsFoundInsideItsPanel) {
    TChoosePlayer* screen = MakeScreen();
    EXPECT_EQ(Run("SetNameField('entry', 'Dee') SetNameField('nopanel', 'x')"), "");
    auto* field = dynamic_cast<TText*>(screen->FindChildWindow("namefield", -1));
    EXPECT_STREQ(field->GetText().c_str(), "Dee");
}

TEST_F(ChoosePlayerTest, AnOlderScreenGoingLeavesTheNewerOnesFunctions) {
    AddUsers({"Ada", "Bo"});
    TChoosePlayer* older = MakeScreen();
    TChoosePlayer* newer = MakeScreen();
    Radio(newer, 1)->SetToggleState(true);
    dialog->RemoveChild(older);
    delete older;
    EXPECT_EQ(Eval("GetSelectedUserName()"), "Bo");
    dialog->RemoveChild(newer);
    delete newer;
    for (const char* name : {"SetPlayerChoices", "GetSelectedUserIndex", "GetSelectedUserName", "SetNameField"}) {
        EXPECT_EQ(Eval(std::string("type(") + name + ")"), "nil") << name;
    }
}

}  // namespace
