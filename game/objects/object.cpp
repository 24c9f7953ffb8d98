#include "game/objects/object.h"

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "game/objects/objectasset.h"
#include "game/objects/objectdescription.h"
#include "game/shell/luastyle.h"
#include "game/sprites/textsprite.h"

namespace {

const TString kDefaultState("default");
const TString kAllAssets("all");
const TString kUnusedAssets("unused");
// A description that holds itself through "children" would nest forever.
constexpr int kMaxChildNesting = 32;

int gNextObjectId = 0;
int gChildNesting = 0;

// Counts the children being loaded inside one another.
class ChildNesting {
public:
    ChildNesting() { ++gChildNesting; }
    ~ChildNesting() { --gChildNesting; }
    ChildNesting(const ChildNesting&) = delete;
    ChildNesting& operator=(const ChildNesting&) = delete;
};

template <typename Map>
typename Map::mapped_type FindNamed(const Map& map, const TString& name) {
    auto found = map.find(LowerCase(name));
    return found != map.end() ? found->second : nullptr;
}

}  // namespace

std::shared_ptr<VObject> VObject::Create(const TString& name, const TString& type, int layer) {
    auto object = std::make_shared<VObject>(name, type, layer);
    Adopt(object);
    return object;
}

VObject::VObject(const TString& name, const TString& type, int layer)
    : VSprite(name, layer), mObjectId(gNextObjectId++), mType(type) {
    if (name.Length() == 0) SetName(TString::Format("object_%s%i", type.c_str(), mObjectId));
}

VObject::~VObject() = default;

std::shared_ptr<VAsset> VObject::GetAsset(const TString& name) const {
    return FindNamed(mAssets, name);
}

std::shared_ptr<VObject> VObject::GetChildObject(const TString& name) const {
    return FindNamed(mChildObjects, name);
}

std::shared_ptr<VTextSprite> VObject::GetTextSprite(const TString& name) const {
    return FindNamed(mTextSprites, name);
}

// Drawing and animation

void VObject::Draw(const TDrawState& parentState, int depth) {
    VSprite::Draw(parentState, depth);
    if (mCurrentAsset) mCurrentAsset->Touch(mCurrentState, true, mTouchMemo);
}

void VObject::Reset() {
    VSprite::Reset();
    if (mCurrentAsset) {
        SetAsset(mCurrentAsset->GetName(), mCurrentState, kDefaultState);
    } else if (mAutoAsset.Length() > 0) {
        SetAsset(mAutoAsset, mAutoState, kDefaultState);
    } else if (!mAssets.empty()) {
        SetAsset(mAssets.begin()->first, mAutoState, kDefaultState);
    }
    StartContinuous();
    for (const auto& [name, child] : ChildMap(mChildObjects)) child->Reset();
}

void VObject::StopAnimation(bool recursive) {
    VSprite::StopAnimation(recursive);
    if (mCurrentAsset) SetFrame(mCurrentAsset->GetBaseFrame(mCurrentState, GetCurrentFrame()));
}

void VObject::DoAnim(const TString& name, bool repeat, bool recursive, int delay) {
    if (!mCurrentAsset || !mCurrentAsset->IsAnimated(mCurrentState)) return;
    TString animation = name.Length() > 0 ? name : mCurrentAsset->GetPlayName(mCurrentState);
    VSprite::DoAnim(animation, repeat, recursive, delay);
}

void VObject::StartContinuous() {
    if (mContinuous) DoAnim(TString(), true, false, 0);
}

// Assets

void VObject::SetAsset(const TString& asset, const TString& state, const TString& fallback) {
    mTouchMemo.Forget();
    mCurrentAsset = GetAsset(asset);
    if (!mCurrentAsset) {
        SetAnimation(nullptr);
        StartContinuous();
        return;
    }
    TString chosen;
    if (mCurrentAsset->HasState(state)) {
        chosen = state;
    } else if (mCurrentAsset->HasState(fallback)) {
        chosen = fallback;
    } else {
        return;
    }
    std::shared_ptr<VAsset> shown = mCurrentAsset;  // SetAnimation may run scripts
    TVec2 pivot;
    if (shown->GetRegistrationPoint(chosen, pivot)) {
        mDrawState.pivot = pivot;
        mDrawState.flags |= TDrawState::kUsePivot;
    }
    SetAnimation(shown->GetStateTexture(chosen));
    SetFrame(shown->GetBaseFrame(chosen, GetCurrentFrame()));
    SetLayer(shown->GetLayer(chosen, GetLayer()));
    mCurrentState = chosen;
    StartContinuous();
}

