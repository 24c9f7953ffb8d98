// The collector: what is freed and what is kept (stack, registry, globals,
// native upvalues, thread stacks, metatables), weak tables, __gc finalisers
// and the threshold.
#include "lua/collector.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"
#include "lua/state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace script;

namespace {

class CollectorTest : public ::testing::Test {
protected:
    CollectorTest() : L(lua_open())
    {
        // A weak-valued probe table at registry["probe"] shows which objects survive.
        lua_pushstring(L, "probe");
        lua_newtable(L);
        lua_newtable(L);
        lua_pushstring(L, "__mode");
        lua_pushstring(L, "v");
        lua_rawset(L, -3);
        lua_setmetatable(L, -2);
        lua_rawset(L, LUA_REGISTRYINDEX);
    }
    ~CollectorTest() override
    {
        if (L)
            lua_close(L);
    }

    // Records the value on top under `name` in the probe table (leaves it there).
    void watch(const char* name)
    {
        lua_pushstring(L, "probe");
        lua_rawget(L, LUA_REGISTRYINDEX);
        lua_pushstring(L, name);
        lua_pushvalue(L, -3);
        lua_rawset(L, -3);
        lua_pop(L, 1);
    }

    bool alive(const char* name)
    {
        lua_pushstring(L, "probe");
        lua_rawget(L, LUA_REGISTRYINDEX);
        lua_pushstring(L, name);
        lua_rawget(L, -2);
        bool present = !lua_isnil(L, -1);
        lua_pop(L, 2);
        return present;
    }

    // A new table watched under `name`, left on the stack.
    void newWatchedTable(const char* name)
    {
        lua_newtable(L);
        watch(name);
    }

    void collect() { lua_setgcthreshold(L, 0); }

