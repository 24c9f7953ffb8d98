#include "core/luabinding.h"

namespace luabinding {

void Publish(lua_State* L, const char* name, const void* target, size_t size, lua_CFunction thunk) {
    lua_pushstring(L, name);
    std::memcpy(lua_newuserdata(L, size), target, size);
    lua_pushcclosure(L, thunk, 1);
    lua_settable(L, LUA_GLOBALSINDEX);
}

}  // namespace luabinding

void UnregisterBinding(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_pushnil(L);
    lua_settable(L, LUA_GLOBALSINDEX);
}
