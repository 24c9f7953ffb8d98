// The shipped first screens, run by the main routine from the build's
// assets: the first player's name, the main menu with its buttons and the
// screens they open, Enter and Escape on each, the players with their name
// dialogs, the world map with the way into a location just reached, and the
// quit question on a close request whose Yes ends the game.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/app/platformevent.h"
#include "game/objects/objectwindow.h"
#include "game/objects/tiledobject.h"
#include "game/level/levelmanager.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/pushpin.h"
#include "game/progression/reward.h"
#include "game/progression/rewardswindow.h"
#include "game/progression/worldmap.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/textsprite.h"
#include "game/widgets/split9image.h"
#include "game/startup/gamemain.h"
#include "game/widgets/disablebutton.h"
#include "online/qmhiscores.h"
#include "widgets/button.h"
#include "widgets/text.h"
#include "widgets/textedit.h"
#include "tests/support/filesizelimit.h"
#include "tests/startup/gamescreentesting.h"

namespace {

using FirstScreenTest = GameScreenTest;

constexpr int kEscape = 27;

TEST_F(FirstScreenTest, TheTitleShowsTheShopsNameAndItsButtons) {
    GameMainSetUp(mPlatform.get(), mSession);
    for (const char* name : {"backdrop", "title", "tagline", "play", "quit", "version"}) {
        EXPECT_NE(FindInTop(name), nullptr) << name;
    }
    // Labels are looked up in the English table.
    TText* title = CastToTText(FindInTop("title"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetText(), "Vandermoot Chocolates");
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, ACloseRequestAsksAndYesQuits) {
    GameMainSetUp(mPlatform.get(), mSession);
    TPlatformEvent close;
    close.type = TPlatformEvent::kCloseRequest;
    HandleGameEvent(mPlatform.get(), close);
    TWindow* yes = FindInTop("yes");
    ASSERT_NE(yes, nullptr);
    EXPECT_NE(FindInTop("no"), nullptr);
    Click(yes);
    EXPECT_TRUE(RunUntilQuit());
    EXPECT_TRUE(VGame::Get()->AreQuitting());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, EscapeInPlayPausesAndResumeGoesBack) {
    // The player is in the window: going back to the play asks no pause.
    static_cast<window::ScriptedWindow&>(mPlatform->GetData().GetWindow()).focused = true;
    GameMainSetUp(mPlatform.get(), mSession);
    VGame::Get()->InsideGame(true);
    TPlatformEvent escape;
    escape.type = TPlatformEvent::kKeyDown;
    escape.param = 27;
    HandleGameEvent(mPlatform.get(), escape);
    ASSERT_TRUE(RunUntilShown("resume"));
    EXPECT_FALSE(VGame::Get()->AreInsideGame());
    Click(FindInTop("resume"));
    EXPECT_TRUE(RunUntilShown("play"));
    EXPECT_TRUE(VGame::Get()->AreInsideGame());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, TheMainMenuGreetsThePlayerAndOpensEachScreen) {
    // More games shows only beside the cross-sell script.
    AddFile("xsell/xsell.lua", "-- cross-sell");
    GameMainSetUp(mPlatform.get(), mSession);
    TText* user = CastToTText(FindInTop("txt_user"));
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->GetText(), "Ada!");
    const struct {
        const char* button;
        const char* shown;
    } screens[] = {
        {"options", "options_sfxlevel_slider"}, {"players", "chooseplayer_button_0"}, {"help", "txt_page"},
        {"credits", "credits"}, {"moregames", "game1"}, {"endless", "medium"},
        {"rewards", "reward_list"}, {"scores", "gamemode"}, {"play", "world_map"},
    };
    for (const auto& screen : screens) {
        ASSERT_TRUE(RunUntilShown(screen.button)) << screen.button;
        Click(FindInTop(screen.button));
        EXPECT_TRUE(RunUntilShown(screen.shown)) << screen.button;
        TWindow* back = nullptr;
        for (const char* name : {"done", "back", "cancel", "btn_menu"}) back = back ? back : FindInTop(name);
        ASSERT_NE(back, nullptr) << screen.button;
        Click(back);
    }
    EXPECT_TRUE(RunUntilShown("play"));
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// A level that opened the next location leaves the map a path to play
// once: the location's pin waits hidden until the dots reach it, and the
// next visit plays nothing.
TEST_F(FirstScreenTest, AfterALocationsLastLevelTheMapShowsTheWayToTheNextOnce) {
    GameMainSetUp(mPlatform.get(), mSession);
    VLevelManager::Get()->SetHighestComplete(10, true);
    VLevelManager::Get()->SetCurrentLevel(11);
    VValueManager::Get()->SetValue("do_map_transition", 1, true);
    for (bool first : {true, false}) {
        SCOPED_TRACE(first ? "first visit" : "second visit");
        ASSERT_TRUE(RunUntilShown("play"));
        Click(FindInTop("play"));
        ASSERT_TRUE(RunUntilShown("world_map"));
        RunFor(40);
        auto* map = dynamic_cast<VWorldMap*>(FindInTop("world_map"));
        ASSERT_NE(map, nullptr);
        std::shared_ptr<VPushPin> namche = map->GetPins().at("pin2_namche");
        EXPECT_EQ(map->GetCurrentPath() == "pin2_namche", first);
        EXPECT_EQ(namche->IsVisible(), !first);
        EXPECT_EQ(VValueManager::Get()->GetInt("do_map_transition", 1), 0);
        RunFor(3000);
        EXPECT_EQ(map->GetCurrentPath().Length(), 0);
        EXPECT_TRUE(namche->IsVisible());
        EXPECT_EQ(map->FindCurrentPin(), namche);
        Press(kEscape);
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// Every medal of the rewards screen stands for a shipped achievement, whose
// card then has its title and description; the first sale is earned.
TEST_F(FirstScreenTest, TheRewardsScreenShowsEveryShippedAchievement) {
    AddFile("achievements.xml", ReadAsset("achievements.xml"));
    GameMainSetUp(mPlatform.get(), mSession);
    VAchievementManager::Get()->Load("achievements.xml");
    VAchievementManager::Get()->Award("first_sale", "adventure");
    ASSERT_TRUE(RunUntilShown("rewards"));
    Click(FindInTop("rewards"));
    ASSERT_TRUE(RunUntilShown("reward_list"));
    auto* screen = dynamic_cast<VRewardsWindow*>(FindInTop("reward_list"));
    ASSERT_NE(screen, nullptr);
    VAchievementManager::AchievementList all;
    VAchievementManager::Get()->ListAll(all);
    ASSERT_EQ(screen->GetRewards().size(), all.size());
    for (const auto& [key, reward] : screen->GetRewards()) {
        SCOPED_TRACE(key.c_str());
        EXPECT_NE(VAchievementManager::Get()->GetAchievement(reward->GetCategory(), reward->GetName()), nullptr);
        ASSERT_EQ(reward->GetBox()->GetChildList().size(), 2u);
        for (const auto& text : reward->GetBox()->GetChildList()) {
            EXPECT_EQ(std::string(static_cast<VTextSprite&>(*text).GetText().c_str()).find('#'), std::string::npos);
        }
        EXPECT_EQ(reward->GetAlpha(), reward->GetName() == "first_sale" ? 1.0f : 0.2f);
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, TheBackdropsChocolatesSlideInBehindTheMenuAndStopClearOfItsButtonsAndGreeting) {
    AddAssetFolder("ui/chocolates");
    // The greeting's width comes from its font.
    AddAssetFolder("fonts");
    // More games shows only beside the cross-sell script.
    AddFile("xsell/xsell.lua", "-- cross-sell");
    GameMainSetUp(mPlatform.get(), mSession);
    auto* backdrop = dynamic_cast<VObjectWindow*>(FindInTop("menu_backdrop"));
    ASSERT_NE(backdrop, nullptr);
    // Drawn first of its siblings, so everything else of the menu is on top.
    EXPECT_EQ(backdrop->GetParent()->GetChildren().back(), backdrop);
    const auto sprites = backdrop->GetSpriteManager()->GetSprites();
    ASSERT_GE(sprites.size(), 6u);
    const TRect screen(0, 0, 800, 600);
    for (const auto& sprite : sprites) {
        EXPECT_NE(sprite->GetTexture(), nullptr) << sprite->GetName().c_str();
        TRect start = sprite->GetBounds(backdrop->GetDrawState(), 0);
        EXPECT_FALSE(Overlap(start, screen)) << sprite->GetName().c_str() << " starts in view";
    }
    RunFor(3000);
    std::vector<std::pair<const char*, TRect>> keepClear;
    for (const char* name : {"play", "options", "players", "help", "credits", "endless", "moregames", "quit"}) {
        TWindow* button = FindInTop(name);
        ASSERT_NE(button, nullptr) << name;
        keepClear.emplace_back(name, button->GetGlobalRect());
    }
    for (const char* name : {"title", "tagline", "txt_welcome", "txt_user"}) {
        TText* text = CastToTText(FindInTop(name));
        ASSERT_NE(text, nullptr) << name;
        TRect letters = LettersOf(text);
        ASSERT_GT(letters.right - letters.left, 0) << name;
        keepClear.emplace_back(name, TRect(letters.left, text->GetGlobalRect().top, letters.right,
                                           text->GetGlobalRect().bottom));
    }
    for (const auto& sprite : sprites) {
        TRect placed = sprite->GetBounds(backdrop->GetDrawState(), 0);
        EXPECT_TRUE(Inside(screen, placed)) << sprite->GetName().c_str() << " ends out of view";
        for (const auto& [name, rect] : keepClear) {
            EXPECT_FALSE(Overlap(placed, rect)) << sprite->GetName().c_str() << " covers " << name;
        }
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, AClickOnACheckBoxsLabelTogglesTheBox) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("options"));
    Click(FindInTop("options"));
    ASSERT_TRUE(RunUntilShown("options_muteall_checkbox"));
    auto* box = CastToTButton(FindInTop("options_muteall_checkbox"));
    ASSERT_NE(box, nullptr);
    TWindow* label = box->FindChildWindow("label", 1);
    ASSERT_NE(label, nullptr);
    bool before = box->GetToggleState();
    Click(label);
    EXPECT_NE(box->GetToggleState(), before);
    Click(label);
    EXPECT_EQ(box->GetToggleState(), before);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, ABackdropThatDoesNotLoadLeavesTheMenuOnTheWholeScreenAndClickable) {
    AddFile("ui/backgrounds/title_backdrop.png", "not a picture");
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("play"));
    TWindow* backdrop = FindInTop("backdrop");
    ASSERT_NE(backdrop, nullptr);
    const TRect screen(0, 0, 800, 600);
    EXPECT_TRUE(Inside(backdrop->GetGlobalRect(), screen)) << "the backdrop covers the screen";
    for (const char* name : {"play", "options", "players", "help", "credits", "endless", "quit"}) {
        TWindow* button = FindInTop(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(Inside(screen, button->GetGlobalRect())) << name;
        EXPECT_TRUE(Inside(backdrop->GetGlobalRect(), button->GetGlobalRect())) << name;
    }
    Click(FindInTop("options"));
    EXPECT_TRUE(RunUntilShown("options_sfxlevel_slider"));
}

TEST_F(FirstScreenTest, HelpPagesTurnWithNextAndBack) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("help"));
    Click(FindInTop("help"));
    ASSERT_TRUE(RunUntilShown("btn_next"));
    auto* back = dynamic_cast<RDisableButton*>(FindInTop("btn_back"));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->IsDisabled());
    // Greyed out, its label still on it.
    TWindow* greyed = back->FindChildWindow("image3", 1);
    ASSERT_NE(greyed, nullptr);
    EXPECT_TRUE(greyed->IsVisible());
    EXPECT_GT(greyed->GetWidth(), 0);
    EXPECT_TRUE(back->FindChildWindow("label", 1)->IsVisible());
    Click(FindInTop("btn_next"));
    RunUntilShown("txt_page");
    EXPECT_EQ(CastToTText(FindInTop("txt_page"))->GetText(), "2/10");
    EXPECT_EQ(CastToTText(FindInTop("txt_title"))->GetText(), "Customers");
    EXPECT_FALSE(back->IsDisabled());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, WithoutPlayersTheFirstNameIsAskedBeforeTheMenu) {
    VGame::Get()->DeleteUser(0);
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("name_edit"));
    EXPECT_EQ(FindInTop("cancel"), nullptr);
    EXPECT_EQ(Run("SetLabel('name_edit', 'Bea')"), "");
    Click(FindInTop("ok"));
    ASSERT_TRUE(RunUntilShown("play"));
    EXPECT_EQ(VGame::Get()->GetNumUsers(), 1);
    EXPECT_STREQ(CastToTText(FindInTop("txt_user"))->GetText().c_str(), "Bea!");
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// A players file that does not load is set aside, and the player hears of
// it, with the copy's place, before being asked for a first name.
TEST_F(FirstScreenTest, ADamagedPlayersFileIsToldOfBeforeTheFirstName) {
    VGame::Destroy();
    const std::string damaged = "not a players file";
    mTemp.Write("user/prefs.dat", damaged);
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("notice"));
    const std::string copy = mTemp / "user/prefs.dat.bad";
    EXPECT_EQ(mTemp.Read("user/prefs.dat.bad"), damaged);
    const std::string text = CastToTText(FindInTop("message"))->GetText().c_str();
    EXPECT_EQ(text.rfind("The saved players could not be read", 0), 0u) << text;
    EXPECT_NE(text.find(copy), std::string::npos) << text;
    EXPECT_NE(FindInTop("backdrop"), nullptr);
    Click(FindInTop("ok"));
    EXPECT_TRUE(RunUntilShown("name_edit"));
    EXPECT_EQ(FindInTop("notice"), nullptr);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// Saves that fail leave the players file as it was; the first one is told
// on screen and on standard error, the later ones are not told again.
TEST_F(FirstScreenTest, AFailedSaveIsToldOnceAndKeepsTheOldFile) {
    // A file larger than anything else the test writes meanwhile.
    ASSERT_TRUE(Prefs().SetString(0, "notes", std::string(4096, 'x').c_str(), true));
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("play"));
    const std::string before = mTemp.Read("user/prefs.dat");
    testing::internal::CaptureStderr();
    auto failingSave = [&] {
        // The disk fills up: no file may grow to the size of the players file.
        FileSizeLimit limit(2048);
        ASSERT_TRUE(limit.Ok());
        VGame::Get()->ToggleSoundMute();
    };
    failingSave();
    ASSERT_TRUE(RunUntilShown("notice"));
    const std::string text = CastToTText(FindInTop("message"))->GetText().c_str();
    EXPECT_NE(text.find(mTemp / "user/prefs.dat"), std::string::npos) << text;
    Click(FindInTop("ok"));
    ASSERT_TRUE(RunUntilShown("play"));
    failingSave();
    RunFor(500);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(FindInTop("notice"), nullptr);
    EXPECT_EQ(error.rfind("ERROR: TPrefs::Save: cannot write", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
    EXPECT_EQ(mTemp.Read("user/prefs.dat"), before);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

constexpr int kEnter = 13;
TEST_F(FirstScreenTest, EnterAndEscapeLeaveEveryScreenOfTheMenuThroughItsButtons) {
    AddFile("xsell/xsell.lua", "-- cross-sell");
    GameMainSetUp(mPlatform.get(), mSession);
    const struct {
        const char* button;
        const char* shown;
        int key;
    } screens[] = {
        {"endless", "medium", kEscape},
        {"play", "world_map", kEscape},
        {"options", "options_sfxlevel_slider", kEscape},
        {"options", "options_sfxlevel_slider", kEnter},
        {"help", "txt_page", kEscape},
        {"help", "txt_page", kEnter},
        {"credits", "credits_version", kEscape},
        {"credits", "credits_version", kEnter},
        {"players", "chooseplayer", kEscape},
        {"moregames", "upsell", kEscape},
        {"moregames", "upsell", kEnter},
    };
    for (const auto& screen : screens) {
        SCOPED_TRACE(std::string(screen.button) + (screen.key == kEnter ? " Enter" : " Escape"));
        ASSERT_TRUE(RunUntilShown(screen.button));
        Click(FindInTop(screen.button));
        ASSERT_TRUE(RunUntilShown(screen.shown));
        Press(screen.key);
        EXPECT_TRUE(RunUntilShown("play"));
    }
    EXPECT_EQ(VGame::Get()->GetNumUsers(), 1);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, EscapeOnTheMainMenuAsksToQuitWhereEscapeSaysNoAndEnterYes) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("play"));
    Press(kEscape);
    ASSERT_TRUE(RunUntilShown("yes"));
    Press(kEscape);
    ASSERT_TRUE(RunUntilShown("play"));
    EXPECT_FALSE(VGame::Get()->AreQuitting());
    Press(kEscape);
    ASSERT_TRUE(RunUntilShown("yes"));
    Press(kEnter);
    EXPECT_TRUE(RunUntilQuit());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, TheFirstNameKeepsTheKeyboardIsTrimmedAndABlankOneIsRefusedWithAHint) {
    VGame::Get()->DeleteUser(0);
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("name_edit"));
    EXPECT_EQ(TextOf("message"), "Type your name");
    // Each step types on into the same field, then answers by Enter or by a
    // click on OK.
    const struct {
        const char* typed;
        bool click;
        const char* field;
    } steps[] = {
        {"", false, ""},
        {"", true, ""},
        {"   ", false, "   "},
        {" ", true, "    "},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string("'") + step.field + "'" + (step.click ? " click" : " Enter"));
        Type(step.typed);
        if (step.click) {
            Click(FindInTop("ok"));
        } else {
            Press(kEnter);
        }
        RunFor(200);
        ASSERT_NE(FindInTop("name_edit"), nullptr);
        EXPECT_EQ(TextOf("name_edit"), step.field);
        EXPECT_EQ(TextOf("message"), "Please type a name first.");
        EXPECT_EQ(TWindowManager::GetInstance()->GetFocus(), FindInTop("name_edit"));
        EXPECT_EQ(VGame::Get()->GetNumUsers(), 0);
    }
    Type("Bea  ");
    Press(kEnter);
    ASSERT_TRUE(RunUntilShown("play"));
    ASSERT_EQ(VGame::Get()->GetNumUsers(), 1);
    EXPECT_EQ(VGame::Get()->GetUserName(0), "Bea");
    EXPECT_EQ(TextOf("txt_user"), "Bea!");
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, ANameFieldOfTheFullLengthInTheWidestLettersShowsWholeOnOneLine) {
    AddAssetFolder("fonts");
    VGame::Get()->DeleteUser(0);
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("name_edit"));
    auto* edit = dynamic_cast<TTextEdit*>(FindInTop("name_edit"));
    ASSERT_NE(edit, nullptr);
    for (char letter : {'W', '@', 'm', 'M'}) {
        SCOPED_TRACE(letter);
        edit->SetText("");
        Type(std::string(static_cast<size_t>(edit->GetMaxLength()) + 1, letter));
        ASSERT_EQ(edit->GetText().Length(), edit->GetMaxLength());
        // Both looks of the blinking cursor.
        for (int blink = 0; blink < 2; ++blink) {
            RunFor(400);
            edit->Animate();
            ASSERT_EQ(edit->GetLayout()->GetLines().size(), 1u);
            TRect extents = edit->GetTextExtents();
            EXPECT_GE(extents.left, 0);
            EXPECT_GE(extents.top, 0);
            EXPECT_LE(extents.right, edit->GetWidth());
            EXPECT_LE(extents.bottom, edit->GetHeight());
        }
    }
}

