// A table of assets kept loaded for as long as the map lives, filled by name.
// Names without an extension are looked up with the standard extensions, and
// the resource is loaded by the loader registered for its extension.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "foundation/asset.h"
#include "foundation/tstring.h"

// Loads the resource of a name (extension and "?" query included). A loader
// returns the asset cached in the asset manager when it is live, else loads
// it and registers it there; empty on failure.
using TAssetLoader = std::function<std::shared_ptr<TAsset>(const TString& loadName)>;

class TAssetMap {
public:
    virtual ~TAssetMap() = default;

    // Subsystems register the loader of each extension they read ("png",
    // "ogg", "lua" ...); an empty loader removes it. Extensions are exact.
    static void RegisterLoader(const TString& extension, TAssetLoader loader);

    // With an asset, stores it under name; without one, loads the named resource.
    void AddAsset(const TString& name, const std::shared_ptr<TAsset>& asset = nullptr);
    // AddAsset for each name of a null-terminated list.
    void AddAssets(const char* const* names);

private:
    std::map<TString, std::shared_ptr<TAsset>> mAssets;
};