void VObject::SetAssetState(const TString& state, const TString& fallback) {
    if (mCurrentAsset) SetAsset(mCurrentAsset->GetName(), state, fallback);
}

bool VObject::HasAsset(const TString& name) const {
    return mAssets.count(LowerCase(name)) > 0;
}

void VObject::AddAsset(const TString& name, const std::shared_ptr<VAsset>& asset) {
    mAssets[LowerCase(name)] = asset;
}

std::shared_ptr<VObject> VObject::AddChildObject(const TString& asset, const TString& state, int layer) {
    std::shared_ptr<VAsset> shown = GetAsset(asset);
    if (!shown) return nullptr;
    std::shared_ptr<VObject> child = Create(TString(), mType, layer);
    child->SetLeaf(true);
    AddChild(child);
    child->AddAsset(asset, shown);
    child->SetAsset(asset, state, kDefaultState);
    TString base = LowerCase(asset);
    TString name;
    for (int number = 0; name.Length() == 0 || mChildObjects.count(name) > 0; ++number) {
        name = TString::Format("%s_%i", base.c_str(), number);
    }
    mChildObjects[name] = child;
    return child;
}

void VObject::UnloadAssets(const TString& asset, const TString& state, bool recursive) {
    if (asset == kAllAssets || asset == kUnusedAssets) {
        bool keepCurrent = asset == kUnusedAssets;
        for (const auto& [name, each] : mAssets) {
            if (!(keepCurrent && each == mCurrentAsset)) each->Unload(kAllAssets);
        }
    } else if (std::shared_ptr<VAsset> one = GetAsset(asset)) {
        one->Unload(state);
    }
    if (!recursive) return;
    for (const auto& [name, child] : ChildMap(mChildObjects)) child->UnloadAssets(asset, state, true);
}

void VObject::PreloadAssets(const TString& asset, const TString& state, bool recursive) {
    if (asset == kAllAssets) {
        for (const auto& [name, each] : mAssets) each->Preload(state);
    } else if (std::shared_ptr<VAsset> one = GetAsset(asset)) {
        one->Preload(state);
    }
    if (!recursive) return;
    for (const auto& [name, child] : ChildMap(mChildObjects)) child->PreloadAssets(asset, state, true);
}

// Properties

TString VObject::GetProperty(const TString& key, const TString& def) const {
    auto found = mProperties.find(LowerCase(key));
    return found != mProperties.end() && found->second.Length() > 0 ? found->second : def;
}

void VObject::SetProperty(const TString& key, const TString& value) {
    mProperties[LowerCase(key)] = value;
}

// Copies

void VObject::DetachNamedChildren() {
    for (const auto& [name, child] : mChildObjects) RemoveChild(std::shared_ptr<VSprite>(child));
    for (const auto& [name, text] : mTextSprites) RemoveChild(std::shared_ptr<VSprite>(text));
}

void VObject::CopyObjectTo(const std::shared_ptr<VObject>& target) {
    // Onto itself the copy would first empty what it copies.
    if (!target || target.get() == this) return;
    target->mAssets = mAssets;
    if (mCurrentAsset) target->SetAsset(mCurrentAsset->GetName(), mCurrentState, kDefaultState);
    target->mType = mType;
    target->mContinuous = mContinuous;
    target->mProperties = mProperties;
    target->DetachNamedChildren();
    target->mChildObjects.clear();
    target->mTextSprites.clear();
    for (const auto& [name, child] : mChildObjects) {
        std::shared_ptr<VObject> copy = Create(TString(), child->mType, 0);
        child->CopyObjectTo(copy);
        target->mChildObjects[name] = copy;
        target->AddChild(copy);
    }
    for (const auto& [name, text] : mTextSprites) {
        std::shared_ptr<VTextSprite> copy = VTextSprite::Create();
        text->CopyTextTo(copy);
        target->mTextSprites[name] = copy;
        target->AddChild(copy);
    }
    CopyTo(target);
}

// Loading

void VObject::Load(const std::shared_ptr<VLuaStyle>& description) {
    std::shared_ptr<VSprite> hold = GetShared();
    DetachNamedChildren();
    AssetMap oldAssets;
    ChildMap oldChildren;
    TextMap oldTexts;
    oldAssets.swap(mAssets);
    oldChildren.swap(mChildObjects);
    oldTexts.swap(mTextSprites);
    if (!description || !description->IsValid()) return;
    LoadSettings(*description);
    LoadTransform(*description);
    LoadAssets(*description, oldAssets);
    LoadChildren(*description, oldChildren);
    LoadTexts(*description, oldTexts);
    LoadProperties(*description->GetLuaTable());
    VStyleReach own(*description, 0);
    mAutoAsset = description->GetString("autoAsset", TString());
    mAutoState = description->GetString("autoState", TString());
}

