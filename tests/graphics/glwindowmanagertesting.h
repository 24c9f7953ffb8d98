// Shared fixture of the tests that build dialogs through the window script
// and draw them with the window manager's frame pass on OpenGL: the manager
// on a TScreen, a window script, images registered as memory files, and one
// frame at a time.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/app/platformevent.h"
#include "core/scripting/luaobject.h"
#include "core/windows/screen.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "tests/core/windows/glframeservices.h"
#include "tests/core/windows/nullscriptservices.h"
#include "tests/core/windows/windowrecording.h"
#include "tests/graphics/dxgltesting.h"
#include "tests/graphics/image/imagetesting.h"

class GlWindowManagerTest : public DxGlTest {
protected:
    void SetUp() override {
        DxGlTest::SetUp();
        if (HasFatalFailure()) return;
        SetAssetManager(&mAssets);
        mServices = std::make_unique<GlFrameServices>(*mRenderer, *mHandler);
        mManager = std::make_unique<TWindowManager>(*mServices);
        mManager->SetRootWindow(new TScreen());
        mScript = new TWindowScript(mScriptServices);
        mManager->AttachScript(mScript);  // the frame task list owns it from here
    }
    void TearDown() override {
        mManager.reset();
        if (mServices) mServices->tasks.Clear();
        SetAssetManager(nullptr);
        for (const auto& file : mFiles) RegisterMemoryFile(file.first.c_str(), nullptr, 0);
        DxGlTest::TearDown();
    }

    // An opaque PNG of the size whose pixel (x, y) is colorAt(x, y), as a file of that name.
    template <typename ColorAt>
    void Image(const std::string& name, int width, int height, ColorAt colorAt) {
        mFiles[name] = EncodePng(WithoutAlpha(RgbaPng(width, height, colorAt)));
        RegisterMemoryFile(name.c_str(), mFiles[name].data(), mFiles[name].size());
    }
    // Runs the chunk in the window script; "" on success, else the error.
    std::string Run(const std::string& code) {
        lua_State* L = mScript->GetState();
        LuaPopState guard(L);
        if (luaL_loadbuffer(L, code.data(), code.size(), "test") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
            return LuaToString(L, -1).c_str();
        }
        return "";
    }
    // An idle tick late enough for a frame.
    void Frame() {
        mServices->now += TWindowManager::kFrameInterval;
        mManager->HandleEvent(Event(TPlatformEvent::kIdle));
    }

    TAssetManager mAssets;
    std::unique_ptr<GlFrameServices> mServices;
    std::unique_ptr<TWindowManager> mManager;
    NullScriptServices mScriptServices;
    TWindowScript* mScript = nullptr;
    std::map<std::string, std::string> mFiles;
};
