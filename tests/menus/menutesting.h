// The front-end screen tests' fixture: the shell fixture with a dialog on
// its display, a string table of the labels the screens use, a platform
// link that records the pages it is asked to open, and screens built from
// Lua descriptions with their children before their post-initialisation.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "platform/audio/manualdevice.h"
#include "sound/soundmanager.h"
#include "tests/core/windows/platformtesting.h"
#include "tests/shell/shelltesting.h"

class MenuTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        if (IsSkipped()) return;
        mPlatform->SetDisplay(800, 600, false);
        dialog = new TModalWindow();
        dialog->SetSize(800, 600);
        TWindowManager::GetInstance()->PushModal(dialog);
        mStringSheet = "<Workbook><Worksheet><Table>" + Row("mainmenu_welcome", "Welcome%1%") +
                       Row("app_version", "Version %1%") + Row("help_title_0", "First page") +
                       Row("help_title_9", "Last page") + "</Table></Worksheet></Workbook>";
        RegisterMemoryFile("menu_strings.xml", mStringSheet.data(), mStringSheet.size());
        ASSERT_TRUE(strings.Load("menu_strings.xml"));
        link = std::make_unique<FakePlatform>();
        link->table = &strings;
    }
    void TearDown() override {
        link.reset();
        mDescriptions.clear();
        if (sound) {
            VSoundManager::Release();
            mPlatform->GetTaskList().Clear();
            SetSoundManager(nullptr);
            sound.reset();
        }
        ShellTest::TearDown();
    }

    // A sound engine on a device that plays only when told, and the game's
    // sound manager over it.
    void StartSound() {
        sound = std::make_unique<TSoundManager>(std::make_unique<audio::ManualDevice>());
        ASSERT_TRUE(sound->Start());
        SetSoundManager(sound.get());
        VSoundManager::Create();
    }

    static std::string Row(const std::string& label, const std::string& text) {
        return "<Row><Cell><Data>" + label + "</Data></Cell><Cell><Data>" + text + "</Data></Cell></Row>";
    }

    // A window of the class inside the parent (the dialog by default), its
    // description read; Finish runs its post-initialisation.
    template <typename Window>
    Window* Begin(const std::string& description, TWindow* parent = nullptr) {
        EXPECT_EQ(Run("description = " + description), "");
        TLuaTable* table = TWindowManager::GetInstance()->GetScript()->GetGlobalTable("description");
        auto* window = new Window();
        mDescriptions[window].reset(table);
        (parent ? parent : dialog)->AddChild(window, false);
        window->Init(TWindowStyle(table));
        return window;
    }
    void Finish(TWindow* window) { window->PostInit(TWindowStyle(mDescriptions[window].get())); }
    template <typename Window>
    Window* Make(const std::string& description, TWindow* parent = nullptr) {
        Window* window = Begin<Window>(description, parent);
        Finish(window);
        return window;
    }

    TModalWindow* dialog = nullptr;
    TStringTable strings;
    std::unique_ptr<FakePlatform> link;
    std::unique_ptr<TSoundManager> sound;

private:
    std::string mStringSheet;
    std::map<TWindow*, std::unique_ptr<TLuaTable>> mDescriptions;
};
