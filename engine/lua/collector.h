// Stop-the-world mark and sweep. Roots: the main thread, the running thread,
// the registry, the type-wide metatables and userdata awaiting __gc. Weak
// tables ("k", "v", "kv" in __mode) lose entries whose object keys or values
// died; unreachable userdata with __gc are finalised (newest first) and freed
// by the next collection. After a collection the threshold is twice the bytes
// in use.
#pragma once

#include "lua/state.h"

namespace script {

// Bits of GcObject::marks.
constexpr uint8_t kMarkReached = 1;
constexpr uint8_t kMarkFixed = 2;       // never collected
constexpr uint8_t kMarkFinalized = 4;   // userdata: __gc done or not wanted
constexpr uint8_t kMarkWeakKeys = 8;    // tables: weak keys in this cycle
constexpr uint8_t kMarkWeakValues = 16; // tables: weak values in this cycle

// Puts a new object (not a string, not userdata) on the collector's list.
void linkObject(lua_State* L, GcObject* o, int tag);
// A new userdata with `size` bytes of payload (rounded up to even), or, with
// `pointer`, a pointer userdata (odd size) holding one outside pointer.
Userdata* newUserdata(lua_State* L, size_t size, bool pointer);
inline bool isPointerUserdata(const Userdata* u) { return (u->size & 1) != 0; }

// A full collection, then the pending finalisers.
void collectGarbage(lua_State* L);

// Collects when the bytes in use reached the threshold. Call only where every
// live value is reachable (on a stack, in a table...).
inline void checkCollect(lua_State* L)
{
    if (L->shared->bytesInUse >= L->shared->threshold)
        collectGarbage(L);
}

// At lua_close: runs every pending __gc, then frees all objects.
void finalizeAll(lua_State* L);
void freeAllObjects(lua_State* L);

}  // namespace script
