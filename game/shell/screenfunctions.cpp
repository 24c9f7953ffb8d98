#include "game/shell/screenfunctions.h"

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
    for (TPublished& published : mPublished) {
        lua_State* L = published.function->GetState();
        LuaPopState restore(L);
        PushRawGlobal(L, published.name);
        published.function->Push();
        if (lua_rawequal(L, -1, -2)) UnregisterBinding(L, published.name);
    }
}

lua_State* VScreenFunctions::GetWindowScriptState(const char* name) {
    TWindowManagerLink* manager = GetWindowManagerLink();
    TScript* script = manager ? manager->GetScript() : nullptr;
    if (!script) {
        DebugLog("Error: no window script for %s", name);
        return nullptr;
    }
    return script->GetState();
}

void VScreenFunctions::Pin(lua_State* L, const char* name) {
    LuaPopState restore(L);
    PushRawGlobal(L, name);
    mPublished.push_back({name, std::make_unique<TLuaObjectWrapper>(L)});
}
