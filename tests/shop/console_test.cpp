// The level screen's debug console and cheats: reading a console line, each
// command on a sprite of the screen, opening and closing the console with
// its key, and the cheats with their answers.
#include "game/shop/shopconsole.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatespec.h"
#include "game/floor/background.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/objects/object.h"
#include "game/sprites/spritemanager.h"
#include "tests/shop/shoptesting.h"

namespace {

TEST(ConsoleLineTest, TheCommandIsTheLowerCasedFirstWordAndBlanksInARowMakeNoWords) {
    struct Case {
        const char* line;
        const char* command;
        std::vector<std::string> arguments;
    };
    const std::vector<Case> cases = {
        {"SetValue speed 3", "setvalue", {"speed", "3"}},
        {"setpos  crate   10 20", "setpos", {"crate", "10", "20"}},
        {"closeconsole", "closeconsole", {}},
        {"addminutes 2 ", "addminutes", {"2"}},
        {" setvalue x 1", "", {"setvalue", "x", "1"}},
        {"", "", {}},
    };
    for (const Case& c : cases) {
        VConsoleLine parsed = ParseConsoleLine(c.line);
        EXPECT_STREQ(parsed.command.c_str(), c.command) << c.line;
        std::vector<std::string> arguments;
        for (const TString& argument : parsed.arguments) arguments.emplace_back(argument.c_str());
        EXPECT_EQ(arguments, c.arguments) << c.line;
    }
}

class ConsoleTest : public LevelScreenTest {
protected:
    void SetUp() override {
        LevelScreenTest::SetUp();
        if (IsSkipped()) return;
        VChocolate::ClearLayerTints();
        screen = Screen();
        ASSERT_NE(screen, nullptr);
        crate = VObject::Create("crate", "test", 0);
        lid = VObject::Create("lid", "test", 3);
        box = VObject::Create("box", "test", 5);
        crate->AddChild(lid);
        crate->AddChild(box);
        screen->AddSprite(crate);
    }
    void TearDown() override {
        VChocolate::ClearLayerTints();
        LevelScreenTest::TearDown();
    }

    // The line as the console script sends it.
    void Command(const std::string& line) { ASSERT_EQ(Run("DoCommand('" + line + "')"), ""); }
    int Consoles() {
        int count = 0;
        for (TWindow* child : dialog->GetChildren()) count += child->GetName() == TString("console_window") ? 1 : 0;
        return count;
    }
    std::string ChildOrder() {
        std::string order;
        for (const auto& child : crate->GetChildList()) order += std::string(child->GetName().c_str()) + " ";
        return order;
    }

    ShopWindow* screen = nullptr;
    std::shared_ptr<VObject> crate;
    std::shared_ptr<VObject> lid;
    std::shared_ptr<VObject> box;
};

TEST_F(ConsoleTest, SpriteCommandsChangeTheNamedSprite) {
    crate->SetAnchor("hand");
    Command("setpos crate 12 34.5");
    EXPECT_EQ(crate->GetPosition(), TVec2(12, 34.5f));
    EXPECT_EQ(crate->GetAnchor(), TString());

    Command("SETVISIBLE crate 0");
    EXPECT_FALSE(crate->IsVisible());
    Command("setvisible crate 1");
    EXPECT_TRUE(crate->IsVisible());

    // An owned sprite is sorted again among its siblings.
    EXPECT_EQ(ChildOrder(), "lid box ");
    Command("setlayer lid 9");
    EXPECT_EQ(lid->GetLayer(), 9);
    EXPECT_EQ(ChildOrder(), "box lid ");
    Command("setlayer crate 4");
    EXPECT_EQ(crate->GetLayer(), 4);

    Command("setdelay crate 90");
    EXPECT_EQ(crate->GetDelay(), 90);
    EXPECT_EQ(box->GetDelay(), 90);

    Command("setscale crate 2 0.5");
    Command("setpos box 10 10");
    EXPECT_EQ(box->GetWorldPosition(), TVec2(12 + 20, 34.5f + 5));
}

TEST_F(ConsoleTest, ShortLinesUnknownSpritesAndCommandsChangeNothing) {
    crate->SetPosition(TVec2(5, 6));
    for (const char* line : {"setpos crate 1", "setpos ghost 1 2", "setvisible crate", "setscale crate 3", "",
                             "  ", "setvalue speed", "teleport crate 1 2"}) {
        Command(line);
    }
    EXPECT_EQ(crate->GetPosition(), TVec2(5, 6));
    EXPECT_TRUE(crate->IsVisible());
    box->SetPosition(TVec2(10, 10));
    EXPECT_EQ(box->GetWorldPosition(), TVec2(15, 16));
    EXPECT_EQ(VValueManager::Get()->Find("speed"), nullptr);
    EXPECT_TRUE(mLog.Contains("unknown command \"teleport\""));
}

TEST_F(ConsoleTest, ValuesAndTintsTakeTheirNumbersAndTextThatIsNoNumberReadsZero) {
    Command("setvalue speed 2.5");
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("speed", 0), 2.5f);
    Command("setvalue speed fast");
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("speed", 1), 0.0f);

    struct Case {
        const char* line;
        int layer;
        TColor4f colour;
    };
    for (Case c : {Case{"choctint topping 0.5 0.25", kToppingLayer, TColor4f(0.5f, 0.25f, 1, 1)},
                   Case{"choctint KInfusion", kInfusionLayer, TColor4f(1, 1, 1, 1)},
                   Case{"choctint chocolate 0.1 0.2 0.3 0.4", kChocolateLayer, TColor4f(0.1f, 0.2f, 0.3f, 1)}}) {
        Command(c.line);
        TColor4f tint;
        ASSERT_TRUE(VChocolate::GetLayerTint(c.layer, tint)) << c.line;
        EXPECT_EQ(tint, c.colour) << c.line;
    }
    VChocolate::ClearLayerTints();
    Command("choctint caramel 0 0 0");
    for (int layer = 0; layer < VChocolateSpec::kLayerTypes; ++layer) {
        TColor4f tint;
        EXPECT_FALSE(VChocolate::GetLayerTint(layer, tint)) << layer;
    }
}

