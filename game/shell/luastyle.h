// A typed reader of a Lua description table with three levels of fallback:
// the table itself, its "style" sub-table, then the parent style (as far up
// as the inherit depth allows). Sub-tables become styles whose parent is the
// style they came from, so children inherit every key they do not set.
#pragma once

#include <memory>

#include "foundation/color.h"
#include "foundation/tstring.h"

class TLuaObjectWrapper;
class TLuaTable;

class VLuaStyle : public std::enable_shared_from_this<VLuaStyle> {
public:
    // Takes the table (may be null) and reads its "style" sub-table.
    static std::shared_ptr<VLuaStyle> Create(TLuaTable* table, const std::shared_ptr<VLuaStyle>& parent);
    // A style of the value the wrapper holds; without table when it is none.
    static std::shared_ptr<VLuaStyle> CreateFromObject(const std::shared_ptr<VLuaStyle>& parent,
                                                       const TLuaObjectWrapper& object);
    virtual ~VLuaStyle();
    VLuaStyle(const VLuaStyle&) = delete;
    VLuaStyle& operator=(const VLuaStyle&) = delete;

    // Takes a non-null table in place of the old one.
    void SetTable(TLuaTable* table);
    // Parent levels a lookup may climb; -1 for no limit, 0 for none.
    void SetInherit(int depth) { mInherit = depth; }
    int GetInherit() const { return mInherit; }
    bool IsValid() const { return mTable != nullptr; }
    TLuaTable* GetLuaTable() const { return mTable.get(); }

    // Own table only.
    bool HasKey(const char* name) const;
    // The entry as a wrapper (nil included); null without a table.
    std::unique_ptr<TLuaObjectWrapper> GetTable(const char* name) const;
    int GetCount() const;
    TString GetStringAt(int index, const TString& def) const;
    TColor4f GetColorAt(int index, const TColor4f& def) const;
    std::shared_ptr<VLuaStyle> GetSubStyleAt(int index);

    // With fallback.
    TString GetString(const char* name, const TString& def) const;
    bool GetBool(const char* name, bool def) const;
    double GetNumber(const char* name, double def) const;
    // The number truncated toward zero; beyond int the nearest limit.
    int GetInt(const char* name, int def) const;
    TColor4f GetColor(const char* name, const TColor4f& def) const;
    // A new table owned by the caller; null when no level has one.
    std::unique_ptr<TLuaTable> GetSubTable(const char* name) const;
    std::shared_ptr<VLuaStyle> GetSubStyle(const char* name);

private:
    struct Chain;

    explicit VLuaStyle(const std::weak_ptr<VLuaStyle>& parent);

    static std::shared_ptr<VLuaStyle> CreateInChain(TLuaTable* table, const std::shared_ptr<VLuaStyle>& parent,
                                                    const Chain* chain);
    void ReadNestedStyle(const Chain* chain);
    template <typename T, typename Read>
    T Lookup(const char* name, T def, int depth, Read read) const;

    std::unique_ptr<TLuaTable> mTable;
    std::shared_ptr<VLuaStyle> mNested;
    std::weak_ptr<VLuaStyle> mParent;
    int mInherit = -1;
};
