// Calls and returns of script and native functions, the protected-call
// machinery and the raising of errors. Errors are ScriptError exceptions.
#pragma once

#include "lua/state.h"

namespace script {

// Stack slots as offsets, to find them again after the stack moves.
inline ptrdiff_t slotOffset(lua_State* L, const Value* p) { return p - L->stack; }
inline StackPtr slotAt(lua_State* L, ptrdiff_t offset) { return L->stack + offset; }

// Calls the value at `func` with the arguments above it up to L->top and
// leaves `wanted` results (LUA_MULTRET: all) from `func` on, with L->top after
// the last. A C++-level call: it counts towards "C stack overflow" and a
// thread cannot yield across it.
void callValue(lua_State* L, StackPtr func, int wanted);

// What preparing a call did.
enum class CallStart {
    Script,   // a script frame was pushed: run execute
    Native,   // a native function ran and its results are in place
    Yielded   // a native function yielded
};

// Starts a call of the value at `func` (a non-function goes to __call): pushes
// a script frame, or runs a native function to its end.
CallStart startCall(lua_State* L, StackPtr func, int wanted);

// Puts the __call handler of the non-function at `func` in its place, the
// called value becoming the first argument. Returns the slot of `func`,
// which moves when the stack grows.
StackPtr resolveCallable(lua_State* L, StackPtr func);

// Gathers the arguments past the fixed parameters of a vararg function into
// the table `arg` (with "n" their count), stored after the parameters.
void collectVarargs(lua_State* L, const FunctionProto* p, StackPtr base);

inline CallFrame* pushFrame(lua_State* L, StackPtr func, StackPtr top, int flags, int wanted)
{
    checkFrames(L);
    CallFrame* frame = ++L->frame;
    frame->func = func;
    frame->base = func + 1;
    frame->top = top;
    frame->savedPc = nullptr;
    frame->flags = flags;
    frame->wantedResults = wanted;
    frame->tailCalls = 0;
    L->base = frame->base;
    return frame;
}

// Pushes the frame of the script function at `func`, its arguments above it
// up to L->top: missing parameters are nil, registers start nil. Inline, as
// the execute loop calls it for every script-to-script call.
inline void enterScript(lua_State* L, StackPtr func, const FunctionProto* p, int wanted)
{
    if (L->stackLast - L->top <= p->maxStackSize) [[unlikely]] {
        const ptrdiff_t offset = slotOffset(L, func);
        growStack(L, p->maxStackSize);
        func = slotAt(L, offset);
    }
    StackPtr base = func + 1;
    StackPtr top = base + p->maxStackSize;
    StackPtr firstNil;
    if (p->isVararg) {
        collectVarargs(L, p, base);
        firstNil = L->top;
    } else {
        // Surplus arguments are dropped: one pass clears them, the missing
        // parameters and the registers.
        StackPtr end = base + p->paramCount;
        firstNil = L->top < end ? L->top : end;
    }
    for (StackPtr s = firstNil; s < top; s++)
        setNil(s);
    CallFrame* frame = pushFrame(L, func, top, 0, wanted);
    frame->savedPc = p->exec;
    L->top = top;
}

// Ends the current frame: moves its results, from `firstResult` to L->top,
// to the frame's function slot, pads or cuts them to the wanted count, pops
// the frame. Returns false when the frame wanted all results (L->top then
// marks their end).
inline bool finishCall(lua_State* L, StackPtr firstResult)
{
    CallFrame* frame = L->frame;
    StackPtr result = frame->func;
    int wanted = frame->wantedResults;
    L->frame = frame - 1;
    L->base = L->frame->base;
    const StackPtr end = L->top;
    if (wanted == 1 && firstResult < end) {
        // The usual call in an expression: one result, and one at hand.
        *result = *firstResult;
        L->top = result + 1;
        return true;
    }
    for (; wanted != 0 && firstResult < end; wanted--)
        *result++ = *firstResult++;
    for (; wanted > 0; wanted--)
        setNil(result++);
    L->top = result;
    return frame->wantedResults != LUA_MULTRET;
}

// Runs body(L, ud) catching script errors. On error: closes the upvalues
// above `oldTop`, restores the frames, the native-call depth, the error
// handler and puts the error value at `oldTop` (L->top just above it). The
// active error handler (a stack offset, 0 for none) is `errorHandler` during
// the body. Returns 0 or the error status.
typedef void (*ProtectedBody)(lua_State* L, void* ud);
int runProtected(lua_State* L, ProtectedBody body, void* ud, ptrdiff_t oldTop, ptrdiff_t errorHandler);

// Raises an error of `status` whose value is on top of L's stack. Without a
// protected call to catch it, calls the panic function and exits.
[[noreturn]] void throwError(lua_State* L, int status);

// Raises the run-time error whose value is on top of L's stack, after
// passing it through the active error handler (lua_pcall's errfunc).
[[noreturn]] void raiseError(lua_State* L);

}  // namespace script
