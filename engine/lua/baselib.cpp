// The base library: global functions, the coroutine table, towstring and the
// registry copies of the type-wide metatables. Written against the public
// interface only.
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// ---------------------------------------------------------------------------
// Text of values

// An 8-bit string or a number: the values that read as text (a wide string
// does not join 8-bit text).
bool isText(lua_State* L, int idx) {
    int type = lua_type(L, idx);
    return type == LUA_TSTRING || type == LUA_TNUMBER;
}

// "table: 0x...", the form tostring gives for values without their own text.
std::string addressText(lua_State* L, int idx) {
    const char* kind = lua_typename(L, lua_type(L, idx));
    if (lua_type(L, idx) == LUA_TLIGHTUSERDATA) kind = "userdata";
    char text[64];
    std::snprintf(text, sizeof text, "%s: %p", kind, lua_topointer(L, idx));
    return text;
}

// Pushes the 8-bit text of a wide string: the low byte of every unit.
void pushLowBytes(lua_State* L, int idx) {
    const lua_WChar* units = lua_towstring(L, idx);
    size_t count = lua_strlen(L, idx);
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(units[i] & 0xFF);
    lua_pushlstring(L, bytes.data(), bytes.size());
}

// Pushes the text of the value at idx, ignoring any __tostring handler.
void pushPlainText(lua_State* L, int idx) {
    switch (lua_type(L, idx)) {
    case LUA_TNUMBER: {
        lua_pushvalue(L, idx);
        lua_pushstring(L, lua_tostring(L, -1));
        lua_remove(L, -2);
        break;
    }
    case LUA_TSTRING: lua_pushvalue(L, idx); break;
    case LUA_TWSTRING: pushLowBytes(L, idx); break;
    case LUA_TBOOLEAN: lua_pushstring(L, lua_toboolean(L, idx) ? "true" : "false"); break;
    case LUA_TNIL: lua_pushliteral(L, "nil"); break;
    default: {
        std::string text = addressText(L, idx);
        lua_pushlstring(L, text.data(), text.size());
        break;
    }
    }
}

int baseToString(lua_State* L) {
    luaL_checkany(L, 1);
    if (luaL_callmeta(L, 1, "__tostring")) return 1;
    pushPlainText(L, 1);
    return 1;
}

// Wide text of an 8-bit string: bytes are sign-extended into units.
void pushSignExtended(lua_State* L, const char* bytes, size_t count) {
    luaL_Buffer b;
    luaL_wbuffinit(L, &b);
    for (size_t i = 0; i < count; ++i)
        luaL_addwchar(&b, static_cast<lua_WChar>(static_cast<int16_t>(static_cast<signed char>(bytes[i]))));
    luaL_pushresult(&b);
}

int baseToWString(lua_State* L) {
    luaL_argcheck(L, lua_type(L, 1) != LUA_TNONE, 1, "value expected");
    switch (lua_type(L, 1)) {
    case LUA_TWSTRING: lua_pushvalue(L, 1); break;
    case LUA_TNUMBER:
        lua_pushvalue(L, 1);
        lua_towstring(L, -1);  // converts the copy in place
        break;
    default: {
        pushPlainText(L, 1);  // an 8-bit string is its own plain text
        size_t count = lua_strlen(L, -1);
        pushSignExtended(L, lua_tostring(L, -1), count);
        break;
    }
    }
    return 1;
}

int basePrint(lua_State* L) {
    int count = lua_gettop(L);
    lua_pushliteral(L, "tostring");
    lua_gettable(L, LUA_GLOBALSINDEX);
    for (int i = 1; i <= count; ++i) {
        lua_pushvalue(L, -1);
        lua_pushvalue(L, i);
        lua_call(L, 1, 1);
        if (!isText(L, -1))
            return luaL_error(L, "`tostring' must return a string to `print'");
        if (i > 1) std::fputc('\t', stdout);
        // As the reference interpreter, a string prints up to its first zero byte.
        std::fputs(lua_tostring(L, -1), stdout);
        lua_pop(L, 1);
    }
    std::fputc('\n', stdout);
    return 0;
}

