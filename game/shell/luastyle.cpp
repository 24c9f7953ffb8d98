#include "game/shell/luastyle.h"

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "lua/lua.h"
#include "lua/numbercast.h"

namespace {

const char kStyleKey[] = "style";
// Deeper "style" nesting than this is taken for a mistake.
const int kMaxNesting = 16;

const void* Identity(const TLuaTable& table) {
    LuaPopState guard(table.GetState());
    table.Push();
    return lua_topointer(table.GetState(), -1);
}

}  // namespace

// The tables of the "style" chain being read, innermost last.
struct VLuaStyle::Chain {
    const void* table;
    const Chain* outer;
    int depth;
};

VLuaStyle::VLuaStyle(const std::weak_ptr<VLuaStyle>& parent) : mParent(parent) {}

VLuaStyle::~VLuaStyle() = default;

std::shared_ptr<VLuaStyle> VLuaStyle::Create(TLuaTable* table, const std::shared_ptr<VLuaStyle>& parent) {
    return CreateInChain(table, parent, nullptr);
}

std::shared_ptr<VLuaStyle> VLuaStyle::CreateInChain(TLuaTable* table, const std::shared_ptr<VLuaStyle>& parent,
                                                    const Chain* chain) {
    std::shared_ptr<VLuaStyle> style(new VLuaStyle(parent));
    style->mTable.reset(table);
    style->ReadNestedStyle(chain);
    return style;
}

std::shared_ptr<VLuaStyle> VLuaStyle::CreateFromObject(const std::shared_ptr<VLuaStyle>& parent,
                                                       const TLuaObjectWrapper& object) {
    TLuaTable* table = nullptr;
    if (object.IsTable()) {
        object.Push();
        table = new TLuaTable(object.GetState());
    }
    return Create(table, parent);
}

void VLuaStyle::SetTable(TLuaTable* table) {
    if (table) {
        mTable.reset(table);
    }
    ReadNestedStyle(nullptr);
}

void VLuaStyle::ReadNestedStyle(const Chain* chain) {
    mNested.reset();
    if (!mTable) {
        return;
    }
    std::unique_ptr<TLuaTable> nested(mTable->GetTable(kStyleKey));
    if (!nested) {
        return;
    }
    Chain link{Identity(*mTable), chain, chain ? chain->depth + 1 : 0};
    const void* nestedIdentity = Identity(*nested);
    for (const Chain* outer = &link; outer; outer = outer->outer) {
        if (outer->table == nestedIdentity) {
            DebugLog("VLuaStyle: a \"style\" table leads back into its own chain; it is not read again");
            return;
        }
    }
    if (link.depth + 1 >= kMaxNesting) {
        DebugLog("VLuaStyle: \"style\" tables nested deeper than %d levels; the rest is not read", kMaxNesting);
        return;
    }
    mNested = CreateInChain(nested.release(), nullptr, &link);
}

template <typename T, typename Read>
T VLuaStyle::Lookup(const char* name, T def, int depth, Read read) const {
    if (HasKey(name)) {
        return read(*mTable, name, def);
    }
    if (mNested && mNested->HasKey(name)) {
        return mNested->Lookup(name, def, 0, read);
    }
    int levels = depth == -1 ? mInherit : depth;
    std::shared_ptr<VLuaStyle> parent = mParent.lock();
    if (levels != 0 && parent) {
        return parent->Lookup(name, def, levels - 1, read);
    }
    return def;
}

bool VLuaStyle::HasKey(const char* name) const {
    if (!mTable) {
        return false;
    }
    LuaPopState guard(mTable->GetState());
    return mTable->PushField(name);
}

std::unique_ptr<TLuaObjectWrapper> VLuaStyle::GetTable(const char* name) const {
    if (!mTable) {
        return nullptr;
    }
    lua_State* L = mTable->GetState();
    LuaPopState guard(L);
    if (!mTable->PushField(name)) {
        lua_pushnil(L);
    }
    return std::make_unique<TLuaObjectWrapper>(L);
}

int VLuaStyle::GetCount() const {
    return mTable ? mTable->GetCount() : 0;
}

TString VLuaStyle::GetStringAt(int index, const TString& def) const {
    return mTable ? mTable->GetStringAt(index, def) : def;
}

TColor4f VLuaStyle::GetColorAt(int index, const TColor4f& def) const {
    return mTable ? mTable->GetColorAt(index, def) : def;
}

std::shared_ptr<VLuaStyle> VLuaStyle::GetSubStyleAt(int index) {
    return Create(mTable ? mTable->GetTableAt(index) : nullptr, shared_from_this());
}

TString VLuaStyle::GetString(const char* name, const TString& def) const {
    return Lookup(name, def, -1,
                  [](const TLuaTable& t, const char* key, const TString& d) { return t.GetString(key, d); });
}

bool VLuaStyle::GetBool(const char* name, bool def) const {
    return Lookup(name, def, -1, [](const TLuaTable& t, const char* key, bool d) { return t.GetBool(key, d); });
}

double VLuaStyle::GetNumber(const char* name, double def) const {
    return Lookup(name, def, -1, [](const TLuaTable& t, const char* key, double d) { return t.GetNumber(key, d); });
}

int VLuaStyle::GetInt(const char* name, int def) const {
    return script::truncateNumber<int>(GetNumber(name, def));
}

TColor4f VLuaStyle::GetColor(const char* name, const TColor4f& def) const {
    return Lookup(name, def, -1,
                  [](const TLuaTable& t, const char* key, const TColor4f& d) { return t.GetColor(key, d); });
}

std::unique_ptr<TLuaTable> VLuaStyle::GetSubTable(const char* name) const {
    TLuaTable* none = nullptr;
    return std::unique_ptr<TLuaTable>(
        Lookup(name, none, -1, [](const TLuaTable& t, const char* key, TLuaTable*) { return t.GetTable(key); }));
}

std::shared_ptr<VLuaStyle> VLuaStyle::GetSubStyle(const char* name) {
    return Create(GetSubTable(name).release(), shared_from_this());
}
