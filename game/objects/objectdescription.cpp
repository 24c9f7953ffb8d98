#include "game/objects/objectdescription.h"

#include <memory>

#include "core/scripting/luaobject.h"
#include "game/shell/luastyle.h"

void ForEachTableEntry(const TLuaTable& table,
                       const std::function<void(const TString& key, const TLuaObjectWrapper& value)>& visit) {
    TLuaObjectWrapper* key = nullptr;
    while (TLuaObjectWrapper* next = table.Next(key)) {
        std::unique_ptr<TLuaObjectWrapper> value(next);
        // The visit may look up other keys; the traversal key is pinned.
        TString name = key->ToString();
        if (name.Length() > 0) visit(name, *value);
    }
}

std::shared_ptr<VLuaStyle> OwnSubStyle(const VLuaStyle& description, const char* name) {
    std::unique_ptr<TLuaTable> table = description.GetSubTable(name);
    if (!table || !table->IsTable()) return nullptr;
    return VLuaStyle::Create(table.release(), nullptr);
}

std::shared_ptr<VLuaStyle> OwnStyleOf(const TLuaObjectWrapper& value) {
    if (!value.IsTable()) return nullptr;
    value.Push();
    return VLuaStyle::Create(new TLuaTable(value.GetState()), nullptr);
}

TString LowerCase(const TString& text) {
    TString lowered = text;
    lowered.ToLower();
    return lowered;
}

VStyleReach::VStyleReach(VLuaStyle& style, int levels) : mStyle(style), mOldInherit(style.GetInherit()) {
    mStyle.SetInherit(levels);
}

VStyleReach::~VStyleReach() {
    mStyle.SetInherit(mOldInherit);
}

std::unique_ptr<TLuaTable> GetOwnSubTable(VLuaStyle& description, const char* name) {
    VStyleReach own(description, 0);
    return description.GetSubTable(name);
}
