#include "game/shell/valuemanager.h"

#include <cfloat>
#include <cmath>

#include "core/scripting/luabinding.h"
#include "foundation/debuglog.h"
#include "foundation/xmlnode.h"
#include "game/shell/mainscript.h"
#include "lua/lua.h"
#include "lua/numbercast.h"

namespace {

const char kValuesFile[] = "values.xml";

template <typename T>
T Arg(lua_State* L, int index) {
    return luabinding::Argument<T>::Get(L, index);
}

// The script functions find the manager when they run: one released at
// shutdown answers false.
std::shared_ptr<VValueManager> ManagerOrFalse(lua_State* L) {
    std::shared_ptr<VValueManager> manager = VValueManager::GetIfCreated();
    if (!manager) {
        lua_pushboolean(L, 0);
    }
    return manager;
}

int LuaGetManagedInt(lua_State* L) {
    if (auto manager = ManagerOrFalse(L)) {
        lua_pushnumber(L, manager->GetInt(Arg<TString>(L, 1), Arg<int>(L, 2)));
    }
    return 1;
}

int LuaGetManagedUint(lua_State* L) {
    if (auto manager = ManagerOrFalse(L)) {
        lua_pushnumber(L, manager->GetUint(Arg<TString>(L, 1), Arg<unsigned>(L, 2)));
    }
    return 1;
}

int LuaGetManagedReal(lua_State* L) {
    if (auto manager = ManagerOrFalse(L)) {
        lua_pushnumber(L, manager->GetReal(Arg<TString>(L, 1), NumberToFloat(Arg<double>(L, 2))));
    }
    return 1;
}

int LuaSetManagedValue(lua_State* L) {
    if (auto manager = VValueManager::GetIfCreated()) {
        manager->SetValue(Arg<TString>(L, 1), NumberToFloat(Arg<double>(L, 2)), Arg<bool>(L, 3));
    }
    return 0;
}

}  // namespace

VValueManager::VValueManager() {
    if (lua_State* L = GetMainScriptState()) {
        RegisterBinding(L, "GetManagedInt", &LuaGetManagedInt);
        RegisterBinding(L, "GetManagedUint", &LuaGetManagedUint);
        RegisterBinding(L, "GetManagedReal", &LuaGetManagedReal);
        RegisterBinding(L, "SetManagedValue", &LuaSetManagedValue);
    }
    Load(kValuesFile);
}

void VValueManager::Load(const TString& fileName) {
    mValues.clear();
    TXmlNode document;
    if (!document.LoadFile(fileName)) {
        DebugLog("ERROR: VValueManager::Load: cannot read %s", fileName.c_str());
        return;
    }
    TString name;
    TXmlNode* child = nullptr;
    document.ResetChildIterator();
    while (document.NextChild(name, child)) {
        if (name == "values") {
            LoadSection(*child);
        }
    }
    // The reader is tolerant: a damaged file shows as one that declares nothing.
    if (mValues.empty()) DebugLog("ERROR: VValueManager::Load: %s declares no values", fileName.c_str());
}

void VValueManager::LoadSection(TXmlNode& section) {
    TString element;
    TXmlNode* child = nullptr;
    section.ResetChildIterator();
    while (section.NextChild(element, child)) {
        TString name = child->GetAttribute("name");
        if (element == "value" && name.Length() > 0) {
            auto value = VValue::Create(name, 0.0f);
            value->Load(*child);
            mValues[name] = value;
        }
    }
}

std::shared_ptr<VValue> VValueManager::Find(const TString& name) const {
    auto found = mValues.find(name);
    return found == mValues.end() ? nullptr : found->second;
}

std::shared_ptr<VValue> VValueManager::GetOrCreate(const TString& name, float def) {
    std::shared_ptr<VValue>& value = mValues[name];
    if (!value) {
        value = VValue::Create(name, def);
    }
    return value;
}

float VValueManager::GetReal(const TString& name, float def) {
    return GetOrCreate(name, def)->GetModified();
}

int VValueManager::GetInt(const TString& name, int def) {
    return script::truncateNumber<int>(std::floor(GetOrCreate(name, static_cast<float>(def))->GetModified()));
}

unsigned VValueManager::GetUint(const TString& name, unsigned def) {
    return script::truncateNumber<unsigned>(std::floor(GetOrCreate(name, static_cast<float>(def))->GetModified()));
}

void VValueManager::SetValue(const TString& name, float value, bool save) {
    if (std::shared_ptr<VValue> existing = Find(name)) {
        existing->Set(value, save);
        return;
    }
    auto made = VValue::Create(name, value);
    mValues[name] = made;
    if (save) {
        made->Save();
    }
}

float VValueManager::AddToValue(const TString& name, float amount, float def, bool save) {
    return GetOrCreate(name, def)->Add(amount, save);
}

float VValueManager::SubtractFromValue(const TString& name, float amount, float def, bool save) {
    return GetOrCreate(name, def)->Subtract(amount, save);
}

float VValueManager::GetMin(const TString& name) const {
    std::shared_ptr<VValue> value = Find(name);
    return value ? value->GetMin() : FLT_MIN;
}

float VValueManager::GetMax(const TString& name) const {
    std::shared_ptr<VValue> value = Find(name);
    return value ? value->GetMax() : FLT_MAX;
}

float VValueManager::WithinLimits(const TString& name, float v, bool clamp) const {
    return clamp ? ClampToLimits(v, GetMin(name), GetMax(name)) : v;
}

float VValueManager::ScaleWithinLimits(const TString& name, float factor, bool clamp) {
    return WithinLimits(name, GetReal(name, 1.0f) * factor, clamp);
}

float VValueManager::OffsetWithinLimits(const TString& name, float amount, bool clamp) {
    return WithinLimits(name, GetReal(name, 0.0f) + amount, clamp);
}

void VValueManager::SaveAll() {
    for (const auto& entry : mValues) {
        entry.second->Save();
    }
}

void LoadManagedValues() {
    // A manager made here has just read the file in its constructor.
    if (auto manager = VValueManager::GetIfCreated()) {
        manager->Load(kValuesFile);
    } else {
        VValueManager::Get();
    }
}
