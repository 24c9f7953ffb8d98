// A sprite held weakly by a script: the link is a block that the script's
// collection frees, so a script outliving its sprite finds no sprite.
#pragma once

#include <memory>

struct lua_State;
class VSprite;

// Pushes a new link to the sprite, usually to become a function's upvalue.
void PushSpriteLink(lua_State* L, const std::shared_ptr<VSprite>& sprite);
// The sprite of the link at the stack index; null when it has gone or
// nothing is there.
std::shared_ptr<VSprite> ReadSpriteLink(lua_State* L, int index);
