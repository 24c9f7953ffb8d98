// The game shell's tests run on a whole platform in a temporary working
// folder (scripted window, recording display or OpenGL, fake timer), with the game's
// preferences in its user folder and the debug log in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "core/scripting/script.h"
#include "core/windows/windowmanager.h"
#include "foundation/prefs.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/shell/game.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/valueconditions.h"
#include "game/shell/valuemanager.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "platform/display/gldevice.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "platform/window/scriptedwindow.h"
#include "platform/window/sdlwindow.h"
#include "tests/runtime/platformfolder.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&mTimer);
        auto data = mOnOpenGl ? mFolder.MakeData(std::make_unique<window::SdlWindow>(),
                                                 std::make_unique<display::GlDevice>())
                              : mFolder.MakeData();
        mPlatform = std::make_unique<TPlatform>(std::move(data));
        if (mOnOpenGl) mPlatform->OpenWindow();
        SetSetting(kSettingEncryptionKey, "c2hlbGx0ZXN0");
    }

    void TearDown() override {
        VSoundManager::Release();
        ReleaseManagerSingleton<VLevelManager>();
        ReleaseManagerSingleton<VValueManager>();
        ReleaseManagerSingleton<VUpgradeManager>();
        VGame::Destroy();
        SetValueConditions(nullptr);
        mPlatform.reset();
        os::SetCurrentTimer(nullptr);
    }

    TPrefs& Prefs() { return *VGame::Get()->GetPrefs(); }

    // A game whose first user is current.
    void CreateGameWithUser() {
        VGame::Create();
        Prefs().SetString(0, "name", "Ada", true);
        // Users of another data version are removed when the next game starts.
        Prefs().SetString(0, "userversionnumber", "1.0", true);
        Prefs().SetInt(TPrefs::kGlobal, "curuser", 0, true);
    }

    // Registers the bytes as a file under the name for the rest of the test.
    void AddFile(const std::string& name, const std::string& bytes) {
        const std::string& kept = mFiles.emplace_back(bytes);
        static const char kNothing = 0;
        RegisterMemoryFile(name.c_str(), kept.empty() ? &kNothing : kept.data(), kept.size());
    }

    lua_State* Script() const { return TWindowManager::GetInstance()->GetScript()->GetState(); }

    // Runs the chunk; "" on success, else the error.
    std::string Run(const std::string& code) const {
        lua_State* L = Script();
        int top = lua_gettop(L);
        std::string error;
        if (luaL_loadbuffer(L, code.data(), code.size(), "test") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
            error = lua_tostring(L, -1) ? lua_tostring(L, -1) : "error";
        }
        lua_settop(L, top);
        return error;
    }

    // The global's value after running the chunk, as text ("nil", "true", numbers).
    std::string Eval(const std::string& expression) const {
        EXPECT_EQ(Run("result = tostring((" + expression + "))"), "");
        lua_State* L = Script();
        lua_pushstring(L, "result");
        lua_gettable(L, LUA_GLOBALSINDEX);
        std::string text = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
        lua_pop(L, 1);
        return text;
    }

    // Set before SetUp: the platform draws with OpenGL in an offscreen SDL
    // window instead of on the recording display.
    bool mOnOpenGl = false;
    os::FakeTimer mTimer{5000};
    TestPlatformFolder mFolder;
    TempFolder& mTemp = mFolder.temp;
    TestLog mLog;
    std::deque<std::string> mFiles;
    std::unique_ptr<TPlatform> mPlatform;
};
