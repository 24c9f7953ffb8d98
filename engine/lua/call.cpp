#include "lua/call.h"

#include <cstdlib>
#include <new>

#include "lua/collector.h"
#include "lua/debuginfo.h"
#include "lua/function.h"
#include "lua/metamethods.h"
#include "lua/strings.h"
#include "lua/table.h"
#include "lua/vm.h"

namespace script {

void collectVarargs(lua_State* L, const FunctionProto* p, StackPtr base)
{
    const int fixed = p->paramCount;
    while (L->top < base + fixed)
        setNil(L->top++);
    const int extra = static_cast<int>(L->top - (base + fixed));
    Table* arg = newTable(L, extra, 0);
    for (int i = 0; i < extra; i++)
        *tableSetInt(L, arg, i + 1) = base[fixed + i];
    setNumber(tableSetString(L, arg, newString(L, "n")), extra);
    L->top = base + fixed;
    setTable(L->top++, arg);
}

namespace {

CallStart runNative(lua_State* L, StackPtr func, int wanted)
{
    const ptrdiff_t offset = slotOffset(L, func);
    checkStack(L, LUA_MINSTACK);
    func = slotAt(L, offset);
    pushFrame(L, func, L->top + LUA_MINSTACK, kFrameNative, wanted);
    const int count = static_cast<NativeClosure*>(asClosure(func))->f(L);
    if (count < 0)
        return CallStart::Yielded;
    finishCall(L, L->top - count);
    return CallStart::Native;
}

// The value of an error of `status` raised by `thread`, as the catcher leaves it.
Value errorValue(lua_State* thread, int status)
{
    Value v;
    switch (status) {
    case LUA_ERRMEM:
        setString(&v, newString(thread, "not enough memory"));
        break;
    case LUA_ERRERR:
        setString(&v, newString(thread, "error in error handling"));
        break;
    default:
        v = thread->top[-1];
        break;
    }
    return v;
}

struct Caught {
    int status;         // 0 when the body ran to its end
    lua_State* raiser;  // the thread holding the error value
    bool passOn;        // the error belongs to a catch point further out
};

// Runs body(L, ud) as a catch point of L. An error raised by another thread
// that has a catch point of its own further out is only passed on (the
// caller restores L first), so that thread's state is restored too.
Caught catchErrors(lua_State* L, ProtectedBody body, void* ud)
{
    SharedState* g = L->shared;
    CatchPoint point{L, g->catchPoints};
    g->catchPoints = &point;
    g->protectedRuns++;
    Caught caught{0, L, false};
    try {
        body(L, ud);
    } catch (const ScriptError& e) {
        caught.status = e.status;
        if (e.thread)
            caught.raiser = e.thread;
    } catch (const std::bad_alloc&) {
        caught.status = LUA_ERRMEM;
    }
    g->protectedRuns--;
    g->catchPoints = point.previous;
    if (caught.raiser != L) {
        for (const CatchPoint* outer = g->catchPoints; outer; outer = outer->previous)
            caught.passOn |= outer->thread == caught.raiser;
    }
    return caught;
}

void resumeBody(lua_State* L, void* ud)
{
    const int argCount = *static_cast<int*>(ud);
    if (L->frame == L->frames) {
        if (startCall(L, L->top - (argCount + 1), LUA_MULTRET) != CallStart::Script)
            return;
        L->frame->flags |= kFrameFresh;
    } else {
        // Completes the call of the native function that yielded.
        L->frame->flags &= ~kFrameYielded;
        if (finishCall(L, L->top - argCount))
            L->top = L->frame->top;
    }
    execute(L);
}

// A refused resume takes back its `argCount` arguments, so the coroutine
// stays as it was, and leaves only the message.
int resumeRefused(lua_State* L, int argCount, const char* message)
{
    L->top -= argCount;
    checkStack(L, 1);
    setString(L->top++, newString(L, message));
    return LUA_ERRRUN;
}

struct CallRequest {
    ptrdiff_t func;
    int wanted;
};

void callBody(lua_State* L, void* ud)
{
    const CallRequest* request = static_cast<CallRequest*>(ud);
    callValue(L, slotAt(L, request->func), request->wanted);
}

struct NativeRequest {
    lua_CFunction f;
    void* ud;
};

void nativeBody(lua_State* L, void* ud)
{
    const NativeRequest* request = static_cast<NativeRequest*>(ud);
    NativeClosure* cl = newNativeClosure(L, 0, asTable(&L->globals));
    cl->f = request->f;
    setClosure(L->top++, cl);
    setLightUserdata(L->top++, request->ud);
    callValue(L, L->top - 2, 0);
}

// A native frame's top follows results left above it.
void coverResults(lua_State* L)
{
    if (L->top > L->frame->top)
        L->frame->top = L->top;
}

bool hasCatchPoint(const SharedState* g, const lua_State* L)
{
    for (const CatchPoint* point = g->catchPoints; point; point = point->previous)
        if (point->thread == L)
            return true;
    return false;
}

// An error leaving a call on a thread with no catch point of its own is
// caught by another thread, which restores only itself: this thread goes back
// to the frame of the call, as a failed protected call would leave it, with
// the error value (when it raised it) in the called function's place.
void unwindCall(lua_State* L, ptrdiff_t funcOffset, ptrdiff_t frameIndex, unsigned short nativeCalls,
                bool raisedHere)
{
    if (hasCatchPoint(L->shared, L))
        return;  // that catch point restores the thread
    StackPtr func = slotAt(L, funcOffset);
    closeUpvalues(L, func);
    if (raisedHere && L->top > func)
        *func++ = L->top[-1];
    L->top = func;
    L->frame = L->frames + frameIndex;
    L->base = L->frame->base;
    L->nativeCalls = nativeCalls;
    restoreFrameLimit(L);
}

// One more nested native call at `depth`: "C stack overflow" when it reaches
// `limit`. The handlers of that error may still call a little deeper; past
// an eighth more the overflow is an error in error handling.
void checkNativeDepth(lua_State* L, int depth, int limit)
{
    if (depth < limit)
        return;
    if (depth == limit)
        runError(L, "C stack overflow");
    if (depth >= limit + limit / 8)
        throwError(L, LUA_ERRERR);
}

}  // namespace

StackPtr resolveCallable(lua_State* L, StackPtr func)
{
    const Value* found = eventHandler(L, func, Event::Call);
    if (found == nullptr || !isFunction(found))
        typeError(L, func, "call");
    const Value handler = *found;
    const ptrdiff_t offset = slotOffset(L, func);
    checkStack(L, 1);
    func = slotAt(L, offset);
    for (StackPtr p = L->top; p > func; p--)
        p[0] = p[-1];
    L->top++;
    *func = handler;
    return func;
}

CallStart startCall(lua_State* L, StackPtr func, int wanted)
{
    if (!isFunction(func))
        func = resolveCallable(L, func);
    Closure* cl = asClosure(func);
    if (cl->isNative)
        return runNative(L, func, wanted);
    enterScript(L, func, static_cast<ScriptClosure*>(cl)->proto, wanted);
    return CallStart::Script;
}

void callValue(lua_State* L, StackPtr func, int wanted)
{
    SharedState* g = L->shared;
    const ptrdiff_t funcOffset = slotOffset(L, func);
    const ptrdiff_t frameIndex = L->frame - L->frames;
    const unsigned short nativeCalls = L->nativeCalls++;
    g->nativeDepth++;
    try {
        checkNativeDepth(L, L->nativeCalls, kMaxNativeCalls);
        checkNativeDepth(L, g->nativeDepth, kMaxNativeDepth);
        if (startCall(L, func, wanted) == CallStart::Script) {
            L->frame->flags |= kFrameFresh;
            execute(L);
        }
    } catch (const ScriptError& e) {
        unwindCall(L, funcOffset, frameIndex, nativeCalls, e.thread == L);
        throw;
    } catch (const std::bad_alloc&) {
        unwindCall(L, funcOffset, frameIndex, nativeCalls, false);
        throw;
    }
    L->nativeCalls--;
    g->nativeDepth--;
    checkCollect(L);
}

int runProtected(lua_State* L, ProtectedBody body, void* ud, ptrdiff_t oldTop, ptrdiff_t errorHandler)
{
    const ptrdiff_t frameIndex = L->frame - L->frames;
    const unsigned short nativeCalls = L->nativeCalls;
    const int depth = L->shared->nativeDepth;
    const ptrdiff_t oldHandler = L->errorHandler;
    L->errorHandler = errorHandler;
    const Caught caught = catchErrors(L, body, ud);
    L->errorHandler = oldHandler;
    if (caught.status != 0) {
        const Value error = errorValue(caught.raiser, caught.status);
        StackPtr old = slotAt(L, oldTop);
        closeUpvalues(L, old);
        *old = error;
        L->top = old + 1;
        L->frame = L->frames + frameIndex;
        L->base = L->frame->base;
        L->nativeCalls = nativeCalls;
        L->shared->nativeDepth = depth;
        restoreFrameLimit(L);
        if (caught.passOn)
            throw ScriptError{caught.status, caught.raiser};
    }
    return caught.status;
}

void throwError(lua_State* L, int status)
{
    if (L->shared->protectedRuns == 0) {
        if (L->shared->panic)
            L->shared->panic(L);
        std::exit(EXIT_FAILURE);
    }
    throw ScriptError{status, L};
}

void raiseError(lua_State* L)
{
    const ptrdiff_t handlerSlot = L->errorHandler;
    if (handlerSlot != 0) {
        const Value handler = *slotAt(L, handlerSlot);
        if (!isFunction(&handler))
            throwError(L, LUA_ERRERR);
        checkStack(L, 1);
        L->top[0] = L->top[-1];
        L->top[-1] = handler;
        L->top++;
        // The handler runs without itself as handler; an error inside it
        // ends as "error in error handling".
        L->errorHandler = 0;
        const Caught caught = catchErrors(L, [](lua_State* T, void*) { callValue(T, T->top - 2, 1); }, nullptr);
        L->errorHandler = handlerSlot;
        if (caught.passOn)
            throw ScriptError{caught.status, caught.raiser};
        if (caught.status != 0)
            throwError(L, LUA_ERRERR);
    }
    throwError(L, LUA_ERRRUN);
}

}  // namespace script

