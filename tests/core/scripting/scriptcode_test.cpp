#include "core/scripting/scriptcode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/scripting/script.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/virtualfiles.h"
#include "tests/support/luatesting.h"

namespace {

int gReads = 0;

bool CountingReader(const char* fileName, std::string& contents) {
    ++gReads;
    return ReadScriptFile(fileName, contents);
}

const char kCounting[] = "runs = (runs or 0) + 1";
const char kBroken[] = "runs = = 1";
const char kFailing[] = "error('stop here')";
const char kCarriageReturn[] = "runs = (runs or 0) + 1 text = 'a\\rb'";
const char kCoroutine[] = "ticks = 0 return function() while ticks < 2 do coroutine.yield() ticks = ticks + 1 end end";
const char* const kFileNames[] = {"scripts/count.lua", "scripts/broken.lua", "scripts/failing.lua",
                                  "scripts/coroutine.lua", "scripts/compiled.lua", "scripts/cr.lua"};

// Script files as memory files; every read of one is counted.
class ScriptCodeTest : public testing::Test {
protected:
    void SetUp() override {
        AddFile("scripts/count.lua", kCounting);
        AddFile("scripts/broken.lua", kBroken);
        AddFile("scripts/failing.lua", kFailing);
        AddFile("scripts/coroutine.lua", kCoroutine);
        AddFile("scripts/cr.lua", kCarriageReturn);
        SetAssetManager(&manager);
        InstallScriptFileReader();
        luaL_setfilereader(CountingReader);
        gReads = 0;
    }
    void TearDown() override {
        luaL_setfilereader(ReadScriptFile);
        SetAssetManager(nullptr);
        for (const char* name : kFileNames) RegisterMemoryFile(name, nullptr, 0);
    }

    static void AddFile(const char* name, const char* text) { RegisterMemoryFile(name, text, std::strlen(text)); }

    double Number(const char* name) {
        lua_State* L = script.GetState();
        lua_pushstring(L, name);
        lua_gettable(L, LUA_GLOBALSINDEX);
        return script.PopNumber();
    }

    TestLog log;
    TAssetManager manager;
    TScript script;
};

TEST_F(ScriptCodeTest, HeldCodeIsCompiledOnce) {
    std::shared_ptr<TScriptCode> held = TScriptCode::Get("scripts/count.lua", "", nullptr);
    ASSERT_NE(held, nullptr);
    EXPECT_STREQ(held->GetClassName(), "TScriptCode");
    EXPECT_TRUE(held->IsA(TScriptCode::ClassId));
    EXPECT_TRUE(held->IsA(TAsset::ClassId));
    EXPECT_GT(held->GetSize(), 0);
    lua_pushstring(script.GetState(), "mine");
    EXPECT_TRUE(script.RunScript("scripts/count.lua"));
    EXPECT_TRUE(script.RunScript("scripts/count.lua"));
    EXPECT_EQ(Number("runs"), 2);
    EXPECT_EQ(gReads, 1) << "both runs loaded the cached byte code";
    EXPECT_EQ(TScriptCode::Get("scripts/count.lua", "", nullptr), held);
    EXPECT_EQ(lua_gettop(script.GetState()), 1);

    // The cache holds code only while someone does.
    held.reset();
    EXPECT_TRUE(script.RunScript("scripts/count.lua"));
    EXPECT_EQ(gReads, 2);
}

TEST_F(ScriptCodeTest, SyntaxErrorsAreReportedEveryRunAndNotCached) {
    TString error;
    EXPECT_EQ(TScriptCode::Get("scripts/broken.lua", "", &error), nullptr);
    EXPECT_NE(error.Find("scripts/broken.lua"), -1) << error.c_str();
    EXPECT_FALSE(manager.GetAsset("scripts/broken.lua"));

    EXPECT_FALSE(script.RunScript("scripts/broken.lua"));
    EXPECT_FALSE(script.RunScript("scripts/broken.lua"));
    EXPECT_EQ(gReads, 3);
    EXPECT_EQ(log.Count("Lua error: "), 2u);
    EXPECT_EQ(log.Count(error.c_str()), 2u) << "the compile message goes to _ALERT";
    EXPECT_EQ(lua_gettop(script.GetState()), 0);
    EXPECT_EQ(Number("runs"), 0);
}

TEST_F(ScriptCodeTest, MissingAndFailingScripts) {
    EXPECT_FALSE(script.RunScript(""));
    EXPECT_FALSE(script.RunScript("scripts/absent.lua"));
    EXPECT_EQ(TScriptCode::Get("", "", nullptr), nullptr);
    TString error;
    EXPECT_EQ(TScriptCode::Get("scripts/absent.lua", "", &error), nullptr);
    EXPECT_EQ(error.Find("cannot read scripts/absent.lua"), 0) << error.c_str();

    EXPECT_FALSE(script.RunScript("scripts/failing.lua"));
    EXPECT_TRUE(log.Contains("Failed to run script scripts/failing.lua: 1"));
    EXPECT_TRUE(log.Contains("stop here"));
    EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(ScriptCodeTest, ScriptReturningAFunctionBecomesACoroutineTask) {
    EXPECT_TRUE(script.RunScript("scripts/coroutine.lua"));
    EXPECT_EQ(lua_gettop(script.GetState()), 0);
    EXPECT_TRUE(script.IsYielded());
    EXPECT_NE(script.Elapsed(), -1);
    script.Animate();
    script.Animate();
    EXPECT_EQ(Number("ticks"), 2);
    EXPECT_FALSE(script.IsYielded());
    EXPECT_EQ(script.Elapsed(), -1);
}

TEST_F(ScriptCodeTest, ByteCodeFilesLoadInBinaryMode) {
    std::shared_ptr<TScriptCode> source = TScriptCode::Get("scripts/cr.lua", "", nullptr);
    ASSERT_NE(source, nullptr);
    TString bytes = source->GetCode();
    std::string compiled(bytes.c_str(), static_cast<size_t>(source->GetSize()));
    ASSERT_EQ(compiled[0], '\033');
    ASSERT_NE(compiled.find('\r'), std::string::npos) << "a byte a text read would drop";
    RegisterMemoryFile("scripts/compiled.lua", compiled.data(), compiled.size());
    std::string read;
    ASSERT_TRUE(ReadScriptFile("scripts/compiled.lua", read));
    EXPECT_EQ(read, compiled);
    EXPECT_TRUE(script.RunScript("scripts/compiled.lua"));
    EXPECT_EQ(Number("runs"), 1);
    EXPECT_EQ(script.DoLuaString("return string.len(text)", -1, 1), 0);
    EXPECT_EQ(script.PopNumber(), 3);
}

TEST_F(ScriptCodeTest, AssetMapsLoadScriptsByExtension) {
    {
        TAssetMap map;
        map.AddAsset("scripts/count");
        std::shared_ptr<TAsset> cached = manager.GetAsset("scripts/count.lua");
        ASSERT_TRUE(cached);
        EXPECT_TRUE(cached->IsA(TScriptCode::ClassId));
        EXPECT_TRUE(script.RunScript("scripts/count.lua"));
        EXPECT_EQ(gReads, 1);
    }
    EXPECT_FALSE(manager.GetAsset("scripts/count.lua")) << "released with the map";
}

}  // namespace
