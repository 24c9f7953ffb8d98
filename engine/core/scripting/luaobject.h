// Engine-side handles on Lua values. Each wrapper pins one value in the
// registry, keyed by the wrapper's own address, so the collector keeps the
// value alive while engine code holds the wrapper. Accessors leave the Lua
// stack as they found it.
#pragma once

#include <memory>

#include "foundation/color.h"
#include "foundation/tstring.h"

struct lua_State;

// Restores the stack top when it goes out of scope, also when an interpreter
// error unwinds through it.
class LuaPopState {
public:
    explicit LuaPopState(lua_State* L);
    ~LuaPopState();
    LuaPopState(const LuaPopState&) = delete;
    LuaPopState& operator=(const LuaPopState&) = delete;

private:
    lua_State* mState;
    int mTop;
};

// Pins the value on top of the stack and pops it. The registry holds one
// entry under the wrapper's address, so wrappers are never copied or moved.
class TLuaObjectWrapper {
public:
    explicit TLuaObjectWrapper(lua_State* L);
    virtual ~TLuaObjectWrapper();
    TLuaObjectWrapper(const TLuaObjectWrapper&) = delete;
    TLuaObjectWrapper& operator=(const TLuaObjectWrapper&) = delete;

    lua_State* GetState() const { return mState; }
    // Pushes the pinned value.
    void Push() const;
    bool IsTable() const;
    // Numbers as text; values without a text form give the empty string.
    TString ToString() const;

protected:
    lua_State* mState;
};

// A pinned table with typed lookups. Lookups run metamethods in protected
// mode: a failing one is logged and the lookup yields the default.
class TLuaTable : public TLuaObjectWrapper {
public:
    using TLuaObjectWrapper::TLuaObjectWrapper;

    // True with the value pushed when the field is not nil; otherwise false
    // with the stack unchanged.
    bool PushField(const char* name) const;
    bool PushFieldAt(int index) const;

    // The field's text form (empty for values without one); the default when nil.
    TString GetString(const char* name, const TString& def = TString()) const;
    TString GetStringAt(int index, const TString& def = TString()) const;
    // Numeric strings convert, other values give 0; the default when nil.
    double GetNumber(const char* name, double def = 0) const;
    double GetNumberAt(int index, double def = 0) const;
    // Lua truth; the default when nil.
    bool GetBool(const char* name, bool def = false) const;
    // A new table owned by the caller, or null when the field is no table.
    TLuaTable* GetTable(const char* name) const;
    TLuaTable* GetTableAt(int index) const;
    // Entries 1 to 4 of a sub-table, each defaulting to the matching
    // component of def; def itself when there is no sub-table.
    TColor4f GetColor(const char* name, const TColor4f& def) const;
    TColor4f GetColorAt(int index, const TColor4f& def) const;
    // The length of the array part, as table.getn counts it.
    int GetCount() const;

    // Steps through the table. Pass a null key handle to start; the handle is
    // consumed and replaced by the next key (null at the end). Returns the
    // next value as a new wrapper owned by the caller, or null at the end.
    TLuaObjectWrapper* Next(TLuaObjectWrapper*& key) const;

    // Hands the table to the script that owns its state, which deletes it at
    // its next run; with no such script (logged) the table stays the caller's.
    void ReleaseLater();

private:
    // With the key on top: replaces it by the looked-up value; false (key
    // popped) when the value is nil or the lookup failed.
    bool PushLookedUp() const;
    TString StringOnTop(bool found, const TString& def) const;
    double NumberOnTop(bool found, double def) const;
    TLuaTable* TableOnTop(bool found) const;
    TColor4f ColorOf(TLuaTable* table, const TColor4f& def) const;
};

class TLuaFunction : public TLuaObjectWrapper {
public:
    using TLuaObjectWrapper::TLuaObjectWrapper;

    // Calls the function with no arguments and one result, "_ALERT" as the
    // error handler moved to stack position 1. Returns the status; the
    // handler and the result stay for the caller to clear. A pinned value
    // that is no function pushes nothing and gives LUA_ERRRUN.
    int Call();
};

// A new coroutine thread of a state, pinned for as long as this object lives.
class TLuaThread {
public:
    explicit TLuaThread(lua_State* L);
    virtual ~TLuaThread() = default;
    TLuaThread(const TLuaThread&) = delete;
    TLuaThread& operator=(const TLuaThread&) = delete;

    lua_State* GetThread() const { return mThread; }

private:
    std::unique_ptr<TLuaObjectWrapper> mHolder;
    lua_State* mThread;
};

void PushLuaString(lua_State* L, const TString& text);
// The value at the index as text (nil, booleans, tables and functions give
// the empty string); a number is converted in place.
TString LuaToString(lua_State* L, int index);
// A table for a binding argument, released at the owning script's next run
// (on a state that no script owns, the caller deletes it).
TLuaTable* LuaToTable(lua_State* L, int index);

// t[k] with table and key the two top values, both popped; metamethods run in
// protected mode. Leaves the value and gives true, or logs the error and
// leaves nothing.
bool LuaGetTableProtected(lua_State* L);
// t[k] = v with table, key and value the three top values, all popped.
bool LuaSetTableProtected(lua_State* L);
// globals[name] = the value on top, popped; metamethods run in protected mode.
bool LuaSetGlobalProtected(lua_State* L, const char* name);