    lua_State* L;
};

int returnUpvalue(lua_State* L)
{
    lua_pushvalue(L, lua_upvalueindex(1));
    return 1;
}

TEST_F(CollectorTest, UnreachableObjectsGoAndReachableOnesStay)
{
    newWatchedTable("on stack");
    newWatchedTable("dropped");
    lua_pop(L, 1);
    newWatchedTable("in registry");
    lua_pushstring(L, "kept");
    lua_insert(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    newWatchedTable("global");
    lua_pushstring(L, "g");
    lua_insert(L, -2);
    lua_rawset(L, LUA_GLOBALSINDEX);
    newWatchedTable("upvalue");
    lua_pushcclosure(L, returnUpvalue, 1);  // the closure stays on the stack
    newWatchedTable("metatable");
    lua_newtable(L);
    lua_insert(L, -2);
    lua_setmetatable(L, -2);  // a table on the stack holds it as metatable
    lua_newuserdata(L, 8);
    newWatchedTable("userdata metatable");
    lua_setmetatable(L, -2);

    collect();
    EXPECT_TRUE(alive("on stack"));
    EXPECT_FALSE(alive("dropped"));
    EXPECT_TRUE(alive("in registry"));
    EXPECT_TRUE(alive("global"));
    EXPECT_TRUE(alive("upvalue"));
    EXPECT_TRUE(alive("metatable"));
    EXPECT_TRUE(alive("userdata metatable"));

    lua_settop(L, 0);
    lua_pushstring(L, "g");
    lua_pushnil(L);
    lua_rawset(L, LUA_GLOBALSINDEX);
    collect();
    EXPECT_FALSE(alive("on stack"));
    EXPECT_FALSE(alive("global"));
    EXPECT_FALSE(alive("upvalue"));
    EXPECT_FALSE(alive("metatable"));
    EXPECT_FALSE(alive("userdata metatable"));
    EXPECT_TRUE(alive("in registry"));
}

TEST_F(CollectorTest, ThreadStacksAndTypeWideMetatablesAreRoots)
{
    newWatchedTable("type-wide");
    lua_setdefaultmetatable(L, LUA_TNUMBER);

    lua_State* thread = lua_newthread(L);  // stays at index 1 of L
    lua_newtable(thread);
    lua_pushvalue(thread, -1);
    lua_xmove(thread, L, 1);
    watch("on thread");
    lua_pop(L, 1);  // now only the thread's stack holds the table

    collect();
    EXPECT_TRUE(alive("type-wide"));
    EXPECT_TRUE(alive("on thread"));
    lua_getdefaultmetatable(L, LUA_TNUMBER);
    EXPECT_TRUE(lua_istable(L, -1));
    lua_pop(L, 1);

    lua_settop(L, 0);  // drop the thread
    collect();
    EXPECT_FALSE(alive("on thread"));
}

TEST_F(CollectorTest, WeakTablesLoseDeadEntriesButKeepStringsAndNumbers)
{
    auto makeWeak = [&](const char* mode) {
        lua_newtable(L);
        lua_newtable(L);
        lua_pushstring(L, "__mode");
        lua_pushstring(L, mode);
        lua_rawset(L, -3);
        lua_setmetatable(L, -2);
    };
    makeWeak("k");   // 1
    makeWeak("v");   // 2
    makeWeak("kv");  // 3
    lua_newtable(L);  // 4: a live object
    for (int t = 1; t <= 3; ++t) {
        lua_newtable(L);  // dead key
        lua_pushnumber(L, 1);
        lua_rawset(L, t);
        lua_pushnumber(L, 2);  // dead value
        lua_newtable(L);
        lua_rawset(L, t);
        lua_pushvalue(L, 4);  // live key
        lua_pushstring(L, "live");
        lua_rawset(L, t);
        lua_pushstring(L, "s");
        lua_pushstring(L, "string value");
        lua_rawset(L, t);
        lua_pushnumber(L, 3);  // live value
        lua_pushvalue(L, 4);
        lua_rawset(L, t);
    }
    auto count = [&](int t) {
        int n = 0;
        lua_pushnil(L);
        while (lua_next(L, t)) {
            ++n;
            lua_pop(L, 1);
        }
        return n;
    };
    collect();
    EXPECT_EQ(count(1), 4);  // dead key gone
    EXPECT_EQ(count(2), 4);  // dead value gone
    EXPECT_EQ(count(3), 3);  // both gone
    lua_pushstring(L, "s");
    lua_rawget(L, 3);
    EXPECT_STREQ(lua_tostring(L, -1), "string value");
    lua_pop(L, 1);
    lua_rawgeti(L, 2, 3);
    EXPECT_TRUE(lua_rawequal(L, -1, 4));
    lua_pop(L, 1);

    // Only the weak references stay: the object dies too.
    lua_pushnil(L);
    lua_rawseti(L, 1, 3);
    lua_pushvalue(L, 4);
    lua_pushnil(L);
    lua_rawset(L, 2);
    lua_remove(L, 4);
    collect();
    EXPECT_EQ(count(1), 2);
    EXPECT_EQ(count(2), 2);
    EXPECT_EQ(count(3), 1);
}

std::vector<int>* finalised;

int recordFinaliser(lua_State* L)
{
    finalised->push_back(*static_cast<int*>(lua_touserdata(L, 1)));
    return 0;
}

// A metatable with __gc = recordFinaliser at registry["gcmeta"] and pushed.
void pushFinaliserMetatable(lua_State* L)
{
    if (luaL_newmetatable(L, "gcmeta")) {
        lua_pushstring(L, "__gc");
        lua_pushcfunction(L, recordFinaliser);
        lua_rawset(L, -3);
    }
}

void pushNumberedUserdata(lua_State* L, int n)
{
    *static_cast<int*>(lua_newuserdata(L, sizeof(int))) = n;
    pushFinaliserMetatable(L);
    lua_setmetatable(L, -2);
}

TEST_F(CollectorTest, FinalisersRunOnceNewestFirst)
{
    std::vector<int> order;
    finalised = &order;
    for (int i = 1; i <= 3; ++i)
        pushNumberedUserdata(L, i);
    pushNumberedUserdata(L, 4);  // stays reachable
    lua_replace(L, 1);
    lua_settop(L, 1);
    collect();
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
    size_t afterFirst = L->shared->bytesInUse;
    collect();  // the finalised ones are freed now, and not finalised again
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
    EXPECT_LT(L->shared->bytesInUse, afterFirst);

    lua_close(L);  // the reachable one is finalised at close
    L = nullptr;
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 4}));
}

int resurrections;

