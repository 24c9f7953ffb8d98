// The game widget tests' fixture: a window manager with a root screen and a
// pushed dialog on a recording 800x600 renderer, a window script with the
// dialog functions, and stand-in images of chosen sizes in the texture cache.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/luaobject.h"
#include "core/windows/windowscript.h"
#include "core/windows/windowstyle.h"
#include "foundation/assetmanager.h"
#include "graphics/texture.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "tests/core/scripting/luarunning.h"
#include "tests/core/windows/nullscriptservices.h"
#include "tests/core/windows/windowmanagertesting.h"
#include "tests/support/luatesting.h"

// A surface that keeps the sizes it is given, and pixels in memory for the
// surfaces it makes; the recording back end reads no more of a texture.
class SizedTextureData : public TTextureData {
public:
    SizedTextureData() = default;
    SizedTextureData(uint32_t width, uint32_t height, uint32_t surfaceWidth, uint32_t surfaceHeight) {
        mWidth = width;
        mHeight = height;
        mSurfaceWidth = surfaceWidth;
        mSurfaceHeight = surfaceHeight;
    }
    void Release() override {}
    bool Restore() override { return true; }
    bool Upload(int, int, const uint32_t*) override { return true; }
    bool CreateSurface(uint32_t width, uint32_t height, bool) override {
        mWidth = mSurfaceWidth = width;
        mHeight = mSurfaceHeight = height;
        pixels.assign(static_cast<size_t>(width) * height, 0);
        return true;
    }
    bool Blit(int, int, const TRect*, TTextureData*) override { return true; }
    void Clear() override {}
    bool Lock(uint32_t*& locked, int& pitch) override {
        if (pixels.empty()) return false;
        locked = pixels.data();
        pitch = static_cast<int>(mSurfaceWidth);
        return true;
    }
    void Unlock() override {}
    bool HasSurface() const override { return true; }

    std::vector<uint32_t> pixels;
};

class SizedTexture : public TTexture {
public:
    SizedTexture(uint32_t width, uint32_t height, uint32_t surfaceWidth, uint32_t surfaceHeight)
        : TTexture(std::make_unique<SizedTextureData>(width, height, surfaceWidth, surfaceHeight)) {}
};


class WidgetsTest : public WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        SetAssetManager(&assets);
        SetTextureDataFactory([] { return std::make_unique<SizedTextureData>(); });
        script = new TWindowScript(scriptServices);
        manager->AttachScript(script);  // the task list owns it from here
        ASSERT_EQ(Run("function Creating() end "
                      "function DoWindow(t) GenericCreate(t) PopWindow() end "
                      "gMessageQueue = {} gCommandQueue = {}"),
                  "");
        dialog = Push("dialog", TRect(0, 0, 800, 600));
    }
    void TearDown() override {
        manager.reset();
        services.tasks.Clear();
        images.clear();
        SetTextureDataFactory(nullptr);
        SetAssetManager(nullptr);
        WindowManagerTest::TearDown();
    }

    // An image that the texture cache gives for the name, by default with
    // a surface of the image's size.
    std::shared_ptr<TTexture> AddImage(const char* name, int width, int height, int surfaceWidth = 0,
                                       int surfaceHeight = 0) {
        auto image = std::make_shared<SizedTexture>(width, height, surfaceWidth ? surfaceWidth : width,
                                                    surfaceHeight ? surfaceHeight : height);
        assets.RegisterAsset(TTexture::MakeCacheKey(name, false, false, false), image);
        images.push_back(image);
        return image;
    }

    // Runs statements on the script's state; the error text, or "".
    std::string Run(const std::string& code) {
        return RunLua(script->GetState(), code);
    }
    // The expression's value through tostring.
    std::string Eval(const std::string& expression) {
        return EvalLua(script->GetState(), expression);
    }

    // A window of the class made from a Lua description inside the parent
    // (the dialog by default), through Init and PostInit.
    template <typename Window>
    Window* Make(const std::string& description, TWindow* parent = nullptr) {
        EXPECT_EQ(Run("description = " + description), "");
        std::unique_ptr<TLuaTable> table(script->GetGlobalTable("description"));
        auto* window = new Window();
        (parent ? parent : dialog)->AddChild(window, false);
        TWindowStyle style(table.get());
        window->Init(style);
        window->PostInit(style);
        return window;
    }

    // The recorded calls of a kind, in order.
    std::vector<TRecordingRenderBackEnd::TCall> Calls(TRecordingRenderBackEnd::TCallKind kind) const {
        std::vector<TRecordingRenderBackEnd::TCall> found;
        for (const auto& call : recorder->GetCalls()) {
            if (call.kind == kind) found.push_back(call);
        }
        return found;
    }
    // Draws the window alone (its subtree too) inside a frame.
    void DrawWindow(TWindow* window) {
        recorder->ClearCalls();
        ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
        TWindow::DrawWindowTree(window, TWindow::kDrawAll);
        TRenderer::GetInstance()->EndDraw(false);
    }

    TestLog log;
    NullScriptServices scriptServices;
    TAssetManager assets;
    std::vector<std::shared_ptr<TTexture>> images;
    TWindowScript* script = nullptr;
    RecordingModal* dialog = nullptr;
};
