// The table library: concat, foreach, foreachi, getn, setn, insert, remove
// and sort. Sizes go through luaL_getn/luaL_setn (the "n" field or the size
// stored aside).
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"

namespace {

int checkedSize(lua_State* L, int t) {
    luaL_checktype(L, t, LUA_TTABLE);
    return luaL_getn(L, t);
}

int tabConcat(lua_State* L) {
    size_t separatorLength = 0;
    const char* separator = luaL_optlstring(L, 2, "", &separatorLength);
    int first = luaL_optint(L, 3, 1);
    int last = luaL_optint(L, 4, 0);
    luaL_checktype(L, 1, LUA_TTABLE);
    if (last == 0) last = luaL_getn(L, 1);  // an explicit 0 also means the size
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (int i = first; i <= last; ++i) {
        lua_rawgeti(L, 1, i);
        int type = lua_type(L, -1);
        luaL_argcheck(L, type == LUA_TSTRING || type == LUA_TNUMBER, 1, "table contains non-strings");
        luaL_addvalue(&b);
        if (i != last) luaL_addlstring(&b, separator, separatorLength);
    }
    luaL_pushresult(&b);
    return 1;
}

// Calls f(key, value) for every pair; stops at the first non-nil result.
int tabForeach(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_checktype(L, 2, LUA_TFUNCTION);
    lua_pushnil(L);
    while (lua_next(L, 1)) {
        lua_pushvalue(L, 2);
        lua_pushvalue(L, -3);
        lua_pushvalue(L, -3);
        lua_call(L, 2, 1);
        if (!lua_isnil(L, -1)) return 1;
        lua_pop(L, 2);
    }
    return 0;
}

int tabForeachi(lua_State* L) {
    int size = checkedSize(L, 1);
    luaL_checktype(L, 2, LUA_TFUNCTION);
    for (int i = 1; i <= size; ++i) {
        lua_pushvalue(L, 2);
        lua_pushnumber(L, i);
        lua_rawgeti(L, 1, i);
        lua_call(L, 2, 1);
        if (!lua_isnil(L, -1)) return 1;
        lua_pop(L, 1);
    }
    return 0;
}

int tabGetn(lua_State* L) {
    lua_pushnumber(L, checkedSize(L, 1));
    return 1;
}

int tabSetn(lua_State* L) {
    luaL_checktype(L, 1, LUA_TTABLE);
    luaL_setn(L, 1, luaL_checkint(L, 2));
    return 0;
}

// insert(t, v) appends; insert(t, pos, v) shifts the elements from pos up.
int tabInsert(lua_State* L) {
    int valueIndex = lua_gettop(L);
    int size = checkedSize(L, 1) + 1;
    int position = size;
    if (valueIndex != 2) {
        position = luaL_checkint(L, 2);
        if (position > size) size = position;
        valueIndex = 3;
    }
    luaL_setn(L, 1, size);
    for (int i = size; i > position; --i) {
        lua_rawgeti(L, 1, i - 1);
        lua_rawseti(L, 1, i);
    }
    lua_pushvalue(L, valueIndex);
    lua_rawseti(L, 1, position);
    return 0;
}

int tabRemove(lua_State* L) {
    int size = checkedSize(L, 1);
    int position = luaL_optint(L, 2, size);
    if (size <= 0) return 0;
    luaL_setn(L, 1, size - 1);
    lua_rawgeti(L, 1, position);
    for (; position < size; ++position) {
        lua_rawgeti(L, 1, position + 1);
        lua_rawseti(L, 1, position);
    }
    lua_pushnil(L);
    lua_rawseti(L, 1, size);
    return 1;
}

// ---------------------------------------------------------------------------
// sort: quicksort with a median-of-three pivot, comparing with the function
// at index 2 or with "<".

class Sorter {
public:
    explicit Sorter(lua_State* L) : L_(L), hasComparator_(!lua_isnil(L, 2)) {}