int resurrect(lua_State* L)
{
    ++resurrections;
    lua_pushstring(L, "resurrected");
    lua_pushvalue(L, 1);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return 0;
}

TEST_F(CollectorTest, ResurrectedUserdataIsNotFinalisedAgain)
{
    resurrections = 0;
    lua_newuserdata(L, 16);
    lua_newtable(L);
    lua_pushstring(L, "__gc");
    lua_pushcfunction(L, resurrect);
    lua_rawset(L, -3);
    lua_setmetatable(L, -2);
    lua_pop(L, 1);
    collect();
    EXPECT_EQ(resurrections, 1);
    lua_pushstring(L, "resurrected");
    lua_rawget(L, LUA_REGISTRYINDEX);
    EXPECT_TRUE(lua_isuserdata(L, -1));
    lua_pop(L, 1);
    lua_pushstring(L, "resurrected");
    lua_pushnil(L);
    lua_rawset(L, LUA_REGISTRYINDEX);
    collect();
    collect();
    lua_close(L);
    L = nullptr;
    EXPECT_EQ(resurrections, 1);
}

int failingFinaliser(lua_State* L)
{
    lua_pushstring(L, "finaliser failed");
    return lua_error(L);
}

TEST_F(CollectorTest, CloseRunsEveryFinaliserEvenAfterOneFails)
{
    std::vector<int> order;
    finalised = &order;
    pushNumberedUserdata(L, 1);
    lua_newuserdata(L, 4);
    lua_newtable(L);
    lua_pushstring(L, "__gc");
    lua_pushcfunction(L, failingFinaliser);
    lua_rawset(L, -3);
    lua_setmetatable(L, -2);
    pushNumberedUserdata(L, 3);
    lua_close(L);
    L = nullptr;
    EXPECT_EQ(order, (std::vector<int>{3, 1}));
}

TEST_F(CollectorTest, ThresholdFollowsTheHeapAndCountsInKilobytes)
{
    collect();
    int base = lua_getgccount(L);
    EXPECT_EQ(lua_getgcthreshold(L), static_cast<int>((2 * L->shared->bytesInUse) >> 10));
    for (int i = 0; i < 2000; ++i) {
        lua_newtable(L);
        lua_rawseti(L, LUA_REGISTRYINDEX, i + 1000);
    }
    int grown = lua_getgccount(L);
    EXPECT_GT(grown, base);
    for (int i = 0; i < 2000; ++i) {
        lua_pushnil(L);
        lua_rawseti(L, LUA_REGISTRYINDEX, i + 1000);
    }
    lua_setgcthreshold(L, grown + 1000);  // above the count: nothing happens
    EXPECT_EQ(lua_getgccount(L), grown);
    EXPECT_EQ(lua_getgcthreshold(L), grown + 1000);
    lua_setgcthreshold(L, 0);  // below: collects at once
    EXPECT_LT(lua_getgccount(L), grown);
    EXPECT_GE(lua_getgcthreshold(L), lua_getgccount(L));
}

TEST_F(CollectorTest, AllocationTriggersCollectionAtTheThreshold)
{
    collect();
    int start = lua_getgccount(L);
    for (int i = 0; i < 200000; ++i) {
        lua_newtable(L);
        lua_pop(L, 1);
    }
    // Garbage of 200000 tables would take megabytes; collections kept it down.
    EXPECT_LT(lua_getgccount(L), start + 1024);
}

TEST_F(CollectorTest, PointerUserdataHoldsAnOutsidePointer)
{
    int outside = 42;
    lua_pushuserpointer(L, &outside);
    EXPECT_EQ(lua_type(L, -1), LUA_TUSERDATA);
    EXPECT_EQ(lua_touserdata(L, -1), &outside);
    EXPECT_EQ(asUserdata(L->top - 1)->size % 2, 1u);
    void* payload = lua_newuserdata(L, 3);
    EXPECT_EQ(asUserdata(L->top - 1)->size, 4u);  // even sizes
    EXPECT_EQ(lua_touserdata(L, -1), payload);
    lua_settop(L, 0);
    collect();
}

