// Memory of the interpreter: every block is counted in SharedState::bytesInUse
// so that the collector knows when to run. Failure raises LUA_ERRMEM with the
// message "not enough memory".
#pragma once

#include <cstddef>

#include "lua/state.h"

namespace script {

// Resizes a block (oldSize 0: new block; newSize 0: frees it and returns null).
void* reallocMemory(lua_State* L, void* block, size_t oldSize, size_t newSize);

inline void* allocMemory(lua_State* L, size_t size) { return reallocMemory(L, nullptr, 0, size); }
inline void freeMemory(lua_State* L, void* block, size_t size) { reallocMemory(L, block, size, 0); }

// Pushes "not enough memory" and throws ScriptError{LUA_ERRMEM}.
[[noreturn]] void raiseMemoryError(lua_State* L);

template <typename T>
T* newArray(lua_State* L, size_t count)
{
    if (count > static_cast<size_t>(-1) / sizeof(T))
        raiseMemoryError(L);
    return static_cast<T*>(allocMemory(L, count * sizeof(T)));
}

template <typename T>
void freeArray(lua_State* L, T* block, size_t count)
{
    freeMemory(L, block, count * sizeof(T));
}

template <typename T>
T* resizeArray(lua_State* L, T* block, size_t oldCount, size_t newCount)
{
    if (newCount > static_cast<size_t>(-1) / sizeof(T))
        raiseMemoryError(L);
    return static_cast<T*>(reallocMemory(L, block, oldCount * sizeof(T), newCount * sizeof(T)));
}

// Makes index `needed` of a growing vector valid (doubling, at least 4 items);
// an index of `limit` or more raises the run-time error `message`.
void growVectorBytes(lua_State* L, void** block, int* size, int needed, size_t itemSize, int limit,
                     const char* message);

template <typename T>
void growVector(lua_State* L, T*& block, int& size, int needed, int limit, const char* message)
{
    if (needed < size)
        return;
    void* b = block;
    growVectorBytes(L, &b, &size, needed, sizeof(T), limit, message);
    block = static_cast<T*>(b);
}

}  // namespace script
