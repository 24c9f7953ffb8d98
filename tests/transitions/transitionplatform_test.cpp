// Transitions on a whole platform (scripted window, recording display, fake
// timer): the monitor and the invalidators run from the platform task list
// and a cross-fade's refresh from the restore list.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/app/platformevent.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/windowmanager.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "game/transitions/crossfade.h"
#include "game/transitions/transitionmanager.h"
#include "game/transitions/transitions.h"
#include "lua/lauxlib.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "platform/window/scriptedwindow.h"
#include "tests/runtime/platformfolder.h"
#include "tests/core/scripting/luarunning.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

namespace {

class TransitionPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&mTimer);
        auto window = std::make_unique<window::ScriptedWindow>();
        window->focused = true;  // frames at the full rate
        auto device = std::make_unique<display::RecordingDevice>();
        mDevice = device.get();
        auto data = mFolder.MakeData(std::move(window), std::move(device));
        mPlatform = std::make_unique<TPlatform>(std::move(data));
        mPlatform->SetDisplay(800, 600, false);
        ASSERT_EQ(Run("if not Yield then Yield = coroutine.yield end gCommandQueue = gCommandQueue or {}"), "");
        RTransitionManager::Create();
    }

    void TearDown() override {
        RTransitionManager::Destroy();
        mPlatform.reset();
        os::SetCurrentTimer(nullptr);
    }

    TWindowManager* Manager() const { return mPlatform->GetWindowManager(); }

    std::string Run(const std::string& code) const {
        return RunLua(Manager()->GetScript()->GetState(), code);
    }
    std::string Eval(const std::string& expression) const {
        EXPECT_EQ(Run("evaluated = tostring(" + expression + ")"), "");
        lua_State* L = Manager()->GetScript()->GetState();
        LuaPopState guard(L);
        lua_pushstring(L, "evaluated");
        lua_rawget(L, LUA_GLOBALSINDEX);
        return LuaToString(L, -1).c_str();
    }

    // One pass of the game loop every 16 ms: the platform's tasks, then an
    // idle tick of the window manager, which draws a frame when one is due.
    void Pass() {
        mTimer.Advance(16);
        mPlatform->GetTaskList().RunAll(0);
        TPlatformEvent idle;
        idle.type = TPlatformEvent::kIdle;
        Manager()->HandleEvent(idle);
    }

    os::FakeTimer mTimer{5000};
    TestPlatformFolder mFolder;
    TestLog mLog;
    std::unique_ptr<TPlatform> mPlatform;
    display::RecordingDevice* mDevice = nullptr;
};

TEST_F(TransitionPlatformTest, ATransitionRunsToItsEndOnThePlatformsOwnTasks) {
    ASSERT_EQ(Run("coroutine.resume(coroutine.create(function() r = DoTransition(1001) end))"), "");
    ASSERT_TRUE(RTransitionManager::Get()->IsBusy());
    int frames = mDevice->Count("Present");
    for (int i = 0; i < 60 && Eval("r") == "nil"; ++i) Pass();
    EXPECT_EQ(Eval("r"), "true");
    // The invalidator kept frames coming throughout.
    EXPECT_GE(mDevice->Count("Present") - frames, 30);
    EXPECT_FALSE(RTransitionManager::Get()->IsBusy());
    Pass();
    EXPECT_FALSE(Manager()->IsOverlayActive());
}

TEST_F(TransitionPlatformTest, ACrossFadeRendersItsScreenAgainAfterTheDisplayWasRebuilt) {
    ASSERT_TRUE(RTransitionManager::Get()->PlayTransition(kCrossFadeOut, ""));
    auto* fade = dynamic_cast<RCrossFade*>(RTransitionManager::Get()->GetCurrent());
    ASSERT_NE(fade, nullptr);
    std::shared_ptr<TTexture> before = fade->GetSnapshot();
    ASSERT_TRUE(before);
    mPlatform->RunRestoreTasks();
    EXPECT_NE(fade->GetSnapshot(), before);
    for (int i = 0; i < 30 && RTransitionManager::Get()->IsBusy(); ++i) Pass();
    EXPECT_FALSE(RTransitionManager::Get()->IsBusy());
    // The ended fade left the restore list with the overlay.
    Pass();
    Pass();
    mPlatform->RunRestoreTasks();
    EXPECT_FALSE(Manager()->IsOverlayActive());
}

}  // namespace