int baseType(lua_State* L) {
    luaL_checkany(L, 1);
    lua_pushstring(L, lua_typename(L, lua_type(L, 1)));
    return 1;
}

// ---------------------------------------------------------------------------
// tonumber

int digitValue(unsigned char c) {
    if (std::isdigit(c)) return c - '0';
    if (std::isalpha(c)) return std::tolower(c) - 'a' + 10;
    return 99;
}

// Numbers in other bases are 32-bit unsigned integers, read as the C
// library's unsigned conversion reads them: larger ones clamp, and a minus
// sign negates modulo 2^32.
constexpr uint64_t kLargestInBase = 4294967295u;

// Reads an integer in the given base with optional surrounding white space,
// an optional sign after the leading blanks (and "0x" in base 16 after it);
// false when the text is not entirely such a number.
bool parseInBase(const char* text, size_t length, int base, lua_Number& result) {
    const char* p = text;
    const char* end = text + length;
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    if (base == 16 && end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
    const char* digits = p;
    // Past the largest value the count stops at one more: out of range.
    const uint64_t outOfRange = kLargestInBase + 1;
    uint64_t value = 0;
    while (p < end && digitValue(static_cast<unsigned char>(*p)) < base) {
        value = std::min(value * base + digitValue(static_cast<unsigned char>(*p)), outOfRange);
        ++p;
    }
    if (p == digits) return false;
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (p != end) return false;
    // Out of range gives the largest value whatever the sign.
    if (value == outOfRange) {
        value = kLargestInBase;
    } else if (negative) {
        value = (outOfRange - value) % outOfRange;
    }
    result = static_cast<lua_Number>(value);
    return true;
}

int baseToNumber(lua_State* L) {
    int base = luaL_optint(L, 2, 10);
    if (base == 10) {
        luaL_checkany(L, 1);
        if (lua_isnumber(L, 1)) {
            lua_pushnumber(L, lua_tonumber(L, 1));
            return 1;
        }
    } else {
        size_t length = 0;
        const char* text = luaL_checklstring(L, 1, &length);
        luaL_argcheck(L, 2 <= base && base <= 36, 2, "base out of range");
        lua_Number value = 0;
        if (parseInBase(text, length, base, value)) {
            lua_pushnumber(L, value);
            return 1;
        }
    }
    lua_pushnil(L);
    return 1;
}

// ---------------------------------------------------------------------------
// Errors and protected calls

int baseError(lua_State* L) {
    luaL_checkany(L, 1);
    int level = luaL_optint(L, 2, 1);
    lua_settop(L, 1);
    if (isText(L, 1) && level > 0) {
        luaL_where(L, level);
        lua_pushvalue(L, 1);
        lua_concat(L, 2);
    }
    return lua_error(L);
}

int basePCall(lua_State* L) {
    luaL_checkany(L, 1);
    int status = lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0);
    lua_pushboolean(L, status == 0);
    lua_insert(L, 1);
    return lua_gettop(L);
}

int baseXPCall(lua_State* L) {
    luaL_checkany(L, 2);
    lua_settop(L, 2);
    lua_insert(L, 1);  // the handler goes below the function
    int status = lua_pcall(L, 0, LUA_MULTRET, 1);
    lua_pushboolean(L, status == 0);
    lua_replace(L, 1);
    return lua_gettop(L);
}

int baseAssert(lua_State* L) {
    luaL_checkany(L, 1);
    if (!lua_toboolean(L, 1)) return luaL_error(L, "%s", luaL_optstring(L, 2, "assertion failed!"));
    lua_settop(L, 1);
    return 1;
}

// ---------------------------------------------------------------------------
// Metatables and raw access

