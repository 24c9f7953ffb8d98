#include "core/scripting/script.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/scripting/luabinding.h"
#include "core/scripting/luaobject.h"
#include "lua/lua.h"
#include "core/app/tasklist.h"
#include "tests/support/luatesting.h"
#include "platform/os/timer.h"

namespace {

class ScriptTest : public testing::Test {
protected:
    void SetUp() override { os::SetCurrentTimer(&timer); }
    void TearDown() override { os::SetCurrentTimer(nullptr); }

    static void Run(TScript& script, const char* text) { ASSERT_EQ(script.DoLuaString(text), 0) << text; }

    // The value of a Lua expression as text.
    static std::string Eval(TScript& script, const char* expression) {
        std::string text = std::string("return ") + expression;
        EXPECT_EQ(script.DoLuaString(text.c_str(), -1, 1), 0) << expression;
        return script.PopString().c_str();
    }

    // A global as text, read without running a script function (a run would
    // be routed into a coroutine that waits for messages).
    static std::string Global(TScript& script, const char* name) {
        lua_State* L = script.GetState();
        lua_pushstring(L, name);
        lua_gettable(L, LUA_GLOBALSINDEX);
        std::string text = script.PopString().c_str();
        return text;
    }

    // Pushes the global function name and its arguments 1..count.
    static void PushCall(TScript& script, const char* name, int count) {
        lua_State* L = script.GetState();
        lua_pushstring(L, name);
        lua_gettable(L, LUA_GLOBALSINDEX);
        for (int i = 1; i <= count; ++i) lua_pushnumber(L, i);
    }

    os::FakeTimer timer{1000};
    TestLog log;
};

TEST_F(ScriptTest, NewScriptCarriesTheHostGlobals) {
    TScript script;
    for (const char* name : {"_ALERT", "DebugOut", "DumpTable", "_Internal_DumpEntry", "_Internal_DumpTable"}) {
        EXPECT_EQ(Eval(script, (std::string("type(") + name + ")").c_str()), "function") << name;
    }
    EXPECT_EQ(Eval(script, "type(string.rep) .. type(table.insert) .. type(coroutine.yield)"),
              "functionfunctionfunction");
    lua_State* L = script.GetState();
    lua_pushstring(L, "_SCRIPT");
    lua_gettable(L, LUA_GLOBALSINDEX);
    EXPECT_TRUE(lua_islightuserdata(L, -1));
    EXPECT_EQ(lua_touserdata(L, -1), &script);
    lua_pop(L, 1);
    EXPECT_EQ(TScript::Owner(L), &script);
    EXPECT_FALSE(script.IsYielded());
    EXPECT_EQ(script.Elapsed(), -1) << "a new script is idle";

    Run(script, "_ALERT('hello') DebugOut('ignored')");
    EXPECT_TRUE(log.Contains("Lua error: hello"));
}

TEST_F(ScriptTest, DumpTableWritesNestedEntriesAndStopsDeep) {
    TScript script;
    Run(script, "function DebugOut(text) dumped = text end DumpTable({ a = { b = 1 } })");
    EXPECT_EQ(Eval(script, "dumped"), "Dump Table: \n  a -> {\n    b -> 1\n\n  }\n");

    Run(script, "local t = {} t.x = t DumpTable(t)");
    std::string deep = Eval(script, "dumped");
    EXPECT_NE(deep.find("\n          x -> {\n            ...\n          }\n"), std::string::npos) << deep;
    EXPECT_EQ(deep.find("            x ->"), std::string::npos) << deep;
}

TEST_F(ScriptTest, GlobalsAndPops) {
    TScript script;
    script.SetGlobal("greeting", "hi");
    EXPECT_EQ(Eval(script, "greeting"), "hi");
    Run(script, "config = { size = 3 } scalar = 4");
    std::unique_ptr<TLuaTable> config(script.GetGlobalTable("config"));
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->GetNumber("size"), 3);
    EXPECT_EQ(script.GetGlobalTable("scalar"), nullptr);
    EXPECT_EQ(script.GetGlobalTable("missing"), nullptr);

