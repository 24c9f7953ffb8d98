// The level screen's widgets on the level fixture: a dialog pushed on the
// platform's display, windows built inside it from Lua descriptions, and the
// named values they read.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "game/shell/valuemanager.h"
#include "tests/level/leveltesting.h"

class ShopTest : public LevelTestBase {
protected:
    void SetUp() override {
        LevelTestBase::SetUp();
        if (IsSkipped()) return;
        mPlatform->SetDisplay(800, 600, false);
        dialog = new TModalWindow();
        dialog->SetSize(800, 600);
        TWindowManager::GetInstance()->PushModal(dialog);
    }
    void TearDown() override {
        mDescriptions.clear();
        LevelTestBase::TearDown();
    }

    // A window of the class inside the dialog, through Init and PostInit.
    template <typename Window>
    Window* Make(const std::string& description) {
        EXPECT_EQ(Run("description = " + description), "");
        TLuaTable* table = TWindowManager::GetInstance()->GetScript()->GetGlobalTable("description");
        auto* window = new Window();
        mDescriptions[window].reset(table);
        dialog->AddChild(window, false);
        window->Init(TWindowStyle(table));
        window->PostInit(TWindowStyle(table));
        return window;
    }

    static void SetValue(const char* name, float value) { VValueManager::Get()->SetValue(name, value, false); }

    TModalWindow* dialog = nullptr;

private:
    std::map<TWindow*, std::unique_ptr<TLuaTable>> mDescriptions;
};
