// Shared by the window script and screen library tests: script services set
// by hand, and a window manager on a recording 800x600 renderer whose script
// tests run Lua on.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/windows/scriptservices.h"
#include "core/windows/windowscript.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "platform/flash/fakeplayer.h"
#include "tests/core/scripting/luarunning.h"
#include "tests/support/luatesting.h"
#include "windowmanagertesting.h"

// A player that counts the live players it belongs to.
class CountedPlayer : public flash::FakePlayer {
public:
    explicit CountedPlayer(int& alive) : mAlive(alive) { ++mAlive; }
    ~CountedPlayer() override { --mAlive; }

private:
    int& mAlive;
};

class FakeScriptServices : public TScriptServices {
public:
    uint32_t Timer() const override { return now; }
    bool PutClipboardText(const TString& text) override {
        clipboard = text.c_str();
        return true;
    }
    const TStringTable* GetStringTable() const override { return nullptr; }
    std::unique_ptr<flash::Player> CreateMoviePlayer() override {
        auto player = std::make_unique<CountedPlayer>(players);
        lastPlayer = player.get();
        return player;
    }

    uint32_t now = 0;
    std::string clipboard;
    int players = 0;
    // The player made last; it lives while its movie does.
    flash::FakePlayer* lastPlayer = nullptr;
};

class WindowScriptFixture : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&timer);
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(backEnd));
        manager = std::make_unique<TWindowManager>(frame);
        root = new TModalWindow();
        root->SetName("root");
        manager->SetRootWindow(root);
        script = new TWindowScript(services);
        manager->AttachScript(script);  // the platform task list owns it from here
    }
    void TearDown() override {
        manager.reset();
        frame.tasks.Clear();
        TRenderer::DestroyInstance();
        os::SetCurrentTimer(nullptr);
    }

    // Runs statements on the script's state itself, past the coroutine;
    // returns the error text, empty on success.
    std::string Run(const std::string& code) {
        return RunLua(script->GetState(), code);
    }
    // The expression's value through tostring.
    std::string Eval(const std::string& expression) {
        return EvalLua(script->GetState(), expression);
    }
    // Starts the function the source returns as the script's coroutine.
    void StartCoroutine(const std::string& source) {
        ASSERT_EQ(script->DoLuaString(("return function() " + source + " end").c_str()), 0);
    }
    // A pinned global function.
    std::unique_ptr<TLuaFunction> Function(const char* name) {
        lua_State* L = script->GetState();
        lua_pushstring(L, name);
        lua_rawget(L, LUA_GLOBALSINDEX);
        return std::make_unique<TLuaFunction>(L);
    }
    void Flush() { manager->HandleEvent(Event(TPlatformEvent::kRedraw)); }

    os::FakeTimer timer{1000};
    FakeFrameServices frame;
    FakeScriptServices services;
    TRecordingRenderBackEnd* recorder = nullptr;
    std::unique_ptr<TWindowManager> manager;
    TModalWindow* root = nullptr;
    TWindowScript* script = nullptr;
    TestLog log;
};
