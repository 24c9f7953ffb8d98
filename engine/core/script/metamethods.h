// Metamethod lookup: a table's or userdata's own metatable, or the
// type-wide metatable of every other type.
#pragma once

#include "core/script/state.h"

namespace script {

// The handler of `event` in the metatable `mt` (null for none). Absence of
// the events up to Event::Eq is remembered in mt->absentEvents.
const Value* metatableEvent(lua_State* L, Table* mt, Event event);

// The metatable that governs `o`: its own for tables and full userdata, the
// type-wide one of its type for any other value. Null when there is none.
Table* governingMetatable(lua_State* L, const Value* o);

// The handler of `event` for the value `o`, or null. Values other than
// tables and full userdata have no handlers but indexing (see vm.h), since
// their type-wide slot holds a table, never a function.
const Value* eventHandler(lua_State* L, const Value* o, Event event);

// Forgets the cached absences of `t`'s events (after `t` gains a key).
inline void forgetAbsentEvents(Table* t) { t->absentEvents = 0; }

}  // namespace script
