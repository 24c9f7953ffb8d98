// The intern pool: 8-bit and wide strings share one hash table, and equal
// contents of the same tag are always the same object.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lua/collector.h"
#include "lua/state.h"

namespace script {

// Hash of n bytes or n 16-bit units: starts at n, samples at most ~32
// characters from the end.
uint32_t hashBytes(const char* s, size_t length);
uint32_t hashUnits(const lua_WChar* s, size_t length);

// Returns the interned string, creating it when new.
String* newString(lua_State* L, const char* s, size_t length);
String* newString(lua_State* L, const char* s);  // zero-terminated
String* newWideString(lua_State* L, const lua_WChar* s, size_t length);

// A text built in place: newStringToFill gives a string of `length` units of
// `tag`, outside the pool and the collector's reach, whose characters the
// caller writes at once; internFilled then gives the pooled string with that
// text: the filled one, or an equal one already there (the filled one is then
// freed). Long texts are joined so with a single copy.
String* newStringToFill(lua_State* L, size_t length, int tag);
String* internFilled(lua_State* L, String* s);

// Size of the whole object in bytes (header, characters and the terminator).
size_t stringObjectSize(const String* s);

// Number of units of a zero-terminated wide text.
size_t wideLength(const lua_WChar* s);

// The pool's bucket array; created empty by initStringPool.
void initStringPool(lua_State* L);
void resizeStringPool(lua_State* L, int newSize);
void freeString(lua_State* L, String* s);

// Marks a string so that the collector never frees it (reserved words,
// event names, the memory error message).
inline void fixString(String* s) { s->marks |= kMarkFixed; }

}  // namespace script
