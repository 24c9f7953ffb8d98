// The shipped first screens, run by the main routine from the build's
// assets: the first player's name, the main menu with its buttons and the
// screens they open, and the quit question on a close request whose Yes
// ends the game.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/app/platformevent.h"
#include "game/objects/objectwindow.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spritemanager.h"
#include "game/startup/gamemain.h"
#include "game/widgets/disablebutton.h"
#include "widgets/text.h"
#include "tests/shell/shelltesting.h"

namespace {

std::string ReadAsset(const std::string& name) {
    std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Edges are exclusive: rectangles that only touch do not overlap.
bool Overlap(const TRect& a, const TRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const TRect& outer, const TRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class FirstScreenTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Scripts are run by their asset name and read each other through
        // the working folder's "assets".
        for (const auto& entry : std::filesystem::directory_iterator(std::string(VANDERMOOT_ASSETS) + "/scripts")) {
            std::string name = "scripts/" + entry.path().filename().string();
            AddFile(name, ReadAsset(name));
            AddFile("assets/" + name, ReadAsset(name));
        }
        AddFile("strings/en/strings.xml", ReadAsset("strings/en/strings.xml"));
        // Buttons take their size from their images.
        for (const char* name : {"ui/buttons/oval_lt_blue_up.png", "ui/buttons/oval_lt_blue_down.png",
                                 "ui/backgrounds/dialog_panel.png", "ui/backgrounds/title_backdrop.png"}) {
            AddFile(name, ReadAsset(name));
        }
        for (const char* name : {"credits.txt", "upsell.xml"}) AddFile(name, ReadAsset(name));
        // A player, so the main menu comes first.
        CreateGameWithUser();
    }

    void TearDown() override {
        GameMainTearDown(mSession);
        ShellTest::TearDown();
    }

    TWindow* FindInTop(const char* name) {
        TModalWindow* top = TWindowManager::GetInstance()->GetTopModal();
        return top ? top->FindChildWindow(name, -1) : nullptr;
    }

    void Click(TWindow* window) {
        TPoint centre = window->LocalToGlobal(TPoint(window->GetWidth() / 2, window->GetHeight() / 2));
        for (int32_t type : {TPlatformEvent::kMouseDown, TPlatformEvent::kMouseUp}) {
            TPlatformEvent event;
            event.type = type;
            event.x = centre.x;
            event.y = centre.y;
            HandleGameEvent(mPlatform.get(), event);
        }
    }

    // Idle passes until the named window is in the top modal; false when it
    // does not come.
    bool RunUntilShown(const char* name) {
        for (int i = 0; i < 100 && !FindInTop(name); ++i) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            HandleGameEvent(mPlatform.get(), event);
            mTimer.Advance(20);
        }
        return FindInTop(name) != nullptr;
    }

    // Idle passes until the quit event comes; false when it does not.
    bool RunUntilQuit() {
        for (int i = 0; i < 100; ++i) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            if (event.type == TPlatformEvent::kQuit) return true;
            HandleGameEvent(mPlatform.get(), event);
            mTimer.Advance(20);
        }
        return false;
    }

    // Idle passes over the given time.
    void RunFor(uint32_t milliseconds) {
        for (uint32_t passed = 0; passed < milliseconds; passed += 20) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            HandleGameEvent(mPlatform.get(), event);
            mTimer.Advance(20);
        }
    }

    // Adds every file of an asset folder under its asset name.
    void AddAssetFolder(const std::string& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(VANDERMOOT_ASSETS) + "/" + folder)) {
            std::string name = folder + "/" + entry.path().filename().string();
            AddFile(name, ReadAsset(name));
        }
    }

    TGameSession mSession;
};

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
        {"credits", "credits"}, {"moregames", "game1"},
    };
    for (const auto& screen : screens) {
        ASSERT_TRUE(RunUntilShown(screen.button)) << screen.button;
        Click(FindInTop(screen.button));
        EXPECT_TRUE(RunUntilShown(screen.shown)) << screen.button;
        TWindow* back = FindInTop("done") ? FindInTop("done") : FindInTop("back") ? FindInTop("back") : FindInTop("cancel");
        ASSERT_NE(back, nullptr) << screen.button;
        Click(back);
    }
    EXPECT_TRUE(RunUntilShown("play"));
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
    for (const char* name : {"play", "options", "players", "help", "credits", "moregames", "quit"}) {
        TWindow* button = FindInTop(name);
        ASSERT_NE(button, nullptr) << name;
        keepClear.emplace_back(name, button->GetGlobalRect());
    }
    for (const char* name : {"title", "tagline", "txt_welcome", "txt_user"}) {
        TText* text = CastToTText(FindInTop(name));
        ASSERT_NE(text, nullptr) << name;
        TRect extents = text->GetTextExtents();
        ASSERT_GT(extents.right - extents.left, 0) << name;
        TRect global = text->GetGlobalRect();
        keepClear.emplace_back(name, TRect(global.left + extents.left, global.top, global.left + extents.right,
                                           global.bottom));
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

TEST_F(FirstScreenTest, ABackdropThatDoesNotLoadLeavesTheMenuOnTheWholeScreenAndClickable) {
    AddFile("ui/backgrounds/title_backdrop.png", "not a picture");
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("play"));
    TWindow* backdrop = FindInTop("backdrop");
    ASSERT_NE(backdrop, nullptr);
    const TRect screen(0, 0, 800, 600);
    EXPECT_TRUE(Inside(backdrop->GetGlobalRect(), screen)) << "the backdrop covers the screen";
    for (const char* name : {"play", "options", "players", "help", "credits", "quit"}) {
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

}  // namespace
