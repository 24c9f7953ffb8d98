// The C interface: stack access, conversions, pushes, table access and the
// collector's controls.
#include <climits>
#include <cstring>
#include <string>

#include "lua/call.h"
#include "lua/collector.h"
#include "lua/conversion.h"
#include "lua/function.h"
#include "lua/lua.h"
#include "lua/memory.h"
#include "lua/strings.h"
#include "lua/table.h"
#include "lua/vm.h"

using namespace script;

namespace {

// The most slots a native function may ask for with lua_checkstack.
constexpr int kMaxNativeStack = 2048;

const char* const kTypeNames[LUA_NUMTAGS] = {"nil",      "boolean", "userdata", "number", "string",
                                             "table",    "function", "userdata", "thread", "wstring"};

// The slot of an upvalue pseudo-index of the running native function, or null.
Value* upvalueSlot(lua_State* L, int idx)
{
    Value* func = L->base - 1;
    if (func < L->stack || !isFunction(func) || !asClosure(func)->isNative)
        return nullptr;
    auto* c = static_cast<NativeClosure*>(asClosure(func));
    int n = LUA_GLOBALSINDEX - idx;
    return n <= c->upvalueCount ? &c->upvalues[n - 1] : nullptr;
}

// The value at an index, or null for an index past the top or a missing
// upvalue ("no value").
Value* acceptable(lua_State* L, int idx)
{
    if (idx > 0) {
        Value* o = L->base + (idx - 1);
        return o < L->top ? o : nullptr;
    }
    if (idx > LUA_REGISTRYINDEX) {
        Value* o = L->top + idx;
        return o >= L->base ? o : nullptr;
    }
    switch (idx) {
    case LUA_REGISTRYINDEX:
        return registryOf(L);
    case LUA_GLOBALSINDEX:
        return globalsOf(L);
    default:
        return upvalueSlot(L, idx);
    }
}

// The value at an index that must exist; a bad index reads as nil.
const Value* address(lua_State* L, int idx)
{
    const Value* o = acceptable(L, idx);
    return o ? o : &kNilValue;
}

// The table at an index, or null.
Table* tableAt(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    return o && isTable(o) ? asTable(o) : nullptr;
}

// Room for one more value above the top.
void pushSlot(lua_State* L)
{
    if (L->top >= L->stackLast)
        growStack(L, 1);
}

void push(lua_State* L, const Value* v)
{
    pushSlot(L);
    *L->top = *v;
    ++L->top;
}

void pushObject(lua_State* L, GcObject* o, int tag)
{
    pushSlot(L);
    setObject(L->top, o, tag);
    ++L->top;
}

Table* metatableOf(const Value* o)
{
    if (isTable(o))
        return asTable(o)->metatable;
    if (isUserdata(o))
        return asUserdata(o)->metatable;
    return nullptr;
}

void appendNumber(std::string& out, lua_Number n)
{
    char text[kNumberTextSize];
    out.append(text, static_cast<size_t>(numberToText(n, text)));
}

}  // namespace

lua_CFunction lua_atpanic(lua_State* L, lua_CFunction panicf)
{
    lua_CFunction old = L->shared->panic;
    L->shared->panic = panicf;
    return old;
}

int lua_gettop(lua_State* L) { return static_cast<int>(L->top - L->base); }

void lua_settop(lua_State* L, int idx)
{
    if (idx >= 0) {
        StackPtr target = L->base + idx;
        if (target > L->stackLast)
            growStack(L, static_cast<int>(target - L->top)), target = L->base + idx;
        while (L->top < target)
            setNil(L->top++);
        L->top = target;
    } else {
        StackPtr target = L->top + (idx + 1);
        L->top = target < L->base ? L->base : target;
    }
}

void lua_pushvalue(lua_State* L, int idx)
{
    Value v = *address(L, idx);
    push(L, &v);
}

void lua_remove(lua_State* L, int idx)
{
    StackPtr p = acceptable(L, idx);
    if (!p || p < L->base || p >= L->top)
        return;
    for (; p + 1 < L->top; ++p)
        p[0] = p[1];
    --L->top;
}

