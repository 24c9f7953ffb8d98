#include "game/level/upgrade.h"

#include "foundation/xmlnode.h"
#include "game/objects/object.h"
#include "game/objects/objectdescription.h"
#include "game/shell/value.h"
#include "game/sprites/spritemanager.h"

namespace {

const char kDefaultState[] = "default";

// True unless the attribute says exactly "false".
bool ReadFlag(TXmlNode& element, const char* attribute) {
    return element.GetAttribute(attribute) != "false";
}

// Shows the upgrade's effect, owned or not, on its target.
void ShowOn(VObject& target, bool owned, const VUpgradeEffect& effect) {
    bool hasAsset = effect.asset.Length() > 0;
    bool hasState = effect.state.Length() > 0;
    if (!owned || (!hasAsset && !hasState)) {
        // An object returns to its default look, and re-applies what it owns.
        target.Reset();
    } else if (hasAsset && hasState) {
        target.SetAsset(effect.asset, effect.state, kDefaultState);
    } else if (hasState) {
        target.SetAssetState(effect.state, kDefaultState);
    }
    // An asset without a state switches nothing.
}

}  // namespace

std::shared_ptr<VUpgrade> VUpgrade::Create(const TString& name, int index, const std::weak_ptr<VUpgradeManager>& manager,
                                           const TString& category) {
    return std::make_shared<VUpgrade>(name, index, manager, category);
}

VUpgrade::VUpgrade(const TString& name, int index, const std::weak_ptr<VUpgradeManager>& manager,
                   const TString& category)
    : mName(name), mCategory(category), mManager(manager), mIndex(index) {}

void VUpgrade::Load(TXmlNode* element) {
    if (!element) return;
    mHidden = LowerCase(element->GetAttribute("hidden")) == "true";
    TString name;
    TXmlNode* child = nullptr;
    for (element->ResetChildIterator(); element->NextChild(name, child);) {
        if (name == "cost") {
            mCost = TextToFloat(child->GetText());
        } else if (name == "minlevel") {
            mMinLevel = child->GetText().ToInt();
        } else if (name == "maxlevel") {
            mMaxLevel = child->GetText().ToInt();
        } else if (name == "enabled") {
            mEnabled = child->GetText().ToInt();
        } else if (name == "requires") {
            mRequires.insert(child->GetText());
        } else if (name == "object") {
            LoadEffect(*child);
        } else {
            mProperties[name] = child->GetText();
        }
    }
}

void VUpgrade::LoadEffect(TXmlNode& element) {
    VUpgradeEffect effect;
    effect.name = element.GetAttribute("name");
    effect.asset = element.GetAttribute("asset");
    effect.state = element.GetAttribute("state");
    effect.effect = ReadFlag(element, "effect");
    effect.recursive = ReadFlag(element, "recursive");
    mEffects[effect.name] = effect;
}

void VUpgrade::SetState(int state) {
    if (state == mState) return;
    if (mState != kPreview) mPreviousState = mState;
    mState = state;
}

void VUpgrade::SetOwned(bool owned, bool preview, const std::shared_ptr<VUpgradeSpider>& spider) {
    SetState(!owned ? mPreviousState : preview ? kPreview : kBought);
    if (spider) spider->SetUpgrade(shared_from_this());
    for (const auto& [name, effect] : mEffects) {
        if (!effect.target) continue;
        ShowOn(*effect.target, owned, effect);
        if (spider && effect.effect) {
            spider->SetRecursive(effect.recursive);
            spider->Visit(effect.target);
        }
    }
}

void VUpgrade::BindTargets(const VSpriteManager& sprites) {
    for (auto& [name, effect] : mEffects) {
        effect.target.reset();
        if (name.Length() > 0) effect.target = std::dynamic_pointer_cast<VObject>(sprites.FindSprite(name));
    }
}

TString VUpgrade::GetProperty(const TString& name) const {
    auto found = mProperties.find(name);
    return found == mProperties.end() ? TString() : found->second;
}