TEST_F(ConsoleTest, AnUpgradeIsOwnedSavedAndShownAtOnce) {
    std::shared_ptr<VBackground> background = screen->GetBackground();
    ASSERT_NE(background, nullptr);
    EXPECT_STREQ(background->GetCurrentState().c_str(), "default");
    Command("getupgrade aesthetic kbackground1");
    EXPECT_TRUE(VUpgradeManager::Get()->IsUpgradeOwned("kBackground1", "aesthetic"));
    EXPECT_STREQ(background->GetCurrentState().c_str(), "upgrade1");
    Command("getupgrade Aesthetic KLAMP");
    EXPECT_TRUE(background->GetStatics().at("lamp")->IsVisible());
    // Saved: the next level of the location owns them too.
    dialog->DeleteChildren();
    screen = Screen();
    ASSERT_NE(screen, nullptr);
    EXPECT_STREQ(screen->GetBackground()->GetCurrentState().c_str(), "upgrade1");
    Command("getupgrade aesthetic kNothing");
    EXPECT_TRUE(mLog.Contains("no upgrade \"kNothing\""));
}

TEST_F(ConsoleTest, MinutesMoveTheLevelClockWithinItsRange) {
    RTimer* timer = screen->GetLevelTimer();
    ASSERT_NE(timer, nullptr);
    struct Case {
        int32_t before;
        const char* line;
        int32_t after;
    };
    for (Case c : {Case{1000, "addminutes 2", 121000}, Case{1000, "addminutes -5", 0},
                   Case{1000, "addminutes 40000", INT32_MAX}, Case{1000, "addminutes x", 1000}}) {
        timer->SetElapsedTime(c.before);
        Command(c.line);
        EXPECT_EQ(timer->GetElapsedTime(), c.after) << c.line;
    }
}

TEST_F(ConsoleTest, CtrlCOpensANewConsoleEachTimeAndCloseConsoleRemovesOne) {
    AddFile("scripts/console.lua",
            "MakeDialog { Window { name = 'console_frame', Window { name = 'console_window', w = 10, h = 10 } } }");
    EXPECT_FALSE(screen->OnKeyDown('C', 0));
    EXPECT_FALSE(screen->OnKeyDown('x', VSpriteManager::kCtrlFlag));
    EXPECT_EQ(Consoles(), 0);
    EXPECT_TRUE(screen->OnKeyDown('C', VSpriteManager::kCtrlFlag));
    EXPECT_TRUE(screen->OnKeyDown('c', VSpriteManager::kCtrlFlag | 1));
    EXPECT_EQ(Consoles(), 2);
    EXPECT_EQ(dialog->FindChildWindow("console_frame", -1), nullptr);
    Command("closeconsole");
    EXPECT_EQ(Consoles(), 1);
}

TEST_F(ConsoleTest, AConsoleScriptWithoutItsWindowIsLoggedAndTheKeyTaken) {
    size_t children = dialog->GetChildren().size();
    EXPECT_TRUE(screen->OnKeyDown('c', VSpriteManager::kCtrlFlag));
    EXPECT_TRUE(mLog.Contains("made no \"console_window\""));
    AddFile("scripts/console.lua", "MakeDialog { Window { name = 'something_else' } }");
    EXPECT_TRUE(screen->OnKeyDown('c', VSpriteManager::kCtrlFlag));
    EXPECT_EQ(dialog->GetChildren().size(), children);
    Command("closeconsole");
    EXPECT_EQ(dialog->GetChildren().size(), children);
}

class CheatTest : public ConsoleTest {
protected:
    std::string Cheat(int cheat, const std::string& value) {
        return Eval("DoCheatGame(" + std::to_string(cheat) + ", '" + value + "')");
    }
    int Total() { return VValueManager::Get()->GetInt("current_level_total", 0); }
};

