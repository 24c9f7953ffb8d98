#include "game/menus/mainmenu.h"

#include "core/app/gamestate.h"
#include "widgets/text.h"
#include "sound/sound.h"
#include "tests/menus/menutesting.h"
#include "tests/support/oggwriter.h"

namespace {

class MainMenuTest : public MenuTest {
protected:
    // A menu with its lines, a debug and a more-games button; the user
    // shadow is of another class, which the menu leaves alone.
    TMainMenu* MakeMenu() {
        auto* menu = Begin<TMainMenu>("{ name = 'menu', w = 800, h = 600 }");
        for (const char* name : {"txt_welcome", "txt_welcome_shadow", "txt_user"}) {
            Make<TText>(std::string("{ name = '") + name + "', w = 300, h = 30 }", menu);
        }
        for (const char* name : {"txt_user_shadow", "mainmenu_debug_button", "moregames"}) {
            Make<TWindow>(std::string("{ name = '") + name + "', w = 10, h = 10 }", menu);
        }
        Finish(menu);
        return menu;
    }
    std::string TextOf(TMainMenu* menu, const char* name) {
        return dynamic_cast<TText*>(menu->FindChildWindow(name, -1))->GetText().c_str();
    }
    static void Destroy(TWindow* window) {
        window->GetParent()->RemoveChild(window);
        delete window;
    }
};

TEST_F(MainMenuTest, WelcomeLineWithoutUsersAndWithACurrentOne) {
    VGame::Create();
    TMainMenu* menu = MakeMenu();
    EXPECT_EQ(TextOf(menu, "txt_welcome"), "Welcome!");
    EXPECT_EQ(TextOf(menu, "txt_welcome_shadow"), "Welcome!");
    EXPECT_EQ(TextOf(menu, "txt_user"), "");

    CreateGameWithUser();
    EXPECT_EQ(Run("SetWelcomeText()"), "");
    EXPECT_EQ(TextOf(menu, "txt_welcome"), "Welcome,");
    EXPECT_EQ(TextOf(menu, "txt_user"), "Ada!");
}

TEST_F(MainMenuTest, SetUpHidesTheDebugButtonTakesTheFocusAndPlaysTheTheme) {
    StartSound();
    AddFile("audio/music/theme.ogg", MakeOgg(44100, 2, 44100));
    VGame::Create();
    TMainMenu* menu = MakeMenu();
    EXPECT_FALSE(menu->FindChildWindow("mainmenu_debug_button", -1)->IsVisible());
    EXPECT_FALSE(menu->FindChildWindow("moregames", -1)->IsVisible());
    EXPECT_EQ(dialog->GetFocusWindow(), menu);
    const std::shared_ptr<VSound>& music = VSoundManager::Get()->GetCurrentMusic();
    ASSERT_NE(music, nullptr);
    EXPECT_STREQ(music->GetSound()->GetFileName().c_str(), "audio/music/theme.ogg");
}

TEST_F(MainMenuTest, MoreGamesStaysWithTheCrossSellScript) {
    AddFile("xsell/xsell.lua", "-- cross-sell");
    VGame::Create();
    TMainMenu* menu = MakeMenu();
    EXPECT_TRUE(menu->FindChildWindow("moregames", -1)->IsVisible());
    EXPECT_FALSE(menu->FindChildWindow("mainmenu_debug_button", -1)->IsVisible());
}

TEST_F(MainMenuTest, ScreenTimeStopsWhenPoppedAndWhenDestroyed) {
    VGame::Create();
    TMainMenu* menu = MakeMenu();
    TGameState* state = TGameState::Get();
    state->SetStateInt("MainMenuScreenTime", 1);
    menu->OnModalPopped();
    EXPECT_STREQ(state->GetState("MainMenuScreenTime").c_str(), "0");
    state->SetStateInt("MainMenuScreenTime", 1);
    Destroy(menu);
    EXPECT_STREQ(state->GetState("MainMenuScreenTime").c_str(), "0");
}

TEST_F(MainMenuTest, ADestroyedMenuWithdrawsOnlyTheFunctionsStillBoundToIt) {
    VGame::Create();
    TMainMenu* older = MakeMenu();
    TMainMenu* newer = MakeMenu();
    Destroy(older);
    EXPECT_EQ(Eval("type(SetWelcomeText)"), "function");
    EXPECT_EQ(Run("SetWelcomeText() MainDebug()"), "");
    Destroy(newer);
    EXPECT_EQ(Eval("type(SetWelcomeText)"), "nil");
    EXPECT_EQ(Eval("type(MainDebug)"), "nil");
}

}  // namespace