int baseGetMetatable(lua_State* L) {
    luaL_checkany(L, 1);
    if (!lua_getmetatable(L, 1)) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushliteral(L, "__metatable");
    lua_rawget(L, -2);
    if (lua_isnil(L, -1)) lua_pop(L, 1);
    return 1;
}

int baseSetMetatable(lua_State* L) {
    int type = lua_type(L, 2);
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_argcheck(L, type == LUA_TNIL || type == LUA_TTABLE, 2, "nil or table expected");
    if (luaL_getmetafield(L, 1, "__metatable")) return luaL_error(L, "cannot change a protected metatable");
    lua_settop(L, 2);
    lua_setmetatable(L, 1);
    return 1;
}

int baseRawEqual(lua_State* L) {
    luaL_checkany(L, 1);
    luaL_checkany(L, 2);
    lua_pushboolean(L, lua_rawequal(L, 1, 2));
    return 1;
}

int baseRawGet(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_checkany(L, 2);
    lua_settop(L, 2);
    lua_rawget(L, 1);
    return 1;
}

int baseRawSet(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_checkany(L, 2);
    luaL_checkany(L, 3);
    lua_settop(L, 3);
    lua_rawset(L, 1);
    return 1;
}

// ---------------------------------------------------------------------------
// Environments

// Pushes the function named by argument 1: a function, or a stack level
// (default 1, the caller).
void pushTargetFunction(lua_State* L) {
    if (lua_isfunction(L, 1)) {
        lua_pushvalue(L, 1);
        return;
    }
    int level = luaL_optint(L, 1, 1);
    luaL_argcheck(L, level >= 0, 1, "level must be non-negative");
    lua_Debug ar;
    if (lua_getstack(L, level, &ar) == 0) luaL_argerror(L, 1, "invalid level");
    lua_getinfo(L, "f", &ar);
    if (lua_isnil(L, -1)) luaL_error(L, "no function environment for tail call at level %d", level);
}

// Pushes the environment of the function on top and its "__fenv" field; true
// when that field is set: the environment is then protected, and getfenv
// shows the field in its place. Native functions use the globals.
bool pushEnvironmentField(lua_State* L) {
    lua_getfenv(L, -1);
    lua_pushliteral(L, "__fenv");
    lua_rawget(L, -2);
    return !lua_isnil(L, -1);
}

int baseGetFEnv(lua_State* L) {
    pushTargetFunction(L);
    if (!pushEnvironmentField(L)) lua_pop(L, 1);
    return 1;
}

int baseSetFEnv(lua_State* L) {
    luaL_checktype(L, 2, LUA_TTABLE);
    pushTargetFunction(L);
    if (pushEnvironmentField(L)) luaL_error(L, "`setfenv' cannot change a protected environment");
    lua_pop(L, 2);
    lua_pushvalue(L, 2);
    if (lua_isnumber(L, 1) && lua_tonumber(L, 1) == 0) lua_replace(L, LUA_GLOBALSINDEX);
    else if (lua_setfenv(L, -2) == 0) luaL_error(L, "`setfenv' cannot change environment of given function");
    return 0;
}

// ---------------------------------------------------------------------------
// Iteration

int baseNext(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    lua_settop(L, 2);
    if (lua_next(L, 1)) return 2;
    lua_pushnil(L);
    return 1;
}

int basePairs(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    lua_pushliteral(L, "next");
    lua_rawget(L, LUA_GLOBALSINDEX);
    lua_pushvalue(L, 1);
    lua_pushnil(L);
    return 3;
}

// Called with the table alone, returns itself as the iterator; called with a
// control value, returns the next index and value until the first nil.
int baseIPairs(lua_State* L) {
    lua_Number index = lua_tonumber(L, 2);
    luaL_checktype(L, 1, LUA_TTABLE);
    if (index == 0 && lua_isnone(L, 2)) {
        lua_pushliteral(L, "ipairs");
        lua_rawget(L, LUA_GLOBALSINDEX);
        lua_pushvalue(L, 1);
        lua_pushnumber(L, 0);
        return 3;
    }
    index += 1;
    lua_pushnumber(L, index);
    lua_rawgeti(L, 1, static_cast<int>(index));
    return lua_isnil(L, -1) ? 0 : 2;
}

