// The game's scene object: a sprite that shows one of its named assets in
// one of their states, owns named child objects and text sprites, carries
// string properties, and is built from a Lua description table (see Load
// for the format).
#pragma once

#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "game/objects/objectasset.h"
#include "game/sprites/sprite.h"

class TLuaTable;
class VLuaStyle;
class VTextSprite;

class VObject : public VSprite {
public:
    // An empty name becomes "object_<type><object id>".
    static std::shared_ptr<VObject> Create(const TString& name, const TString& type, int layer);
    VObject(const TString& name, const TString& type, int layer);
    ~VObject() override;

    // The sprite's draw; the shown state's texture counts as drawn this frame.
    void Draw(const TDrawState& parentState, int depth) override;
    // Shows the current asset again, else the auto asset, else the first.
    void Reset() override;
    // Back to the shown state's first frame.
    void StopAnimation(bool recursive) override;
    // Only for an animated state; an empty name plays the state's play name.
    void DoAnim(const TString& name, bool repeat, bool recursive, int delay) override;

    // "all" assets, the "unused" ones (all but the current), or one asset's state.
    virtual void UnloadAssets(const TString& asset, const TString& state, bool recursive);
    // A deep copy: shared assets, own child objects and text sprites.
    virtual void CopyObjectTo(const std::shared_ptr<VObject>& target);
    // Applies a description over the current settings. Assets, children
    // and text sprites of the same name are reused; the others go.
    virtual void Load(const std::shared_ptr<VLuaStyle>& description);
    // The default for a missing or empty property.
    virtual TString GetProperty(const TString& key, const TString& def) const;
    virtual void SetProperty(const TString& key, const TString& value);
    // Shows the state, else the fallback state. An asset with neither stays
    // current and changes nothing; an unknown asset clears the image.
    virtual void SetAsset(const TString& asset, const TString& state, const TString& fallback);
    virtual void SetAssetState(const TString& state, const TString& fallback);
    virtual bool HasAsset(const TString& name) const;
    virtual void AddAsset(const TString& name, const std::shared_ptr<VAsset>& asset);
    // A leaf child showing the asset, stored as "<asset>_<n>"; empty for an
    // asset this object lacks.
    virtual std::shared_ptr<VObject> AddChildObject(const TString& asset, const TString& state, int layer);
    // "all" assets or one; state "all" for every state.
    void PreloadAssets(const TString& asset, const TString& state, bool recursive);

    int GetObjectId() const { return mObjectId; }
    const TString& GetType() const { return mType; }
    const TString& GetCurrentState() const { return mCurrentState; }
    const std::shared_ptr<VAsset>& GetCurrentAsset() const { return mCurrentAsset; }
    std::shared_ptr<VAsset> GetAsset(const TString& name) const;
    std::shared_ptr<VObject> GetChildObject(const TString& name) const;
    std::shared_ptr<VTextSprite> GetTextSprite(const TString& name) const;
    const std::map<TString, std::shared_ptr<VObject>>& GetChildObjects() const { return mChildObjects; }
    const std::map<TString, std::shared_ptr<VTextSprite>>& GetTextSprites() const { return mTextSprites; }

private:
    using AssetMap = std::map<TString, std::shared_ptr<VAsset>>;
    using ChildMap = std::map<TString, std::shared_ptr<VObject>>;
    using TextMap = std::map<TString, std::shared_ptr<VTextSprite>>;

    void LoadSettings(VLuaStyle& description);
    void LoadTransform(VLuaStyle& description);
    void LoadAssets(VLuaStyle& description, const AssetMap& old);
    void LoadChildren(VLuaStyle& description, const ChildMap& old);
    void LoadTexts(VLuaStyle& description, const TextMap& old);
    void LoadProperties(const TLuaTable& table);
    // Takes the child objects and text sprites out of the sprite tree.
    void DetachNamedChildren();
    // The state's animation, repeating, when the object is continuous.
    void StartContinuous();

    int mObjectId;
    TString mType;
    // Read by every Draw: kept side by side, in one cache line.
    TString mCurrentState{"default"};
    std::shared_ptr<VAsset> mCurrentAsset;
    VAsset::TouchMemo mTouchMemo;
    TString mAutoState;
    TString mAutoAsset;
    AssetMap mAssets;
    ChildMap mChildObjects;
    TextMap mTextSprites;
    bool mContinuous = false;
    std::map<TString, TString> mProperties;
};
