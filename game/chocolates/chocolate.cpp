#include "game/chocolates/chocolate.h"

#include <algorithm>
#include <map>

#include "foundation/debuglog.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatespec.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/level/upgrademanager.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/alphaeffect.h"
#include "graphics/animatedtexture.h"

namespace {

const char kTransparent[] = "anim/transparent";
constexpr int kChocolateDrawLayer = 2;
constexpr unsigned kDefaultFadeTime = 1000;

int gChocolateCount = 0;
std::map<int, TColor4f> gLayerTints;

// The quality upgrade of a priced slot, by the slot's option (the
// chocolate type for the chocolate layer), counted from 1.
const char* QualityUpgrade(int layerType) {
    switch (layerType) {
        case kIngredientLayer:
            return "kIngredientQ%i";
        case kChocolateLayer:
            return "kMixerQ%i";
        case kInfusionLayer:
            return "kInfusionQ%i";
        default:
            return "kToppingQ%i";
    }
}

}  // namespace

std::shared_ptr<VChocolate> VChocolate::Create(const std::shared_ptr<VChocolateVendor>& vendor) {
    auto chocolate = std::make_shared<VChocolate>(vendor);
    Adopt(chocolate);
    std::shared_ptr<TAnimatedTexture> texture = VAssetManager::Get()->GetAnimatedTexture(kTransparent);
    chocolate->SetAnimation(texture ? texture : TAnimatedTexture::Get(kTransparent));
    return chocolate;
}

VChocolate::VChocolate(const std::shared_ptr<VChocolateVendor>& vendor)
    : VCarriable(TString::Format("chocolate_%i", ++gChocolateCount), "chocolate", kChocolateDrawLayer, 1),
      mVendor(vendor) {}

VChocolate::~VChocolate() = default;

bool VChocolate::IsSlot(int layerType, const char* operation) {
    if (layerType >= 0 && layerType < kSlots) return true;
    static bool logged = false;
    if (!logged) {
        DebugLog("VChocolate::%s: layer type %i is none of the five; refused (further refusals are not logged)",
                 operation, layerType);
        logged = true;
    }
    return false;
}

std::shared_ptr<VChocolateLayer> VChocolate::GetSlot(int layerType) const {
    return layerType >= 0 && layerType < kSlots ? mSlots[layerType] : nullptr;
}

// Decay

void VChocolate::Update(bool paused) {
    Decay(paused);
    VCarriable::Update(paused);
}

void VChocolate::Decay(bool paused) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    float rate = values->GetReal("chocolate_decay_rate", 0.0f);
    if (paused || IsUnshaped() || mFreshness <= 0 || rate <= 0 || !mDecaying) return;
    mFreshness -= rate * static_cast<float>(GetFrameTime());
    if (mFreshness > 0) return;
    unsigned fadeTime = values->GetUint("chocolate_fade_time", kDefaultFadeTime);
    mFade = VAlphaEffect::Create(false, 1.0f, static_cast<int>(std::min(fadeTime, 0x7FFFFFFFu)), -1.0f, 0);
    AddEffect(mFade);
    values->AddToValue("decayed_this_level", 1.0f, 0.0f, false);
}

void VChocolate::DetachEffects() {
    std::shared_ptr<VAlphaEffect> fade = mFade;
    if (fade) RemoveEffect(fade);
    VCarriable::DetachEffects();
    if (fade) AddEffect(fade);
}

bool VChocolate::IsGone() const {
    return mFreshness <= 0 && (!mFade || !mFade->IsActive());
}

// Layers

bool VChocolate::CanAddLayer(int layerType) const {
    if (!IsSlot(layerType, "CanAddLayer")) return false;
    switch (layerType) {
        case kInfusionLayer:
            return mTopLayer <= kBucketLayer;
        case kToppingLayer:
            return mTopLayer > kIngredientLayer && mTopLayer < kToppingLayer;
        default:
            return mTopLayer < layerType;
    }
}

void VChocolate::AddLayer(const std::shared_ptr<VChocolateLayer>& layer) {
    if (!layer) return;
    int type = layer->GetLayerType();
    if (!IsSlot(type, "AddLayer")) return;
    TColor4f tint;
    if (GetLayerTint(type, tint)) layer->GetDrawState().color = tint;
    ClearSlot(type);
    AddChild(layer);
    mSlots[type] = layer;
    mTopLayer = std::max(mTopLayer, type);
    if (mTopLayer > kIngredientLayer) SetKind(1);
    if (type == kChocolateLayer || type == kInfusionLayer) Shape(*layer);
}

