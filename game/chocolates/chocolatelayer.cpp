#include "game/chocolates/chocolatelayer.h"

#include "core/scripting/luaobject.h"
#include "game/shell/luastyle.h"
#include "lua/lua.h"
#include "lua/numbercast.h"

std::shared_ptr<VChocolateLayer> VChocolateLayer::Create(int layerType, int barType, int option) {
    auto layer = std::make_shared<VChocolateLayer>(layerType, barType, option);
    Adopt(layer);
    return layer;
}

VChocolateLayer::VChocolateLayer(int layerType, int barType, int option)
    : VObject(TString(), "chocolatelayer", 0), mOption(option), mLayerType(layerType), mBarType(barType) {
    SetLayerFromType();
}

VChocolateLayer::~VChocolateLayer() = default;

void VChocolateLayer::SetLayerFromType() {
    // By layer type: bucket, ingredient, chocolate, infusion, topping.
    constexpr int kDrawLayers[] = {0, 2, 1, 3, 4};
    SetLayer(mLayerType >= 0 && mLayerType < 5 ? kDrawLayers[mLayerType] : 0);
}

bool VChocolateLayer::ReadKey(const TLuaTable& description, const char* key, int& value) {
    lua_State* L = description.GetState();
    LuaPopState guard(L);
    value = -1;
    if (!description.PushField(key)) return true;
    if (lua_type(L, -1) != LUA_TNUMBER) return false;
    value = script::truncateNumber<int>(lua_tonumber(L, -1));
    return true;
}

void VChocolateLayer::Load(const std::shared_ptr<VLuaStyle>& description) {
    if (const TLuaTable* table = description ? description->GetLuaTable() : nullptr) {
        ReadKey(*table, "layerType", mLayerType);
        ReadKey(*table, "barType", mBarType);
        ReadKey(*table, "option", mOption);
    } else {
        mLayerType = mBarType = mOption = -1;
    }
    SetLayerFromType();
    VObject::Load(description);
}

void VChocolateLayer::CopyTo(const std::shared_ptr<VChocolateLayer>& target) {
    if (!target) return;
    target->mOption = mOption;
    target->mLayerType = mLayerType;
    target->mBarType = mBarType;
    CopyObjectTo(target);
}

bool VChocolateLayer::Equals(const std::shared_ptr<VChocolateLayer>& other) const {
    return other && other->mLayerType == mLayerType && other->mBarType == mBarType && other->mOption == mOption;
}
