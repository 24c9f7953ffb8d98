// Tutorials on the front-end fixture: a player with her progress blocks, a
// level screen (a sprite window in the pushed dialog) whose sprite manager
// the tutorial manager uses, tutorials described by Lua tables, and frames
// of 16 ms on the fake timer that run the level's and the tutorial window's
// updates.
#pragma once

#include <memory>
#include <string>

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "core/windows/windowmanager.h"
#include "game/objects/object.h"
#include "game/progression/tutorial.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/tutorialstep.h"
#include "game/progression/tutorialwindow.h"
#include "game/shell/block.h"
#include "game/shell/blockstore.h"
#include "game/shell/luastyle.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/spritewindow.h"
#include "tests/menus/menutesting.h"

class TutorialFixture : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        CreateGameWithUser();
        VGame::Get()->LoadUserProgress();
        level = Make<VSpriteWindow>("{ name = 'shop_window', w = 800, h = 600 }");
        tutorials = VTutorialManager::Get();
        tutorials->SetSpriteManager(Level());
    }
    void TearDown() override {
        tutorials.reset();
        ReleaseManagerSingleton<VTutorialManager>();
        MenuTest::TearDown();
    }

    const std::shared_ptr<VSpriteManager>& Level() const { return level->GetSpriteManager(); }

    // Runs the chunk, which sets the global "tutorials", and loads its table.
    void Load(const std::string& code) {
        ASSERT_EQ(Run(code), "");
        std::shared_ptr<VLuaStyle> style =
            VLuaStyle::Create(TWindowManager::GetInstance()->GetScript()->GetGlobalTable("tutorials"), nullptr);
        tutorials->LoadTutorials(style->GetLuaTable(), style);
    }
    std::shared_ptr<VTutorial> Find(const char* name) { return tutorials->FindTutorial(name); }

    // A visible object of the level, 40 pixels square, at the point.
    std::shared_ptr<VObject> LevelObject(const char* name, float x = 100, float y = 100) {
        auto object = VObject::Create(name, "test", 0);
        object->SetPosition(TVec2(x, y));
        level->AddSprite(object);
        return object;
    }

    // The open tutorial window, or null.
    VTutorialWindow* Window() const { return dynamic_cast<VTutorialWindow*>(dialog->FindChildWindow("tutorial_window", 1)); }

    // Moves the time on and runs one update of the level and the tutorial window.
    void Frame(uint32_t milliseconds = 16) {
        mTimer.Advance(milliseconds);
        level->Animate();
        if (VTutorialWindow* window = Window()) window->Animate();
    }
    // Frames of 16 ms until the time has passed.
    void Play(uint32_t milliseconds) {
        for (uint32_t passed = 0; passed < milliseconds; passed += 16) Frame(16);
    }

    static std::string Stat(const char* key) { return TGameState::Get()->GetState(key).c_str(); }
    static std::shared_ptr<VBinaryBlock> Progress() {
        return VGame::Get()->GetBlocks()->GetBinaryBlock("tutorials");
    }
    static std::shared_ptr<RIntBlock> ShowTutorials() {
        return VGame::Get()->GetBlocks()->GetIntBlock("show_tutorials");
    }
    // Delivers the posted button presses.
    static void Deliver() { TWindowManager::GetInstance()->DeliverMessages(); }

    VSpriteWindow* level = nullptr;
    std::shared_ptr<VTutorialManager> tutorials;
};
