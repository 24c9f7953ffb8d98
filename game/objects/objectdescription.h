// Helpers of the readers of object descriptions: walking a table's entries,
// lookups that climb only so many parent styles, and lower-cased names.
#pragma once

#include <functional>
#include <memory>

#include "foundation/tstring.h"

class TLuaObjectWrapper;
class TLuaTable;
class VLuaStyle;

// Each entry of the table in its traversal order; keys without a text form
// (tables, booleans) are skipped.
void ForEachTableEntry(const TLuaTable& table,
                       const std::function<void(const TString& key, const TLuaObjectWrapper& value)>& visit);

TString LowerCase(const TString& text);

// While it lives, lookups on the style climb at most the given number of
// parent styles (-1: no limit).
class VStyleReach {
public:
    VStyleReach(VLuaStyle& style, int levels);
    ~VStyleReach();
    VStyleReach(const VStyleReach&) = delete;
    VStyleReach& operator=(const VStyleReach&) = delete;

private:
    VLuaStyle& mStyle;
    int mOldInherit;
};

// The sub-table of the description's own table, not of its parents.
std::unique_ptr<TLuaTable> GetOwnSubTable(VLuaStyle& description, const char* name);
