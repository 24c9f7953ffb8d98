#include "game/shell/screenfunctions.h"

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/windowmanagerlink.h"
#include "foundation/debuglog.h"
#include "lua/lua.h"

namespace {

// The global without metamethods.
void PushRawGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
}

}  // namespace

VScreenFunctions::~VScreenFunctions() {
    // The state of a window script that has gone is closed.
    if (!mState || WindowScriptState() != mState) return;
    lua_State* L = mState;
    LuaPopState restore(L);
    PushPinned(L);
    for (const char* name : mNames) {
        PushRawGlobal(L, name);
        lua_pushstring(L, name);
        lua_rawget(L, -3);
        if (lua_rawequal(L, -1, -2)) UnregisterBinding(L, name);
        lua_pop(L, 2);
    }
    lua_pushlightuserdata(L, this);
    lua_pushnil(L);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

lua_State* VScreenFunctions::StateToPublish(const char* name) {
    lua_State* L = WindowScriptState();
    if (!L) DebugLog("Error: no window script for %s", name);
    return L;
}

lua_State* VScreenFunctions::WindowScriptState() {
    TWindowManagerLink* manager = GetWindowManagerLink();
    TScript* script = manager ? manager->GetScript() : nullptr;
    return script ? script->GetState() : nullptr;
}

void VScreenFunctions::Pin(lua_State* L, const char* name) {
    mState = L;
    mNames.push_back(name);
    LuaPopState restore(L);
    PushPinned(L);
    lua_pushstring(L, name);
    PushRawGlobal(L, name);
    lua_rawset(L, -3);
}

void VScreenFunctions::PushPinned(lua_State* L) {
    lua_pushlightuserdata(L, this);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) return;
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushlightuserdata(L, this);
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
}
