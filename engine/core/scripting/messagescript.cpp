#include "core/scripting/messagescript.h"

#include "core/app/message.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "foundation/debuglog.h"

const char* const kMessageMetatableKey = "qmMessageMetatable";

namespace {

// "__index" (message, key): the type and name fields; nothing for a nil message.
int ReadMessageField(lua_State* L) {
    TMessage* message = ToMessage(L, 1);
    if (!message) return 0;
    const char* key = lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : "";
    TString field(key);
    if (field == "type") {
        lua_pushnumber(L, message->GetType());
    } else if (field == "name") {
        lua_pushlstring(L, message->GetName().c_str(), message->GetName().Length());
    } else {
        lua_pushnil(L);
    }
    return 1;
}

// "__gc" (message): deletes the message. The userdata then loses the message
// metatable, so a script calling this binding by hand cannot delete it twice.
int CollectMessage(lua_State* L) {
    TMessage* message = ToMessage(L, 1);
    if (!message) return 0;
    delete message;
    lua_newtable(L);
    lua_setmetatable(L, 1);
    return 0;
}

void SetField(lua_State* L, const char* name, lua_CFunction function) {
    lua_pushstring(L, name);
    lua_pushcfunction(L, function);
    lua_rawset(L, -3);
}

// Leaves the metatable on the stack, creating it on first use.
void PushMessageMetatable(lua_State* L) {
    if (!luaL_newmetatable(L, kMessageMetatableKey)) return;
    SetField(L, "__index", ReadMessageField);
    SetField(L, "__gc", CollectMessage);
}

}  // namespace

void RegisterMessageMetatable(lua_State* L) {
    PushMessageMetatable(L);
    lua_pop(L, 1);
}

void PushMessage(lua_State* L, TMessage* message) {
    if (!message) {
        lua_pushnil(L);
        return;
    }
    lua_pushuserpointer(L, message);
    PushMessageMetatable(L);
    lua_setmetatable(L, -2);
}

TMessage* ToMessage(lua_State* L, int index) {
    int type = lua_type(L, index);
    if (type == LUA_TNIL || type == LUA_TNONE) return nullptr;
    bool isMessage = false;
    if (type == LUA_TUSERDATA && lua_getmetatable(L, index)) {
        luaL_getmetatable(L, kMessageMetatableKey);
        isMessage = lua_rawequal(L, -1, -2);
        lua_pop(L, 2);
    }
    if (!isMessage) {
        DebugLog("ToMessage: a %s value is not a message", lua_typename(L, type));
        return nullptr;
    }
    return static_cast<TMessage*>(lua_touserdata(L, index));
}
