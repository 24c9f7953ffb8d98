// Writing a function prototype as a binary chunk: a header (signature ESC
// "Lua", version 0x50, byte order, sizes of int, size_t, Instruction, the
// operand fields and number, a test number), then the main function with its
// nested functions.
#pragma once

#include "lua/object.h"

namespace script {

// Writes the chunk of `p` through `writer`; returns 0, or the first non-zero
// status the writer returned (writing stops there).
int dumpFunction(lua_State* L, const FunctionProto* p, lua_Chunkwriter writer, void* data);

}  // namespace script
