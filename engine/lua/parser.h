// The compiler's entry: source text to the prototype of the chunk's main
// function.
#pragma once

#include "lua/chunkinput.h"
#include "lua/object.h"

namespace script {

// Compiles a source chunk. `chunkName` is the chunk's source name ("=name",
// "@file" or the text itself). A syntax error raises
// ScriptError{LUA_ERRSYNTAX} with "chunk:line: message near `token'" on top
// of the stack. The result is left on top of the stack (a slot tagged
// kTagProto) so that the collector sees it; the caller replaces it.
FunctionProto* compileChunk(lua_State* L, ChunkInput& input, const char* chunkName);

}  // namespace script
