#include "lua/metamethods.h"

#include "lua/table.h"

namespace script {

const Value* lookupEvent(lua_State* L, Table* mt, Event event)
{
    const int e = static_cast<int>(event);
    const bool cached = event <= Event::Eq;
    const Value* handler = tableGetString(mt, L->shared->eventNames[e]);
    if (!isNil(handler))
        return handler;
    if (cached)
        mt->absentEvents |= static_cast<uint8_t>(1u << e);
    return nullptr;
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