void lua_insert(lua_State* L, int idx)
{
    StackPtr p = acceptable(L, idx);
    if (!p || p < L->base || p >= L->top)
        return;
    Value v = L->top[-1];
    for (StackPtr q = L->top - 1; q > p; --q)
        q[0] = q[-1];
    *p = v;
}

void lua_replace(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (o)
        *o = L->top[-1];
    --L->top;
}

int lua_checkstack(lua_State* L, int sz)
{
    if (sz < 0 || (L->top - L->base) + sz > kMaxNativeStack)
        return 0;
    checkStack(L, sz);
    if (L->frame->top < L->top + sz)
        L->frame->top = L->top + sz;
    return 1;
}

void lua_xmove(lua_State* from, lua_State* to, int n)
{
    if (from == to || n <= 0)
        return;
    checkStack(to, n);
    from->top -= n;
    for (int i = 0; i < n; ++i)
        *to->top++ = from->top[i];
}

int lua_type(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    return o ? o->tag : LUA_TNONE;
}

const char* lua_typename(lua_State*, int tp)
{
    return tp >= 0 && tp < LUA_NUMTAGS ? kTypeNames[tp] : "no value";
}

int lua_iscfunction(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    return o && isFunction(o) && asClosure(o)->isNative;
}

int lua_isnumber(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    lua_Number n;
    return o && valueToNumber(o, &n);
}

int lua_isstring(lua_State* L, int idx)
{
    int t = lua_type(L, idx);
    return t == LUA_TSTRING || t == LUA_TNUMBER;
}

int lua_isuserdata(lua_State* L, int idx)
{
    int t = lua_type(L, idx);
    return t == LUA_TUSERDATA || t == LUA_TLIGHTUSERDATA;
}

int lua_rawequal(lua_State* L, int idx1, int idx2)
{
    Value* a = acceptable(L, idx1);
    Value* b = acceptable(L, idx2);
    return a && b && rawEquals(a, b);
}

int lua_equal(lua_State* L, int idx1, int idx2)
{
    Value* a = acceptable(L, idx1);
    Value* b = acceptable(L, idx2);
    return a && b && equalValues(L, a, b);
}

int lua_lessthan(lua_State* L, int idx1, int idx2)
{
    Value* a = acceptable(L, idx1);
    Value* b = acceptable(L, idx2);
    return a && b && lessThan(L, a, b);
}

lua_Number lua_tonumber(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    lua_Number n;
    if (o && valueToNumber(o, &n))
        return n;
    return 0;
}

int lua_toboolean(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    return o && !isFalse(o);
}

const char* lua_tostring(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (!o)
        return nullptr;
    if (isString(o))
        return asString(o)->chars();
    if (!numberToStringInPlace(L, o))
        return nullptr;
    const char* s = asString(o)->chars();
    checkCollect(L);  // the new string is held by its slot
    return s;
}

const lua_WChar* lua_towstring(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (!o)
        return nullptr;
    if (isWideString(o))
        return asString(o)->units();
    if (!numberToWideStringInPlace(L, o))
        return nullptr;
    const lua_WChar* s = asString(o)->units();
    checkCollect(L);
    return s;
}

size_t lua_strlen(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (!o)
        return 0;
    if (isString(o) || isWideString(o))
        return asString(o)->length;
    if (!numberToStringInPlace(L, o))
        return 0;
    size_t length = asString(o)->length;
    checkCollect(L);
    return length;
}

lua_CFunction lua_tocfunction(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (!o || !isFunction(o) || !asClosure(o)->isNative)
        return nullptr;
    return static_cast<NativeClosure*>(asClosure(o))->f;
}

void* lua_touserdata(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (!o)
        return nullptr;
    if (isLightUserdata(o))
        return o->p;
    if (!isUserdata(o))
        return nullptr;
    Userdata* u = asUserdata(o);
    return isPointerUserdata(u) ? *static_cast<void**>(u->payload()) : u->payload();
}

lua_State* lua_tothread(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    return o && isThread(o) ? static_cast<lua_State*>(o->gc) : nullptr;
}