using namespace script;

void lua_call(lua_State* L, int nargs, int nresults)
{
    callValue(L, L->top - (nargs + 1), nresults);
    coverResults(L);
}

int lua_pcall(lua_State* L, int nargs, int nresults, int errfunc)
{
    ptrdiff_t handler = 0;
    if (errfunc != 0)
        handler = slotOffset(L, errfunc > 0 ? L->base + (errfunc - 1) : L->top + errfunc);
    CallRequest request{slotOffset(L, L->top - (nargs + 1)), nresults};
    const int status = runProtected(L, callBody, &request, request.func, handler);
    coverResults(L);
    return status;
}

int lua_cpcall(lua_State* L, lua_CFunction func, void* ud)
{
    NativeRequest request{func, ud};
    checkStack(L, 2);
    return runProtected(L, nativeBody, &request, slotOffset(L, L->top), 0);
}

int lua_error(lua_State* L)
{
    raiseError(L);
}

int lua_yield(lua_State* L, int nresults)
{
    if (L->nativeCalls > 0)
        runError(L, "attempt to yield across metamethod/C-call boundary");
    CallFrame* frame = L->frame;
    if ((frame - 1)->flags & kFrameNative)
        runError(L, "cannot yield a C function");
    StackPtr from = L->top - nresults;
    for (int i = 0; i < nresults; i++)
        frame->base[i] = from[i];
    L->top = frame->base + nresults;
    frame->flags |= kFrameYielded;
    L->status = kStatusYield;
    return -1;
}

