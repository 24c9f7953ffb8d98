// The auxiliary library: argument checks, named metatables, references,
// table sizes, chunk loading helpers and string buffers.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "lua/lauxlib.h"
#include "lua/state.h"
#include "lua/table.h"

namespace {

// Slot of the free-reference list in a reference table.
constexpr int kFreeListRef = 0;

// Most pieces a buffer keeps on the stack before joining them.
constexpr int kBufferLevels = LUA_MINSTACK / 2;

int absoluteIndex(lua_State* L, int i)
{
    return i > 0 || i <= LUA_REGISTRYINDEX ? i : lua_gettop(L) + 1 + i;
}

int typeError(lua_State* L, int narg, int tag) { return luaL_typerror(L, narg, lua_typename(L, tag)); }

// Pops the top value; its integer part when it reads as a number, else -1.
int popInteger(lua_State* L)
{
    int n = lua_isnumber(L, -1) ? script::truncateNumber<int>(lua_tonumber(L, -1)) : -1;
    lua_pop(L, 1);
    return n;
}

// Pushes the weak-keyed table of sizes set by luaL_setn on tables without "n".
void pushSizes(lua_State* L)
{
    lua_pushliteral(L, "LUA_SIZES");
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (!lua_isnil(L, -1))
        return;
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setmetatable(L, -2);  // its own metatable holds the mode
    lua_pushliteral(L, "__mode");
    lua_pushliteral(L, "k");
    lua_rawset(L, -3);
    lua_pushliteral(L, "LUA_SIZES");
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
}

bool readDiskFile(const char* filename, std::string& contents)
{
    std::ifstream in(filename, std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

luaL_FileReader fileReader = readDiskFile;

struct BufferReader {
    const char* data;
    size_t size;
};

const char* readBuffer(lua_State*, void* ud, size_t* size)
{
    auto* r = static_cast<BufferReader*>(ud);
    if (r->size == 0)
        return nullptr;
    *size = r->size;
    r->size = 0;
    return r->data;
}

// Runs a loaded chunk; an error goes to _ALERT, or to stderr without one.
int runLoaded(lua_State* L, int status)
{
    if (status == 0)
        status = lua_pcall(L, 0, LUA_MULTRET, 0);
    if (status != 0) {
        lua_pushliteral(L, "_ALERT");
        lua_rawget(L, LUA_GLOBALSINDEX);
        if (lua_isfunction(L, -1)) {
            lua_insert(L, -2);
            lua_call(L, 1, 0);
        } else {
            const char* message = lua_tostring(L, -2);
            std::fprintf(stderr, "%s\n", message ? message : "(error object is not a string)");
            lua_pop(L, 2);
        }
    }
    return status;
}

size_t bufferUsed(const luaL_Buffer* B) { return static_cast<size_t>(B->p - B->buffer); }
size_t bufferFree(const luaL_Buffer* B) { return LUAL_BUFFERSIZE - bufferUsed(B); }

void pushPiece(luaL_Buffer* B, const char* bytes, size_t size)
{
    if (B->wide) {
        lua_WChar units[LUAL_BUFFERSIZE / sizeof(lua_WChar)];
        std::memcpy(units, bytes, size);
        lua_pushwstring(B->L, units, size / sizeof(lua_WChar));
    } else {
        lua_pushlstring(B->L, bytes, size);
    }
}

// Moves the collected characters to a new piece on the stack.
bool flushBuffer(luaL_Buffer* B)
{
    size_t used = bufferUsed(B);
    if (used == 0)
        return false;
    pushPiece(B, B->buffer, used);
    B->p = B->buffer;
    ++B->lvl;
    return true;
}

// Joins the top pieces while a piece is larger than the one below it (or
// there are too many), so that the pieces stay few and joins stay cheap.
void balancePieces(luaL_Buffer* B)
{
    if (B->lvl <= 1)
        return;
    lua_State* L = B->L;
    int joined = 1;
    size_t topLength = lua_strlen(L, -1);
    while (joined < B->lvl) {
        size_t below = lua_strlen(L, -(joined + 1));
        if (B->lvl - joined + 1 < kBufferLevels && topLength <= below)
            break;
        topLength += below;
        ++joined;
    }
    lua_concat(L, joined);
    B->lvl -= joined - 1;
}

void addBytes(luaL_Buffer* B, const char* s, size_t l)
{
    while (l > 0) {
        size_t room = bufferFree(B);
        if (room == 0) {
            luaL_prepbuffer(B);
            continue;
        }
        size_t n = l < room ? l : room;
        std::memcpy(B->p, s, n);
        B->p += n;
        s += n;
        l -= n;
    }
}

}  // namespace

void luaL_openlib(lua_State* L, const char* libname, const luaL_reg* l, int nup)
{
    if (libname) {
        lua_pushstring(L, libname);
        lua_gettable(L, LUA_GLOBALSINDEX);
        if (lua_isnil(L, -1)) {
            lua_pop(L, 1);
            lua_newtable(L);
            lua_pushstring(L, libname);
            lua_pushvalue(L, -2);
            lua_settable(L, LUA_GLOBALSINDEX);
        }
        lua_insert(L, -(nup + 1));  // the library table goes below the upvalues
    }
    for (; l->name; ++l) {
        lua_pushstring(L, l->name);
        for (int i = 0; i < nup; ++i)
            lua_pushvalue(L, -(nup + 1));
        lua_pushcclosure(L, l->func, nup);
        lua_settable(L, -(nup + 3));
    }
    lua_pop(L, nup);
}

int luaL_getmetafield(lua_State* L, int obj, const char* e)
{
    if (!lua_getmetatable(L, obj))
        return 0;
    lua_pushstring(L, e);
    lua_rawget(L, -2);
    if (lua_isnil(L, -1)) {
        lua_pop(L, 2);
        return 0;
    }
    lua_remove(L, -2);
    return 1;
}

int luaL_callmeta(lua_State* L, int obj, const char* e)
{
    obj = absoluteIndex(L, obj);
    if (!luaL_getmetafield(L, obj, e))
        return 0;
    lua_pushvalue(L, obj);
    lua_call(L, 1, 1);
    return 1;
}

int luaL_typerror(lua_State* L, int narg, const char* tname)
{
    const char* message = lua_pushfstring(L, "%s expected, got %s", tname, lua_typename(L, lua_type(L, narg)));
    return luaL_argerror(L, narg, message);
}

int luaL_argerror(lua_State* L, int numarg, const char* extramsg)
{
    lua_Debug ar;
    const char* name = nullptr;
    const char* namewhat = "";
    if (lua_getstack(L, 0, &ar) && lua_getinfo(L, "n", &ar)) {
        name = ar.name;
        namewhat = ar.namewhat ? ar.namewhat : "";
    }
    if (std::strcmp(namewhat, "method") == 0) {
        --numarg;
        if (numarg == 0)
            return luaL_error(L, "calling `%s' on bad self (%s)", name ? name : "?", extramsg);
    }
    return luaL_error(L, "bad argument #%d to `%s' (%s)", numarg, name ? name : "?", extramsg);
}

const char* luaL_checklstring(lua_State* L, int numArg, size_t* l)
{
    const char* s = lua_tostring(L, numArg);
    if (!s)
        typeError(L, numArg, LUA_TSTRING);
    if (l)
        *l = lua_strlen(L, numArg);
    return s;
}

const char* luaL_optlstring(lua_State* L, int numArg, const char* def, size_t* l)
{
    if (lua_isnoneornil(L, numArg)) {
        if (l)
            *l = def ? std::strlen(def) : 0;
        return def;
    }
    return luaL_checklstring(L, numArg, l);
}

const lua_WChar* luaL_checkwstring(lua_State* L, int numArg, size_t* l)
{
    const lua_WChar* s = lua_towstring(L, numArg);
    if (!s)
        luaL_typerror(L, numArg, "wstring");
    if (l)
        *l = lua_strlen(L, numArg);
    return s;
}

lua_Number luaL_checknumber(lua_State* L, int numArg)
{
    lua_Number d = lua_tonumber(L, numArg);
    if (d == 0 && !lua_isnumber(L, numArg))
        typeError(L, numArg, LUA_TNUMBER);
    return d;
}

lua_Number luaL_optnumber(lua_State* L, int nArg, lua_Number def)
{
    return lua_isnoneornil(L, nArg) ? def : luaL_checknumber(L, nArg);
}

void luaL_checkstack(lua_State* L, int sz, const char* msg)
{
    if (!lua_checkstack(L, sz))
        luaL_error(L, "stack overflow (%s)", msg);
}

void luaL_checktype(lua_State* L, int narg, int t)
{
    if (lua_type(L, narg) != t)
        typeError(L, narg, t);
}

void luaL_checkany(lua_State* L, int narg)
{
    if (lua_type(L, narg) == LUA_TNONE)
        luaL_argerror(L, narg, "value expected");
}

int luaL_newmetatable(lua_State* L, const char* tname)
{
    lua_pushstring(L, tname);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (!lua_isnil(L, -1))
        return 0;  // the name is taken: its value stays on the stack
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushstring(L, tname);
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);  // registry[name] = metatable
    lua_pushvalue(L, -1);
    lua_pushstring(L, tname);
    lua_rawset(L, LUA_REGISTRYINDEX);  // registry[metatable] = name
    return 1;
}

void luaL_getmetatable(lua_State* L, const char* tname)
{
    lua_pushstring(L, tname);
    lua_rawget(L, LUA_REGISTRYINDEX);
}

void* luaL_checkudata(lua_State* L, int ud, const char* tname)
{
    if (!lua_getmetatable(L, ud))
        return nullptr;
    lua_rawget(L, LUA_REGISTRYINDEX);
    const char* name = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1) : nullptr;
    bool matches = name && std::strcmp(name, tname) == 0;
    lua_pop(L, 1);
    return matches ? lua_touserdata(L, ud) : nullptr;
}

