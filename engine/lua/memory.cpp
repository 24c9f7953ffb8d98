#include "lua/memory.h"

#include <cstdlib>

#include "lua/call.h"
#include "lua/debuginfo.h"
#include "lua/strings.h"

namespace script {

void* reallocMemory(lua_State* L, void* block, size_t oldSize, size_t newSize)
{
    SharedState* g = L->shared;
    if (newSize == 0) {
        std::free(block);
        g->bytesInUse -= oldSize;
        return nullptr;
    }
    // New blocks are the common case: malloc skips realloc's checks.
    void* result = block ? std::realloc(block, newSize) : std::malloc(newSize);
    if (!result)
        raiseMemoryError(L);
    g->bytesInUse += newSize - oldSize;
    return result;
}

void raiseMemoryError(lua_State* L)
{
    if (!L->stack)
        throw ScriptError{LUA_ERRMEM};  // the state is still being built
    // The message is interned and fixed when the state opens, so finding it
    // again needs no memory.
    setString(L->top, newString(L, "not enough memory"));
    ++L->top;
    throwError(L, LUA_ERRMEM);
}

void growVectorBytes(lua_State* L, void** block, int* size, int needed, size_t itemSize, int limit,
                     const char* message)
{
    if (needed >= limit)
        runError(L, "%s", message);
    int newSize = *size < 2 ? 4 : *size * 2;
    if (newSize > limit)
        newSize = limit;
    if (newSize <= needed)
        newSize = needed + 1;
    *block = reallocMemory(L, *block, static_cast<size_t>(*size) * itemSize, static_cast<size_t>(newSize) * itemSize);
    *size = newSize;
}

}  // namespace script
