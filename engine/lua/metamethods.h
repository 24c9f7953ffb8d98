// Metamethod lookup: a table's or userdata's own metatable, or the
// type-wide metatable of every other type.
#pragma once

#include "lua/state.h"
#include "lua/table.h"

namespace script {

// Remembers that `mt` has no handler for `event` (for the events up to
// Event::Eq, in mt->absentEvents).
void rememberAbsence(Table* mt, Event event);

// The handler of `event` in the metatable `mt` (null for none); a remembered
// absence answers without a lookup. Inline: every index that misses asks it.
inline const Value* metatableEvent(lua_State* L, Table* mt, Event event)
{
    if (mt == nullptr)
        return nullptr;
    if (event <= Event::Eq && (mt->absentEvents & (1u << static_cast<int>(event))))
        return nullptr;
    const Value* handler = tableGetString(mt, L->shared->eventNames[static_cast<int>(event)]);
    if (!isNil(handler))
        return handler;
    rememberAbsence(mt, event);
    return nullptr;
}

// The handler of `event` for the value `o`, or null. Values other than
// tables and full userdata have no handlers but indexing (see vm.h), since
// their type-wide slot holds a table, never a function.
const Value* eventHandler(lua_State* L, const Value* o, Event event);

}  // namespace script