TEST_F(FirstScreenTest, TheFullScreenBoxOfOptionsFollowsAltEnterEvenUnderTheQuitQuestion) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("options"));
    Click(FindInTop("options"));
    ASSERT_TRUE(RunUntilShown("options_fullscreen_checkbox"));
    auto* box = CastToTButton(FindInTop("options_fullscreen_checkbox"));
    ASSERT_NE(box, nullptr);
    for (bool underQuestion : {false, true}) {
        if (underQuestion) {
            Send(TPlatformEvent::kCloseRequest, 0);
            ASSERT_TRUE(RunUntilShown("yes"));
        }
        for (bool fullScreen : {true, false, true}) {
            SCOPED_TRACE(std::string(fullScreen ? "full screen" : "windowed") + (underQuestion ? " under" : ""));
            // What Alt+Enter leaves: the display switched, then the event.
            ASSERT_TRUE(mPlatform->SetFullScreen(fullScreen));
            Send(TPlatformEvent::kFullScreenToggled, fullScreen);
            RunFor(40);
            EXPECT_EQ(box->GetToggleState(), fullScreen);
        }
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

class PlayersScreenTest : public FirstScreenTest {
protected:
    // Ada, then the given players; the menu's Players button opens the screen.
    void OpenPlayers(const std::vector<const char*>& names) {
        AddAssetFolder("fonts");
        for (const char* name : names) VGame::Get()->CreateNewUser(name);
        VGame::Get()->SetCurrentUser(0);
        GameMainSetUp(mPlatform.get(), mSession);
        ASSERT_TRUE(RunUntilShown("players"));
        Click(FindInTop("players"));
        ASSERT_TRUE(RunUntilShown("chooseplayer"));
    }
    TWindow* Row(int index) { return FindInTop(("chooseplayer_button_" + std::to_string(index)).c_str()); }
    void Choose(int index) {
        Click(Row(index));
        RunFor(100);
    }
    // The dialog's panel covers neither the chosen row nor the screen's buttons.
    void ExpectClearOfTheList(const char* panel, int chosen) {
        TModalWindow* dialog = TWindowManager::GetInstance()->GetTopModal();
        TWindow* list = dialog->GetParent();
        ASSERT_NE(list, nullptr);
        // The modal may share the panel's name.
        TWindow* shown = nullptr;
        for (TWindow* child : dialog->GetChildren()) {
            if ((shown = child->FindChildWindow(panel, -1))) break;
        }
        ASSERT_NE(shown, nullptr);
        TRect rect = shown->GetGlobalRect();
        // The screen's windows, not the dialog's of the same names.
        auto onScreen = [&](const std::string& name) -> TWindow* {
            for (TWindow* child : list->GetChildren()) {
                TWindow* found = child == dialog ? nullptr : child->FindChildWindow(name.c_str(), -1);
                if (found) return found;
            }
            return nullptr;
        };
        for (const std::string& name : {"chooseplayer_button_" + std::to_string(chosen), std::string("select"),
                                       std::string("new"), std::string("rename"), std::string("delete"),
                                       std::string("cancel")}) {
            TWindow* window = onScreen(name);
            ASSERT_NE(window, nullptr) << name;
            EXPECT_FALSE(Overlap(rect, window->GetGlobalRect())) << "covers " << name;
        }
        EXPECT_TRUE(Inside(TRect(0, 0, 800, 600), rect));
    }
};

TEST_F(PlayersScreenTest, ALongNameStaysOnItsRowInOneLine) {
    const char* names[] = {"Wilhelmina Wolfsburg", "WWWWWWWWWW WWWWWWWWW", "@@@@@@@@@@@@@@@@@@@@", "MMMMMMMMMMMMMMMMMMMM"};
    OpenPlayers(std::vector<const char*>(std::begin(names), std::end(names)));
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(names[i - 1]);
        TWindow* row = Row(i);
        ASSERT_NE(row, nullptr);
        TText* label = CastToTText(row->FindChildWindow("label", -1));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetText(), names[i - 1]);
        TRect extents = label->GetTextExtents();
        ASSERT_EQ(label->GetLayout()->GetLines().size(), 1u);
        TPoint origin = label->LocalToGlobal(TPoint(0, 0));
        TRect shown(origin.x + extents.left, origin.y + extents.top, origin.x + extents.right,
                    origin.y + extents.bottom);
        EXPECT_TRUE(Inside(row->GetGlobalRect(), shown)) << "extents " << extents.left << "," << extents.top << " "
                                                         << extents.right << "," << extents.bottom;
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayersScreenTest, AChosenRowNamesItsPlayerUnderTheListInRenameAndInTheDeleteQuestion) {
    OpenPlayers({"Bea", "Cy", "Dee", "Eve", "Fay", "Gus"});
    EXPECT_EQ(TextOf("namefield"), "Ada");
    // Rows above and below the current one, and in the other column.
    for (int chosen : {2, 0, 1, 4, 6, 5}) {
        SCOPED_TRACE(chosen);
        Choose(chosen);
        std::string name = VGame::Get()->GetUserName(chosen).c_str();
        EXPECT_EQ(TextOf("namefield"), name);

        Click(FindInTop("rename"));
        ASSERT_TRUE(RunUntilShown("name_edit"));
        EXPECT_EQ(TextOf("name_edit"), name);
        ExpectClearOfTheList("newplayer", chosen);
        Press(kEscape);
        ASSERT_TRUE(RunUntilShown("chooseplayer"));

        Click(FindInTop("delete"));
        ASSERT_TRUE(RunUntilShown("yes"));
        EXPECT_EQ(TextOf("message"), "Delete " + name + " and all their progress?");
        ExpectClearOfTheList("deleteplayer", chosen);
        Press(kEscape);
        ASSERT_TRUE(RunUntilShown("chooseplayer"));
    }
    EXPECT_EQ(VGame::Get()->GetNumUsers(), 7);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayersScreenTest, ARenameKeepsTheSameNameAndANewNameIsTrimmedBeforeItIsComparedWithTheOthers) {
    OpenPlayers({"Bea"});
    Choose(1);
    Click(FindInTop("rename"));
    ASSERT_TRUE(RunUntilShown("name_edit"));
    Press(kEnter);
    ASSERT_TRUE(RunUntilShown("chooseplayer"));
    EXPECT_EQ(VGame::Get()->GetUserName(1), "Bea");

    Click(FindInTop("new"));
    ASSERT_TRUE(RunUntilShown("name_edit"));
    Type(" Ada ");
    Press(kEnter);
    RunFor(200);
    EXPECT_EQ(TextOf("message"), "That name is taken. Please choose another.");
    EXPECT_EQ(VGame::Get()->GetNumUsers(), 2);
    Type("\b\b\b\b\bCy ");
    Press(kEnter);
    ASSERT_TRUE(RunUntilShown("chooseplayer"));
    ASSERT_EQ(VGame::Get()->GetNumUsers(), 3);
    EXPECT_EQ(VGame::Get()->GetUserName(2), "Cy");
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, EveryTitleIsLetteredOnASignThatHoldsIt) {
    // The letters' widths come from the fonts.
    AddAssetFolder("fonts");
    GameMainSetUp(mPlatform.get(), mSession);
    ExpectOnItsSign("title", "main menu");
    const struct {
        const char* button;
        const char* title;
        const char* back;
    } screens[] = {
        {"options", "title", "done"}, {"players", "title", "cancel"}, {"credits", "title", "back"},
    };
    for (const auto& screen : screens) {
        ASSERT_TRUE(RunUntilShown(screen.button)) << screen.button;
        Click(FindInTop(screen.button));
        ASSERT_TRUE(RunUntilShown(screen.back)) << screen.button;
        ExpectOnItsSign(screen.title, screen.button);
        Click(FindInTop(screen.back));
    }
    // Each help page has a title of its own.
    ASSERT_TRUE(RunUntilShown("help"));
    Click(FindInTop("help"));
    ASSERT_TRUE(RunUntilShown("btn_next"));
    for (int page = 1; page <= 10; ++page) {
        ExpectOnItsSign("txt_title", "help page " + std::to_string(page));
        Click(FindInTop("btn_next"));
        RunFor(40);
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(FirstScreenTest, TheMenusDialogsLeaveItsLinesReadable) {
    AddAssetFolder("fonts");
    GameMainSetUp(mPlatform.get(), mSession);
    const struct {
        const char* button;
        const char* dialog;
        const char* close;
    } dialogs[] = {{"quit", "quitverify", "no"}};
    for (const auto& dialog : dialogs) {
        ASSERT_TRUE(RunUntilShown(dialog.button)) << dialog.button;
        TWindow* menu = TWindowManager::GetInstance()->GetTopModal();
        Click(FindInTop(dialog.button));
        ASSERT_TRUE(RunUntilShown(dialog.dialog)) << dialog.dialog;
        // The panel holds the dialog's message.
        TRect panel = FindInTop("message")->GetParent()->GetGlobalRect();
        for (const char* name : {"title", "tagline", "txt_welcome", "txt_user"}) {
            TText* text = CastToTText(menu->FindChildWindow(name, -1));
            ASSERT_NE(text, nullptr) << name;
            EXPECT_FALSE(Overlap(panel, LettersOf(text))) << dialog.dialog << ": " << name;
        }
        Click(FindInTop(dialog.close));
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

}  // namespace

TEST_F(FirstScreenTest, TheScoresScreenSubmitsTheNewScoreAndShowsItRanked) {
    AddAssetFolder("ui/buttons");
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(VGame::Get()->GetHiscores()->AddLocalScore(31415, false, "", ""));
    ASSERT_TRUE(RunUntilShown("scores"));
    Click(FindInTop("scores"));
    ASSERT_TRUE(RunUntilShown("gamemode"));
    EXPECT_EQ(TextOf("name1"), "Ada");
    EXPECT_EQ(TextOf("score1"), "31415");
    EXPECT_TRUE(FindInTop("p1_1")->IsVisible());
    EXPECT_TRUE(FindInTop("submit")->IsVisible());
    EXPECT_FALSE(FindInTop("viewlocal")->IsVisible());

    Click(FindInTop("submit"));
    ASSERT_TRUE(RunUntilShown("nameedit"));
    EXPECT_EQ(TextOf("nameedit"), "Ada");
    EXPECT_EQ(TextOf("eligiblescore"), "31415");
    EXPECT_TRUE(FindInTop("submittoserver")->IsVisible());
    EXPECT_FALSE(FindInTop("submitconnect")->IsVisible());
    EXPECT_FALSE(FindInTop("submiterrorok")->IsVisible());
    Click(FindInTop("submittoserver"));
    RunFor(500);

    // The dialog closed itself; the online table ranks the score.
    EXPECT_EQ(FindInTop("nameedit"), nullptr);
    ASSERT_NE(FindInTop("congratulations"), nullptr);
    EXPECT_TRUE(FindInTop("congratulations")->IsVisible());
    EXPECT_EQ(TextOf("name1"), "Ada");
    EXPECT_EQ(TextOf("1"), "1.");
    EXPECT_TRUE(FindInTop("viewlocal")->IsVisible());
    EXPECT_FALSE(FindInTop("submit")->IsVisible());
    Click(FindInTop("viewlocal"));
    EXPECT_FALSE(FindInTop("p1_1")->IsVisible());
    EXPECT_FALSE(mLog.Contains("Lua Error")) << mLog.Text();
}