int lua_resume(lua_State* L, int narg)
{
    if (L->frame == L->frames) {
        if (narg >= L->top - L->base)
            return resumeRefused(L, narg, "cannot resume dead coroutine");
    } else if (!(L->frame->flags & kFrameYielded)) {
        return resumeRefused(L, narg, "cannot resume non-suspended coroutine");
    }
    SharedState* g = L->shared;
    if (g->nativeDepth >= kMaxNativeDepth)
        return resumeRefused(L, narg, "C stack overflow");
    const int depth = g->nativeDepth++;
    L->status = 0;
    const ptrdiff_t oldHandler = L->errorHandler;
    L->errorHandler = 0;
    const Caught caught = catchErrors(L, resumeBody, &narg);
    const int status = caught.status;
    L->errorHandler = oldHandler;
    g->nativeDepth = depth;
    if (status != 0) {
        // The coroutine is dead: only the error value stays.
        const Value error = errorValue(caught.raiser, status);
        L->frame = L->frames;
        L->base = L->frame->base;
        L->nativeCalls = 0;
        L->status = 0;
        restoreFrameLimit(L);
        closeUpvalues(L, L->stack);
        *L->base = error;
        L->top = L->base + 1;
        if (caught.passOn) {
            L->top = L->base;  // the error goes on to its own thread's catch point
            throw ScriptError{status, caught.raiser};
        }
    }
    return status;
}

int lua_isyielded(lua_State* L)
{
    return (L->frame->flags & kFrameYielded) != 0;
}
