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

// The entry as a description of its own, inheriting nothing from the one
// it stands in; null when the entry is no table.
std::shared_ptr<VLuaStyle> OwnSubStyle(const VLuaStyle& description, const char* name);
// The same for a value met in a table walk.
std::shared_ptr<VLuaStyle> OwnStyleOf(const TLuaObjectWrapper& value);

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
