// Function prototypes, script and native closures, and upvalues.
#pragma once

#include "lua/state.h"

namespace script {

// An empty prototype; the compiler or the chunk reader fills its arrays
// (allocated with newArray, sizes recorded in the count fields).
FunctionProto* newProto(lua_State* L);
void freeProto(lua_State* L, FunctionProto* p);

NativeClosure* newNativeClosure(lua_State* L, int upvalueCount, Table* env);
ScriptClosure* newScriptClosure(lua_State* L, int upvalueCount, Table* env);
void freeClosure(lua_State* L, Closure* c);

// The open upvalue for a stack slot of L, created when there is none.
Upvalue* findUpvalue(lua_State* L, StackPtr slot);
// Closes every open upvalue of L at `level` or above: each takes a copy of
// its value and joins the collector's objects.
void closeUpvalues(lua_State* L, StackPtr level);
void freeUpvalue(lua_State* L, Upvalue* u);

// Name of the n-th (1-based) local variable active at pc, or null.
const char* localName(const FunctionProto* p, int n, int pc);

}  // namespace script
