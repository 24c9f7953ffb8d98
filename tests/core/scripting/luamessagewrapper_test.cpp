#include "core/scripting/luamessagewrapper.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/scripting/messagescript.h"
#include "core/scripting/script.h"
#include "lua/lua.h"
#include "tests/support/luatesting.h"

namespace {

class CountedMessage : public TMessage {
public:
    CountedMessage(int32_t type, const char* name, int* deletions)
        : TMessage(type, name, reinterpret_cast<TWindow*>(this)), mDeletions(deletions) {}
    ~CountedMessage() override { ++*mDeletions; }

private:
    int* mDeletions;
};

class LuaMessageWrapperTest : public testing::Test {
protected:
    void SetUp() override { L = script->GetState(); }

    void Collect() { lua_setgcthreshold(L, 0); }

    // Hands the message to the script as the global name.
    void SetGlobalMessage(const char* name, TMessage* message) {
        PushMessage(L, message);
        lua_pushstring(L, name);
        lua_insert(L, -2);
        lua_settable(L, LUA_GLOBALSINDEX);
    }

    TestLog log;
    std::unique_ptr<TScript> script = std::make_unique<TScript>();
    lua_State* L = nullptr;
    int deletions = 0;
};

TEST_F(LuaMessageWrapperTest, QueuedMessageSurvivesCollectionsAndIsDeletedOnce) {
    auto* message = new CountedMessage(TMessage::kQuitNow, "close", &deletions);
    PushMessage(L, message);
    auto* wrapper = new TLuaMessageWrapper(L);
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(wrapper->GetType(), TMessage::kQuitNow);
    EXPECT_STREQ(wrapper->GetName().c_str(), "close");
    EXPECT_EQ(wrapper->GetTarget(), message->GetTarget());

    Collect();
    Collect();
    EXPECT_EQ(deletions, 0) << "the queued wrapper keeps the script's message alive";
    EXPECT_EQ(wrapper->GetLuaMessage().GetMessage(), message);

    delete wrapper;  // delivered
    EXPECT_EQ(deletions, 0);
    Collect();
    EXPECT_EQ(deletions, 1);
    script.reset();
    EXPECT_EQ(deletions, 1);
}

TEST_F(LuaMessageWrapperTest, MessageLeftToTheScriptIsDeletedWhenTheStateCloses) {
    SetGlobalMessage("kept", new CountedMessage(3, "button", &deletions));
    Collect();
    EXPECT_EQ(deletions, 0);
    script.reset();
    EXPECT_EQ(deletions, 1);
}

TEST_F(LuaMessageWrapperTest, ScriptsReadTypeAndName) {
    SetGlobalMessage("m", new CountedMessage(5, "close", &deletions));
    ASSERT_EQ(script->DoLuaString("return m.type .. ' ' .. m.name .. ' ' .. tostring(m.target)", -1, 1), 0);
    EXPECT_STREQ(script->PopString().c_str(), "5 close nil");
}

TEST_F(LuaMessageWrapperTest, ClassIdentity) {
    lua_pushnil(L);
    TLuaMessageWrapper fromNil(L);
    EXPECT_EQ(fromNil.GetType(), TMessage::kGeneric);
    EXPECT_EQ(fromNil.GetName().Length(), 0);
    EXPECT_EQ(fromNil.GetLuaMessage().GetMessage(), nullptr);
    EXPECT_STREQ(fromNil.GetClassName(), "TLuaMessageWrapper");
    EXPECT_TRUE(fromNil.IsKindOf(TLuaMessageWrapper::ClassId()));
    EXPECT_TRUE(fromNil.IsKindOf(TMessage::ClassId()));
    TMessage plain(0, "", nullptr);
    EXPECT_FALSE(plain.IsKindOf(TLuaMessageWrapper::ClassId()));
}

}  // namespace
