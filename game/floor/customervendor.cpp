#include "game/floor/customervendor.h"

#include <vector>

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "game/floor/customer.h"
#include "game/floor/thoughtbubble.h"
#include "game/objects/carriable.h"
#include "game/objects/objectdescription.h"
#include "game/shell/luastyle.h"
#include "game/utilities/gamerandom.h"

namespace {

// The art entries of the "posse" table, which are no customer kinds.
bool IsArtEntry(const TString& key) { return key == "thought_bubble" || key == "anim_menu" || key == "anim_money"; }

// Loads the object from the entry when the table has it; otherwise the
// template stays missing.
template <typename T>
std::shared_ptr<T> LoadTemplate(VLuaStyle& objects, const char* entry, std::shared_ptr<T> made) {
    std::shared_ptr<VLuaStyle> description = objects.GetSubStyle(entry);
    if (!description->IsValid()) {
        DebugLog("VCustomerVendor: no \"%s\" among the level's objects; customers go without it", entry);
        return nullptr;
    }
    made->Load(description);
    made->PreloadAssets("all", "all", true);
    return made;
}

// A copy of the template showing the asset; empty without a template.
template <typename T>
std::shared_ptr<T> CopyShowing(const std::shared_ptr<T>& source, std::shared_ptr<T> copy, const char* asset) {
    if (!source) return nullptr;
    source->CopyObjectTo(copy);
    if (asset) copy->SetAsset(asset, "default", "default");
    return copy;
}

}  // namespace

std::shared_ptr<VCustomerVendor> VCustomerVendor::Create() {
    return std::shared_ptr<VCustomerVendor>(new VCustomerVendor());
}

void VCustomerVendor::SetUpAssets(const std::shared_ptr<VLuaStyle>& objects) {
    mBubbleTemplate.reset();
    mMenuTemplate.reset();
    mMoneyTemplate.reset();
    mOrderablesTemplate.reset();
    if (!objects || !objects->IsValid()) return;
    mBubbleTemplate = LoadTemplate(*objects, "thought_bubble", VThoughtBubble::Create());
    mMenuTemplate = LoadTemplate(*objects, "anim_menu", VObject::Create(TString(), TString(), 0));
    mMoneyTemplate = LoadTemplate(*objects, "anim_money", VObject::Create(TString(), TString(), 0));
    mOrderablesTemplate = LoadTemplate(*objects, "orderables", VCarriable::Create(1));
}

void VCustomerVendor::LoadCommonTypes(const std::shared_ptr<VLuaStyle>& table) { LoadTypes(table, true, mCommonTypes); }

void VCustomerVendor::LoadLevelTypes(const std::shared_ptr<VLuaStyle>& table) { LoadTypes(table, false, mLevelTypes); }

void VCustomerVendor::LoadTypes(const std::shared_ptr<VLuaStyle>& table, bool common, Templates& into) {
    into.clear();
    if (!table || !table->IsValid()) return;
    ForEachTableEntry(*table->GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        if (common && IsArtEntry(key)) return;
        if (!value.IsTable()) {
            DebugLog("VCustomerVendor: customer kind \"%s\" is no table; skipped", key.c_str());
            return;
        }
        std::shared_ptr<VLuaStyle> description = VLuaStyle::CreateFromObject(nullptr, value);
        std::shared_ptr<VCustomer> customer = VCustomer::Create(nullptr);
        customer->Load(description);
        customer->PreloadAssets("all", "all", true);
        into[description->GetString("name", TString())] = customer;
    });
}

std::shared_ptr<VCustomer> VCustomerVendor::CreateCustomer(const TString& type) {
    for (const Templates* templates : {&mCommonTypes, &mLevelTypes}) {
        auto found = templates->find(type);
        if (found != templates->end()) return MakeFrom(found->second);
    }
    DebugLog("VCustomerVendor: no customer of the kind \"%s\"", type.c_str());
    return nullptr;
}

std::shared_ptr<VCustomer> VCustomerVendor::CreateRandomCustomer() {
    std::vector<std::shared_ptr<VCustomer>> all;
    for (const Templates* templates : {&mCommonTypes, &mLevelTypes}) {
        for (const auto& [name, customer] : *templates) all.push_back(customer);
    }
    if (all.empty()) return nullptr;
    size_t index = all.size() == 1 ? 0 : PlatformRandom() % all.size();
    return MakeFrom(all[index]);
}

std::shared_ptr<VCustomer> VCustomerVendor::MakeFrom(const std::shared_ptr<VCustomer>& source) {
    std::shared_ptr<VCustomer> customer = VCustomer::Create(shared_from_this());
    source->CopyTo(customer);
    customer->Reset();
    return customer;
}

std::shared_ptr<VThoughtBubble> VCustomerVendor::MakeBubble() const {
    return CopyShowing(mBubbleTemplate, VThoughtBubble::Create(), "transparent");
}

std::shared_ptr<VObject> VCustomerVendor::MakeMenu() const {
    return CopyShowing(mMenuTemplate, VObject::Create(TString(), TString(), 0), "menu");
}

std::shared_ptr<VObject> VCustomerVendor::MakeMoney() const {
    return CopyShowing(mMoneyTemplate, VObject::Create(TString(), TString(), 0), "money");
}

std::shared_ptr<VCarriable> VCustomerVendor::MakeOrderables() const {
    return CopyShowing(mOrderablesTemplate, VCarriable::Create(1), nullptr);
}
