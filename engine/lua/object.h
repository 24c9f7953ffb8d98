// Values and the layouts of the collectable objects that every part of the
// interpreter shares: strings, tables, userdata, function prototypes,
// closures and upvalues. Threads (lua_State) are in state.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lua/lua.h"
#include "lua/opcodes.h"

namespace script {

// Tags of objects that scripts never see as values.
constexpr int kTagProto = LUA_NUMTAGS;
constexpr int kTagUpvalue = LUA_NUMTAGS + 1;

// Common header of every collectable object.
struct GcObject {
    GcObject* next;   // the collector's list this object is on
    uint8_t tag;
    uint8_t marks;    // collector marks
};

struct Value {
    union {
        GcObject* gc;
        void* p;
        lua_Number n;
        int b;
        uint64_t bits;  // the payload as a whole, for copies
    };
    int tag;
    // Not part of the value, and never copied with it: a table node's key
    // keeps the link of its chain here, in what would be padding.
    int32_t link;

    // A fresh value is nil with a cleared payload, so that copying it
    // reads nothing unset.
    constexpr Value() : bits(0), tag(LUA_TNIL), link(0) {}
    constexpr Value(GcObject* object, int t) : gc(object), tag(t) {}
    Value(const Value& other) : bits(other.bits), tag(other.tag) {}

    // Payload and tag are copied apart, as they are written: one 16-byte
    // copy of a slot just written by two smaller stores would wait for
    // them to reach the cache instead of taking them from the store buffer.
    Value& operator=(const Value& other)
    {
        bits = other.bits;
        tag = other.tag;
        return *this;
    }
};

// A stack slot.
typedef Value* StackPtr;

// Strings, 8-bit (tag LUA_TSTRING) or wide (tag LUA_TWSTRING), interned in one
// pool: equal contents of the same tag are the same object. The characters
// follow the header, with a terminating zero (one byte or one unit).
struct String : GcObject {
    uint8_t reserved;  // non-zero for the lexer's reserved words
    uint32_t hash;
    size_t length;     // bytes, or units for a wide string

    char* chars() { return reinterpret_cast<char*>(this + 1); }
    const char* chars() const { return reinterpret_cast<const char*>(this + 1); }
    lua_WChar* units() { return reinterpret_cast<lua_WChar*>(this + 1); }
    const lua_WChar* units() const { return reinterpret_cast<const lua_WChar*>(this + 1); }
};

// Tables: an array part for the keys 1..arraySize and a hash part of
// nodeMask + 1 nodes (a power of two). Colliding keys are chained, each node
// holding the distance to the next one of its chain in key.link (0 ends it),
// which keeps a node at 32 bytes.
struct TableNode {
    Value key;
    Value value;

    TableNode* next() { return key.link ? this + key.link : nullptr; }
    void setNext(const TableNode* n) { key.link = n ? static_cast<int32_t>(n - this) : 0; }
};
static_assert(sizeof(TableNode) == 32, "a node is two values, its link inside the key");

struct Table : GcObject {
    uint8_t absentEvents;   // bit e set: the metatable has no handler for event e (a cache)
    uint32_t nodeMask;      // node count - 1: a hash's bits that pick its main node
    Table* metatable;
    Value* array;
    TableNode* nodes;
    TableNode* lastFree;    // every free node is below this one
    GcObject* grayNext;     // the collector's list of tables still to traverse
    int arraySize;
};

// Full userdata. An odd size marks a pointer userdata: its payload is one
// pointer to an object that lives elsewhere.
struct Userdata : GcObject {
    Table* metatable;
    size_t size;
    void* payload() { return this + 1; }
};

struct LocalVarInfo {
    String* name;
    int startPc;  // first instruction where the variable is active
    int endPc;    // first instruction where it is dead
};

// A compiled function.
struct FunctionProto : GcObject {
    Value* constants;
    int constantCount;
    Instruction* code;
    Instruction* exec;          // the interpreter's copy of code (execcode.h)
    int codeSize;
    FunctionProto** protos;     // functions defined inside this one
    int protoCount;
    int* lineInfo;              // source line of each instruction
    int lineInfoSize;
    LocalVarInfo* localVars;
    int localVarCount;
    String** upvalueNames;
    int upvalueNameCount;
    String* source;
    int lineDefined;
    GcObject* grayNext;
    uint8_t upvalueCount;
    uint8_t paramCount;
    uint8_t isVararg;
    uint8_t maxStackSize;
};

// An upvalue: open while it points into a live stack, closed once it holds
// its own copy of the value.
struct Upvalue : GcObject {
    Value* v;              // the stack slot, or `closed`
    Value closed;
    Upvalue* openNext;     // a thread's open upvalues, highest stack level first
};

struct Closure : GcObject {
    uint8_t isNative;
    uint8_t upvalueCount;
    GcObject* grayNext;
    Table* env;   // the function's environment (its globals table)
};

struct NativeClosure : Closure {
    lua_CFunction f;
    Value upvalues[1];  // upvalueCount of them
};

struct ScriptClosure : Closure {
    FunctionProto* proto;
    Upvalue* upvalues[1];  // upvalueCount of them
};

// Value tests and accessors.
inline bool isNil(const Value* v) { return v->tag == LUA_TNIL; }
inline bool isNumber(const Value* v) { return v->tag == LUA_TNUMBER; }
inline bool isString(const Value* v) { return v->tag == LUA_TSTRING; }
inline bool isWideString(const Value* v) { return v->tag == LUA_TWSTRING; }
inline bool isTable(const Value* v) { return v->tag == LUA_TTABLE; }
inline bool isFunction(const Value* v) { return v->tag == LUA_TFUNCTION; }
inline bool isUserdata(const Value* v) { return v->tag == LUA_TUSERDATA; }
inline bool isThread(const Value* v) { return v->tag == LUA_TTHREAD; }
inline bool isLightUserdata(const Value* v) { return v->tag == LUA_TLIGHTUSERDATA; }
inline bool isCollectable(const Value* v) { return v->tag >= LUA_TSTRING; }

// nil and false are false; everything else is true.
inline bool isFalse(const Value* v) { return v->tag == LUA_TNIL || (v->tag == LUA_TBOOLEAN && v->b == 0); }

inline String* asString(const Value* v) { return static_cast<String*>(v->gc); }
inline Table* asTable(const Value* v) { return static_cast<Table*>(v->gc); }
inline Closure* asClosure(const Value* v) { return static_cast<Closure*>(v->gc); }
inline Userdata* asUserdata(const Value* v) { return static_cast<Userdata*>(v->gc); }

inline void setNil(Value* v) { v->tag = LUA_TNIL; }
inline void setNumber(Value* v, lua_Number n) { v->n = n; v->tag = LUA_TNUMBER; }
// The whole payload is written, so a copy that reads it whole is served from
// this store.
inline void setBoolean(Value* v, int b) { v->bits = static_cast<uint32_t>(b); v->tag = LUA_TBOOLEAN; }
inline void setLightUserdata(Value* v, void* p) { v->p = p; v->tag = LUA_TLIGHTUSERDATA; }
inline void setObject(Value* v, GcObject* o, int tag) { v->gc = o; v->tag = tag; }
inline void setString(Value* v, String* s) { setObject(v, s, s->tag); }  // 8-bit or wide
inline void setTable(Value* v, Table* t) { setObject(v, t, LUA_TTABLE); }
inline void setClosure(Value* v, Closure* c) { setObject(v, c, LUA_TFUNCTION); }
inline void setUserdata(Value* v, Userdata* u) { setObject(v, u, LUA_TUSERDATA); }

}  // namespace script
