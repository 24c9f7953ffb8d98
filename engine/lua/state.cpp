#include <cstdlib>
#include <cstring>
#include <new>

#include "lua/call.h"
#include "lua/collector.h"
#include "lua/debuginfo.h"
#include "lua/function.h"
#include "lua/memory.h"
#include "lua/state.h"
#include "lua/strings.h"
#include "lua/table.h"

using namespace script;

namespace {

// Slots and frames beyond the limits, for handling "stack overflow".
constexpr int kOverflowSlots = 200;
constexpr int kOverflowFrames = kMaxFrames;

const char* const kEventNames[] = {"__index", "__newindex", "__gc", "__mode", "__eq", "__add", "__sub", "__mul",
                                   "__div", "__pow", "__unm", "__lt", "__le", "__concat", "__call"};
static_assert(sizeof(kEventNames) / sizeof(kEventNames[0]) == static_cast<size_t>(Event::Count));

void clearThread(lua_State* L1, SharedState* g)
{
    L1->tag = LUA_TTHREAD;
    L1->marks = 0;
    L1->next = nullptr;
    L1->shared = g;
    L1->stack = nullptr;
    L1->stackSize = 0;
    L1->top = L1->base = L1->stackLast = nullptr;
    L1->frames = L1->frame = L1->framesEnd = nullptr;
    L1->frameCount = 0;
    L1->nativeCalls = 0;
    L1->status = 0;
    L1->openUpvalues = nullptr;
    L1->grayNext = nullptr;
    setNil(&L1->globals);
    L1->errorHandler = 0;
}

// A stack and frame array whose first frame is a native base frame.
void initStack(lua_State* L1, lua_State* L)
{
    int size = kBasicStackSize + kExtraStack;
    L1->stack = newArray<Value>(L, static_cast<size_t>(size));
    L1->stackSize = size;
    for (int i = 0; i < size; ++i)
        setNil(&L1->stack[i]);
    L1->stackLast = L1->stack + size - kExtraStack;
    L1->frames = newArray<CallFrame>(L, kBasicFrameCount);
    L1->frameCount = kBasicFrameCount;
    L1->framesEnd = L1->frames + kBasicFrameCount;
    L1->frame = L1->frames;
    CallFrame* f = L1->frame;
    f->func = L1->stack;
    f->base = L1->top = L1->base = L1->stack + 1;
    f->top = L1->base + LUA_MINSTACK;
    f->savedPc = nullptr;
    f->flags = kFrameNative;
    f->wantedResults = 0;
    f->tailCalls = 0;
}

void freeStack(lua_State* L, lua_State* L1)
{
    freeArray(L, L1->frames, static_cast<size_t>(L1->frameCount));
    freeArray(L, L1->stack, static_cast<size_t>(L1->stackSize));
}

void resizeStack(lua_State* L, int newSize)
{
    Value* old = L->stack;
    Value* fresh = newArray<Value>(L, static_cast<size_t>(newSize));
    int used = L->stackSize < newSize ? L->stackSize : newSize;
    std::memcpy(static_cast<void*>(fresh), old, static_cast<size_t>(used) * sizeof(Value));
    for (int i = used; i < newSize; ++i)
        setNil(&fresh[i]);
    auto moved = [&](StackPtr p) { return fresh + (p - old); };
    L->top = moved(L->top);
    L->base = moved(L->base);
    for (CallFrame* f = L->frames; f <= L->frame; ++f) {
        f->func = moved(f->func);
        f->base = moved(f->base);
        f->top = moved(f->top);
    }
    for (Upvalue* u = L->openUpvalues; u; u = u->openNext)
        u->v = moved(u->v);
    freeArray(L, old, static_cast<size_t>(L->stackSize));
    L->stack = fresh;
    L->stackSize = newSize;
    L->stackLast = fresh + newSize - kExtraStack;
}

void resizeFrames(lua_State* L, int newCount)
{
    ptrdiff_t current = L->frame - L->frames;
    L->frames = resizeArray(L, L->frames, static_cast<size_t>(L->frameCount), static_cast<size_t>(newCount));
    L->frameCount = newCount;
    L->frame = L->frames + current;
    L->framesEnd = L->frames + newCount;
}

[[noreturn]] void errorInErrorHandling(lua_State* L)
{
    setString(L->top, newString(L, "error in error handling"));
    ++L->top;
    throwError(L, LUA_ERRERR);
}

void openState(lua_State* L)
{
    SharedState* g = L->shared;
    initStringPool(L);
    fixString(newString(L, "not enough memory"));
    initStack(L, L);
    for (int e = 0; e < static_cast<int>(Event::Count); ++e) {
        g->eventNames[e] = newString(L, kEventNames[e]);
        fixString(g->eventNames[e]);
    }
    setTable(&g->registry, newTable(L, 0, -1));
    setTable(&L->globals, newTable(L, 0, 4));
    g->threshold = 4 * g->bytesInUse;
}

void freeSharedState(lua_State* L)
{
    SharedState* g = L->shared;
    freeAllObjects(L);
    freeArray(L, g->strings.buckets, static_cast<size_t>(g->strings.size));
    if (L->stack)
        freeStack(L, L);
    std::free(L);
    std::free(g);
}

void runPendingFinalizers(lua_State* L, void*) { finalizeAll(L); }

}  // namespace

