// The screen library's dialog road, headless: "DoModal" of a dialog file of
// 100 windows, read from memory, built, fitted, and closed by a command
// queued to the waiting script (target <= 2 ms); and a message posted to the
// window manager reaching a script that waits in "WaitForMessage", up to the
// script's next wait (target <= 20 us).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/app/frameservices.h"
#include "core/app/message.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/scriptservices.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "foundation/virtualfiles.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "tests/support/headlessservices.h"
#include "lua/lua.h"
#include "platform/flash/player.h"
#include "platform/os/timer.h"

namespace {

// A window manager on a recording renderer, with its window script.
class Screens {
public:
    Screens() {
        TRenderer::GetInstance()->SetBackEnd(std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600)));
        manager = std::make_unique<TWindowManager>(frame);
        manager->SetRootWindow(new TModalWindow());
        script = new TWindowScript(services);
        manager->AttachScript(script);
    }
    ~Screens() {
        manager.reset();
        frame.tasks.Clear();
        TRenderer::DestroyInstance();
    }

    void Idle() {
        TPlatformEvent event;
        event.type = TPlatformEvent::kIdle;
        manager->HandleEvent(event);
    }

    NoFrameServices frame;
    NoScriptServices services;
    std::unique_ptr<TWindowManager> manager;
    TWindowScript* script = nullptr;
};

std::string HundredWindows() {
    std::string text = "MakeDialog{\n";
    for (int i = 0; i < 100; ++i) {
        text += "  Window{ name = 'w" + std::to_string(i) + "', x = " + std::to_string(i % 10 * 80) +
                ", y = " + std::to_string(i / 10 * 60) + ", w = 80, h = 60 },\n";
    }
    return text + "}\n";
}

void BM_DoModalOfAHundredWindows(benchmark::State& state) {
    const std::string dialog = HundredWindows();
    RegisterMemoryFile("scripts/hundred.lua", dialog.data(), dialog.size());
    Screens screens;
    lua_State* L = screens.script->GetState();
    screens.script->DoLuaString("function CloseDialog() CloseWindow(1) end");
    lua_pushstring(L, "CloseDialog");
    lua_rawget(L, LUA_GLOBALSINDEX);
    TLuaFunction close(L);
    for (auto _ : state) {
        screens.script->DoLuaString("return function() DoModal('scripts/hundred.lua') end");
        if (screens.manager->GetTopModal()->GetChildren().size() != 100) {
            state.SkipWithError("the dialog was not built");
            break;
        }
        screens.script->QueueMessage(nullptr, &close);
        // The close message, the deletion of the popped modal, its kModalClosed.
        for (int tick = 0; tick < 10 && screens.script->IsYielded(); ++tick) screens.Idle();
        if (screens.script->IsYielded()) {
            state.SkipWithError("the dialog did not close");
            break;
        }
    }
    RegisterMemoryFile("scripts/hundred.lua", nullptr, 0);
}
BENCHMARK(BM_DoModalOfAHundredWindows)->Unit(benchmark::kMicrosecond);

void BM_MessageToAWaitingScript(benchmark::State& state) {
    Screens screens;
    screens.script->DoLuaString("return function() while true do WaitForMessage() end end");
    for (auto _ : state) {
        screens.manager->PostMessage(new TMessage(TMessage::kUserMessageBase, "posted", nullptr));
        screens.manager->DeliverMessages();
    }
    if (!screens.script->IsYielded()) state.SkipWithError("the script stopped waiting");
}
BENCHMARK(BM_MessageToAWaitingScript);

}  // namespace

BENCHMARK_MAIN();
