// Shared fixture of the widget tests: a window manager with the real window
// script and its screen library, the engine widgets registered, textures on
// the recording display device, images kept as memory files, and a platform
// whose clipboard the test fills.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "widgets/widgetclasses.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "tests/core/scripting/luarunning.h"
#include "tests/core/windows/platformtesting.h"
#include "tests/core/windows/nullscriptservices.h"
#include "tests/core/windows/windowmanagertesting.h"
#include "tests/graphics/texturetesting.h"
#include "tests/support/luatesting.h"


// Builds a window and its children as the screen library's dialogs do.
inline const char kBuildWindow[] =
    "function BuildWindow(t) GenericCreate(t) for i, child in ipairs(t) do BuildWindow(child) end "
    "PostCreate(t) PopWindow() end "
    "gMessageQueue = gMessageQueue or {} gCommandQueue = gCommandQueue or {}";

class WidgetTest : public WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        SetAssetManager(&assets);
        SetTextureDataFactory([this] { return std::make_unique<TDxTextureData>(owner); });
        RegisterWidgetClasses();
        script = new TWindowScript(scriptServices);
        manager->AttachScript(script);  // the frame task list owns it from here
        ASSERT_EQ(Run(kBuildWindow), "");
    }
    void TearDown() override {
        WindowManagerTest::TearDown();
        services.tasks.Clear();
        SetTextureDataFactory(nullptr);
        SetAssetManager(nullptr);
        for (const auto& file : files) RegisterMemoryFile(file.first.c_str(), nullptr, 0);
    }

    // Runs statements on the window script; returns the error text, empty on success.
    std::string Run(const std::string& code) {
        return RunLua(script->GetState(), code);
    }
    // The expression's value through tostring.
    std::string Eval(const std::string& expression) {
        return EvalLua(script->GetState(), expression);
    }
    // A dialog pushed by the script, with the windows of the description
    // list (each naming its "typename", children in its array part) built
    // inside it.
    TModalWindow* Dialog(const std::string& windows) {
        EXPECT_EQ(Run("PushModal('dialog') for i, t in ipairs({ " + windows + " }) do BuildWindow(t) end"), "");
        return manager->GetTopModal();
    }
    // Delivers the queued messages; the script's queue then holds those no
    // window took, as "type:name" in posting order. The queue is emptied.
    std::string Messages() {
        manager->DeliverMessages();
        std::string list = Eval(
            "(function() local s = '' for i, m in ipairs(gMessageQueue) do "
            "s = s .. (i > 1 and ' ' or '') .. m.type .. ':' .. m.name end gMessageQueue = {} return s end)()");
        return list;
    }
    // A solid image as a memory file, with or without an alpha channel.
    void Image(const std::string& name, int width, int height, uint32_t argb, bool withAlpha = true) {
        PngSpec spec = RgbaPng(width, height, [argb](int, int) { return argb; });
        files[name] = EncodePng(withAlpha ? spec : WithoutAlpha(spec));
        RegisterMemoryFile(name.c_str(), files[name].data(), files[name].size());
    }
    template <typename ColorAt>
    void Image(const std::string& name, int width, int height, ColorAt colorAt) {
        files[name] = EncodePng(RgbaPng(width, height, colorAt));
        RegisterMemoryFile(name.c_str(), files[name].data(), files[name].size());
    }
    void Mouse(int32_t type, int x, int y) { manager->HandleEvent(Event(type, x, y)); }
    void Click(int x, int y) {
        Mouse(TPlatformEvent::kMouseMove, x, y);
        Mouse(TPlatformEvent::kMouseDown, x, y);
        Mouse(TPlatformEvent::kMouseUp, x, y);
    }
    void Key(int key, int modifiers = 0) { manager->HandleEvent(Event(TPlatformEvent::kKeyDown, 0, 0, key, modifiers)); }
    void Type(const std::string& text) {
        for (char c : text) manager->HandleEvent(Event(TPlatformEvent::kChar, 0, 0, static_cast<unsigned char>(c)));
    }

    TestLog log;
    TAssetManager assets;
    TFakeTextureOwner owner;
    NullScriptServices scriptServices;
    FakePlatform platform;
    TWindowScript* script = nullptr;
    std::map<std::string, std::string> files;
};
