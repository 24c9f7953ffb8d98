#include "lua/function.h"

#include <new>

#include "lua/collector.h"
#include "lua/memory.h"

namespace script {

namespace {

size_t nativeClosureSize(int upvalueCount)
{
    return sizeof(NativeClosure) + static_cast<size_t>(upvalueCount > 1 ? upvalueCount - 1 : 0) * sizeof(Value);
}

size_t scriptClosureSize(int upvalueCount)
{
    return sizeof(ScriptClosure) + static_cast<size_t>(upvalueCount > 1 ? upvalueCount - 1 : 0) * sizeof(Upvalue*);
}

void initClosure(Closure* c, bool native, int upvalueCount, Table* env)
{
    c->isNative = native;
    c->upvalueCount = static_cast<uint8_t>(upvalueCount);
    c->grayNext = nullptr;
    c->env = env;
}

}  // namespace

FunctionProto* newProto(lua_State* L)
{
    // Value-initialised: every count, pointer and flag starts at zero.
    auto* p = new (allocMemory(L, sizeof(FunctionProto))) FunctionProto();
    linkObject(L, p, kTagProto);
    return p;
}

void freeProto(lua_State* L, FunctionProto* p)
{
    freeArray(L, p->constants, static_cast<size_t>(p->constantCount));
    freeArray(L, p->code, static_cast<size_t>(p->codeSize));
    if (p->exec)
        freeArray(L, p->exec, static_cast<size_t>(p->codeSize));
    freeArray(L, p->protos, static_cast<size_t>(p->protoCount));
    freeArray(L, p->lineInfo, static_cast<size_t>(p->lineInfoSize));
    freeArray(L, p->localVars, static_cast<size_t>(p->localVarCount));
    freeArray(L, p->upvalueNames, static_cast<size_t>(p->upvalueNameCount));
    freeMemory(L, p, sizeof(FunctionProto));
}

NativeClosure* newNativeClosure(lua_State* L, int upvalueCount, Table* env)
{
    auto* c = static_cast<NativeClosure*>(allocMemory(L, nativeClosureSize(upvalueCount)));
    initClosure(c, true, upvalueCount, env);
    c->f = nullptr;
    for (int i = 0; i < upvalueCount; ++i)
        setNil(&c->upvalues[i]);
    linkObject(L, c, LUA_TFUNCTION);
    return c;
}

ScriptClosure* newScriptClosure(lua_State* L, int upvalueCount, Table* env)
{
    auto* c = static_cast<ScriptClosure*>(allocMemory(L, scriptClosureSize(upvalueCount)));
    initClosure(c, false, upvalueCount, env);
    c->proto = nullptr;
    for (int i = 0; i < upvalueCount; ++i)
        c->upvalues[i] = nullptr;
    linkObject(L, c, LUA_TFUNCTION);
    return c;
}

void freeClosure(lua_State* L, Closure* c)
{
    size_t size = c->isNative ? nativeClosureSize(c->upvalueCount) : scriptClosureSize(c->upvalueCount);
    freeMemory(L, c, size);
}

Upvalue* findUpvalue(lua_State* L, StackPtr slot)
{
    Upvalue** link = &L->openUpvalues;
    while (*link && (*link)->v > slot)
        link = &(*link)->openNext;
    if (*link && (*link)->v == slot)
        return *link;
    // Open upvalues belong to their thread's list; they join the collector's
    // objects when closed.
    auto* u = static_cast<Upvalue*>(allocMemory(L, sizeof(Upvalue)));
    u->next = nullptr;
    u->tag = kTagUpvalue;
    u->marks = 0;
    u->v = slot;
    setNil(&u->closed);
    u->openNext = *link;
    *link = u;
    return u;
}

void closeUpvalues(lua_State* L, StackPtr level)
{
    Upvalue* u;
    while ((u = L->openUpvalues) != nullptr && u->v >= level) {
        u->closed = *u->v;
        u->v = &u->closed;
        L->openUpvalues = u->openNext;
        u->openNext = nullptr;
        linkObject(L, u, kTagUpvalue);
    }
}

void freeUpvalue(lua_State* L, Upvalue* u) { freeMemory(L, u, sizeof(Upvalue)); }

const char* localName(const FunctionProto* p, int n, int pc)
{
    for (int i = 0; i < p->localVarCount && p->localVars[i].startPc <= pc; ++i) {
        if (pc < p->localVars[i].endPc && --n == 0)
            return p->localVars[i].name->chars();
    }
    return nullptr;
}

}  // namespace script
