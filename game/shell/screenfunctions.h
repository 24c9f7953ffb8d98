// The script functions a front-end screen publishes on the window script,
// bound to that screen. When the screen goes, each name that still calls it
// is withdrawn; a name a newer screen has published since stays.
#pragma once

#include <memory>
#include <vector>

#include "core/scripting/luabinding.h"
#include "core/scripting/luaobject.h"

class VScreenFunctions {
public:
    VScreenFunctions() = default;
    ~VScreenFunctions();
    VScreenFunctions(const VScreenFunctions&) = delete;
    VScreenFunctions& operator=(const VScreenFunctions&) = delete;

    // Publishes the member function under the name; logged without a script.
    template <typename C, typename R, typename... A>
    void Publish(const char* name, C* object, R (C::*method)(A...)) {
        lua_State* L = GetWindowScriptState(name);
        if (!L) return;
        RegisterBinding(L, name, object, method);
        Pin(L, name);
    }

private:
    struct TPublished {
        const char* name;
        std::unique_ptr<TLuaObjectWrapper> function;
    };

    static lua_State* GetWindowScriptState(const char* name);
    // Keeps the published value, so the destructor can tell it apart.
    void Pin(lua_State* L, const char* name);

    std::vector<TPublished> mPublished;
};
