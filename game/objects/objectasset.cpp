#include "game/objects/objectasset.h"

#include <cfloat>
#include <set>

#include "core/scripting/luaobject.h"
#include "game/objects/objectdescription.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/luastyle.h"
#include "graphics/animatedtexture.h"
#include "graphics/texture.h"

namespace {

const TString kDefaultState("default");
const TString kAllStates("all");
// A registration coordinate that was not given.
constexpr double kNoRegistration = FLT_MIN;

// Loads of any asset so far: a file name found after the last load is current.
uint64_t gLoads = 0;

// One string per file name for all assets. The objects of a kind load the
// same names, and every frame hands each drawn one to the asset manager: one
// shared copy stays in cache where a copy per object would not.
TString SharedFileName(const TString& name) {
    static std::set<TString> names;
    return *names.insert(name).first;
}

}  // namespace

std::shared_ptr<VAsset> VAsset::Create(const TString& name, bool animateDefault) {
    return std::make_shared<VAsset>(name, animateDefault);
}

VAsset::VAsset(const TString& name, bool animateDefault) : mName(LowerCase(name)) {
    mStates[kDefaultState].animated = animateDefault;
}

VAsset::~VAsset() = default;

void VAsset::Load(const std::shared_ptr<VLuaStyle>& description, bool preload) {
    ++gLoads;
    mStates.clear();
    if (!description || !description->IsValid()) return;
    TString baseDir = description->GetString("baseDir", TString());
    ForEachTableEntry(*description->GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        // "style" holds defaults of the description, no state.
        if (!value.IsTable() || key == "style") return;
        LoadState(VLuaStyle::CreateFromObject(description, value), baseDir, preload);
    });
}

// Each key climbs the parents as far as the description format allows: the
// asset description is one level up, the "assets" table two, the object three.
void VAsset::LoadState(const std::shared_ptr<VLuaStyle>& entry, const TString& baseDir, bool preload) {
    State state;
    TString name;
    {
        VStyleReach own(*entry, 0);
        name = entry->GetString("state", kDefaultState);
        TString file = entry->GetString("file", TString());
        state.file = SharedFileName(baseDir + file);
        if (state.file.Length() == 0) return;
        TString mask = entry->GetString("mask", TString());
        if (mask.Length() > 0) state.mask = baseDir + mask;
    }
    {
        VStyleReach twoUp(*entry, 2);
        state.animated = entry->GetBool("anim", true);
    }
    {
        VStyleReach oneUp(*entry, 1);
        double x = entry->GetNumber("regX", kNoRegistration);
        double y = entry->GetNumber("regY", kNoRegistration);
        state.hasRegistration = x != kNoRegistration || y != kNoRegistration;
        state.registration = TVec2(static_cast<float>(x), static_cast<float>(y));
        state.baseFrame = entry->GetInt("base", 0);
        state.playName = entry->GetString("play", TString());
    }
    {
        VStyleReach threeUp(*entry, 3);
        state.layer = entry->GetInt("layer", kNotGiven);
    }
    if (preload) state.texture = LoadTexture(state);
    mStates[name] = state;
}

const VAsset::State* VAsset::Find(const TString& state) const {
    auto found = mStates.find(state);
    return found != mStates.end() && found->second.file.Length() > 0 ? &found->second : nullptr;
}

const VAsset::State* VAsset::Resolve(const TString& state) const {
    const State* found = Find(state);
    return found ? found : Find(kDefaultState);
}

bool VAsset::HasState(const TString& state) const {
    return Find(state) != nullptr;
}

std::shared_ptr<TTexture> VAsset::GetStateTexture(const TString& state) {
    const State* used = Resolve(state);
    if (!used) return nullptr;
    if (!used->texture) used->texture = LoadTexture(*used);
    return used->texture;
}

std::shared_ptr<TTexture> VAsset::LoadTexture(const State& state) {
    std::shared_ptr<VAssetManager> assets = VAssetManager::Get();
    if (state.animated) {
        std::shared_ptr<TAnimatedTexture> texture = assets->GetAnimatedTexture(state.file);
        return texture ? texture : TAnimatedTexture::Get(state.file);
    }
    if (std::shared_ptr<TTexture> texture = assets->GetTexture(state.file)) return texture;
    if (state.mask.Length() > 0) return TTexture::GetMasked(state.file, state.mask, 0);
    return TTexture::GetWithOptions(state.file, 0);
}

bool VAsset::GetRegistrationPoint(const TString& state, TVec2& point) const {
    const State* found = Find(state);
    if (!found || !found->hasRegistration) return false;
    point = found->registration;
    return true;
}

int VAsset::GetBaseFrame(const TString& state, int def) const {
    const State* found = Find(state);
    return found && found->baseFrame != kNotGiven ? found->baseFrame : def;
}

int VAsset::GetLayer(const TString& state, int def) const {
    const State* found = Find(state);
    return found && found->layer != kNotGiven ? found->layer : def;
}

TString VAsset::GetPlayName(const TString& state) const {
    const State* used = Resolve(state);
    return used ? used->playName : TString();
}

bool VAsset::IsAnimated(const TString& state) const {
    auto found = mStates.find(state);
    return found != mStates.end() && found->second.animated;
}

void VAsset::Preload(const TString& state) {
    if (state == kAllStates) {
        for (const auto& [name, record] : mStates) {
            if (record.file.Length() > 0) GetStateTexture(name);
        }
        return;
    }
    GetStateTexture(state);
}

void VAsset::Unload(const TString& state) {
    if (state == kAllStates) {
        for (auto& [name, record] : mStates) record.texture.reset();
        return;
    }
    auto found = mStates.find(state);
    if (found != mStates.end()) found->second.texture.reset();
}

void VAsset::Touch(const TString& state, bool used) {
    TouchMemo memo;
    Touch(state, used, memo);
}

void VAsset::Touch(const TString& state, bool used, TouchMemo& memo) {
    if (!memo.mKnown || memo.mLoads != gLoads) {
        const State* found = Find(state);
        memo.mFile = found ? found->file : TString();
        memo.mLoads = gLoads;
        memo.mKnown = true;
    }
    VAssetManager::Get()->MarkTextureUsed(memo.mFile, used);
}
