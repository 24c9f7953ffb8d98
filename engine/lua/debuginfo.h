// Debug information: positions of running code, names of the values an
// instruction works on, and the run-time error messages built from them.
#pragma once

#include <cstddef>

#include "lua/state.h"

namespace script {

// The source line a script frame is at (-1 for native frames).
int currentLine(lua_State* L, const CallFrame* frame);

// The printable chunk name of `source` into out (at most `size` bytes incl.
// the zero): "=name" gives name, "@file" the file name (its end when too
// long), any other text [string "first line..."].
void chunkId(char* out, const char* source, size_t size);

// Raises a run-time error with the message printf-formatted as
// lua_pushfstring does, prefixed "chunk:line:" when a script function runs.
[[noreturn]] void runError(lua_State* L, const char* fmt, ...);

// "attempt to <operation> <kind> `<name>' (a <type> value)", or without the
// name part when the value has no name.
[[noreturn]] void typeError(lua_State* L, const Value* o, const char* operation);

// "attempt to perform arithmetic on ..." naming the operand that is not a number.
[[noreturn]] void arithError(lua_State* L, const Value* a, const Value* b);

// "attempt to compare two <type> values" or "attempt to compare <type> with <type>".
[[noreturn]] void orderError(lua_State* L, const Value* a, const Value* b);

}  // namespace script
