// Publishing native functions to scripts. A binding is a global Lua function
// whose body is a thunk chosen by the native function's signature; the thunk
// finds its target (a plain function, or an object and a member function) in
// a userdata held as the closure's one upvalue, converts the arguments at
// stack positions 1, 2, ... by parameter type and pushes the result.
//
//   TString parameter        the argument's text (LuaToString)
//   number parameter         the standard number conversion
//   bool parameter           Lua truth
//   TLuaTable* parameter     LuaToTable (released at the script's next run)
//   int (lua_State*)         raw form: no conversion, returns the result count
//
// Results: none, a number, a TString or a bool.
#pragma once

#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

#include "core/scripting/luaobject.h"
#include "lua/lua.h"
#include "lua/numbercast.h"
#include "foundation/tstring.h"

namespace luabinding {

template <typename T, typename = void>
struct Argument;

template <>
struct Argument<TString> {
    static TString Get(lua_State* L, int index) { return LuaToString(L, index); }
};

template <>
struct Argument<bool> {
    static bool Get(lua_State* L, int index) { return lua_toboolean(L, index) != 0; }
};

template <typename T>
struct Argument<T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool>>> {
    static T Get(lua_State* L, int index) {
        if constexpr (std::is_integral_v<T>) {
            return script::truncateNumber<T>(lua_tonumber(L, index));
        } else {
            return static_cast<T>(lua_tonumber(L, index));
        }
    }
};

template <>
struct Argument<TLuaTable*> {
    static TLuaTable* Get(lua_State* L, int index) { return LuaToTable(L, index); }
};

template <typename T, typename = void>
struct Result;

template <>
struct Result<TString> {
    static void Push(lua_State* L, const TString& value) { PushLuaString(L, value); }
};

template <>
struct Result<bool> {
    static void Push(lua_State* L, bool value) { lua_pushboolean(L, value); }
};

template <typename T>
struct Result<T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool>>> {
    static void Push(lua_State* L, T value) { lua_pushnumber(L, static_cast<lua_Number>(value)); }
};

template <typename... A>
constexpr bool kIsRaw = std::is_same_v<std::tuple<A...>, std::tuple<lua_State*>>;

// Converts the arguments, calls and pushes the result; returns the result count.
template <typename R, typename... A, typename Call, size_t... I>
int Invoke(lua_State* L, Call&& call, std::index_sequence<I...>) {
    if constexpr (kIsRaw<A...>) {
        static_assert(std::is_same_v<R, int>, "a raw binding returns its result count");
        return call(L);
    } else if constexpr (std::is_void_v<R>) {
        call(Argument<std::remove_cvref_t<A>>::Get(L, static_cast<int>(I) + 1)...);
        return 0;
    } else {
        Result<std::remove_cvref_t<R>>::Push(L, call(Argument<std::remove_cvref_t<A>>::Get(L, static_cast<int>(I) + 1)...));
        return 1;
    }
}

// The target kept in the binding's userdata; copied in and out with memcpy,
// as the userdata's payload need not be aligned for it.
template <typename Target>
Target ReadTarget(lua_State* L) {
    Target target;
    std::memcpy(&target, lua_touserdata(L, lua_upvalueindex(1)), sizeof(Target));
    return target;
}

template <typename R, typename... A>
int FunctionThunk(lua_State* L) {
    using Function = R (*)(A...);
    Function function = ReadTarget<Function>(L);
    return Invoke<R, A...>(L, [function](auto&&... args) { return function(std::forward<decltype(args)>(args)...); },
                           std::index_sequence_for<A...>{});
}

template <typename C, typename M>
struct MethodTarget {
    C* object;
    M method;
};

template <typename C, typename M, typename R, typename... A>
int MethodThunk(lua_State* L) {
    auto target = ReadTarget<MethodTarget<C, M>>(L);
    return Invoke<R, A...>(
        L, [&target](auto&&... args) { return (target.object->*target.method)(std::forward<decltype(args)>(args)...); },
        std::index_sequence_for<A...>{});
}

// Stores name -> a closure of thunk over a userdata holding size bytes of target.
void Publish(lua_State* L, const char* name, const void* target, size_t size, lua_CFunction thunk);

}  // namespace luabinding

template <typename R, typename... A>
void RegisterBinding(lua_State* L, const char* name, R (*function)(A...)) {
    luabinding::Publish(L, name, &function, sizeof(function), &luabinding::FunctionThunk<R, A...>);
}

template <typename C, typename R, typename... A>
void RegisterBinding(lua_State* L, const char* name, C* object, R (C::*method)(A...)) {
    luabinding::MethodTarget<C, decltype(method)> target{object, method};
    luabinding::Publish(L, name, &target, sizeof(target), &luabinding::MethodThunk<C, decltype(method), R, A...>);
}

template <typename C, typename R, typename... A>
void RegisterBinding(lua_State* L, const char* name, const C* object, R (C::*method)(A...) const) {
    luabinding::MethodTarget<const C, decltype(method)> target{object, method};
    luabinding::Publish(L, name, &target, sizeof(target), &luabinding::MethodThunk<const C, decltype(method), R, A...>);
}

// Withdraws a binding: the global becomes nil.
void UnregisterBinding(lua_State* L, const char* name);
