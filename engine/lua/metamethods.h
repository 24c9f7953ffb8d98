// Metamethod lookup: a table's or userdata's own metatable, or the
// type-wide metatable of every other type.
#pragma once

#include "lua/state.h"

namespace script {

// Looks `event` up in `mt`, remembering its absence for the events up to
// Event::Eq in mt->absentEvents.
const Value* lookupEvent(lua_State* L, Table* mt, Event event);

// The handler of `event` in the metatable `mt` (null for none); a remembered
// absence answers without a lookup.
inline const Value* metatableEvent(lua_State* L, Table* mt, Event event)
{
    if (mt == nullptr)
        return nullptr;
    if (event <= Event::Eq && (mt->absentEvents & (1u << static_cast<int>(event))))
        return nullptr;
    return lookupEvent(L, mt, event);
}

// The handler of `event` for the value `o`, or null. Values other than
// tables and full userdata have no handlers but indexing (see vm.h), since
// their type-wide slot holds a table, never a function.
const Value* eventHandler(lua_State* L, const Value* o, Event event);

}  // namespace script
