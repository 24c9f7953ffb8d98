// Threads (lua_State), their call frames, and the state that all threads of
// one interpreter share.
#pragma once

#include "lua/object.h"

namespace script {

// Stack room kept above a frame's top for metamethod calls and the like.
constexpr int kExtraStack = 5;
constexpr int kBasicStackSize = 2 * LUA_MINSTACK;
constexpr int kBasicFrameCount = 8;
// Nested native calls of one thread (and parser levels) allowed before
// "C stack overflow".
constexpr int kMaxNativeCalls = 200;
// Nested native calls and resumes of all threads together allowed before
// "C stack overflow": coroutines resuming coroutines run on one native stack,
// and this keeps them well inside it.
constexpr int kMaxNativeDepth = 2000;
// Largest stack, in slots, before "stack overflow".
constexpr int kMaxStackSlots = 1000000;

// Call-frame kinds and flags.
constexpr int kFrameNative = 1;     // a native function
constexpr int kFrameFresh = 2;      // the VM loop returns when this Lua frame returns
constexpr int kFrameYielded = 4;    // a native function that yielded

struct CallFrame {
    StackPtr func;                // the function's slot
    StackPtr base;                // first argument / register 0
    StackPtr top;                 // top for this function
    const Instruction* savedPc;   // next instruction of a Lua function
    int flags;                    // kFrame* bits
    int wantedResults;            // LUA_MULTRET for all
    int tailCalls;                // tail calls lost under this frame
};

// The status of a thread suspended in a yield.
constexpr int kStatusYield = 6;

// Events with metamethods.
enum class Event : uint8_t {
    Index,
    NewIndex,
    Gc,
    Mode,
    Eq,   // the last event with the absence cache in Table::absentEvents
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    Unm,
    Lt,
    Le,
    Concat,
    Call,
    Count
};

// The intern pool of strings, 8-bit and wide.
struct StringPool {
    String** buckets;
    uint32_t count;
    int size;   // number of buckets, a power of 2
};

struct SharedState;

}  // namespace script

struct lua_State : script::GcObject {
    script::StackPtr top;       // first free slot
    script::StackPtr base;      // register 0 of the current function
    script::SharedState* shared;
    script::CallFrame* frame;   // current frame
    script::StackPtr stackLast; // last usable slot (kExtraStack below the end)
    script::StackPtr stack;
    int stackSize;
    script::CallFrame* framesEnd;
    script::CallFrame* frames;
    int frameCount;
    unsigned short nativeCalls;  // nested native calls of this thread
    uint8_t status;              // 0, or kStatusYield while suspended
    script::Upvalue* openUpvalues;
    script::GcObject* grayNext;
    script::Value globals;       // table of globals of this thread
    ptrdiff_t errorHandler;      // stack offset of the error handler, 0 for none
};

namespace script {

// Where a protected call or a resume catches the errors of its thread.
struct CatchPoint {
    lua_State* thread;
    CatchPoint* previous;
};

struct SharedState {
    StringPool strings;
    GcObject* objects;          // every collectable object but strings and userdata
    GcObject* userdata;         // every userdata
    GcObject* toFinalize;       // userdata whose __gc is due
    size_t threshold;           // bytes in use that start a collection
    size_t bytesInUse;
    Value registry;
    lua_CFunction panic;        // called on an unprotected error
    lua_State* mainThread;
    Table* typeMetatables[LUA_NUMTAGS];
    String* eventNames[static_cast<int>(Event::Count)];
    int protectedRuns;          // protected calls active; with none an error panics
    int nativeDepth;            // native calls and resumes nested over all threads
    CatchPoint* catchPoints;    // protected calls and resumes running, innermost first
};

// Errors travel through the interpreter as this exception; the error value is
// on top of the stack of the thread that raised it.
struct ScriptError {
    int status;   // LUA_ERRRUN, LUA_ERRSYNTAX, LUA_ERRMEM, LUA_ERRERR
    lua_State* thread = nullptr;  // the thread that raised it, when known
};

// Frames allowed before "stack overflow".
constexpr int kMaxFrames = 4096;

// Stack and frame-array growth (state.cpp). When the stack moves, top, base,
// the frames and the open upvalues are corrected; past kMaxStackSlots slots
// or kMaxFrames frames the run-time error is "stack overflow".
void growStack(lua_State* L, int n);
// Room for n more slots above top.
inline void checkStack(lua_State* L, int n)
{
    if (L->stackLast - L->top <= n)
        growStack(L, n);
}
// Makes room for one more frame above L->frame (call before ++L->frame).
void growFrames(lua_State* L);
inline void checkFrames(lua_State* L)
{
    if (L->frame + 1 == L->framesEnd)
        growFrames(L);
}

// After an error is caught: gives back the frames added for handling a
// "stack overflow" when the frames in use allow it.
void restoreFrameLimit(lua_State* L);

// A new thread sharing L's globals; linked to the collector, not pushed.
lua_State* newThread(lua_State* L);
// Frees a thread that is not running; its open upvalues are closed.
void freeThread(lua_State* L, lua_State* thread);

inline Value* globalsOf(lua_State* L) { return &L->globals; }
inline Value* registryOf(lua_State* L) { return &L->shared->registry; }

}  // namespace script
