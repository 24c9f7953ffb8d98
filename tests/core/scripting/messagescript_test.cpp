#include <gtest/gtest.h>

#include <string>

#include "core/app/message.h"
#include "core/scripting/messagescript.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"

namespace {

// A message that reports its deletion.
class CountedMessage : public TMessage {
public:
    CountedMessage(int32_t type, const char* name, int& deletions)
        : TMessage(type, name, nullptr), mDeletions(deletions) {}
    ~CountedMessage() override { ++mDeletions; }

private:
    int& mDeletions;
};

class MessageScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        L = lua_open();
        luaopen_base(L);
        lua_settop(L, 0);
        RegisterMessageMetatable(L);
    }
    void TearDown() override {
        if (L) lua_close(L);
    }

    // Runs a chunk; returns its error text, empty on success.
    std::string Run(const std::string& code, int results = 0) {
        if (luaL_loadbuffer(L, code.data(), code.size(), "test") != 0 || lua_pcall(L, 0, results, 0) != 0) {
            std::string error = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
            lua_pop(L, 1);
            return error;
        }
        return "";
    }

    void SetGlobal(const char* name, TMessage* message) {
        lua_pushstring(L, name);
        PushMessage(L, message);
        lua_settable(L, LUA_GLOBALSINDEX);
    }

    void Collect() { lua_setgcthreshold(L, 0); }

    lua_State* L = nullptr;
    int deletions = 0;
};

TEST_F(MessageScriptTest, ScriptsReadTypeAndNameOnly) {
    SetGlobal("m", new CountedMessage(TMessage::kQuitNow, "close", deletions));
    ASSERT_EQ(Run("return m.type, m.name, m.target, m[1]", 4), "");
    EXPECT_EQ(lua_tonumber(L, 1), 5);
    EXPECT_STREQ(lua_tostring(L, 2), "close");
    EXPECT_TRUE(lua_isnil(L, 3));
    EXPECT_TRUE(lua_isnil(L, 4));
    lua_settop(L, 0);
}

TEST_F(MessageScriptTest, ReaderGivesNothingForANilMessage) {
    SetGlobal("m", new CountedMessage(TMessage::kGeneric, "", deletions));
    ASSERT_EQ(Run("local function count(...) return arg.n end\n"
                  "return count(getmetatable(m).__index(nil, 'type')), count(getmetatable(m).__index(m, 'type'))",
                  2),
              "");
    EXPECT_EQ(lua_tonumber(L, 1), 0);
    EXPECT_EQ(lua_tonumber(L, 2), 1);
    lua_settop(L, 0);
}

TEST_F(MessageScriptTest, NilOrForeignValuesGiveNoMessage) {
    lua_pushnil(L);
    lua_pushnumber(L, 7);
    lua_newtable(L);
    lua_newuserdata(L, 16);
    lua_pushstring(L, "text");
    for (int index = 1; index <= 5; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(ToMessage(L, index), nullptr);
    }
    EXPECT_EQ(ToMessage(L, 9), nullptr);  // past the top
    EXPECT_EQ(lua_gettop(L), 5);
    lua_settop(L, 0);

    PushMessage(L, nullptr);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_settop(L, 0);
}

TEST_F(MessageScriptTest, ToMessageGivesBackThePushedMessage) {
    auto* message = new CountedMessage(TMessage::kButtonPress, "ok", deletions);
    PushMessage(L, message);
    lua_pushnumber(L, 1);
    EXPECT_EQ(ToMessage(L, -2), message);
    EXPECT_EQ(ToMessage(L, 1), message);
    EXPECT_EQ(lua_gettop(L), 2);
    lua_settop(L, 0);
}

TEST_F(MessageScriptTest, CollectorDeletesTheMessageOnce) {
    SetGlobal("m", new CountedMessage(TMessage::kGeneric, "", deletions));
    ASSERT_EQ(Run("local gc = getmetatable(m).__gc; gc(m); gc(m); m = nil"), "");
    EXPECT_EQ(deletions, 1);
    Collect();
    EXPECT_EQ(deletions, 1);

    SetGlobal("m", new CountedMessage(TMessage::kGeneric, "", deletions));
    ASSERT_EQ(Run("m = nil"), "");
    Collect();
    EXPECT_EQ(deletions, 2);
}

TEST_F(MessageScriptTest, ClosingTheStateDeletesLiveMessages) {
    SetGlobal("m", new CountedMessage(TMessage::kGeneric, "", deletions));
    lua_close(L);
    L = nullptr;
    EXPECT_EQ(deletions, 1);
}

TEST_F(MessageScriptTest, MetatableLivesInTheRegistry) {
    RegisterMessageMetatable(L);  // a second registration keeps the first table
    lua_pushstring(L, "qmMessageMetatable");
    lua_gettable(L, LUA_REGISTRYINDEX);
    ASSERT_TRUE(lua_istable(L, -1));
    for (const char* field : {"__index", "__gc"}) {
        lua_pushstring(L, field);
        lua_rawget(L, -2);
        EXPECT_TRUE(lua_isfunction(L, -1)) << field;
        lua_pop(L, 1);
    }
    lua_settop(L, 0);
}

}  // namespace
