#include "lua/collector.h"

#include <initializer_list>

#include "lua/call.h"
#include "lua/function.h"
#include "lua/memory.h"
#include "lua/strings.h"
#include "lua/table.h"

namespace script {

namespace {

constexpr int kMinPoolSize = 32;

struct Marker {
    SharedState* g;
    GcObject* gray = nullptr;  // reached objects whose references are not yet marked
    Table* weak = nullptr;     // weak tables met, linked through grayNext
};

GcObject** grayLink(GcObject* o)
{
    switch (o->tag) {
    case LUA_TTABLE:
        return &static_cast<Table*>(o)->grayNext;
    case LUA_TFUNCTION:
        return &static_cast<Closure*>(o)->grayNext;
    case LUA_TTHREAD:
        return &static_cast<lua_State*>(o)->grayNext;
    default:  // kTagProto
        return &static_cast<FunctionProto*>(o)->grayNext;
    }
}

void markObject(Marker& m, GcObject* o);

void markValue(Marker& m, const Value* v)
{
    if (isCollectable(v))
        markObject(m, v->gc);
}

void markUpvalue(Marker& m, Upvalue* u)
{
    if (u->v != &u->closed) {
        // Open: the value lives in a stack; it is marked here too because a
        // dead thread's upvalues are closed when the thread is freed.
        markValue(m, u->v);
        return;
    }
    if (u->marks & kMarkReached)
        return;
    u->marks |= kMarkReached;
    markValue(m, &u->closed);
}

// Never called for upvalues: markUpvalue handles them.
void markObject(Marker& m, GcObject* o)
{
    if (!o || (o->marks & kMarkReached))
        return;
    o->marks |= kMarkReached;
    switch (o->tag) {
    case LUA_TSTRING:
    case LUA_TWSTRING:
        break;
    case LUA_TUSERDATA:
        markObject(m, static_cast<Userdata*>(o)->metatable);
        break;
    default:
        *grayLink(o) = m.gray;
        m.gray = o;
        break;
    }
}

// True when a weak entry's key or value is gone: an object that was not
// reached (strings count as values and stay), or, as a value, a userdata
// whose finaliser ran or is due.
bool isCleared(const Value* v, bool asKey)
{
    if (!isCollectable(v) || isString(v) || isWideString(v))
        return false;
    if (!(v->gc->marks & kMarkReached))
        return true;
    return !asKey && isUserdata(v) && (v->gc->marks & kMarkFinalized);
}

void traverseTable(Marker& m, Table* t)
{
    markObject(m, t->metatable);
    t->marks &= static_cast<uint8_t>(~(kMarkWeakKeys | kMarkWeakValues));
    bool weakKeys = false;
    bool weakValues = false;
    if (t->metatable) {
        const Value* mode = tableGetString(t->metatable, m.g->eventNames[static_cast<int>(Event::Mode)]);
        if (isString(mode)) {
            const String* s = asString(mode);
            for (size_t i = 0; i < s->length; ++i) {
                weakKeys |= s->chars()[i] == 'k';
                weakValues |= s->chars()[i] == 'v';
            }
        }
    }
    if (weakKeys || weakValues) {
        t->marks |= (weakKeys ? kMarkWeakKeys : 0) | (weakValues ? kMarkWeakValues : 0);
        t->grayNext = m.weak;
        m.weak = t;
    }
    if (!weakValues)
        for (int i = 0; i < t->arraySize; ++i)
            markValue(m, &t->array[i]);
    if (tableHasNoNodes(t))
        return;
    for (int i = 0; i < tableNodeCount(t); ++i) {
        TableNode* n = &t->nodes[i];
        if (isNil(&n->value))
            continue;  // a dead key is never looked at again but by identity
        if (!weakKeys || isString(&n->key) || isWideString(&n->key))
            markValue(m, &n->key);
        if (!weakValues || isString(&n->value) || isWideString(&n->value))
            markValue(m, &n->value);
    }
}

void traverseClosure(Marker& m, Closure* c)
{
    markObject(m, c->env);
    if (c->isNative) {
        auto* nc = static_cast<NativeClosure*>(c);
        for (int i = 0; i < nc->upvalueCount; ++i)
            markValue(m, &nc->upvalues[i]);
        return;
    }
    auto* sc = static_cast<ScriptClosure*>(c);
    markObject(m, sc->proto);
    for (int i = 0; i < sc->upvalueCount; ++i)
        if (sc->upvalues[i])
            markUpvalue(m, sc->upvalues[i]);
}

void traverseProto(Marker& m, FunctionProto* p)
{
    markObject(m, p->source);
    for (int i = 0; i < p->constantCount; ++i)
        markValue(m, &p->constants[i]);
    for (int i = 0; i < p->protoCount; ++i)
        markObject(m, p->protos[i]);
    for (int i = 0; i < p->upvalueNameCount; ++i)
        markObject(m, p->upvalueNames[i]);
    for (int i = 0; i < p->localVarCount; ++i)
        markObject(m, p->localVars[i].name);
}

// Marks the live part of a stack and clears every slot above it, so that
// after any collection each slot holds nil or a live value: a frame that later
// covers an old slot never sees a freed object.
void traverseThread(Marker& m, lua_State* L1)
{
    markValue(m, &L1->globals);
    if (!L1->stack)
        return;
    StackPtr limit = L1->top;
    if (!(L1->frame->flags & kFrameNative) && L1->frame->top > limit)
        limit = L1->frame->top;
    StackPtr end = L1->stack + L1->stackSize;
    if (limit > end)
        limit = end;
    for (StackPtr p = L1->stack; p < limit; ++p)
        markValue(m, p);
    for (StackPtr p = limit; p < end; ++p)
        setNil(p);
}

void propagate(Marker& m)
{
    while (m.gray) {
        GcObject* o = m.gray;
        GcObject** link = grayLink(o);
        m.gray = *link;
        switch (o->tag) {
        case LUA_TTABLE:
            traverseTable(m, static_cast<Table*>(o));
            break;
        case LUA_TFUNCTION:
            traverseClosure(m, static_cast<Closure*>(o));
            break;
        case LUA_TTHREAD:
            traverseThread(m, static_cast<lua_State*>(o));
            break;
        default:
            traverseProto(m, static_cast<FunctionProto*>(o));
            break;
        }
    }
}

// The __gc field of u's metatable, nil without one.
const Value* gcHandler(SharedState* g, Userdata* u)
{
    return u->metatable ? tableGetString(u->metatable, g->eventNames[static_cast<int>(Event::Gc)]) : &kNilValue;
}

// Moves the unreached userdata with a __gc handler to the end of the
// finaliser queue (keeping their order, newest first) and flags every
// unreached userdata as looked at, so none is finalised twice.
void separateUserdata(SharedState* g, bool all)
{
    GcObject** tail = &g->toFinalize;
    while (*tail)
        tail = &(*tail)->next;
    GcObject** link = &g->userdata;
    while (GcObject* o = *link) {
        auto* u = static_cast<Userdata*>(o);
        if ((!all && (o->marks & kMarkReached)) || (o->marks & kMarkFinalized)) {
            link = &o->next;
            continue;
        }
        o->marks |= kMarkFinalized;
        if (isNil(gcHandler(g, u))) {
            link = &o->next;
            continue;
        }
        *link = o->next;
        o->next = nullptr;
        *tail = o;
        tail = &o->next;
    }
}

void clearWeakTables(Marker& m)
{
    for (Table* t = m.weak; t; t = static_cast<Table*>(t->grayNext)) {
        bool weakKeys = t->marks & kMarkWeakKeys;
        bool weakValues = t->marks & kMarkWeakValues;
        if (weakValues)
            for (int i = 0; i < t->arraySize; ++i)
                if (isCleared(&t->array[i], false))
                    setNil(&t->array[i]);
        if (tableHasNoNodes(t))
            continue;
        for (int i = 0; i < tableNodeCount(t); ++i) {
            TableNode* n = &t->nodes[i];
            if (isNil(&n->value))
                continue;
            if ((weakKeys && isCleared(&n->key, true)) || (weakValues && isCleared(&n->value, false)))
                setNil(&n->value);
        }
    }
}

size_t userdataBytes(const Userdata* u)
{
    return sizeof(Userdata) + (isPointerUserdata(u) ? sizeof(void*) : u->size);
}

void freeObject(lua_State* L, GcObject* o)
{
    switch (o->tag) {
    case LUA_TTABLE:
        freeTable(L, static_cast<Table*>(o));
        break;
    case LUA_TFUNCTION:
        freeClosure(L, static_cast<Closure*>(o));
        break;
    case LUA_TTHREAD:
        freeThread(L, static_cast<lua_State*>(o));
        break;
    case LUA_TUSERDATA:
        freeMemory(L, o, userdataBytes(static_cast<Userdata*>(o)));
        break;
    case kTagUpvalue:
        freeUpvalue(L, static_cast<Upvalue*>(o));
        break;
    case kTagProto:
        freeProto(L, static_cast<FunctionProto*>(o));
        break;
    default:
        freeString(L, static_cast<String*>(o));
        break;
    }
}

void sweepStrings(lua_State* L)
{
    StringPool& pool = L->shared->strings;
    for (int i = 0; i < pool.size; ++i) {
        GcObject** link = reinterpret_cast<GcObject**>(&pool.buckets[i]);
        while (GcObject* o = *link) {
            if (o->marks & (kMarkReached | kMarkFixed)) {
                o->marks &= static_cast<uint8_t>(~kMarkReached);
                link = &o->next;
            } else {
                *link = o->next;
                freeString(L, static_cast<String*>(o));
            }
        }
    }
    if (pool.count < static_cast<uint32_t>(pool.size / 4) && pool.size > 2 * kMinPoolSize)
        resizeStringPool(L, pool.size / 2);
}

// Frees the unreached objects. The list is rebuilt: threads freed here close
// their upvalues, which join the list unreached and wait for the next cycle.
void sweepObjects(lua_State* L)
{
    SharedState* g = L->shared;
    GcObject* o = g->objects;
    g->objects = nullptr;
    while (o) {
        GcObject* following = o->next;
        if (o->marks & kMarkReached) {
            o->marks &= static_cast<uint8_t>(~kMarkReached);
            o->next = g->objects;
            g->objects = o;
        } else {
            freeObject(L, o);
        }
        o = following;
    }
}

void sweepUserdata(lua_State* L)
{
    GcObject** link = &L->shared->userdata;
    while (GcObject* o = *link) {
        if (o->marks & kMarkReached) {
            o->marks &= static_cast<uint8_t>(~kMarkReached);
            link = &o->next;
        } else {
            *link = o->next;
            freeObject(L, o);
        }
    }
}

void markRoots(Marker& m, lua_State* L)
{
    SharedState* g = m.g;
    markObject(m, g->mainThread);
    markObject(m, L);
    markValue(m, &g->registry);
    for (Table* mt : g->typeMetatables)
        markObject(m, mt);
    for (GcObject* u = g->toFinalize; u; u = u->next)
        markObject(m, u);
}

// Runs the __gc handler of every queued userdata, oldest in the queue first;
// each goes back to the userdata list to be freed by a later collection.
void runFinalizers(lua_State* L)
{
    SharedState* g = L->shared;
    while (GcObject* o = g->toFinalize) {
        g->toFinalize = o->next;
        o->next = g->userdata;
        g->userdata = o;
        auto* u = static_cast<Userdata*>(o);
        const Value* handler = gcHandler(g, u);
        if (!isFunction(handler))
            continue;
        checkStack(L, 2);
        L->top[0] = *handler;
        setUserdata(&L->top[1], u);
        L->top += 2;
        callValue(L, L->top - 2, 0);
    }
}

}  // namespace

void linkObject(lua_State* L, GcObject* o, int tag)
{
    SharedState* g = L->shared;
    o->tag = static_cast<uint8_t>(tag);
    o->marks = 0;
    o->next = g->objects;
    g->objects = o;
}

Userdata* newUserdata(lua_State* L, size_t size, bool pointer)
{
    size_t payload = pointer ? sizeof(void*) : size + (size & 1);
    if (payload < size || payload > static_cast<size_t>(-1) - sizeof(Userdata))
        raiseMemoryError(L);
    auto* u = static_cast<Userdata*>(allocMemory(L, sizeof(Userdata) + payload));
    SharedState* g = L->shared;
    u->tag = LUA_TUSERDATA;
    u->marks = 0;
    u->metatable = nullptr;
    u->size = pointer ? 1 : payload;
    u->next = g->userdata;
    g->userdata = u;
    return u;
}

void collectGarbage(lua_State* L)
{
    SharedState* g = L->shared;
    Marker m{g};
    markRoots(m, L);
    propagate(m);
    separateUserdata(g, false);
    for (GcObject* u = g->toFinalize; u; u = u->next)
        markObject(m, u);
    propagate(m);
    clearWeakTables(m);
    sweepStrings(L);
    sweepObjects(L);
    sweepUserdata(L);
    g->mainThread->marks &= static_cast<uint8_t>(~kMarkReached);
    for (GcObject* u = g->toFinalize; u; u = u->next)
        u->marks &= static_cast<uint8_t>(~kMarkReached);
    g->threshold = 2 * g->bytesInUse;
    runFinalizers(L);
}

void finalizeAll(lua_State* L)
{
    separateUserdata(L->shared, true);
    runFinalizers(L);
}

void freeAllObjects(lua_State* L)
{
    SharedState* g = L->shared;
    // Freeing a thread closes its upvalues onto the list: repeat until empty.
    while (GcObject* o = g->objects) {
        g->objects = nullptr;
        while (o) {
            GcObject* following = o->next;
            freeObject(L, o);
            o = following;
        }
    }
    for (GcObject** list : {&g->userdata, &g->toFinalize}) {
        GcObject* o = *list;
        *list = nullptr;
        while (o) {
            GcObject* following = o->next;
            freeObject(L, o);
            o = following;
        }
    }
    StringPool& pool = g->strings;
    for (int i = 0; i < pool.size; ++i) {
        GcObject* o = pool.buckets[i];
        pool.buckets[i] = nullptr;
        while (o) {
            GcObject* following = o->next;
            freeString(L, static_cast<String*>(o));
            o = following;
        }
    }
}

}  // namespace script
