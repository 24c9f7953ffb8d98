#include "core/windows/windowstyle.h"

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "lua/lua.h"
#include "lua/numbercast.h"
#include "core/windows/windowmanagerlink.h"
#include "foundation/debuglog.h"

namespace {

// t[name] for the table on top, replacing it; false (table popped) when the
// value is nil or the lookup failed.
bool ReplaceByField(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    if (!LuaGetTableProtected(L)) return false;
    if (!lua_isnil(L, -1)) return true;
    lua_pop(L, 1);
    return false;
}

// The global of that name pushed; false with nothing pushed when it is nil
// or the lookup failed.
bool PushGlobal(lua_State* L, const char* name) {
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    return ReplaceByField(L, name);
}

// The value on top read as a boolean: booleans and numbers only.
bool ToBool(lua_State* L) {
    switch (lua_type(L, -1)) {
    case LUA_TNIL:
        return false;
    case LUA_TBOOLEAN:
        return lua_toboolean(L, -1) != 0;
    case LUA_TNUMBER:
        return lua_tonumber(L, -1) != 0;
    case LUA_TSTRING:
        DebugLog("PopBool used on lua string %s", LuaToString(L, -1).c_str());
        return false;
    default:
        DebugLog("PopBool used on a type that isn't a number, a boolean, or nil. (type: %d)", lua_type(L, -1));
        return false;
    }
}

}  // namespace

TWindowStyle::TWindowStyle(TLuaTable* description) : mDescription(description) {}

TScript* TWindowStyle::Script() {
    TWindowManagerLink* link = GetWindowManagerLink();
    return link ? link->GetScript() : nullptr;
}

void TWindowStyle::PushDescription(lua_State* L) const {
    if (!mDescription) {
        lua_pushnil(L);
        return;
    }
    mDescription->Push();
    if (mDescription->GetState() != L) lua_xmove(mDescription->GetState(), L, 1);
}

bool TWindowStyle::Find(lua_State* L, const char* name) const {
    int base = lua_gettop(L);
    PushDescription(L);
    for (int level = 0; level < kMaxChainDepth; ++level) {
        // The level's table sits on top: its field, or a global without a table.
        bool found;
        if (lua_istable(L, -1)) {
            lua_pushvalue(L, -1);
            found = ReplaceByField(L, name);
        } else {
            found = PushGlobal(L, name);
        }
        if (found) {
            lua_remove(L, -2);
            return true;
        }
        // Next: the default style, then each style's "parent".
        bool next;
        if (level == 0) {
            lua_pop(L, 1);
            next = PushGlobal(L, "gCurrentDefaultStyle");
        } else {
            next = ReplaceByField(L, "parent");
        }
        if (!next || !lua_istable(L, -1)) {
            lua_settop(L, base);
            return false;
        }
    }
    DebugLog("TWindowStyle: the default style chain is deeper than %d levels (a cycle?) looking up '%s'",
             kMaxChainDepth, name);
    lua_settop(L, base);
    return false;
}

template <typename T, typename Reader>
T TWindowStyle::Read(const char* name, T def, Reader read) const {
    TScript* script = Script();
    if (!script) return def;
    lua_State* L = script->GetState();
    LuaPopState guard(L);
    return Find(L, name) ? read(*script, L) : def;
}

double TWindowStyle::GetNumber(const char* name, double def) const {
    return Read(name, def, [](TScript&, lua_State* L) { return static_cast<double>(lua_tonumber(L, -1)); });
}

int TWindowStyle::GetInt(const char* name, int def) const {
    return script::truncateNumber<int>(GetNumber(name, def));
}

TString TWindowStyle::GetString(const char* name, const TString& def) const {
    return Read(name, def, [](TScript& script, lua_State*) { return script.PopString(); });
}

TColor4f TWindowStyle::GetColor(const char* name, const TColor4f& def) const {
    return Read(name, def, [](TScript& script, lua_State*) { return script.PopColor(); });
}

bool TWindowStyle::GetBool(const char* name, bool def) const {
    return Read(name, def, [](TScript&, lua_State* L) { return ToBool(L); });
}

TLuaTable* TWindowStyle::GetTable(const char* name) const {
    return Read<TLuaTable*>(name, nullptr, [](TScript&, lua_State* L) { return new TLuaTable(L); });
}

TLuaFunction* TWindowStyle::GetFunction(const char* name) const {
    return Read<TLuaFunction*>(name, nullptr, [](TScript&, lua_State* L) { return new TLuaFunction(L); });
}