void luaL_where(lua_State* L, int lvl)
{
    lua_Debug ar;
    if (lua_getstack(L, lvl, &ar) && lua_getinfo(L, "Sl", &ar) && ar.currentline > 0) {
        lua_pushfstring(L, "%s:%d: ", ar.short_src, ar.currentline);
        return;
    }
    lua_pushliteral(L, "");
}

int luaL_error(lua_State* L, const char* fmt, ...)
{
    va_list argp;
    va_start(argp, fmt);
    luaL_where(L, 1);
    lua_pushvfstring(L, fmt, argp);
    va_end(argp);
    lua_concat(L, 2);
    return lua_error(L);
}

int luaL_findstring(const char* st, const char* const lst[])
{
    for (int i = 0; lst[i]; ++i)
        if (std::strcmp(lst[i], st) == 0)
            return i;
    return -1;
}

int luaL_ref(lua_State* L, int t)
{
    t = absoluteIndex(L, t);
    if (lua_isnil(L, -1)) {
        lua_pop(L, 1);
        return LUA_REFNIL;
    }
    lua_rawgeti(L, t, kFreeListRef);
    int ref = script::truncateNumber<int>(lua_tonumber(L, -1));
    lua_pop(L, 1);
    if (ref > 0) {
        lua_rawgeti(L, t, ref);  // the next free slot becomes the list's head
        lua_rawseti(L, t, kFreeListRef);
    } else {
        ref = luaL_getn(L, t) + 1;
        luaL_setn(L, t, ref);
    }
    lua_rawseti(L, t, ref);
    return ref;
}

