#include "foundation/assetmanager.h"

#include <vector>

namespace {

TAssetManager* gAssetManager = nullptr;

}  // namespace

std::shared_ptr<TAsset> TAssetManager::GetAsset(const TString& key) const {
    auto found = mAssets.find(key);
    return found == mAssets.end() ? nullptr : found->second.lock();
}

void TAssetManager::RegisterAsset(const TString& key, const std::shared_ptr<TAsset>& asset) {
    mAssets[key] = asset;
}

void TAssetManager::RemoveAsset(const TString& key) {
    mAssets.erase(key);
}

void TAssetManager::ReleaseAssets() {
    // Collected first, so an asset's Release may use the manager.
    std::vector<std::shared_ptr<TAsset>> live;
    for (auto entry = mAssets.begin(); entry != mAssets.end();) {
        if (auto asset = entry->second.lock()) {
            live.push_back(std::move(asset));
            ++entry;
        } else {
            entry = mAssets.erase(entry);
        }
    }
    for (const auto& asset : live) {
        asset->Release();
    }
}

void TAssetManager::RestoreAssets() {
    std::vector<std::shared_ptr<TAsset>> live;
    for (const auto& [key, weak] : mAssets) {
        if (auto asset = weak.lock()) {
            live.push_back(std::move(asset));
        }
    }
    for (const auto& asset : live) {
        asset->Restore();
    }
}

TAssetManager* GetAssetManager() {
    return gAssetManager;
}

void SetAssetManager(TAssetManager* manager) {
    gAssetManager = manager;
}