const void* lua_topointer(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (!o)
        return nullptr;
    switch (o->tag) {
    case LUA_TTABLE:
    case LUA_TFUNCTION:
    case LUA_TTHREAD:
        return o->gc;
    case LUA_TUSERDATA:
    case LUA_TLIGHTUSERDATA:
        return lua_touserdata(L, idx);
    default:
        return nullptr;
    }
}

void lua_pushnil(lua_State* L)
{
    pushSlot(L);
    setNil(L->top++);
}

void lua_pushnumber(lua_State* L, lua_Number n)
{
    pushSlot(L);
    setNumber(L->top++, n);
}

void lua_pushlstring(lua_State* L, const char* s, size_t l)
{
    checkCollect(L);
    pushObject(L, newString(L, l ? s : "", l), LUA_TSTRING);
}

void lua_pushstring(lua_State* L, const char* s)
{
    if (s)
        lua_pushlstring(L, s, std::strlen(s));
    else
        lua_pushnil(L);
}

void lua_pushwstring(lua_State* L, const lua_WChar* s, size_t l)
{
    static const lua_WChar empty = 0;
    checkCollect(L);
    pushObject(L, newWideString(L, l ? s : &empty, l), LUA_TWSTRING);
}

void lua_pushwstringz(lua_State* L, const lua_WChar* s)
{
    if (s)
        lua_pushwstring(L, s, wideLength(s));
    else
        lua_pushnil(L);
}

const char* lua_pushvfstring(lua_State* L, const char* fmt, va_list argp)
{
    std::string out;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%' || p[1] == '\0') {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 's': {
            const char* s = va_arg(argp, const char*);
            out += s ? s : "(null)";
            break;
        }
        case 'd':
            appendNumber(out, va_arg(argp, int));
            break;
        case 'f':
            appendNumber(out, va_arg(argp, lua_Number));
            break;
        case 'c':
            out += static_cast<char>(va_arg(argp, int));
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += *p;
            break;
        }
    }
    lua_pushlstring(L, out.data(), out.size());
    return asString(L->top - 1)->chars();
}

const char* lua_pushfstring(lua_State* L, const char* fmt, ...)
{
    va_list argp;
    va_start(argp, fmt);
    const char* s = lua_pushvfstring(L, fmt, argp);
    va_end(argp);
    return s;
}

void lua_pushcclosure(lua_State* L, lua_CFunction fn, int n)
{
    checkCollect(L);
    pushSlot(L);
    Table* env = isTable(globalsOf(L)) ? asTable(globalsOf(L)) : nullptr;
    NativeClosure* c = newNativeClosure(L, n, env);
    c->f = fn;
    L->top -= n;
    for (int i = 0; i < n; ++i)
        c->upvalues[i] = L->top[i];
    setClosure(L->top, c);
    ++L->top;
}

void lua_pushboolean(lua_State* L, int b)
{
    pushSlot(L);
    setBoolean(L->top++, b != 0);
}

void lua_pushlightuserdata(lua_State* L, void* p)
{
    pushSlot(L);
    setLightUserdata(L->top++, p);
}

int lua_pushthread(lua_State* L)
{
    pushObject(L, L, LUA_TTHREAD);
    return L == L->shared->mainThread;
}

void lua_pushuserpointer(lua_State* L, void* p)
{
    checkCollect(L);
    Userdata* u = newUserdata(L, 0, true);
    *static_cast<void**>(u->payload()) = p;
    pushObject(L, u, LUA_TUSERDATA);
}

void lua_gettable(lua_State* L, int idx)
{
    Value t = *address(L, idx);
    getTable(L, &t, L->top - 1, L->top - 1);
}

void lua_rawget(lua_State* L, int idx)
{
    Table* t = tableAt(L, idx);
    L->top[-1] = t ? *tableGet(t, L->top - 1) : kNilValue;
}

void lua_rawgeti(lua_State* L, int idx, int n)
{
    Table* t = tableAt(L, idx);
    push(L, t ? tableGetInt(t, n) : &kNilValue);
}

void lua_newtable(lua_State* L)
{
    checkCollect(L);
    pushObject(L, newTable(L, 0, -1), LUA_TTABLE);
}