void luaL_unref(lua_State* L, int t, int ref)
{
    if (ref < 0)
        return;
    t = absoluteIndex(L, t);
    lua_rawgeti(L, t, kFreeListRef);
    lua_rawseti(L, t, ref);  // t[ref] = the old head
    lua_pushnumber(L, ref);
    lua_rawseti(L, t, kFreeListRef);
}

int luaL_getn(lua_State* L, int t)
{
    t = absoluteIndex(L, t);
    lua_pushliteral(L, "n");
    lua_rawget(L, t);
    int n = popInteger(L);
    if (n >= 0)
        return n;
    pushSizes(L);
    lua_pushvalue(L, t);
    lua_rawget(L, -2);
    n = popInteger(L);
    lua_pop(L, 1);
    if (n >= 0)
        return n;
    lua_pushvalue(L, t);
    const script::Value* v = L->top - 1;
    n = script::isTable(v) ? script::tableFirstBorder(script::asTable(v)) : 0;
    lua_pop(L, 1);
    return n;
}

void luaL_setn(lua_State* L, int t, int n)
{
    t = absoluteIndex(L, t);
    lua_pushliteral(L, "n");
    lua_rawget(L, t);
    if (popInteger(L) >= 0) {
        lua_pushliteral(L, "n");
        lua_pushnumber(L, n);
        lua_rawset(L, t);
        return;
    }
    pushSizes(L);
    lua_pushvalue(L, t);
    lua_pushnumber(L, n);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

void luaL_setfilereader(luaL_FileReader reader) { fileReader = reader ? reader : readDiskFile; }

int luaL_loadfile(lua_State* L, const char* filename)
{
    std::string contents;
    bool ok;
    if (filename) {
        errno = 0;
        ok = fileReader(filename, contents);
    } else {
        contents.assign(std::istreambuf_iterator<char>(std::cin.rdbuf()), std::istreambuf_iterator<char>());
        ok = true;
    }
    if (!ok) {
        // A reader that leaves no reason could not find the file.
        lua_pushfstring(L, "cannot read %s: %s", filename, std::strerror(errno != 0 ? errno : ENOENT));
        return LUA_ERRFILE;
    }
    lua_pushfstring(L, filename ? "@%s" : "=stdin", filename);
    int status = luaL_loadbuffer(L, contents.data(), contents.size(), lua_tostring(L, -1));
    lua_remove(L, -2);  // the chunk name
    return status;
}

int luaL_loadbuffer(lua_State* L, const char* buff, size_t sz, const char* name)
{
    BufferReader reader{buff, sz};
    return lua_load(L, readBuffer, &reader, name);
}

int lua_dofile(lua_State* L, const char* filename) { return runLoaded(L, luaL_loadfile(L, filename)); }

int lua_dobuffer(lua_State* L, const char* buff, size_t sz, const char* n)
{
    return runLoaded(L, luaL_loadbuffer(L, buff, sz, n));
}

int lua_dostring(lua_State* L, const char* str) { return lua_dobuffer(L, str, std::strlen(str), str); }

void luaL_buffinit(lua_State* L, luaL_Buffer* B)
{
    B->L = L;
    B->p = B->buffer;
    B->lvl = 0;
    B->wide = 0;
}

void luaL_wbuffinit(lua_State* L, luaL_Buffer* B)
{
    luaL_buffinit(L, B);
    B->wide = 1;
}

char* luaL_prepbuffer(luaL_Buffer* B)
{
    if (flushBuffer(B))
        balancePieces(B);
    return B->buffer;
}

void luaL_addlstring(luaL_Buffer* B, const char* s, size_t l) { addBytes(B, s, l); }

void luaL_addstring(luaL_Buffer* B, const char* s) { addBytes(B, s, std::strlen(s)); }

void luaL_addwchar(luaL_Buffer* B, lua_WChar c) { addBytes(B, reinterpret_cast<const char*>(&c), sizeof c); }

void luaL_addwlstring(luaL_Buffer* B, const lua_WChar* s, size_t l)
{
    addBytes(B, reinterpret_cast<const char*>(s), l * sizeof(lua_WChar));
}

void luaL_addvalue(luaL_Buffer* B)
{
    lua_State* L = B->L;
    const char* bytes;
    size_t size;
    if (B->wide) {
        bytes = reinterpret_cast<const char*>(lua_towstring(L, -1));
        size = bytes ? lua_strlen(L, -1) * sizeof(lua_WChar) : 0;
    } else {
        bytes = lua_tostring(L, -1);
        size = bytes ? lua_strlen(L, -1) : 0;
    }
    if (size <= bufferFree(B)) {
        if (size)
            std::memcpy(B->p, bytes, size);
        B->p += size;
        lua_pop(L, 1);
        return;
    }
    if (flushBuffer(B))
        lua_insert(L, -2);  // the collected piece goes below the value
    ++B->lvl;
    balancePieces(B);
}

void luaL_pushresult(luaL_Buffer* B)
{
    flushBuffer(B);
    if (B->lvl == 0)
        pushPiece(B, B->buffer, 0);
    else
        lua_concat(B->L, B->lvl);
    B->lvl = 1;
}
