// Reading binary chunks (the format dump.h writes).
#pragma once

#include "lua/chunkinput.h"
#include "lua/object.h"

namespace script {

// The first byte of a binary chunk.
constexpr int kBinarySignatureByte = 27;

// Reads a binary chunk and checks everything in it (header, counts, every
// instruction's operands), so that a damaged chunk is refused and never
// runs. Errors raise ScriptError{LUA_ERRRUN} with the message on top of
// the stack. The result is left on top of the stack (a slot tagged
// kTagProto); the caller replaces it.
FunctionProto* undumpChunk(lua_State* L, ChunkInput& input, const char* chunkName);

}  // namespace script
