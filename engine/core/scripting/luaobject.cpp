#include "core/scripting/luaobject.h"

#include "core/scripting/script.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "foundation/debuglog.h"

namespace {

// The registry key of a wrapper is its own address.
void PushKey(lua_State* L, const TLuaObjectWrapper* wrapper) {
    lua_pushlightuserdata(L, const_cast<TLuaObjectWrapper*>(wrapper));
}

int IndexBody(lua_State* L) {
    lua_gettable(L, 1);
    return 1;
}

int AssignBody(lua_State* L) {
    lua_settable(L, 1);
    return 0;
}

// (table, key) -> (next key, value), or (nil, nil) at the end.
int NextBody(lua_State* L) {
    if (lua_next(L, 1)) return 2;
    lua_pushnil(L);
    lua_pushnil(L);
    return 2;
}

// Runs body on the nargs top values in protected mode. On failure the error
// is logged and nothing is left.
bool CallProtected(lua_State* L, lua_CFunction body, int nargs, int nresults, const char* what) {
    lua_pushcfunction(L, body);
    lua_insert(L, -(nargs + 1));
    if (lua_pcall(L, nargs, nresults, 0) == 0) return true;
    const char* message = lua_tostring(L, -1);
    DebugLog("Lua %s failed: %s", what, message ? message : "(no message)");
    lua_pop(L, 1);
    return false;
}

}  // namespace

LuaPopState::LuaPopState(lua_State* L) : mState(L), mTop(lua_gettop(L)) {}

LuaPopState::~LuaPopState() {
    lua_settop(mState, mTop);
}

bool LuaGetTableProtected(lua_State* L) {
    // A table without a metatable runs no code: read it directly.
    if (lua_istable(L, -2)) {
        if (!lua_getmetatable(L, -2)) {
            lua_rawget(L, -2);
            lua_remove(L, -2);
            return true;
        }
        lua_pop(L, 1);
    }
    return CallProtected(L, IndexBody, 2, 1, "lookup");
}

bool LuaSetTableProtected(lua_State* L) {
    return CallProtected(L, AssignBody, 3, 0, "assignment");
}

bool LuaSetGlobalProtected(lua_State* L, const char* name) {
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    lua_pushstring(L, name);
    lua_pushvalue(L, -3);
    bool stored = LuaSetTableProtected(L);
    lua_pop(L, 1);
    return stored;
}

void PushLuaString(lua_State* L, const TString& text) {
    lua_pushlstring(L, text.c_str(), static_cast<size_t>(text.Length()));
}

TString LuaToString(lua_State* L, int index) {
    const char* text = lua_tostring(L, index);
    if (!text) return TString();
    return TString(text, static_cast<int>(lua_strlen(L, index)));
}

TLuaTable* LuaToTable(lua_State* L, int index) {
    // Pinned on the owning script's state: a coroutine the scripts made may
    // be collected before the script deletes the table.
    TScript* owner = TScript::Owner(L);
    lua_State* home = owner ? owner->GetState() : L;
    lua_pushvalue(L, index);
    if (home != L) lua_xmove(L, home, 1);
    auto* table = new TLuaTable(home);
    table->ReleaseLater();
    return table;
}

