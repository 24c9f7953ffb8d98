// Game objects on the recording render back end, described by Lua tables of
// a scratch script, with images the tests write as PNG files.
#pragma once

#include <memory>
#include <string>

#include "core/scripting/script.h"
#include "game/objects/object.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/luastyle.h"
#include "tests/sprites/spritetesting.h"

class ObjectTest : public SpriteTest {
protected:
    void TearDown() override {
        ReleaseManagerSingleton<VAssetManager>();
        SpriteTest::TearDown();
    }

    // Runs the chunk that defines the descriptions.
    void Define(const std::string& code) { ASSERT_EQ(script.DoLuaString(code.c_str()), 0) << code; }

    // The global table as a description without parent.
    std::shared_ptr<VLuaStyle> Describe(const char* global) {
        return VLuaStyle::Create(script.GetGlobalTable(global), nullptr);
    }

    // A new object loaded from the global description.
    std::shared_ptr<VObject> Loaded(const char* global, const char* name = "thing") {
        auto object = VObject::Create(name, "test", 0);
        object->Load(Describe(global));
        return object;
    }

    // A square PNG of one colour under assets/.
    void WriteImage(const std::string& name, int width = 16, int height = 16, uint32_t argb = 0xFFFFFFFFu) {
        WriteAsset(name, EncodePng(RgbaPng(width, height, [argb](int, int) { return argb; })));
    }

    void DrawScene(const std::shared_ptr<VSprite>& sprite) {
        ASSERT_TRUE(Renderer().BeginDraw(false));
        ASSERT_TRUE(Renderer().Begin2d());
        sprite->Render(Identity(), -1);
        Renderer().End2d();
        Renderer().EndDraw(false);
    }

    TScript script;
};
