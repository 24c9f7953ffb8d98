#include "lua/metamethods.h"

namespace script {

void rememberAbsence(Table* mt, Event event)
{
    if (event <= Event::Eq)
        mt->absentEvents |= static_cast<uint8_t>(1u << static_cast<int>(event));
}

const Value* eventHandler(lua_State* L, const Value* o, Event event)
{
    switch (o->tag) {
    case LUA_TTABLE:
        return metatableEvent(L, asTable(o)->metatable, event);
    case LUA_TUSERDATA:
        return metatableEvent(L, asUserdata(o)->metatable, event);
    default:
        return nullptr;
    }
}

}  // namespace script