    lua_State* L = script.GetState();
    ASSERT_EQ(script.DoLuaString("return 3, 'x', {0.5, 1, 0, 0.25}", -1, 3), 0);
    EXPECT_EQ(script.PopColor(), TColor4f(0.5f, 1, 0, 0.25f));
    EXPECT_STREQ(script.PopString().c_str(), "x");
    EXPECT_EQ(script.PopNumber(), 3);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptTest, RunFunctionReportsFailures) {
    TScript script;
    lua_State* L = script.GetState();
    Run(script, "function fails() error('no luck') end function pair() return 1, 2 end");
    lua_pushstring(L, "mine");

    PushCall(script, "fails", 0);
    EXPECT_EQ(script.RunFunction(0, 1), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 2) << "the error value replaces the function";
    EXPECT_FALSE(log.Contains("Too many return results?"));
    EXPECT_TRUE(log.Contains("no luck"));
    lua_settop(L, 1);

    PushCall(script, "fails", 0);
    EXPECT_EQ(script.RunFunction(0, 2), LUA_ERRRUN);
    EXPECT_TRUE(log.Contains("TScript::RunFunction failure. Too many return results? (2, FAILURE CODE 1)"));
    lua_settop(L, 1);

    PushCall(script, "pair", 0);
    EXPECT_EQ(script.RunFunction(0, 2), 0);
    EXPECT_EQ(lua_gettop(L), 3);
    EXPECT_EQ(lua_tonumber(L, 3), 2);
    EXPECT_STREQ(lua_tostring(L, 1), "mine");
}

