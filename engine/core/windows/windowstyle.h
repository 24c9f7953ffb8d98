// A window description: the Lua table of "name", "x", "y", "w", "h",
// "align", "fit" and each window class's own keys, read with defaults. A key
// missing from the description comes from "gCurrentDefaultStyle" and that
// style's chain of "parent" tables.
#pragma once

#include "foundation/color.h"
#include "foundation/tstring.h"

struct lua_State;
class TLuaFunction;
class TLuaTable;
class TScript;

class TWindowStyle {
public:
    // The description is not owned; null, or a value that is no table, reads
    // globals in its place. Values are read in the window script's state.
    explicit TWindowStyle(TLuaTable* description);
    virtual ~TWindowStyle() = default;
    TWindowStyle(const TWindowStyle&) = delete;
    TWindowStyle& operator=(const TWindowStyle&) = delete;

    TLuaTable* GetDescription() const { return mDescription; }

    // Lua's number conversion: a value that is no number reads 0.
    double GetNumber(const char* name, double def) const;
    // The number truncated, kept within the range of int.
    int GetInt(const char* name, int def) const;
    TString GetString(const char* name, const TString& def) const;
    // Entries 1 to 4 of a colour table.
    TColor4f GetColor(const char* name, const TColor4f& def) const;
    // A boolean or a number; other types are logged and read false.
    bool GetBool(const char* name, bool def) const;
    // New wrappers owned by the caller, null when absent. The value's type is
    // not checked.
    TLuaTable* GetTable(const char* name) const;
    TLuaFunction* GetFunction(const char* name) const;

    // Default chains deeper than this are taken as cyclic.
    static constexpr int kMaxChainDepth = 32;

private:
    // The window script, or null when there is none to read through.
    static TScript* Script();
    // Pushes the parameter's value and answers true, or answers false with
    // the stack unchanged.
    bool Find(lua_State* L, const char* name) const;
    // Pushes the description (nil without one) onto L.
    void PushDescription(lua_State* L) const;
    // The found value through the reader, or the default; the stack is left
    // as it was.
    template <typename T, typename Reader>
    T Read(const char* name, T def, Reader read) const;

    TLuaTable* mDescription;
};
