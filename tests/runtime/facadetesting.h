// The platform facade built whole for the runtime tests: in a temporary
// working folder with its "assets" folder and the data folders below it, on a
// scripted window and a recording display device.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "platform/display/recordingdevice.h"
#include "platform/window/scriptedwindow.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "tests/support/tempfolder.h"

class FacadeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        mOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(mTemp.Path());
        for (const char* folder : {"assets", "user", "common", "desktop", "log"}) {
            std::filesystem::create_directories(mTemp / folder);
        }
        ClearSettings();
        ClearVirtualFiles();
    }

    void TearDown() override {
        mPlatform.reset();
        SetLogFolder(nullptr);
        ClearSettings();
        ClearVirtualFiles();
        SetDataFolders("", "", "");
        std::filesystem::current_path(mOldFolder);
    }

    TPlatformSetup MakeSetup(const char* commandLine = "") const {
        TPlatformSetup setup;
        setup.commandLine = commandLine;
        setup.userFolder = (mTemp / "user").c_str();
        setup.commonFolder = (mTemp / "common").c_str();
        setup.desktopFolder = (mTemp / "desktop").c_str();
        setup.gameName = "Vandermoot";
        setup.gameVersion = "1.2.3.4";
        setup.internalName = "vdm";
        return setup;
    }

    TPlatform& Build(const TPlatformSetup& setup) {
        auto window = std::make_unique<window::ScriptedWindow>();
        mWindow = window.get();
        auto device = std::make_unique<display::RecordingDevice>();
        mDevice = device.get();
        return Build(setup, std::move(window), std::move(device));
    }

    TPlatform& Build(const TPlatformSetup& setup, std::unique_ptr<window::Window> window,
                     std::unique_ptr<display::Device> device) {
        auto data = std::make_unique<TPlatformData>(setup, std::move(window));
        data->SetDisplayDevice(std::move(device));
        data->SetSleepFunction([](uint32_t) {});
        if (mPlayers) data->SetMoviePlayerFactory(mPlayers);
        mPlatform = std::make_unique<TPlatform>(std::move(data));
        return *mPlatform;
    }

    TPlatform& Build() { return Build(MakeSetup()); }

    lua_State* ScriptState() const {
        return TWindowManager::GetInstance()->GetWindowScript()->GetScript()->GetState();
    }

    // Runs a chunk in the window script; false when it fails.
    bool RunScript(const std::string& code) const {
        lua_State* L = ScriptState();
        int top = lua_gettop(L);
        bool ok = luaL_loadbuffer(L, code.data(), code.size(), "test") == 0 && lua_pcall(L, 0, 0, 0) == 0;
        lua_settop(L, top);
        return ok;
    }

    TempFolder mTemp;
    ScopedEnv mAudio{"SDL_AUDIODRIVER", "dummy"};
    std::filesystem::path mOldFolder;
    TPlatformData::TMoviePlayerFactory mPlayers;
    window::ScriptedWindow* mWindow = nullptr;
    display::RecordingDevice* mDevice = nullptr;
    std::unique_ptr<TPlatform> mPlatform;
};