TEST_F(ScriptTest, DoLuaStringReportsErrorsAndRestoresTheStack) {
    TScript script;
    lua_State* L = script.GetState();
    Run(script, "function LuaErrorMessage(text) reported = text end");
    lua_pushstring(L, "mine");

    EXPECT_EQ(script.DoLuaString("x = = 1"), LUA_ERRSYNTAX);
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_TRUE(log.Contains("DoLuaString Lua Error: "));
    EXPECT_TRUE(log.Contains("\twhen parsing x = = 1"));
    std::string reported = Eval(script, "reported");
    EXPECT_EQ(reported.rfind("Lua Error: ", 0), 0u) << reported;
    EXPECT_NE(reported.find("\n\twhen parsing"), std::string::npos) << reported;

    EXPECT_EQ(script.DoLuaString("error('went wrong')"), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_TRUE(log.Contains("Lua error: "));
    EXPECT_TRUE(log.Contains("went wrong"));
    EXPECT_STREQ(lua_tostring(L, 1), "mine");
}

TEST_F(ScriptTest, DoLuaStringLengthAndResults) {
    TScript script;
    EXPECT_EQ(script.DoLuaString("x = 5 this is not code", 5), 0);
    EXPECT_EQ(Eval(script, "x"), "5");
    EXPECT_EQ(script.DoLuaString(nullptr), 0);
    lua_State* L = script.GetState();
    ASSERT_EQ(script.DoLuaString("return 1, 'two'", -1, 2), 0);
    EXPECT_EQ(lua_gettop(L), 2);
    EXPECT_STREQ(lua_tostring(L, 2), "two");
}

TEST_F(ScriptTest, ReturnedFunctionRunsAsCoroutineTaskUntilItEnds) {
    auto* script = new TScript;
    TTaskList list;
    list.Add(script);
    ASSERT_EQ(script->DoLuaString("steps = 0 return function() for i = 1, 3 do coroutine.yield() steps = steps + 1 end end"),
              0);
    EXPECT_EQ(lua_gettop(script->GetState()), 0);
    EXPECT_TRUE(script->IsYielded());
    EXPECT_TRUE(script->Ready(0)) << "the task started";
    list.RunAll(0);
    list.RunAll(0);
    EXPECT_EQ(Eval(*script, "steps"), "2");
    EXPECT_TRUE(script->IsYielded());
    list.RunAll(0);
    EXPECT_EQ(Eval(*script, "steps"), "3");
    EXPECT_FALSE(script->IsYielded());
    EXPECT_EQ(script->Elapsed(), -1) << "idle once the coroutine returned";
    EXPECT_FALSE(script->Ready(0));
    list.RunAll(0);
    EXPECT_EQ(Eval(*script, "steps"), "3");
    EXPECT_FALSE(log.Contains("lua_resume"));
}

TEST_F(ScriptTest, FailingCoroutinesAreLoggedAndGoIdle) {
    TScript script;
    Run(script, "return function() error('early') end");
    EXPECT_TRUE(log.Contains("lua_resume error: "));
    EXPECT_TRUE(log.Contains("early"));
    EXPECT_EQ(script.Elapsed(), -1);

    Run(script, "return function() coroutine.yield() error('late') end");
    EXPECT_TRUE(script.IsYielded());
    EXPECT_NE(script.Elapsed(), -1);
    script.Animate();
    EXPECT_TRUE(log.Contains("lua_resume ERROR: "));
    EXPECT_TRUE(log.Contains("late"));
    EXPECT_FALSE(script.IsYielded());
    EXPECT_EQ(script.Elapsed(), -1);

    // A finished coroutine is not resumed again.
    EXPECT_EQ(script.Resume(0), LUA_ERRRUN);
    Run(script, "return function() coroutine.yield() resumed = true end");
    EXPECT_EQ(script.Resume(0), 0);
    EXPECT_EQ(Eval(script, "tostring(resumed)"), "true");
}

// Runs script text from inside the script, as engine code called by a binding does.
int RunNested(lua_State* L) {
    TScript::Owner(L)->DoLuaString(lua_tostring(L, 1));
    return 0;
}

TEST_F(ScriptTest, CoroutineCannotBeRestartedOrResumedWhileItRuns) {
    TScript script;
    RegisterBinding(script.GetState(), "RunNested", &RunNested);
    Run(script, "return function() RunNested('return function() inner = true end') "
                "RunNested('dummy = 1') after = true coroutine.yield() end");
    EXPECT_TRUE(log.Contains("lua_resume error: cannot resume non-suspended coroutine"));
    EXPECT_EQ(Eval(script, "tostring(inner)"), "nil") << "the nested function did not start";
    EXPECT_EQ(Eval(script, "tostring(after)"), "true") << "the running coroutine went on";
    EXPECT_TRUE(script.IsYielded());
}

TEST_F(ScriptTest, ResumePassesValuesToTheYield) {
    TScript script;
    lua_State* L = script.GetState();
    Run(script, "return function() got1, got2 = coroutine.yield() end");
    lua_pushstring(L, "mine");
    lua_pushnumber(L, 4);
    lua_pushstring(L, "four");
    EXPECT_EQ(script.Resume(2), 0);
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_EQ(Eval(script, "got1 .. got2"), "4four");
    EXPECT_FALSE(script.IsYielded());
}

// What an animation binding does: schedules the calling coroutine's task and yields.
int WaitFrames(lua_State* L) {
    TScript* task = TScript::Owner(L);
    if (lua_gettop(L) >= 1) {
        task->Start(static_cast<int32_t>(lua_tonumber(L, 1)), true, true, false);
    } else {
        task->GoIdle();
    }
    return lua_yield(L, 0);
}

TEST_F(ScriptTest, ResumeStartsAFunctionOnAThreadScript) {
    TScript owner;
    RegisterBinding(owner.GetState(), "WaitFrames", &WaitFrames);
    Run(owner, "frames = '' function Anim() for i = 1, 3 do frames = frames .. i WaitFrames(10) end end");
    TTaskList list;
    TScript* thread = owner.NewThread();
    list.Add(thread);
    lua_State* T = thread->GetState();
    lua_pushstring(T, "Anim");
    lua_gettable(T, LUA_GLOBALSINDEX);
    EXPECT_EQ(thread->Resume(0), 0);
    EXPECT_EQ(lua_gettop(T), 0);
    EXPECT_TRUE(thread->IsYielded());
    EXPECT_EQ(Global(owner, "frames"), "1");
    EXPECT_EQ(thread->Elapsed(), -10) << "the binding found the thread's task";

    list.RunAll(0);
    EXPECT_EQ(Global(owner, "frames"), "1") << "not due yet";
    timer.Advance(10);
    list.RunAll(0);
    EXPECT_EQ(Global(owner, "frames"), "12");
    timer.Advance(10);
    list.RunAll(0);
    timer.Advance(10);
    list.RunAll(0);
    EXPECT_EQ(Global(owner, "frames"), "123");
    EXPECT_FALSE(thread->IsYielded());
    EXPECT_EQ(thread->Elapsed(), -1) << "idle once the animation returned";
    EXPECT_FALSE(log.Contains("lua_resume"));

    // Without a function under the values there is nothing to start.
    lua_pushnumber(T, 1);
    EXPECT_EQ(thread->Resume(1), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(T), 0);
    EXPECT_TRUE(log.Contains("lua_resume ERROR: "));
    list.Remove(thread);
    delete thread;
}

// A script whose coroutine waits for messages in "WaitForMessage", as the
// window script waits in its message handler.
class MessageScript : public TScript {
public:
    MessageScript() { RegisterBinding(GetState(), "WaitForMessage", this, &MessageScript::WaitForMessage); }

    bool TakeDeferredCall() override {
        bool waiting = mWaiting;
        mWaiting = false;
        return TakeCallWhileWaiting(waiting);
    }
    bool Animate() override {
        mWaiting = false;
        return TScript::Animate();
    }

private:
    int WaitForMessage(lua_State* L) {
        mWaiting = true;
        return lua_yield(L, 0);
    }

    bool mWaiting = false;
};

const char kRecorder[] =
    "calls = '' woken = 0 "
    "function Record(...) local text = '' for i = 1, arg.n do text = text .. tostring(arg[i]) .. ' ' end "
    "calls = calls .. '[' .. text .. ']' end";

TEST_F(ScriptTest, CallWhileWaitingForMessageRunsInsideTheCoroutine) {
    MessageScript script;
    lua_State* L = script.GetState();
    Run(script, kRecorder);
    Run(script,
        "return function() while true do local message, call = WaitForMessage() woken = woken + 1 "
        "if call then call() end end end");
    ASSERT_TRUE(script.IsYielded());
    lua_pushstring(L, "mine");

    PushCall(script, "Record", 7);
    EXPECT_EQ(script.RunFunction(7, 0), 0);
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_EQ(Global(script, "woken"), "1") << "the waiting coroutine took the call";
    EXPECT_EQ(Global(script, "calls"), "[1 2 3 4 5 6 ]") << "only six arguments travel";
    EXPECT_TRUE(script.IsYielded()) << "waiting again";

    PushCall(script, "Record", 2);
    EXPECT_EQ(script.RunFunction(2, 1), 0);
    EXPECT_EQ(lua_gettop(L), 2) << "one (nil) result as asked";
    EXPECT_TRUE(lua_isnil(L, 2));
    EXPECT_EQ(Global(script, "woken"), "2");
    EXPECT_EQ(Global(script, "calls"), "[1 2 3 4 5 6 ][1 2 nil nil nil nil ]");

    // A call that fails inside the coroutine is reported and not run a second
    // time; the coroutine goes on waiting.
    Run(script, "function Fails() failures = (failures or 0) + 1 error('deferred failure') end");
    EXPECT_TRUE(script.IsYielded());
    lua_settop(L, 1);
    PushCall(script, "Fails", 0);
    EXPECT_EQ(script.RunFunction(0, 0), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 2) << "the error value";
    EXPECT_EQ(Global(script, "failures"), "1");
    EXPECT_TRUE(log.Contains("Lua error: "));
    EXPECT_TRUE(log.Contains("deferred failure"));
    EXPECT_FALSE(log.Contains("lua_resume ERROR: "));
    EXPECT_TRUE(script.IsYielded()) << "still waiting";
}

TEST_F(ScriptTest, ARunErrorInTextRunWhileWaitingIsReportedAndTheWaitGoesOn) {
    MessageScript script;
    lua_State* L = script.GetState();
    Run(script, "woken = 0");
    Run(script,
        "return function() while true do local message, call = WaitForMessage() woken = woken + 1 "
        "if call then call() end end end");
    ASSERT_TRUE(script.IsYielded());

    // Reported as when no coroutine waits: through "_ALERT", with the failure.
    EXPECT_EQ(script.DoLuaString("error('broken command')"), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(log.Count("Lua error: "), 1u);
    EXPECT_TRUE(log.Contains("broken command"));
    EXPECT_TRUE(script.IsYielded());
    EXPECT_EQ(Global(script, "woken"), "1");

    // The same script takes the next text and later messages.
    Run(script, "after = 'ran'");
    EXPECT_EQ(Global(script, "after"), "ran");
    EXPECT_EQ(Global(script, "woken"), "2");
    lua_pushstring(L, "message");
    EXPECT_EQ(script.Resume(1), 0);
    EXPECT_EQ(Global(script, "woken"), "3");
    EXPECT_TRUE(script.IsYielded());
}

TEST_F(ScriptTest, ACallThatWaitsItselfGetsTheNextMessageAndMayFailLater) {
    MessageScript script;
    lua_State* L = script.GetState();
    Run(script, "woken = 0 got = ''");
    Run(script,
        "return function() while true do local message, call = WaitForMessage() woken = woken + 1 "
        "if call then call() end end end");
    // The command waits for a message of its own, as a dialog run from a
    // command does, then fails on it.
    EXPECT_EQ(script.DoLuaString("local message, call = WaitForMessage() "
                                 "while call do call() message, call = WaitForMessage() end "
                                 "got = message error('late failure')"),
              0);
    EXPECT_TRUE(script.IsYielded());
    EXPECT_EQ(Global(script, "woken"), "1");

    // A call made while the command waits runs inside it, at its wait.
    Run(script, "inner = 'ran'");
    EXPECT_EQ(Global(script, "inner"), "ran");
    EXPECT_EQ(Global(script, "got"), "") << "the command still waits";

    lua_pushstring(L, "reply");
    EXPECT_EQ(script.Resume(1), 0);
    EXPECT_EQ(Global(script, "got"), "reply");
    EXPECT_TRUE(log.Contains("late failure"));
    EXPECT_TRUE(script.IsYielded()) << "the outer wait goes on";
    lua_pushstring(L, "next");
    EXPECT_EQ(script.Resume(1), 0);
    EXPECT_EQ(Global(script, "woken"), "2");
}

TEST_F(ScriptTest, ACallThatTheWaitingCoroutineCannotTakeIsDeclined) {
    MessageScript script;
    lua_State* L = script.GetState();
    Run(script, "return function() WaitForMessage() end");
    ASSERT_TRUE(script.IsYielded());
    lua_pushstring(L, "message");
    ASSERT_EQ(script.Resume(1), 0);
    ASSERT_FALSE(script.IsYielded()) << "finished while still marked as waiting";

    Run(script, "function Mark() marked = true end");
    lua_pushstring(L, "Mark");
    lua_gettable(L, LUA_GLOBALSINDEX);
    EXPECT_FALSE(script.TakeDeferredCall());
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(Global(script, "marked"), "") << "the call did not run";
}

TEST_F(ScriptTest, CallWhileYieldingElsewhereRunsDirectly) {
    MessageScript messageScript;  // waits in coroutine.yield, not for a message
    TScript plainScript;
    for (TScript* script : {static_cast<TScript*>(&messageScript), &plainScript}) {
        lua_State* L = script->GetState();
        Run(*script, kRecorder);
        Run(*script, "return function() while true do coroutine.yield() woken = woken + 1 end end");
        ASSERT_TRUE(script->IsYielded());
        PushCall(*script, "Record", 7);
        EXPECT_EQ(script->RunFunction(7, 0), 0);
        EXPECT_EQ(lua_gettop(L), 0);
        EXPECT_EQ(Global(*script, "calls"), "[1 2 3 4 5 6 ]") << "called once, not dropped";
        EXPECT_EQ(Global(*script, "woken"), "0") << "the coroutine was not resumed";
        EXPECT_TRUE(script->IsYielded());

        // Two results cannot come back through a closure: called directly.
        Run(*script, "function Both(a, b) return b, a end");
        PushCall(*script, "Both", 2);
        EXPECT_EQ(script->RunFunction(2, 2), 0);
        EXPECT_EQ(lua_tonumber(L, -2), 2);
        lua_settop(L, 0);
    }
}

TEST_F(ScriptTest, UndefinableGetClosureReturnsItsError) {
    TScript script;
    lua_State* L = script.GetState();
    Run(script, "function Noop() end");
    Run(script, "setmetatable(_G, { __newindex = function(t, k) error('locked ' .. k) end })");
    Run(script, "return function() coroutine.yield() end");
    ASSERT_TRUE(script.IsYielded());
    PushCall(script, "Noop", 2);
    EXPECT_NE(script.RunFunction(2, 0), 0);
    EXPECT_EQ(lua_gettop(L), 1) << "the error value replaces the function and its arguments";
    EXPECT_TRUE(log.Contains("locked GetClosure"));
}

// Keeps the table argument of the last call.
class TableSink {
public:
    void Keep(TLuaTable* table) { kept = table; }
    TLuaTable* kept = nullptr;
};

TEST_F(ScriptTest, ThreadScriptsShareGlobalsAndLeaveTheOwnerIntact) {
    TScript owner;
    TableSink sink;
    RegisterBinding(owner.GetState(), "Keep", &sink, &TableSink::Keep);
    Run(owner, "shared = 1");
    TScript* thread = owner.NewThread();
    EXPECT_EQ(TScript::Owner(thread->GetState()), thread);
    Run(*thread, "shared = shared + 1 Keep({ v = 1 })");
    EXPECT_EQ(TScript::Owner(sink.kept->GetState()), thread);
    Run(*thread, "return function() coroutine.yield() Keep({ v = 2 }) end");
    thread->Animate();
    EXPECT_EQ(sink.kept->GetNumber("v"), 2);
    EXPECT_EQ(TScript::Owner(sink.kept->GetState()), thread);
    delete thread;

    EXPECT_EQ(Eval(owner, "shared"), "2");
    lua_State* L = owner.GetState();
    lua_pushstring(L, "_SCRIPT");
    lua_gettable(L, LUA_GLOBALSINDEX);
    EXPECT_EQ(lua_touserdata(L, -1), &owner) << "the thread did not take over _SCRIPT";
    lua_pop(L, 1);
    Run(owner, "Keep({ v = 3 })");
    EXPECT_EQ(TScript::Owner(sink.kept->GetState()), &owner);
    EXPECT_EQ(sink.kept->GetNumber("v"), 3);
}

TEST_F(ScriptTest, TablesFromScriptMadeCoroutinesOutliveTheCoroutine) {
    TScript script;
    TableSink sink;
    RegisterBinding(script.GetState(), "Keep", &sink, &TableSink::Keep);
    Run(script, "local co = coroutine.create(function() Keep({ v = 9 }) end) coroutine.resume(co)");
    ASSERT_NE(sink.kept, nullptr);
    EXPECT_EQ(sink.kept->GetState(), script.GetState()) << "pinned on the script's own state";
    lua_setgcthreshold(script.GetState(), 0);  // the coroutine is garbage now
    EXPECT_EQ(sink.kept->GetNumber("v"), 9);
    Run(script, "x = 1");  // deletes the table
}

}  // namespace
