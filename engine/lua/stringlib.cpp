// The string library: the "string" table, its functions and its installation
// as the type-wide metatable of strings.
#include "lua/stringlib.h"

#include "lua/lauxlib.h"
#include "lua/lualib.h"
#include "lua/pack.h"
#include "lua/pattern.h"

#include <cctype>
#include <cstring>
#include <string_view>

namespace script {

const char* checkNarrowString(lua_State* L, int narg, size_t* length) {
    if (lua_type(L, narg) == LUA_TWSTRING) luaL_typerror(L, narg, "string");
    return luaL_checklstring(L, narg, length);
}

namespace {

// A string position: negative counts back from the end (-1 is the last).
long relativePosition(long position, size_t length) {
    return position >= 0 ? position : static_cast<long>(length) + position + 1;
}

int strLen(lua_State* L) {
    size_t length = 0;
    checkNarrowString(L, 1, &length);
    lua_pushnumber(L, static_cast<lua_Number>(length));
    return 1;
}

int strSub(lua_State* L) {
    size_t length = 0;
    const char* s = checkNarrowString(L, 1, &length);
    long start = relativePosition(luaL_checklong(L, 2), length);
    long end = relativePosition(luaL_optlong(L, 3, -1), length);
    if (start < 1) start = 1;
    if (end > static_cast<long>(length)) end = static_cast<long>(length);
    if (start <= end) lua_pushlstring(L, s + start - 1, static_cast<size_t>(end - start + 1));
    else lua_pushliteral(L, "");
    return 1;
}

// Pushes the string argument with every byte passed through convert.
int mapBytes(lua_State* L, int (*convert)(int)) {
    size_t length = 0;
    const char* s = checkNarrowString(L, 1, &length);
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (size_t i = 0; i < length; ++i) luaL_putchar(&b, convert(static_cast<unsigned char>(s[i])));
    luaL_pushresult(&b);
    return 1;
}

int strLower(lua_State* L) {
    return mapBytes(L, [](int c) { return std::tolower(c); });
}

int strUpper(lua_State* L) {
    return mapBytes(L, [](int c) { return std::toupper(c); });
}

int strRep(lua_State* L) {
    size_t length = 0;
    const char* s = checkNarrowString(L, 1, &length);
    long count = luaL_checklong(L, 2);
    if (length == 0 || count <= 0) {
        lua_pushliteral(L, "");
        return 1;
    }
    if (static_cast<size_t>(count) > kMaxBuiltString / length) return luaL_error(L, "resulting string too large");
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (long i = 0; i < count; ++i) luaL_addlstring(&b, s, length);
    luaL_pushresult(&b);
    return 1;
}

int strByte(lua_State* L) {
    size_t length = 0;
    const char* s = checkNarrowString(L, 1, &length);
    long position = relativePosition(luaL_optlong(L, 2, 1), length);
    if (position <= 0 || static_cast<size_t>(position) > length) return 0;
    lua_pushnumber(L, static_cast<unsigned char>(s[position - 1]));
    return 1;
}

int strChar(lua_State* L) {
    int count = lua_gettop(L);
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (int i = 1; i <= count; ++i) {
        long c = luaL_checklong(L, i);
        luaL_argcheck(L, c >= 0 && c <= 255, i, "invalid value");
        luaL_putchar(&b, static_cast<char>(c));
    }
    luaL_pushresult(&b);
    return 1;
}

int collectDump(lua_State*, const void* p, size_t size, void* data) {
    static_cast<std::string*>(data)->append(static_cast<const char*>(p), size);
    return 0;
}

int strDump(lua_State* L) {
    luaL_checktype(L, 1, LUA_TFUNCTION);
    lua_settop(L, 1);
    std::string chunk;
    if (lua_iscfunction(L, 1) || lua_dump(L, collectDump, &chunk) == 0)
        return luaL_error(L, "unable to dump given function");
    lua_pushlstring(L, chunk.data(), chunk.size());
    return 1;
}

// ---------------------------------------------------------------------------
// find, gfind, gsub

bool hasSpecials(const char* pattern, size_t length) {
    for (size_t i = 0; i < length && pattern[i] != '\0'; ++i) {
        if (std::strchr("^$*+?.([%-", pattern[i]) != nullptr) return true;
    }
    return false;
}

int strFind(lua_State* L) {
    size_t length = 0;
    size_t patternLength = 0;
    const char* s = checkNarrowString(L, 1, &length);
    const char* p = checkNarrowString(L, 2, &patternLength);
    long init = relativePosition(luaL_optlong(L, 3, 1), length) - 1;
    if (init < 0) init = 0;
    if (static_cast<size_t>(init) > length) init = static_cast<long>(length);
    if (lua_toboolean(L, 4) || !hasSpecials(p, patternLength)) {
        std::string_view subject(s, length);
        size_t found = subject.find(std::string_view(p, patternLength), static_cast<size_t>(init));
        if (found == std::string_view::npos) {
            lua_pushnil(L);
            return 1;
        }
        lua_pushnumber(L, static_cast<lua_Number>(found + 1));
        lua_pushnumber(L, static_cast<lua_Number>(found + patternLength));
        return 2;
    }
    PatternMatcher matcher(L, s, length, p, patternLength);
    bool anchored = *p == '^';
    if (anchored) ++p;
    const char* from = s + init;
    do {
        if (const char* e = matcher.matchAt(from, p)) {
            lua_pushnumber(L, static_cast<lua_Number>(from - s + 1));
            lua_pushnumber(L, static_cast<lua_Number>(e - s));
            return matcher.pushCaptures(nullptr, nullptr) + 2;
        }
    } while (from++ < matcher.subjectEnd() && !anchored);
    lua_pushnil(L);
    return 1;
}

// The iterator of gfind: upvalues are the subject, the pattern and the
// offset where the next search starts.
int gfindStep(lua_State* L) {
    const char* s = lua_tostring(L, lua_upvalueindex(1));
    size_t length = lua_strlen(L, lua_upvalueindex(1));
    const char* p = lua_tostring(L, lua_upvalueindex(2));
    size_t patternLength = lua_strlen(L, lua_upvalueindex(2));
    PatternMatcher matcher(L, s, length, p, patternLength);
    for (const char* from = s + static_cast<size_t>(lua_tonumber(L, lua_upvalueindex(3)));
         from <= matcher.subjectEnd(); ++from) {
        const char* e = matcher.matchAt(from, p);
        if (e == nullptr) continue;
        lua_Number next = static_cast<lua_Number>(e - s);
        if (e == from) next += 1;  // an empty match moves on by one
        lua_pushnumber(L, next);
        lua_replace(L, lua_upvalueindex(3));
        return matcher.pushCaptures(from, e);
    }
    return 0;
}

int strGfind(lua_State* L) {
    checkNarrowString(L, 1, nullptr);
    checkNarrowString(L, 2, nullptr);
    lua_settop(L, 2);
    lua_pushnumber(L, 0);
    lua_pushcclosure(L, gfindStep, 3);
    return 1;
}

// Appends the replacement of the match [s, e): the replacement string with
// %1-%9 and %x escapes, or the string result of the replacement function
// (any other result removes the match).
void addReplacement(PatternMatcher& matcher, luaL_Buffer* b, const char* s, const char* e) {
    lua_State* L = b->L;
    if (lua_isfunction(L, 3)) {
        lua_pushvalue(L, 3);
        int count = matcher.pushCaptures(s, e);
        lua_call(L, count, 1);
        int type = lua_type(L, -1);
        if (type == LUA_TSTRING || type == LUA_TNUMBER) luaL_addvalue(b);
        else lua_pop(L, 1);
        return;
    }
    const char* replacement = lua_tostring(L, 3);
    size_t length = lua_strlen(L, 3);
    for (size_t i = 0; i < length; ++i) {
        if (replacement[i] != '%') {
            luaL_putchar(b, replacement[i]);
            continue;
        }
        ++i;
        char next = i < length ? replacement[i] : '\0';
        if (!std::isdigit(static_cast<unsigned char>(next))) {
            luaL_putchar(b, next);
            continue;
        }
        matcher.pushCapture(matcher.captureIndex(next), s, e);
        luaL_addvalue(b);
    }
}

int strGsub(lua_State* L) {
    size_t length = 0;
    size_t patternLength = 0;
    const char* src = checkNarrowString(L, 1, &length);
    const char* p = checkNarrowString(L, 2, &patternLength);
    int replacementType = lua_type(L, 3);
    luaL_argcheck(L,
                  replacementType == LUA_TSTRING || replacementType == LUA_TNUMBER ||
                      replacementType == LUA_TFUNCTION,
                  3, "string or function expected");
    long maxCount = luaL_optlong(L, 4, static_cast<long>(length) + 1);
    if (replacementType == LUA_TNUMBER) lua_tostring(L, 3);
    PatternMatcher matcher(L, src, length, p, patternLength);
    bool anchored = *p == '^';
    if (anchored) ++p;
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    long count = 0;
    while (count < maxCount) {
        const char* e = matcher.matchAt(src, p);
        if (e != nullptr) {
            ++count;
            addReplacement(matcher, &b, src, e);
        }
        if (e != nullptr && e > src) src = e;
        else if (src < matcher.subjectEnd()) luaL_putchar(&b, *src++);
        else break;
        if (anchored) break;
    }
    luaL_addlstring(&b, src, static_cast<size_t>(matcher.subjectEnd() - src));
    luaL_pushresult(&b);
    lua_pushnumber(L, static_cast<lua_Number>(count));
    return 2;
}

const luaL_reg kStringFunctions[] = {
    {"len", strLen},       {"sub", strSub},         {"lower", strLower},   {"upper", strUpper},
    {"char", strChar},     {"rep", strRep},         {"byte", strByte},     {"format", stringFormat},
    {"dump", strDump},     {"find", strFind},       {"gfind", strGfind},   {"gsub", strGsub},
    {"lualex", stringLualex}, {"pack", stringPack}, {"unpack", stringUnpack}, {nullptr, nullptr},
};

}  // namespace

}  // namespace script

int luaopen_string(lua_State* L) {
    luaL_openlib(L, LUA_STRLIBNAME, script::kStringFunctions, 0);
    // Strings index the library table, so ("x"):upper() works.
    lua_pushvalue(L, -1);
    lua_setdefaultmetatable(L, LUA_TSTRING);
    lua_pushliteral(L, "_string");
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return 1;
}
