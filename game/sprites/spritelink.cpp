#include "game/sprites/spritelink.h"

#include <new>

#include "lua/lua.h"

namespace {

using SpriteLink = std::weak_ptr<VSprite>;

int FreeSpriteLink(lua_State* L) {
    if (void* block = lua_touserdata(L, 1)) static_cast<SpriteLink*>(block)->~SpriteLink();
    return 0;
}

}  // namespace

void PushSpriteLink(lua_State* L, const std::shared_ptr<VSprite>& sprite) {
    new (lua_newuserdata(L, sizeof(SpriteLink))) SpriteLink(sprite);
    lua_newtable(L);
    lua_pushstring(L, "__gc");
    lua_pushcfunction(L, FreeSpriteLink);
    lua_rawset(L, -3);
    lua_setmetatable(L, -2);
}

std::shared_ptr<VSprite> ReadSpriteLink(lua_State* L, int index) {
    auto* link = static_cast<SpriteLink*>(lua_touserdata(L, index));
    return link ? link->lock() : nullptr;
}