int baseUnpack(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    int count = luaL_getn(L, 1);
    luaL_checkstack(L, count, "table too big to unpack");
    for (int i = 1; i <= count; ++i) lua_rawgeti(L, 1, i);
    return count;
}

// ---------------------------------------------------------------------------
// Loading

// Returns the loaded chunk, or nil and the message.
int loadResult(lua_State* L, int status) {
    if (status == 0) return 1;
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

int baseLoadString(lua_State* L) {
    size_t length = 0;
    const char* source = luaL_checklstring(L, 1, &length);
    const char* name = luaL_optstring(L, 2, source);
    return loadResult(L, luaL_loadbuffer(L, source, length, name));
}

int baseLoadFile(lua_State* L) {
    const char* name = luaL_optstring(L, 1, nullptr);
    return loadResult(L, luaL_loadfile(L, name));
}

int baseDoFile(lua_State* L) {
    const char* name = luaL_optstring(L, 1, nullptr);
    int before = lua_gettop(L);
    if (luaL_loadfile(L, name) != 0) lua_error(L);
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L) - before;
}

// The search path of require: the global LUA_PATH, the environment variable
// of the same name, or "?;?.lua".
std::string requirePath(lua_State* L) {
    lua_pushliteral(L, "LUA_PATH");
    lua_gettable(L, LUA_GLOBALSINDEX);
    std::string path;
    if (isText(L, -1)) {
        const char* text = lua_tostring(L, -1);  // converts a number in place
        path.assign(text, lua_strlen(L, -1));
    } else if (const char* fromEnvironment = std::getenv("LUA_PATH")) {
        path = fromEnvironment;
    } else {
        path = "?;?.lua";
    }
    lua_pop(L, 1);
    return path;
}

// Tries every template of the path with "?" replaced by the name; leaves the
// loaded chunk on the stack and returns 0, or the status of the last try.
int loadFromPath(lua_State* L, const std::string& name, const std::string& path) {
    int status = LUA_ERRFILE;
    size_t start = 0;
    while (status == LUA_ERRFILE && start <= path.size()) {
        size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        std::string pattern = path.substr(start, end - start);
        start = end + 1;
        if (pattern.empty()) continue;
        std::string file;
        for (char c : pattern) {
            if (c == '?') file += name;
            else file += c;
        }
        status = luaL_loadfile(L, file.c_str());
        if (status == LUA_ERRFILE) lua_pop(L, 1);
    }
    return status;
}

int baseRequire(lua_State* L) {
    size_t length = 0;
    const char* rawName = luaL_checklstring(L, 1, &length);
    std::string name(rawName, length);
    lua_settop(L, 1);
    lua_pushliteral(L, "_LOADED");
    lua_gettable(L, LUA_GLOBALSINDEX);
    if (!lua_istable(L, 2)) return luaL_error(L, "`_LOADED' is not a table");
    lua_pushvalue(L, 1);
    lua_rawget(L, 2);
    if (lua_toboolean(L, -1)) return 1;
    lua_pop(L, 1);
    std::string path = requirePath(L);
    int status = loadFromPath(L, name, path);
    if (status == LUA_ERRFILE)
        return luaL_error(L, "could not load package `%s' from path `%s'", name.c_str(), path.c_str());
    if (status != 0)
        return luaL_error(L, "error loading package `%s' (%s)", name.c_str(), lua_tostring(L, -1));
    // Run the package with _REQUIREDNAME set to its name, then restore it.
    lua_pushliteral(L, "_REQUIREDNAME");
    lua_gettable(L, LUA_GLOBALSINDEX);
    lua_insert(L, -2);
    lua_pushliteral(L, "_REQUIREDNAME");
    lua_pushvalue(L, 1);
    lua_settable(L, LUA_GLOBALSINDEX);
    lua_call(L, 0, 1);
    lua_insert(L, -2);
    lua_pushliteral(L, "_REQUIREDNAME");
    lua_insert(L, -2);
    lua_settable(L, LUA_GLOBALSINDEX);
    if (lua_isnil(L, -1)) {
        lua_pop(L, 1);
        lua_pushboolean(L, 1);
    }
    lua_pushvalue(L, 1);
    lua_pushvalue(L, -2);
    lua_rawset(L, 2);
    return 1;
}