TLuaObjectWrapper::TLuaObjectWrapper(lua_State* L) : mState(L) {
    PushKey(L, this);
    lua_insert(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

TLuaObjectWrapper::~TLuaObjectWrapper() {
    PushKey(mState, this);
    lua_pushnil(mState);
    lua_rawset(mState, LUA_REGISTRYINDEX);
}

void TLuaObjectWrapper::Push() const {
    PushKey(mState, this);
    lua_rawget(mState, LUA_REGISTRYINDEX);
}

bool TLuaObjectWrapper::IsTable() const {
    LuaPopState guard(mState);
    Push();
    return lua_istable(mState, -1);
}

TString TLuaObjectWrapper::ToString() const {
    LuaPopState guard(mState);
    Push();
    return LuaToString(mState, -1);
}

bool TLuaTable::PushLookedUp() const {
    Push();
    lua_insert(mState, -2);
    if (!LuaGetTableProtected(mState)) return false;
    if (!lua_isnil(mState, -1)) return true;
    lua_pop(mState, 1);
    return false;
}

bool TLuaTable::PushField(const char* name) const {
    lua_pushstring(mState, name);
    return PushLookedUp();
}

bool TLuaTable::PushFieldAt(int index) const {
    lua_pushnumber(mState, index);
    return PushLookedUp();
}

TString TLuaTable::StringOnTop(bool found, const TString& def) const {
    return found ? LuaToString(mState, -1) : def;
}

double TLuaTable::NumberOnTop(bool found, double def) const {
    return found ? lua_tonumber(mState, -1) : def;
}

TLuaTable* TLuaTable::TableOnTop(bool found) const {
    if (!found || !lua_istable(mState, -1)) return nullptr;
    return new TLuaTable(mState);
}

TString TLuaTable::GetString(const char* name, const TString& def) const {
    LuaPopState guard(mState);
    return StringOnTop(PushField(name), def);
}

TString TLuaTable::GetStringAt(int index, const TString& def) const {
    LuaPopState guard(mState);
    return StringOnTop(PushFieldAt(index), def);
}

double TLuaTable::GetNumber(const char* name, double def) const {
    LuaPopState guard(mState);
    return NumberOnTop(PushField(name), def);
}

double TLuaTable::GetNumberAt(int index, double def) const {
    LuaPopState guard(mState);
    return NumberOnTop(PushFieldAt(index), def);
}

bool TLuaTable::GetBool(const char* name, bool def) const {
    LuaPopState guard(mState);
    return PushField(name) ? lua_toboolean(mState, -1) != 0 : def;
}

TLuaTable* TLuaTable::GetTable(const char* name) const {
    LuaPopState guard(mState);
    return TableOnTop(PushField(name));
}

TLuaTable* TLuaTable::GetTableAt(int index) const {
    LuaPopState guard(mState);
    return TableOnTop(PushFieldAt(index));
}

TColor4f TLuaTable::ColorOf(TLuaTable* table, const TColor4f& def) const {
    if (!table) return def;
    std::unique_ptr<TLuaTable> owned(table);
    return TColor4f(static_cast<float>(table->GetNumberAt(1, def.r)), static_cast<float>(table->GetNumberAt(2, def.g)),
                    static_cast<float>(table->GetNumberAt(3, def.b)), static_cast<float>(table->GetNumberAt(4, def.a)));
}

TColor4f TLuaTable::GetColor(const char* name, const TColor4f& def) const {
    return ColorOf(GetTable(name), def);
}

TColor4f TLuaTable::GetColorAt(int index, const TColor4f& def) const {
    return ColorOf(GetTableAt(index), def);
}

int TLuaTable::GetCount() const {
    LuaPopState guard(mState);
    Push();
    return lua_istable(mState, -1) ? luaL_getn(mState, -1) : 0;
}

TLuaObjectWrapper* TLuaTable::Next(TLuaObjectWrapper*& key) const {
    LuaPopState guard(mState);
    Push();
    if (key) {
        key->Push();
    } else {
        lua_pushnil(mState);
    }
    delete key;
    key = nullptr;
    if (!CallProtected(mState, NextBody, 2, 2, "traversal") || lua_isnil(mState, -2)) return nullptr;
    auto* value = new TLuaObjectWrapper(mState);
    key = new TLuaObjectWrapper(mState);
    return value;
}

void TLuaTable::ReleaseLater() {
    if (TScript* owner = TScript::Owner(mState)) {
        owner->ReleaseLater(this);
    } else {
        DebugLog("TLuaTable::ReleaseLater: no script owns this Lua state; the table is kept");
    }
}

int TLuaFunction::Call() {
    Push();
    if (!lua_isfunction(mState, -1)) {
        lua_pop(mState, 1);
        return LUA_ERRRUN;
    }
    lua_pushstring(mState, "_ALERT");
    lua_rawget(mState, LUA_GLOBALSINDEX);
    lua_insert(mState, 1);
    return lua_pcall(mState, 0, 1, 1);
}

TLuaThread::TLuaThread(lua_State* L) {
    mThread = lua_newthread(L);
    mHolder = std::make_unique<TLuaObjectWrapper>(L);
}
