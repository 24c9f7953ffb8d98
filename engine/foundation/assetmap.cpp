#include "foundation/assetmap.h"

#include "foundation/debuglog.h"
#include "foundation/file.h"

namespace {

// Tried in this order when the name itself names no file.
const char* const kStandardExtensions[] = {".xml", ".anm", ".jpg", ".png", ".ogg", ".mesh", ".lua"};

std::map<TString, TAssetLoader>& Loaders() {
    static std::map<TString, TAssetLoader> loaders;
    return loaders;
}

// The name itself when it exists, else the name with the first standard
// extension that exists; empty when none does.
TString FindAssetFile(const TString& base) {
    if (FileExists(base)) {
        return base;
    }
    for (const char* extension : kStandardExtensions) {
        TString candidate = base + extension;
        if (FileExists(candidate)) {
            return candidate;
        }
    }
    return TString();
}

}  // namespace

void TAssetMap::RegisterLoader(const TString& extension, TAssetLoader loader) {
    if (loader) {
        Loaders()[extension] = std::move(loader);
    } else {
        Loaders().erase(extension);
    }
}

void TAssetMap::AddAsset(const TString& name, const std::shared_ptr<TAsset>& asset) {
    if (asset) {
        mAssets[name] = asset;
        return;
    }
    TString requested = name;
    requested.Replace("\\", "/", TString::kReplaceAll);
    TString base = requested;
    TString query;
    int queryStart = requested.FindChar('?');
    if (queryStart >= 0) {
        base = requested.SubString(0, queryStart);
        query = requested.SubString(queryStart);
    }
    TString file = FindAssetFile(base);
    if (file.Length() == 0) {
        DebugLog("TAssetMap::AddAsset: Failed to find asset %s with any standard extension (jpg/png/anm/xml/ogg/mesh)",
                 requested.c_str());
        return;
    }
    int dot = file.FindChar('.', TString::kBackwards);
    TString extension = dot >= 0 ? file.SubString(dot + 1) : TString();
    TString loadName = file + query;
    auto loader = Loaders().find(extension);
    std::shared_ptr<TAsset> loaded = loader != Loaders().end() ? loader->second(loadName) : nullptr;
    if (!loaded) {
        DebugLog("TAssetMap::AddAsset: Error loading %s", loadName.c_str());
        return;
    }
    mAssets[requested] = loaded;
}

void TAssetMap::AddAssets(const char* const* names) {
    for (; names && *names; ++names) {
        AddAsset(*names);
    }
}
