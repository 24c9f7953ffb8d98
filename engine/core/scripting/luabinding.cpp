#include "core/scripting/luabinding.h"

namespace luabinding {

// Bindings are stored from engine code outside any protected call, where a
// failing "__newindex" of the globals would end the process.
void Publish(lua_State* L, const char* name, const void* target, size_t size, lua_CFunction thunk) {
    std::memcpy(lua_newuserdata(L, size), target, size);
    lua_pushcclosure(L, thunk, 1);
    LuaSetGlobalProtected(L, name);
}

}  // namespace luabinding

void UnregisterBinding(lua_State* L, const char* name) {
    lua_pushnil(L);
    LuaSetGlobalProtected(L, name);
}