void* lua_newuserdata(lua_State* L, size_t sz)
{
    checkCollect(L);
    Userdata* u = newUserdata(L, sz, false);
    pushObject(L, u, LUA_TUSERDATA);
    return u->payload();
}

int lua_getmetatable(lua_State* L, int objindex)
{
    Value* o = acceptable(L, objindex);
    Table* mt = o ? metatableOf(o) : nullptr;
    if (!mt)
        return 0;
    pushObject(L, mt, LUA_TTABLE);
    return 1;
}

void lua_getfenv(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    if (o && isFunction(o) && !asClosure(o)->isNative && asClosure(o)->env)
        pushObject(L, asClosure(o)->env, LUA_TTABLE);
    else
        lua_pushvalue(L, LUA_GLOBALSINDEX);
}

void lua_getdefaultmetatable(lua_State* L, int tag)
{
    Table* mt = tag >= 0 && tag < LUA_NUMTAGS ? L->shared->typeMetatables[tag] : nullptr;
    if (mt)
        pushObject(L, mt, LUA_TTABLE);
    else
        lua_pushnil(L);
}

int lua_gettablesize(lua_State* L, int idx)
{
    Table* t = tableAt(L, idx);
    return t ? tableElementCount(t) : 0;
}

void lua_settable(lua_State* L, int idx)
{
    Value t = *address(L, idx);
    setTable(L, &t, L->top - 2, L->top - 1);
    L->top -= 2;
}

void lua_rawset(lua_State* L, int idx)
{
    Table* t = tableAt(L, idx);
    if (t)
        *tableSet(L, t, L->top - 2) = L->top[-1];
    L->top -= 2;
}

void lua_rawseti(lua_State* L, int idx, int n)
{
    Table* t = tableAt(L, idx);
    if (t)
        *tableSetInt(L, t, n) = L->top[-1];
    --L->top;
}

int lua_setmetatable(lua_State* L, int objindex)
{
    Value* o = acceptable(L, objindex);
    Value* mtValue = L->top - 1;
    Table* mt = isTable(mtValue) ? asTable(mtValue) : nullptr;
    int done = 0;
    if (o && (mt || isNil(mtValue))) {
        if (isTable(o)) {
            asTable(o)->metatable = mt;
            done = 1;
        } else if (isUserdata(o)) {
            asUserdata(o)->metatable = mt;
            done = 1;
        }
    }
    --L->top;
    return done;
}

int lua_setfenv(lua_State* L, int idx)
{
    Value* o = acceptable(L, idx);
    Value* env = L->top - 1;
    int done = 0;
    if (o && isTable(env) && isFunction(o) && !asClosure(o)->isNative) {
        asClosure(o)->env = asTable(env);
        done = 1;
    }
    --L->top;
    return done;
}

void lua_setdefaultmetatable(lua_State* L, int tag)
{
    Value* mt = L->top - 1;
    if (isTable(mt) && tag >= 0 && tag < LUA_NUMTAGS)
        L->shared->typeMetatables[tag] = asTable(mt);
    --L->top;
}

int lua_getgcthreshold(lua_State* L)
{
    size_t kb = L->shared->threshold >> 10;
    return kb > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(kb);
}

int lua_getgccount(lua_State* L)
{
    size_t kb = L->shared->bytesInUse >> 10;
    return kb > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(kb);
}

void lua_setgcthreshold(lua_State* L, int newthreshold)
{
    // A negative threshold reads as a huge one, as an unsigned count would.
    size_t kb = static_cast<size_t>(static_cast<unsigned>(newthreshold));
    L->shared->threshold = kb << 10;
    checkCollect(L);
}

const char* lua_version(void) { return LUA_VERSION; }

int lua_next(lua_State* L, int idx)
{
    Table* t = tableAt(L, idx);
    pushSlot(L);
    if (t && tableNext(L, t, L->top - 1)) {
        ++L->top;
        return 1;
    }
    --L->top;
    return 0;
}

void lua_concat(lua_State* L, int n)
{
    if (n >= 2) {
        checkCollect(L);
        concat(L, n, static_cast<int>(L->top - L->base) - 1);
        L->top -= n - 1;
    } else if (n == 0) {
        lua_pushlstring(L, "", 0);
    }
}