    void sort(int lo, int hi) {
        while (lo < hi) {
            orderEnds(lo, hi);
            if (hi - lo == 1) return;
            int mid = lo + (hi - lo) / 2;
            orderMiddle(lo, mid, hi);
            if (hi - lo == 2) return;
            int split = partition(lo, hi, mid);
            // Recurse into the smaller part, loop on the larger one.
            if (split - lo < hi - split) {
                sort(lo, split - 1);
                lo = split + 1;
            } else {
                sort(split + 1, hi);
                hi = split - 1;
            }
        }
    }

private:
    // a[i] < a[j] for elements on the stack.
    bool less(int a, int b) {
        if (!hasComparator_) return lua_lessthan(L_, a, b) != 0;
        lua_pushvalue(L_, 2);
        lua_pushvalue(L_, a - 1);
        lua_pushvalue(L_, b - 2);
        lua_call(L_, 2, 1);
        bool result = lua_toboolean(L_, -1) != 0;
        lua_pop(L_, 1);
        return result;
    }

    bool lessAt(int i, int j) {
        lua_rawgeti(L_, 1, i);
        lua_rawgeti(L_, 1, j);
        bool result = less(-2, -1);
        lua_pop(L_, 2);
        return result;
    }

    void swap(int i, int j) {
        lua_rawgeti(L_, 1, i);
        lua_rawgeti(L_, 1, j);
        lua_rawseti(L_, 1, i);
        lua_rawseti(L_, 1, j);
    }

    void orderEnds(int lo, int hi) {
        if (lessAt(hi, lo)) swap(lo, hi);
    }

    void orderMiddle(int lo, int mid, int hi) {
        if (lessAt(mid, lo)) swap(mid, lo);
        else if (lessAt(hi, mid)) swap(mid, hi);
    }

    // With a[lo] <= pivot <= a[hi], moves the pivot to hi - 1 and splits the
    // range around it; returns the pivot's final place. A comparator that is
    // not a consistent order runs an index one step past the range (the
    // element there, maybe nil, is compared as the reference sort does) and
    // then fails.
    int partition(int lo, int hi, int mid) {
        lua_rawgeti(L_, 1, mid);  // the pivot stays on the stack
        swap(mid, hi - 1);
        int i = lo;
        int j = hi - 1;
        for (;;) {
            for (;;) {
                lua_rawgeti(L_, 1, ++i);
                bool below = less(-1, -2);
                lua_pop(L_, 1);
                if (!below) break;
                if (i > hi) luaL_error(L_, "invalid order function for sorting");
            }
            for (;;) {
                lua_rawgeti(L_, 1, --j);
                bool above = less(-2, -1);
                lua_pop(L_, 1);
                if (!above) break;
                if (j < lo) luaL_error(L_, "invalid order function for sorting");
            }
            if (j < i) break;
            swap(i, j);
        }
        lua_pop(L_, 1);
        swap(hi - 1, i);
        return i;
    }

    lua_State* L_;
    bool hasComparator_;
};

int tabSort(lua_State* L) {
    int size = checkedSize(L, 1);
    luaL_checkstack(L, 40, "");
    if (!lua_isnoneornil(L, 2)) luaL_checktype(L, 2, LUA_TFUNCTION);
    lua_settop(L, 2);
    Sorter(L).sort(1, size);
    return 0;
}

const luaL_reg kTableFunctions[] = {
    {"concat", tabConcat}, {"foreach", tabForeach}, {"foreachi", tabForeachi}, {"getn", tabGetn},
    {"setn", tabSetn},     {"sort", tabSort},       {"insert", tabInsert},     {"remove", tabRemove},
    {nullptr, nullptr},
};

}  // namespace

int luaopen_table(lua_State* L) {
    luaL_openlib(L, LUA_TABLIBNAME, kTableFunctions, 0);
    return 1;
}
