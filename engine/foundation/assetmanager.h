// The cache of live assets by key. It holds weak references only, so an asset
// leaves the cache when its last holder lets go.
#pragma once

#include <map>
#include <memory>

#include "foundation/asset.h"
#include "foundation/tstring.h"

class TAssetManager {
public:
    virtual ~TAssetManager() = default;

    // The live asset registered under key, or empty.
    std::shared_ptr<TAsset> GetAsset(const TString& key) const;
    // Stores a weak reference under key, replacing any earlier one.
    void RegisterAsset(const TString& key, const std::shared_ptr<TAsset>& asset);
    void RemoveAsset(const TString& key);
    // Drops the entries of destroyed assets and calls Release on the others, in key order.
    void ReleaseAssets();
    // Calls Restore on every live asset, in key order.
    void RestoreAssets();

private:
    std::map<TString, std::weak_ptr<TAsset>> mAssets;
};

// The platform's asset manager, or null before the platform exists. The
// platform sets it when it makes its manager and clears it at teardown.
TAssetManager* GetAssetManager();
void SetAssetManager(TAssetManager* manager);