// The keys a child takes from the descriptions around it.
void VObject::LoadSettings(VLuaStyle& description) {
    SetLeaf(description.GetBool("leaf", IsLeaf()));
    SetVisible(description.GetBool("visible", IsVisible()));
    SetMouseEnabled(description.GetBool("mouse", IsMouseEnabled()));
    SetClickable(description.GetBool("clickable", IsClickable()));
    mContinuous = description.GetBool("continuous", mContinuous);
    SetLayer(description.GetInt("layer", GetLayer()));
    mType = description.GetString("type", mType);
    VStyleReach oneUp(description, 1);
    SetSpriteLayer(description.GetInt("spriteLayer", GetSpriteLayer()));
}

// The keys of the description itself.
void VObject::LoadTransform(VLuaStyle& description) {
    VStyleReach own(description, 0);
    SetName(description.GetString("name", GetName()));
    SetAnchor(description.GetString("anchor", GetAnchor()));
    TVec2 position = GetPosition();
    SetPosition(TVec2(static_cast<float>(description.GetNumber("x", position.x)),
                      static_cast<float>(description.GetNumber("y", position.y))));
    SetFlip(description.GetBool("hflip", false), description.GetBool("vflip", false));
    mDrawState.blendMode = description.GetInt("blend", mDrawState.blendMode);
    SetAlpha(static_cast<float>(description.GetNumber("alpha", GetAlpha())));
    mDrawState.color = description.GetColor("tint", mDrawState.color);
    if (std::unique_ptr<TLuaTable> rotation = description.GetSubTable("rotation")) {
        SetRotation(static_cast<float>(rotation->GetNumberAt(1, 0)), static_cast<float>(rotation->GetNumberAt(2, 0)),
                    static_cast<float>(rotation->GetNumberAt(3, 0)));
    }
    if (std::unique_ptr<TLuaTable> scale = description.GetSubTable("scale")) {
        // One element scales both axes; a second one is the vertical factor.
        double x = scale->GetNumberAt(1, 1.0);
        SetScale(static_cast<float>(x), static_cast<float>(scale->GetNumberAt(2, x)));
    }
}

void VObject::LoadAssets(VLuaStyle& description, const AssetMap& old) {
    std::shared_ptr<VLuaStyle> assets = description.GetSubStyle("assets");
    if (!assets->IsValid()) return;
    ForEachTableEntry(*assets->GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable() || key == "style") return;
        TString name = LowerCase(key);
        std::shared_ptr<VAsset> asset = FindNamed(old, name);
        if (!asset) asset = VAsset::Create(name, true);
        asset->Load(VLuaStyle::CreateFromObject(assets, value), false);
        AddAsset(name, asset);
    });
}

void VObject::LoadChildren(VLuaStyle& description, const ChildMap& old) {
    std::shared_ptr<VLuaStyle> children;
    {
        VStyleReach own(description, 0);
        children = description.GetSubStyle("children");
    }
    if (!children->IsValid()) return;
    if (gChildNesting >= kMaxChildNesting) {
        DebugLog("VObject::Load: children of \"%s\" nested deeper than %d levels are not loaded", GetName().c_str(),
                 kMaxChildNesting);
        return;
    }
    ChildNesting nesting;
    ForEachTableEntry(*children->GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable() || key == "style") return;
        TString name = LowerCase(key);
        std::shared_ptr<VObject> child = FindNamed(old, name);
        if (!child) child = Create(name, "autochild", 0);
        child->Load(VLuaStyle::CreateFromObject(children, value));
        mChildObjects[name] = child;
        AddChild(child);
    });
}

void VObject::LoadTexts(VLuaStyle& description, const TextMap& old) {
    std::unique_ptr<TLuaTable> texts;
    {
        VStyleReach own(description, 0);
        texts = description.GetSubTable("text");
    }
    if (!texts) return;
    ForEachTableEntry(*texts, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable() || key == "style") return;
        TString name = LowerCase(key);
        std::shared_ptr<VTextSprite> text = FindNamed(old, name);
        if (!text) text = VTextSprite::Create();
        value.Push();
        TLuaTable table(value.GetState());
        text->Load(table);
        mTextSprites[name] = text;
        AddChild(text);
    });
}

void VObject::LoadProperties(const TLuaTable& table) {
    ForEachTableEntry(table, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable()) SetProperty(key, value.ToString());
    });
}