namespace script {

void growStack(lua_State* L, int n)
{
    ptrdiff_t needed = (L->top - L->stack) + n + kExtraStack;
    if (needed > kMaxStackSlots + kOverflowSlots)
        errorInErrorHandling(L);
    if (needed > kMaxStackSlots) {
        if (L->stackSize < needed)
            resizeStack(L, kMaxStackSlots + kOverflowSlots + kExtraStack);
        runError(L, "stack overflow");
    }
    int doubled = 2 * L->stackSize;
    resizeStack(L, doubled >= needed ? (doubled > kMaxStackSlots ? kMaxStackSlots : doubled)
                                     : static_cast<int>(needed));
}

void growFrames(lua_State* L)
{
    if (L->frameCount > kMaxFrames)
        errorInErrorHandling(L);
    int count = 2 * L->frameCount;
    resizeFrames(L, count > kMaxFrames ? kMaxFrames + kOverflowFrames : count);
    if (L->frameCount > kMaxFrames)
        runError(L, "stack overflow");
}

void restoreFrameLimit(lua_State* L)
{
    if (L->frameCount > kMaxFrames && (L->frame - L->frames) + 1 < kMaxFrames)
        resizeFrames(L, kMaxFrames);
}

lua_State* newThread(lua_State* L)
{
    auto* L1 = static_cast<lua_State*>(allocMemory(L, sizeof(lua_State)));
    clearThread(L1, L->shared);
    linkObject(L, L1, LUA_TTHREAD);
    initStack(L1, L);
    L1->globals = L->globals;
    return L1;
}

void freeThread(lua_State* L, lua_State* thread)
{
    if (thread->stack) {
        closeUpvalues(thread, thread->stack);
        freeStack(L, thread);
    }
    freeMemory(L, thread, sizeof(lua_State));
}

}  // namespace script

lua_State* lua_open(void)
{
    auto* g = static_cast<SharedState*>(std::calloc(1, sizeof(SharedState)));
    auto* L = static_cast<lua_State*>(std::malloc(sizeof(lua_State)));
    if (!g || !L) {
        std::free(g);
        std::free(L);
        return nullptr;
    }
    clearThread(L, g);
    L->marks = kMarkFixed;
    g->mainThread = L;
    g->bytesInUse = sizeof(SharedState) + sizeof(lua_State);
    g->threshold = static_cast<size_t>(-1);  // no collection while the state is built
    ++g->protectedRuns;
    try {
        openState(L);
    } catch (const ScriptError&) {
        freeSharedState(L);
        return nullptr;
    }
    --g->protectedRuns;
    return L;
}

void lua_close(lua_State* L)
{
    L = L->shared->mainThread;
    closeUpvalues(L, L->stack);
    // Every pending __gc runs; one that fails is skipped and the rest go on.
    for (;;) {
        L->frame = L->frames;
        L->base = L->top = L->frame->base;
        L->nativeCalls = 0;
        L->errorHandler = 0;
        if (runProtected(L, runPendingFinalizers, nullptr, L->top - L->stack, 0) == 0)
            break;
    }
    freeSharedState(L);
}

lua_State* lua_newthread(lua_State* L)
{
    checkCollect(L);
    lua_State* L1 = newThread(L);
    setObject(L->top, L1, LUA_TTHREAD);
    ++L->top;
    return L1;
}