// ---------------------------------------------------------------------------
// Collector

int baseCollectGarbage(lua_State* L) {
    lua_setgcthreshold(L, luaL_optint(L, 1, 0));
    return 0;
}

int baseGcInfo(lua_State* L) {
    lua_pushnumber(L, lua_getgccount(L));
    lua_pushnumber(L, lua_getgcthreshold(L));
    return 2;
}

// ---------------------------------------------------------------------------
// Coroutines

// Moves narg arguments to the coroutine and resumes it; returns the count of
// results moved back, or -1 with the error value on top.
int resumeCoroutine(lua_State* L, lua_State* co, int narg) {
    if (!lua_checkstack(co, narg)) luaL_error(L, "too many arguments to resume");
    lua_xmove(L, co, narg);
    if (lua_resume(co, narg) != 0) {
        lua_xmove(co, L, 1);
        return -1;
    }
    int results = lua_gettop(co);
    if (!lua_checkstack(L, results)) luaL_error(L, "too many results to resume");
    lua_xmove(co, L, results);
    return results;
}

int coCreate(lua_State* L) {
    luaL_argcheck(L, lua_isfunction(L, 1) && !lua_iscfunction(L, 1), 1, "Lua function expected");
    lua_State* co = lua_newthread(L);
    lua_pushvalue(L, 1);
    lua_xmove(L, co, 1);
    return 1;
}

int coResume(lua_State* L) {
    lua_State* co = lua_tothread(L, 1);
    luaL_argcheck(L, co != nullptr, 1, "coroutine expected");
    int results = resumeCoroutine(L, co, lua_gettop(L) - 1);
    lua_pushboolean(L, results >= 0);
    if (results < 0) {
        lua_insert(L, -2);
        return 2;
    }
    lua_insert(L, -(results + 1));
    return results + 1;
}

int coWrapped(lua_State* L) {
    lua_State* co = lua_tothread(L, lua_upvalueindex(1));
    int results = resumeCoroutine(L, co, lua_gettop(L));
    if (results >= 0) return results;
    if (isText(L, -1)) {
        luaL_where(L, 1);
        lua_insert(L, -2);
        lua_concat(L, 2);
    }
    return lua_error(L);
}

int coWrap(lua_State* L) {
    coCreate(L);
    lua_pushcclosure(L, coWrapped, 1);
    return 1;
}

int coYield(lua_State* L) {
    return lua_yield(L, lua_gettop(L));
}

int coStatus(lua_State* L) {
    lua_State* co = lua_tothread(L, 1);
    luaL_argcheck(L, co != nullptr, 1, "coroutine expected");
    lua_Debug ar;
    if (co == L) lua_pushliteral(L, "running");
    else if (!lua_isyielded(co) && lua_getstack(co, 0, &ar) == 0 && lua_gettop(co) == 0)
        lua_pushliteral(L, "dead");
    else lua_pushliteral(L, "suspended");
    return 1;
}

