// The virtual machine: the execute loop and the value operations that the
// C interface shares with it (indexing, arithmetic, concatenation, equality
// and order, all with their metamethods).
#pragma once

#include "lua/state.h"

namespace script {

// Runs the script function of the current frame, and the script functions it
// calls, until that frame returns (or the thread yields).
void execute(lua_State* L);

// *result := t[key], through __index handlers and type-wide metatables.
// `result` must be a stack slot of L (it is found again if the stack moves).
void getTable(lua_State* L, const Value* t, const Value* key, StackPtr result);

// getTable when t is a table without a value for key and `handler` is the
// __index handler of its metatable (the execute loop has looked them up).
void getTableThrough(lua_State* L, const Value* t, const Value* key, const Value* handler, StackPtr result);

// t[key] := value, through __newindex handlers. The three arguments are read
// before any handler runs.
void setTable(lua_State* L, const Value* t, const Value* key, const Value* value);

// Raw equality: same type and same number, boolean, pointer or object.
bool rawEquals(const Value* a, const Value* b);

// a == b with the __eq rule: only for two tables or two userdata that share
// the same handler.
bool equalValues(lua_State* L, const Value* a, const Value* b);

// a < b: numbers, 8-bit strings (byte order), else the __lt handler.
bool lessThan(lua_State* L, const Value* a, const Value* b);

// a <= b: as lessThan with __le, falling back to not (b < a) by __lt.
bool lessEqual(lua_State* L, const Value* a, const Value* b);

// Joins the `total` values L->base[last - total + 1 .. last] and stores the
// result at L->base[last - total + 1]. Wide and 8-bit runs as the dialect
// joins them; numbers convert, other values go to __concat.
void concat(lua_State* L, int total, int last);

// A number, or a string that reads as one (converted into *buffer); null
// otherwise.
const Value* toNumber(const Value* v, Value* buffer);

}  // namespace script