void VChocolate::Shape(const VChocolateLayer& layer) {
    ClearSlot(kBucketLayer);
    if (mIngredient >= 0) MakeLayer(layer.GetBarType(), kIngredientLayer, mIngredient);
    if (layer.GetLayerType() == kInfusionLayer && !mSlots[kChocolateLayer]) {
        MakeLayer(layer.GetBarType(), kChocolateLayer, mChocolateType);
    }
    mShape = layer.GetBarType();
}

void VChocolate::ClearSlot(int layerType) {
    if (std::shared_ptr<VChocolateLayer> old = mSlots[layerType]) {
        RemoveChild(std::shared_ptr<VSprite>(old));
        mSlots[layerType].reset();
    }
}

std::shared_ptr<VChocolateLayer> VChocolate::MakeLayer(int barType, int layerType, int option) {
    if (!mVendor) return nullptr;
    std::shared_ptr<VChocolateLayer> layer = mVendor->MakeLayer(barType, layerType, option);
    if (!layer) return nullptr;
    layer->Reset();
    AddLayer(layer);
    return layer;
}

void VChocolate::RemoveLayer(int layerType) {
    if (!IsSlot(layerType, "RemoveLayer")) return;
    ClearSlot(layerType);
    while (mTopLayer >= 0 && !mSlots[mTopLayer]) --mTopLayer;
}

std::shared_ptr<VObject> VChocolate::SetIngredient(int option) {
    mIngredient = option;
    mTopLayer = kIngredientLayer;
    std::shared_ptr<VChocolateLayer> bucket = mSlots[kBucketLayer];
    std::shared_ptr<VObject> icon = bucket ? bucket->GetChildObject("icon") : nullptr;
    return icon ? icon->AddChildObject("overlay", TString::Format("option_%i", option), 0) : nullptr;
}

// Comparing

bool VChocolate::SameSlots(const VChocolate& other, int count) const {
    for (int slot = 0; slot < count; ++slot) {
        const std::shared_ptr<VChocolateLayer>& theirs = other.mSlots[slot];
        if (theirs ? !theirs->Equals(mSlots[slot]) : mSlots[slot] != nullptr) return false;
    }
    return true;
}

bool VChocolate::SameLayers(const std::shared_ptr<VChocolate>& other) const {
    return other && SameSlots(*other, kSlots);
}

bool VChocolate::ExtendsWith(const std::shared_ptr<VChocolate>& other, int count, int option) const {
    // The slot after the compared ones must exist.
    if (!other || option < 0 || count < 1 || count >= kSlots) return false;
    return SameSlots(*other, count) && mSlots[count] && mSlots[count]->GetOption() == option;
}

int VChocolate::CountLayers() const {
    return static_cast<int>(std::count_if(mSlots.begin() + kIngredientLayer, mSlots.end(),
                                          [](const auto& layer) { return layer != nullptr; }));
}

bool VChocolate::IsUnshaped() const {
    return mTopLayer < kChocolateLayer;
}

// Price and description

float VChocolate::GetPrice() const {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    float modifier = values->GetReal("layer_quality_modifier", 1.0f);
    float layerPrice = values->GetReal("layer_price", 0.0f);
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    float price = 0;
    for (int slot = kIngredientLayer; slot < kSlots; ++slot) {
        const std::shared_ptr<VChocolateLayer>& layer = mSlots[slot];
        if (!layer) continue;
        price += layerPrice;
        int quality = (slot == kChocolateLayer ? mChocolateType : layer->GetOption()) + 1;
        if (upgrades->IsUpgradeOwned(TString::Format(QualityUpgrade(slot), quality), "station")) {
            price += layerPrice * modifier;
        }
    }
    return price;
}

TString VChocolate::Describe() const {
    static const char* const kTypes[] = {"dark", "milk", "white"};
    static const char* const kShapes[] = {",bar", ",truffle", ",novelty", ",infusion"};
    TString text = "(";
    if (mChocolateType >= 0 && mChocolateType < 3) text += kTypes[mChocolateType];
    if (mIngredient >= 0) text += TString::Format(",ingredient:%i", mIngredient);
    if (mShape >= 0 && mShape < 4) text += kShapes[mShape];
    if (mSlots[kInfusionLayer]) text += TString::Format(",filling:%i", mSlots[kInfusionLayer]->GetOption());
    if (mSlots[kToppingLayer]) text += TString::Format(",topping:%i", mSlots[kToppingLayer]->GetOption());
    return text + ")";
}

// Tints

void VChocolate::SetLayerTint(int layerType, const TColor4f& colour) {
    gLayerTints[layerType] = colour;
}

bool VChocolate::GetLayerTint(int layerType, TColor4f& colour) {
    auto found = gLayerTints.find(layerType);
    if (found == gLayerTints.end()) return false;
    colour = found->second;
    return true;
}

void VChocolate::ClearLayerTints() {
    gLayerTints.clear();
}
