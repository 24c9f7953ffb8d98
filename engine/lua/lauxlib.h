// The auxiliary library: argument checks, metatables by name, references,
// chunk loading helpers and string buffers.
#pragma once

#include "lua/lua.h"
#include "lua/numbercast.h"

#include <string>

struct luaL_reg {
    const char* name;
    lua_CFunction func;
};

void luaL_openlib(lua_State* L, const char* libname, const luaL_reg* l, int nup);
int luaL_getmetafield(lua_State* L, int obj, const char* e);
int luaL_callmeta(lua_State* L, int obj, const char* e);
int luaL_typerror(lua_State* L, int narg, const char* tname);
int luaL_argerror(lua_State* L, int numarg, const char* extramsg);
const char* luaL_checklstring(lua_State* L, int numArg, size_t* l);
const char* luaL_optlstring(lua_State* L, int numArg, const char* def, size_t* l);
const lua_WChar* luaL_checkwstring(lua_State* L, int numArg, size_t* l);
lua_Number luaL_checknumber(lua_State* L, int numArg);
lua_Number luaL_optnumber(lua_State* L, int nArg, lua_Number def);

void luaL_checkstack(lua_State* L, int sz, const char* msg);
void luaL_checktype(lua_State* L, int narg, int t);
void luaL_checkany(lua_State* L, int narg);

int luaL_newmetatable(lua_State* L, const char* tname);
void luaL_getmetatable(lua_State* L, const char* tname);
void* luaL_checkudata(lua_State* L, int ud, const char* tname);

void luaL_where(lua_State* L, int lvl);
int luaL_error(lua_State* L, const char* fmt, ...);

int luaL_findstring(const char* st, const char* const lst[]);

int luaL_ref(lua_State* L, int t);
void luaL_unref(lua_State* L, int t, int ref);

int luaL_getn(lua_State* L, int t);
void luaL_setn(lua_State* L, int t, int n);

int luaL_loadfile(lua_State* L, const char* filename);

// Reads a whole script file for luaL_loadfile (and so loadfile, dofile and
// require); the engine installs one that goes through its virtual file
// system. The default reads the named disk file. Returns false when the file
// cannot be read, with errno telling why (left at 0: the file does not exist).
typedef bool (*luaL_FileReader)(const char* filename, std::string& contents);
void luaL_setfilereader(luaL_FileReader reader);
int luaL_loadbuffer(lua_State* L, const char* buff, size_t sz, const char* name);

#define luaL_argcheck(L, cond, numarg, extramsg) if (!(cond)) luaL_argerror(L, numarg, extramsg)
#define luaL_checkstring(L, n) (luaL_checklstring(L, (n), NULL))
#define luaL_optstring(L, n, d) (luaL_optlstring(L, (n), (d), NULL))
#define luaL_checkint(L, n) (script::truncateNumber<int>(luaL_checknumber(L, n)))
#define luaL_checklong(L, n) (script::truncateNumber<long>(luaL_checknumber(L, n)))
#define luaL_optint(L, n, d) (script::truncateNumber<int>(luaL_optnumber(L, n, (lua_Number)(d))))
#define luaL_optlong(L, n, d) (script::truncateNumber<long>(luaL_optnumber(L, n, (lua_Number)(d))))

// Generic buffer manipulation. A buffer in wide mode collects 16-bit units
// (two bytes each, in host order) and its result is a wide string.
#define LUAL_BUFFERSIZE 8192

struct luaL_Buffer {
    char* p;    // current position in buffer
    int lvl;    // number of strings in the stack (level)
    int wide;   // non-zero: the buffer holds lua_WChar units
    lua_State* L;
    char buffer[LUAL_BUFFERSIZE];
};

#define luaL_putchar(B, c) \
    ((void)((B)->p < ((B)->buffer + LUAL_BUFFERSIZE) || luaL_prepbuffer(B)), (*(B)->p++ = (char)(c)))
#define luaL_addsize(B, n) ((B)->p += (n))

void luaL_buffinit(lua_State* L, luaL_Buffer* B);
void luaL_wbuffinit(lua_State* L, luaL_Buffer* B);
char* luaL_prepbuffer(luaL_Buffer* B);
void luaL_addlstring(luaL_Buffer* B, const char* s, size_t l);
void luaL_addstring(luaL_Buffer* B, const char* s);
void luaL_addwchar(luaL_Buffer* B, lua_WChar c);
void luaL_addwlstring(luaL_Buffer* B, const lua_WChar* s, size_t l);
void luaL_addvalue(luaL_Buffer* B);
void luaL_pushresult(luaL_Buffer* B);

// Compatibility with the reference functions of Lua 4.
#define LUA_NOREF (-2)
#define LUA_REFNIL (-1)
#define lua_ref(L, lock) \
    ((lock) ? luaL_ref(L, LUA_REGISTRYINDEX) \
            : (lua_pushstring(L, "unlocked references are obsolete"), lua_error(L), 0))
#define lua_unref(L, ref) luaL_unref(L, LUA_REGISTRYINDEX, (ref))
#define lua_getref(L, ref) lua_rawgeti(L, LUA_REGISTRYINDEX, ref)

int lua_dofile(lua_State* L, const char* filename);
int lua_dostring(lua_State* L, const char* str);
int lua_dobuffer(lua_State* L, const char* buff, size_t sz, const char* n);