// Runs a chunk with the base library open; returns its first result as text
// or "error: " and the message.
std::string runChunk(lua_State* L, const char* code)
{
    lua_settop(L, 0);
    int status = luaL_loadbuffer(L, code, std::string(code).size(), "=chunk");
    if (status == 0)
        status = lua_pcall(L, 0, 1, 0);
    const char* text = lua_tostring(L, -1);
    std::string result = status ? "error: " + std::string(text ? text : "?") : (text ? text : "(not text)");
    lua_settop(L, 0);
    return result;
}

TEST_F(CollectorTest, ScriptClosuresKeepTheirUpvaluesOpenAndClosed)
{
    luaopen_base(L);
    EXPECT_EQ(runChunk(L, R"(
        local function counter()
            local items = {}
            return function(v)
                items[v] = true
                local n = 0
                for _ in pairs(items) do n = n + 1 end
                return n
            end
        end
        local c = counter()
        collectgarbage()
        c("a") collectgarbage() c("b") collectgarbage()
        return c("c"))"),
              "3");
}

TEST_F(CollectorTest, UpvalueOfAFreedCoroutineKeepsItsValue)
{
    luaopen_base(L);
    // The closure outlives the suspended coroutine whose stack held the
    // variable: freeing the coroutine closes the upvalue with its value.
    EXPECT_EQ(runChunk(L, R"(
        local co = coroutine.create(function()
            local x = {tag = "kept"}
            getter = function() return x end
            setter = function(v) x = v end
            coroutine.yield()
        end)
        coroutine.resume(co)
        co = nil
        collectgarbage()
        collectgarbage()
        local first = getter().tag
        setter({tag = "changed"})
        collectgarbage()
        return first .. "/" .. getter().tag)"),
              "kept/changed");
}

TEST_F(CollectorTest, WeakTablesFromScripts)
{
    luaopen_base(L);
    EXPECT_EQ(runChunk(L, R"(
        local cache = setmetatable({}, {__mode = "v"})
        local held = {}
        cache.a = held cache.b = {} cache.c = "text" cache.d = function() end
        collectgarbage()
        local n = 0 for _ in pairs(cache) do n = n + 1 end
        return n .. tostring(cache.a == held) .. tostring(cache.b) .. cache.c)"),
              "2truenil" "text");
}

TEST_F(CollectorTest, LongJoinedTextsLeaveNoMemoryBehind)
{
    collect();
    const size_t base = L->shared->bytesInUse;
    const std::string half(1 << 20, 'x');
    lua_pushstring(L, half.c_str());
    lua_pushstring(L, half.c_str());
    lua_concat(L, 2);
    EXPECT_EQ(lua_strlen(L, -1), size_t{2} << 20);
    lua_settop(L, 0);
    for (int i = 0; i < 24; ++i)
        collect();
    EXPECT_LT(L->shared->bytesInUse, base + 1024);
}

TEST_F(CollectorTest, HeavyAllocationStaysBounded)
{
    luaopen_base(L);
    EXPECT_EQ(runChunk(L, R"(
        local keep = {}
        local peak = 0
        for i = 1, 100000 do
            local t = {i, tostring(i), function() return i end}
            if i > 99990 then keep[i] = t end
            local k = gcinfo() if k > peak then peak = k end
        end
        collectgarbage()
        local n = 0 for _ in pairs(keep) do n = n + 1 end
        return n .. " " .. tostring(peak < 20000))"),
              "10 true");
}

TEST_F(CollectorTest, FreeingGivesBackEveryCountedByte)
{
    collect();
    size_t base = L->shared->bytesInUse;
    for (int round = 0; round < 3; ++round) {
        lua_newtable(L);
        for (int i = 1; i <= 300; ++i) {
            lua_pushnumber(L, i * 0.5);
            lua_rawseti(L, -2, i);
        }
        lua_newuserdata(L, 13);
        lua_pushuserpointer(L, &base);
        lua_pushstring(L, "x");
        lua_pushcclosure(L, returnUpvalue, 2);
        lua_newthread(L);
        const char* code = "local a = {1, 2} local function f(b) return a[1] + b end return f";
        ASSERT_EQ(luaL_loadbuffer(L, code, std::string(code).size(), "=c"), 0);
        ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
        lua_settop(L, 0);
        collect();
        EXPECT_EQ(L->shared->bytesInUse, base) << "round " << round;
    }
}

}  // namespace
