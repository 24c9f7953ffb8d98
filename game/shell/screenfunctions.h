// The script functions a front-end screen publishes on the window script,
// bound to that screen. When the screen goes, each name that still calls it
// is withdrawn; a name a newer screen has published since stays, and
// nothing is touched once the window script itself has gone.
#pragma once

#include <vector>

#include "core/scripting/luabinding.h"

class VScreenFunctions {
public:
    VScreenFunctions() = default;
    ~VScreenFunctions();
    VScreenFunctions(const VScreenFunctions&) = delete;
    VScreenFunctions& operator=(const VScreenFunctions&) = delete;

    // Publishes the member function (const or not) under the name; logged
    // without a script.
    template <typename C, typename M>
    void Publish(const char* name, C* object, M method) {
        lua_State* L = StateToPublish(name);
        if (!L) return;
        RegisterBinding(L, name, object, method);
        Pin(L, name);
    }

private:
    // The window script's state; null, logged, without one.
    static lua_State* StateToPublish(const char* name);
    static lua_State* WindowScriptState();
    // Keeps the published value in a registry table of this object, so the
    // destructor can tell it apart from a newer one.
    void Pin(lua_State* L, const char* name);
    // Pushes this object's registry table, made when absent.
    void PushPinned(lua_State* L);

    lua_State* mState = nullptr;
    std::vector<const char*> mNames;
};