// newproxy(false) makes a bare zero-size userdata; newproxy(true) gives it a
// fresh metatable; newproxy(p) shares the metatable of proxy p. The weak table
// in the upvalue remembers which metatables proxies made.
int baseNewProxy(lua_State* L) {
    lua_settop(L, 1);
    lua_newuserdata(L, 0);
    if (!lua_toboolean(L, 1)) return 1;
    if (lua_isboolean(L, 1)) {
        lua_newtable(L);
        lua_pushvalue(L, -1);
        lua_pushboolean(L, 1);
        lua_rawset(L, lua_upvalueindex(1));
    } else {
        bool madeByProxy = false;
        if (lua_getmetatable(L, 1)) {
            lua_pushvalue(L, -1);
            lua_rawget(L, lua_upvalueindex(1));
            madeByProxy = lua_toboolean(L, -1);
            lua_pop(L, 1);
        }
        luaL_argcheck(L, madeByProxy, 1, "boolean or proxy expected");
    }
    lua_setmetatable(L, 2);
    return 1;
}

void openNewProxy(lua_State* L) {
    lua_pushliteral(L, "newproxy");
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setmetatable(L, -2);
    lua_pushliteral(L, "__mode");
    lua_pushliteral(L, "k");
    lua_rawset(L, -3);
    lua_pushcclosure(L, baseNewProxy, 1);
    lua_rawset(L, -3);
}

const luaL_reg kCoroutineFunctions[] = {
    {"create", coCreate}, {"resume", coResume}, {"yield", coYield},
    {"status", coStatus}, {"wrap", coWrap},     {nullptr, nullptr},
};

const luaL_reg kBaseFunctions[] = {
    {"error", baseError},
    {"gcinfo", baseGcInfo},
    {"collectgarbage", baseCollectGarbage},
    {"print", basePrint},
    {"tonumber", baseToNumber},
    {"tostring", baseToString},
    {"towstring", baseToWString},
    {"type", baseType},
    {"assert", baseAssert},
    {"unpack", baseUnpack},
    {"rawequal", baseRawEqual},
    {"rawget", baseRawGet},
    {"rawset", baseRawSet},
    {"pcall", basePCall},
    {"xpcall", baseXPCall},
    {"getmetatable", baseGetMetatable},
    {"setmetatable", baseSetMetatable},
    {"getfenv", baseGetFEnv},
    {"setfenv", baseSetFEnv},
    {"next", baseNext},
    {"ipairs", baseIPairs},
    {"pairs", basePairs},
    {"loadfile", baseLoadFile},
    {"dofile", baseDoFile},
    {"loadstring", baseLoadString},
    {"require", baseRequire},
    {nullptr, nullptr},
};

// Registry names of the type-wide metatables, by type tag from 1.
const char* const kDefaultMetatableNames[] = {
    "_boolean", "_lightuserdata", "_number", "_string", "_table",
    "_function", "_userdata", "_thread", "_wstring",
};

void copyDefaultMetatables(lua_State* L) {
    for (int tag = LUA_TBOOLEAN; tag < LUA_NUMTAGS; ++tag) {
        lua_pushstring(L, kDefaultMetatableNames[tag - 1]);
        lua_getdefaultmetatable(L, tag);
        if (lua_istable(L, -1)) lua_rawset(L, LUA_REGISTRYINDEX);
        else lua_pop(L, 2);
    }
}

}  // namespace

int luaopen_base(lua_State* L) {
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    luaL_openlib(L, nullptr, kBaseFunctions, 0);
    lua_pushliteral(L, "_G");
    lua_pushvalue(L, -2);
    lua_rawset(L, -3);
    lua_pushliteral(L, "_VERSION");
    lua_pushliteral(L, LUA_VERSION);
    lua_rawset(L, -3);
    lua_pushliteral(L, "_LOADED");
    lua_newtable(L);
    lua_rawset(L, -3);
    openNewProxy(L);
    lua_pop(L, 1);
    luaL_openlib(L, LUA_COLIBNAME, kCoroutineFunctions, 0);
    lua_pop(L, 1);
    copyDefaultMetatables(L);
    return 0;
}