TEST_F(CheatTest, TheFirstThreeRigTheTotalAndEndTheLevel) {
    struct Case {
        int cheat;
        int total;
        int rigged;
        int status;
    };
    // Rigged totals that grow, so each is the level's new best score.
    for (Case c : {Case{0, 20, 20, 0}, Case{0, 150, 99, 0}, Case{1, 30, 100, 1}, Case{1, 500, 199, 1},
                   Case{2, 30, 200, 2}, Case{2, 500, 500, 2}}) {
        SCOPED_TRACE(std::to_string(c.cheat) + " from " + std::to_string(c.total));
        VLevelManager::Get()->SetCurrentLevel(1);
        VLevelManager::Get()->SetLevelStatus(1, 0);
        dialog->DeleteChildren();
        screen = Screen();
        ASSERT_NE(screen, nullptr);
        SetValue("current_level_total", static_cast<float>(c.total));
        EXPECT_EQ(Cheat(c.cheat, ""), "");
        EXPECT_EQ(VLevelManager::Get()->GetBestScore(1), c.rigged);
        EXPECT_TRUE(screen->HasLevelEnded());
        RunQueued();
        EXPECT_EQ(Eval("shown.level_status"), std::to_string(c.status));
    }
}

TEST_F(CheatTest, FailingAnEndlessLevelAngersItsCustomers) {
    VGame::Get()->SetCurrentGameMode(2);
    dialog->DeleteChildren();
    screen = Screen();
    ASSERT_NE(screen, nullptr);
    SetValue("angry_this_level", 1);
    SetValue("current_level_total", 40);
    EXPECT_EQ(Cheat(0, ""), "");
    EXPECT_EQ(VValueManager::Get()->GetInt("angry_this_level", 0), 11);
    EXPECT_EQ(VValueManager::Get()->GetInt("served_this_level", 0), 5);
    EXPECT_EQ(Total(), 40);
    EXPECT_TRUE(screen->HasLevelEnded());
    RunQueued();
    EXPECT_EQ(Eval("shown.level_pass"), "endlevel_endless");

    // Money in endless mode goes to the level's takings only.
    SetValue("current_worth", 10);
    EXPECT_EQ(Cheat(3, "25"), "Added 25 to current and lifetime total");
    EXPECT_EQ(Total(), 65);
    EXPECT_EQ(VValueManager::Get()->GetInt("current_worth", 0), 10);
}

TEST_F(CheatTest, MoneyGoesToTheTakingsTheBankAndTheLifetimeTotal) {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    levels->SetCurrentLocationScore(1000);
    SetValue("current_worth", 1000);
    SetValue("current_level_total", 5);
    EXPECT_EQ(Cheat(3, "250"), "Added 250 to current and lifetime total");
    EXPECT_EQ(Total(), 255);
    EXPECT_EQ(levels->GetCurrentLocationScore(), 1250);
    EXPECT_EQ(VValueManager::Get()->GetInt("current_worth", 0), 1250);
    EXPECT_EQ(VValueManager::Get()->GetInt("total_worth", 0), 250);
    // Saved at once: a reload keeps it.
    LoadManagedValues();
    EXPECT_EQ(VValueManager::Get()->GetInt("total_worth", 0), 250);

    for (const char* nothing : {"0", "-4", "lots"}) {
        EXPECT_EQ(Cheat(3, nothing), TString::Format("Added %i to current and lifetime total", TString(nothing).ToInt()).c_str());
    }
    EXPECT_EQ(levels->GetCurrentLocationScore(), 1250);
    EXPECT_EQ(VValueManager::Get()->GetInt("total_worth", 0), 250);
}

TEST_F(CheatTest, JumpsAndProgressTakeLevelsOneToSixty) {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    struct Case {
        int cheat;
        const char* value;
        const char* answer;
        int current;
        int highest;
    };
    for (Case c : {Case{4, "7", "", 7, 0}, Case{4, "0", "Invalid Level", 7, 0}, Case{4, "61", "Invalid Level", 7, 0},
                   Case{4, "x", "Invalid Level", 7, 0}, Case{5, "12", "Set highest level complete to 12", 7, 12},
                   Case{5, "3", "Set highest level complete to 3", 7, 3}, Case{5, "61", "Invalid Level", 7, 3},
                   Case{6, "1", "Invalid Cheat", 7, 3}, Case{-1, "1", "Invalid Cheat", 7, 3}}) {
        SCOPED_TRACE(std::to_string(c.cheat) + " " + c.value);
        EXPECT_EQ(Cheat(c.cheat, c.value), c.answer);
        EXPECT_EQ(levels->GetCurrentLevel(), c.current);
        EXPECT_EQ(levels->GetHighestComplete(), c.highest);
    }
    // The jump sets the level up on this screen; no second screen opens.
    ASSERT_EQ(Run("function InsideGame(inside) gInside = inside end"), "");
    RunQueued();
    EXPECT_EQ(Eval("modal"), "nil");
    EXPECT_EQ(Eval("gInside"), "true");
    EXPECT_EQ(ShopWindow::GetCurrent(), screen);
    ASSERT_NE(screen->GetLevel(), nullptr);
    EXPECT_EQ(screen->GetLevel()->GetNumber(), 7);
    EXPECT_FALSE(screen->HasLevelEnded());
}

}  // namespace
